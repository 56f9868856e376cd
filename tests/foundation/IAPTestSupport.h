#pragma once
// Helpers for the shared-preference tests: a handler that keeps what it receives,
// and a port name of the test's own.

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Handler.h"
#include "platform/Looper.h"
#include "platform/Message.h"

// Keeps a copy of every message it handles.
class MessageLog : public platform::Handler {
public:
    MessageLog() : platform::Handler("log") {}
    ~MessageLog() override
    {
        if (platform::Looper* looper = GetLooper()) looper->RemoveHandler(this);
    }
    void MessageReceived(platform::Message* message) override
    {
        std::lock_guard lock(mMutex);
        mMessages.push_back(*message);
        mChanged.notify_all();
    }
    // Waits up to ten seconds for `count` messages in all.
    bool WaitFor(size_t count)
    {
        std::unique_lock lock(mMutex);
        return mChanged.wait_for(lock, std::chrono::seconds(10), [&] { return mMessages.size() >= count; });
    }
    size_t CountOf(uint32_t what)
    {
        std::lock_guard lock(mMutex);
        return count_of(what);
    }
    // Waits up to ten seconds for `count` messages of the code `what`.
    bool WaitForCountOf(uint32_t what, size_t count)
    {
        std::unique_lock lock(mMutex);
        return mChanged.wait_for(lock, std::chrono::seconds(10), [&] { return count_of(what) >= count; });
    }
    std::vector<platform::Message> Messages()
    {
        std::lock_guard lock(mMutex);
        return mMessages;
    }
    std::vector<uint32_t> Codes()
    {
        std::vector<uint32_t> codes;
        for (const platform::Message& message : Messages()) codes.push_back(message.what);
        return codes;
    }

private:
    size_t count_of(uint32_t what) const
    {
        size_t n = 0;
        for (const platform::Message& message : mMessages) n += message.what == what ? 1 : 0;
        return n;
    }
    std::mutex mMutex;
    std::condition_variable mChanged;
    std::vector<platform::Message> mMessages;
};

// A looper on its own thread with one MessageLog in it.
struct LoggingLooper {
    LoggingLooper()
    {
        looper.Run();
        looper.AddHandler(&log);
    }
    ~LoggingLooper()
    {
        looper.RemoveHandler(&log);
        looper.Quit();
    }
    // Posts a marker and waits for it, so that everything sent before it has been handled.
    // Counting messages is not enough: one posted just before the marker may be
    // the one that arrives first.
    void Settle()
    {
        const size_t marks = log.CountOf(platform::fourcc("mark"));
        platform::Messenger(&log).SendMessage(platform::fourcc("mark"));
        log.WaitForCountOf(platform::fourcc("mark"), marks + 1);
    }
    platform::Looper looper;
    MessageLog log;
};

// Points KIVO_IAP_PORT at a name of this test's own for the test's life.
class PortNameScope {
public:
    PortNameScope()
    {
        static int counter = 0;
        const char* old = std::getenv("KIVO_IAP_PORT");
        mHadOld = old != nullptr;
        if (old) mOld = old;
        mName = "kivo-iap-test-" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
        ::setenv("KIVO_IAP_PORT", mName.c_str(), 1);
    }
    ~PortNameScope()
    {
        if (mHadOld)
            ::setenv("KIVO_IAP_PORT", mOld.c_str(), 1);
        else
            ::unsetenv("KIVO_IAP_PORT");
    }
    const std::string& Name() const { return mName; }

private:
    std::string mName;
    std::string mOld;
    bool mHadOld = false;
};
