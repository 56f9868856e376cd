#pragma once
// Helpers of the run window's tests: runs started as the editor starts them, and
// waits that end when a condition holds (they fail only when it never does).

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <functional>
#include <string>

#include "foundation/Common.h"
#include "machine/devices/ScreenText.h"
#include "session/FormatSource.h"
#include "ui/runwindow/RunView.h"

namespace run_window_testing {

// Long enough for any loaded machine; reached only when something hangs.
constexpr int kHangMillis = 60000;

inline bool wait_until(const std::function<bool()>& condition)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > kHangMillis) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return true;
}

// The editor's road up to a running machine: false when the list does not compile.
inline bool start_run(TRunView& view, const std::string& list, const TRunRequest& request = {})
{
    view.Session().QuitBasic();
    view.Session().ClearBasic();
    gAppPrivacy.Killed = false;
    if (!view.Session().CompileBasic(format_source_for_compiler(list).Text)) return false;
    view.Session().ReadyBasic();
    return view.Session().RunBasic(request);
}

inline std::string screen_of(TRunView& view)
{
    return shown_screen_text(view.Session().Rsrc());
}

inline bool screen_shows(TRunView& view, const std::string& text)
{
    return screen_of(view).find(text) != std::string::npos;
}

}  // namespace run_window_testing
