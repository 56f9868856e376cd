#pragma once
// Helpers for the dialogs' tests: the process's settings and data folders moved to
// temporary ones and the event pump, with the shared recording target and fake
// desktop opener.

#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>

#include "foundation/Common.h"
#include "foundation/IAPItemAccKeyFormat.h"
#include "tests/ui/FakeDesktopOpener.h"
#include "tests/ui/RecordingTarget.h"

inline void Pump()
{
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

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
