#pragma once
// A compiled program and a debugging machine on it, driven as the debug view drives it.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "debugger/Debugger.h"
#include "foundation/AlertSink.h"
#include "foundation/Common.h"
#include "language/Compiler.h"
#include "language/MidCode.h"
#include "machine/devices/BasicRsrc.h"
#include "machine/host/HeadlessHost.h"
#include "platform/Locale.h"
#include "tests/debugger/RecordingDebugSink.h"

class DebuggerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::use_key_identity_catalogue(true);
        gAppPrivacy.Killed = false;
    }
    void TearDown() override
    {
        machine.reset();
        gAppPrivacy.Killed = false;
        platform::use_key_identity_catalogue(false);
    }

    // Compiles `text` and makes a suspended debugger on it that reports to `sink`.
    void Load(const std::string& text, TRecordingDebugSink::TAnswer answer = TRecordingDebugSink::TAnswer::AtOnce)
    {
        int32_t compatMode = 0;
        TCompiler compiler(&mid, &alerts);
        ASSERT_TRUE(compiler.Compile(text.c_str(), &compatMode)) << alerts.Last();
        sink = std::make_unique<TRecordingDebugSink>(answer);
        machine = std::make_unique<TDebugger>("Debugger", &mid, &rsrc, nullptr, &requests, sink.get(), &alerts);
    }
    void Start()
    {
        ASSERT_TRUE(machine->SetStartPos({}));
        machine->Resume();
    }
    // Waits for the break at `line` (after `after` lines), then lets the machine go on
    // in `mode` as the view does; returns the index past that break.
    size_t BreakThenGo(int32_t line, TDebugRunMode mode, size_t after = 0)
    {
        const std::string text = "dbbr " + std::to_string(line);
        EXPECT_TRUE(sink->WaitFor(text, after)) << "no break at " << line;
        const size_t next = sink->IndexAfter(text, after);
        machine->SetDebugRunMode(mode);
        machine->Unbreak();
        return next;
    }
    int32_t WaitEnd()
    {
        int32_t exitValue = -1;
        machine->Wait(&exitValue);
        return exitValue;
    }
    // The lines from `from` on.
    std::vector<std::string> LinesFrom(size_t from) const
    {
        const std::vector<std::string> all = sink->Lines();
        return std::vector<std::string>(all.begin() + static_cast<std::ptrdiff_t>(std::min(from, all.size())),
                                        all.end());
    }
    size_t Count(const std::string& prefix) const
    {
        size_t n = 0;
        for (const std::string& line : sink->Lines())
            if (line.rfind(prefix, 0) == 0) ++n;
        return n;
    }

    TMidCode mid;
    TBasicRsrc rsrc;
    TRecordingAlertSink alerts;
    TRecordingRunRequests requests;
    std::unique_ptr<TRecordingDebugSink> sink;
    std::unique_ptr<TDebugger> machine;
};
