// debug-window-shot LIST PNG: runs the list (UTF-8) under the debugger as the editor
// starts a debugged run ("BrkS" on), steps in until the run stops inside its first
// subroutine, and saves the debug window, title bar excluded, as PNG. Run it under
// xvfb-run to see the window as a user does.

#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QThread>
#include <fstream>
#include <iostream>
#include <sstream>

#include "debugger/DebugRunMode.h"
#include "foundation/Common.h"
#include "session/FormatSource.h"
#include "ui/debugwindow/CallStackView.h"
#include "ui/debugwindow/DebugView.h"
#include "ui/debugwindow/DebugWindow.h"
#include "ui/runwindow/RunWindow.h"

#if defined(__SANITIZE_ADDRESS__)
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libdbus-1.so\n";
}
#endif

namespace {

constexpr int kLimitMillis = 60000;

bool wait_until(const std::function<bool()>& condition)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > kLimitMillis) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 3) {
        std::cerr << "usage: debug-window-shot LIST PNG\n";
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    if (!file) {
        std::cerr << "debug-window-shot: cannot read " << argv[1] << "\n";
        return 1;
    }
    std::ostringstream list;
    list << file.rdbuf();
    gExitStates.UseDebugger = true;
    gPrefs.BreakAtStart = true;

    TRunWindow runWindow(platform::Rect{700, 0, 1339, 399});
    TDebugWindow debugWindow(platform::Rect{0, 0, 599, 479});
    TDebugView* view = debugWindow.DebugView();
    debugWindow.SetRunView(runWindow.RunView());
    runWindow.RunView()->Session().SetDebugSink(view);
    debugWindow.Show();

    TRunView* run = runWindow.RunView();
    view->ClearVar();
    run->Session().ClearBasic();
    const std::string source = format_source_for_compiler(list.str()).Text;
    if (!run->Session().CompileBasic(source)) {
        std::cerr << "debug-window-shot: the list does not compile\n";
        return 1;
    }
    run->Session().ReadyBasic();
    view->SetSrcCode(source);
    view->ClearCallStack();
    view->SetVar();
    view->SetVMachine(run->VMachine());
    view->SetFirstBreakPoint();
    if (!run->Session().RunBasic({})) return 1;

    // Step in until a subroutine is open.
    bool inside = false;
    for (int step = 0; step < 100 && !inside; ++step) {
        if (!wait_until([&] { return view->State() == DRM_BREAK || !view->HasDebugger(); })) return 1;
        if (!view->HasDebugger()) break;
        inside = view->CallStackView()->CallCount() > 0;
        if (!inside) view->Unbreak(DRM_STEP_IN);
    }
    QApplication::processEvents();
    QThread::msleep(300);
    QApplication::processEvents();
    const bool saved = debugWindow.grab().save(QString::fromLocal8Bit(argv[2]), "PNG");
    view->SetVMachine(nullptr);
    run->Session().KillBasic();
    QApplication::processEvents();
    if (!saved) {
        std::cerr << "debug-window-shot: cannot write " << argv[2] << "\n";
        return 1;
    }
    return inside ? 0 : 1;
}
