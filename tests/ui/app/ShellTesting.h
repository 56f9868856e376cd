#pragma once
// Helpers of the shell's tests: a throw-away settings folder with the records at their
// defaults, waits that end when a condition holds, and the open alert.

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <cstdlib>
#include <functional>
#include <optional>

#include "../../foundation/SettingsTestSupport.h"
#include "foundation/Common.h"
#include "foundation/IAPItemAccKeyFormat.h"

namespace shell_testing {

// Long enough for any loaded machine; reached only when something hangs.
constexpr int kHangMillis = 60000;

inline bool wait_until(const std::function<bool()>& condition)
{
    return QTest::qWaitFor(condition, kHangMillis);
}

inline QMessageBox* open_alert()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) return box;
    return nullptr;
}

// Settings, and the user's data folder that the document type is installed in, in a
// fresh folder; the process-wide records at their defaults with the
// accelerator format registered; all of them restored afterwards.
class ShellFixture : public SettingsDirFixture {
protected:
    void SetUp() override
    {
        SettingsDirFixture::SetUp();
        const char* data = std::getenv("XDG_DATA_HOME");
        if (data) savedDataHome = data;
        ::setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
        savedPrefs = gPrefs;
        savedStates = gExitStates;
        gPrefs = TPrefs();
        gExitStates = TExitStates();
        gPrefs.ShowSplash = false;
        gPrefs.AutoSaveBeforeRun = false;
        gAppPrivacy.Killed = false;
        gAppPrivacy.Quitting = false;
        std::string format;
        if (gIAPs.GetString("AccKeyFormat2", &format) != 0) gIAPs.AddItem(new TIAPItemAccKeyFormat);
        gIAPs.GetString("AccKeyFormat2", &savedFormat);
        gIAPs.SetString("AccKeyFormat2", kDefaultAccKeyFormat);
    }
    void TearDown() override
    {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(widget)) box->done(0);
        gIAPs.SetString("AccKeyFormat2", savedFormat);
        gPrefs = savedPrefs;
        gExitStates = savedStates;
        gAppPrivacy.Killed = false;
        gAppPrivacy.Quitting = false;
        if (savedDataHome)
            ::setenv("XDG_DATA_HOME", savedDataHome->c_str(), 1);
        else
            ::unsetenv("XDG_DATA_HOME");
        SettingsDirFixture::TearDown();
    }

    TPrefs savedPrefs;
    TExitStates savedStates;
    std::string savedFormat;
    std::optional<std::string> savedDataHome;
};

}  // namespace shell_testing
