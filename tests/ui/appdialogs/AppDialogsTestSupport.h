#pragma once
// Helpers for the dialogs' tests: a target that records what reaches it, the
// process's settings and data folders moved to temporary ones, and the event pump,
// with the shared fake desktop opener.

#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>
#include <vector>

#include "foundation/Common.h"
#include "foundation/IAPItemAccKeyFormat.h"
#include "platform/Handler.h"
#include "platform/Looper.h"
#include "platform/Message.h"
#include "tests/ui/FakeDesktopOpener.h"

inline void Pump()
{
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

// A looper driven by the test: messages sent to `handler` wait until Drain.
class RecordingTarget {
public:
    RecordingTarget() { looper.AddHandler(&handler); }
    ~RecordingTarget() { looper.RemoveHandler(&handler); }

    const std::vector<platform::Message>& Drain()
    {
        looper.DispatchPending();
        return handler.received;
    }

    struct Recorder : platform::Handler {
        void MessageReceived(platform::Message* message) override { received.push_back(*message); }
        std::vector<platform::Message> received;
    };
    platform::Looper looper;
    Recorder handler;
};

// The user's settings ($XDG_CONFIG_HOME) and data ($XDG_DATA_HOME) in temporary
// folders for the life of the test process, and the shared accelerator format
// registered in gIAPs as the application registers it.
class TemporaryUserFolders {
public:
    static TemporaryUserFolders& Get()
    {
        static TemporaryUserFolders folders;
        return folders;
    }
    QString Data() const { return mData.path(); }

private:
    TemporaryUserFolders()
    {
        ::setenv("XDG_CONFIG_HOME", mConfig.path().toLocal8Bit().constData(), 1);
        ::setenv("XDG_DATA_HOME", mData.path().toLocal8Bit().constData(), 1);
        gIAPs.AddItem(new TIAPItemAccKeyFormat);
    }
    QTemporaryDir mConfig;
    QTemporaryDir mData;
};
