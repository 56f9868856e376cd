// Lines a second of a debugged run in Run mode, the debug window shown and hidden.
//
//   kivo-debug-run-bench [--strict] [passes]
//
// Targets: 20,000 lines a second with the window shown, 100,000 with it hidden;
// --strict exits 1 when one is missed.
//
// The program is a three-line FOR loop; each pass begins two lines (the body and
// NEXT) and assigns once, so each pass is three exchanges with the debug view. The
// run is started as the editor starts it, with no break point.

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "foundation/AlertSink.h"
#include "foundation/Common.h"
#include "session/FormatSource.h"
#include "ui/debugwindow/CallStackView.h"
#include "ui/debugwindow/DebugView.h"
#include "ui/debugwindow/DebugWindow.h"
#include "ui/runwindow/RunView.h"
#include "ui/runwindow/RunWindow.h"

namespace {

bool run_ended(TDebugView* view)
{
    TCallStackView* stack = view->CallStackView();
    const std::string last = stack->item(stack->count() - 1)->text().toStdString();
    return last == "[Done]" || last == "[Killed]";
}

// Seconds from the start of the run to the debug view's end of it.
double debugged_run_seconds(const std::string& list, bool shown)
{
    TRecordingAlertSink alerts;
    auto runWindow = std::make_unique<TRunWindow>(platform::Rect{0, 0, 639, 399}, &alerts);
    auto debugWindow = std::make_unique<TDebugWindow>(platform::Rect{0, 0, 599, 499});
    TDebugView* view = debugWindow->DebugView();
    TRunView* runView = runWindow->RunView();
    debugWindow->SetRunView(runView);
    runView->Session().SetDebugSink(view);
    if (shown) debugWindow->Show();

    // The editor's run hand-off.
    runView->QuitBasic();
    view->ClearVar();
    runView->ClearBasic();
    const std::string source = format_source_for_compiler(list).Text;
    if (!runView->CompileBasic(source)) return -1;
    runView->ReadyBasic();
    view->SetSrcCode(source);
    view->ClearCallStack();
    view->SetVar();
    view->SetVMachine(runView->VMachine());
    view->SetFirstBreakPoint();
    QElapsedTimer timer;
    timer.start();
    if (!runView->RunBasic({})) return -1;
    while (!run_ended(view)) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;

    view->SetVMachine(nullptr);
    runView->QuitBasic();
    QApplication::processEvents();
    return seconds;
}

}  // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bool strict = false;
    long passes = 30000;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--strict")
            strict = true;
        else
            passes = std::strtol(argv[i], nullptr, 10);
    }
    bool missed = false;
    gExitStates.UseDebugger = true;
    gPrefs.BreakAtStart = false;
    const std::string list = "10 FOR I=1 TO " + std::to_string(passes) + "\n20 A=A+1\n30 NEXT I\n";
    const double lines = 2.0 * static_cast<double>(passes);
    for (const bool shown : {true, false}) {
        const double seconds = debugged_run_seconds(list, shown);
        if (seconds < 0) {
            std::fprintf(stderr, "the program did not run\n");
            return 1;
        }
        const double target = shown ? 20000 : 100000;
        const double pace = lines / seconds;
        std::printf("window %s: %ld passes in %.3f s, %.0f lines a second (target %.0f)\n", shown ? "shown " : "hidden",
                    passes, seconds, pace, target);
        if (pace < target) missed = true;
    }
    return strict && missed ? 1 : 0;
}
