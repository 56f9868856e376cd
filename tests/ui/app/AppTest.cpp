// The application object: start-up with and without the splash, the frames stored at
// quit and used at the next start, runs from the editor (typed list, Run, Kill, the
// machine's requests), and requests that wait while a compile-error alert is open.

#include <gtest/gtest.h>

#include <QScreen>
#include <QThread>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <vector>

#include "ShellTesting.h"
#include "debugger/DebugSink.h"
#include "machine/devices/ScreenText.h"
#include "platform/Modifiers.h"
#include "tests/session/StatementGate.h"
#include "ui/app/AppMessages.h"
#include "ui/app/AppStart.h"
#include "ui/app/BasicApp.h"
#include "ui/app/KivoBasicWindow.h"
#include "ui/app/SplashWindow.h"
#include "ui/debugwindow/DebugView.h"
#include "ui/debugwindow/DebugWindow.h"
#include "ui/guibase/GeometryQt.h"
#include "ui/guibase/MessageFilter.h"
#include "ui/runwindow/RunWindow.h"

namespace {

using namespace shell_testing;

class App : public ShellFixture {
protected:
    void TearDown() override
    {
        if (app && !app->IsQuitting()) app->Quit();
        app.reset();
        ShellFixture::TearDown();
    }
    void Start()
    {
        app = std::make_unique<TBasicApp>();
        QApplication::processEvents();
    }
    TKivoBasicView* Editor() const { return app->MainWindow()->BasicView(); }
    TRunView* RunView() const { return app->RunWindow()->RunView(); }
    std::string Screen() const { return shown_screen_text(RunView()->Session().Rsrc()); }
    // Runs the list as the Run item does.
    void Run(const std::string& list)
    {
        Editor()->TextView()->SetText(list);
        app->MainWindow()->PostMessage(kRunMessage, Editor());
    }
    bool Ended() const { return RunView()->VMachine() != nullptr && RunView()->RunEnded(); }

    std::unique_ptr<TBasicApp> app;
};

// Ctrl on a recent list, Alt on a drop and the reset keys at start ask the held keys.
TEST_F(App, AStartAsMainDoesReadsTheHeldKeys)
{
    platform::set_modifier_reader(nullptr);
    char name[] = "kivo-basic";
    char* argv[] = {name, nullptr};
    prepare_application(1, argv);
    gPrefs.ShowSplash = false;
    Start();
    QWindow* window = app->MainWindow()->windowHandle();
    ASSERT_TRUE(window);
    QTest::keyPress(window, Qt::Key_Control, Qt::ControlModifier);
    EXPECT_EQ(platform::modifiers() & platform::kCommandKey, platform::kCommandKey);
    QTest::keyRelease(window, Qt::Key_Control, Qt::NoModifier);
    EXPECT_EQ(platform::modifiers() & platform::kCommandKey, 0u);
    platform::set_modifier_reader(nullptr);
}

TEST_F(App, FirstStartPutsTheWindowsAtTheDefaultFrames)
{
    Start();
    EXPECT_EQ(app->MainWindow()->Frame().left, 5);
    EXPECT_EQ(app->MainWindow()->Frame().top, 24);
    EXPECT_EQ(app->RunWindow()->Frame().left, 25);
    EXPECT_EQ(app->RunWindow()->Frame().top, 44);
    EXPECT_FALSE(app->MainWindow()->IsHidden());
    EXPECT_TRUE(app->RunWindow()->IsHidden()) << "the run window waits hidden for the first run";
}

TEST_F(App, QuitStoresTheFramesAndTheNextStartUsesThem)
{
    Start();
    app->MainWindow()->MoveTo({100, 120});
    app->RunWindow()->MoveTo({200, 220});
    const platform::Rect debugFrame = app->DebugWindow()->Frame();
    app->Quit();
    EXPECT_TRUE(gAppPrivacy.Quitting);
    EXPECT_EQ(gExitStates.MainWindowFrame.left, 100);
    EXPECT_EQ(gExitStates.MainWindowFrame.top, 120);
    EXPECT_EQ(gExitStates.RunWindowFrame.left, 200);
    EXPECT_EQ(gExitStates.RunWindowFrame.top, 220);
    EXPECT_EQ(gExitStates.DebugWindowFrame, debugFrame);
    ASSERT_EQ(gExitStates.SaveToFile(), 0);
    app.reset();

    gExitStates = TExitStates();
    gAppPrivacy.Quitting = false;
    // Its result is not looked at: a file without panel folders reads as incomplete.
    gExitStates.LoadFromFile();
    ASSERT_EQ(gExitStates.MainWindowFrame.left, 100);
    Start();
    EXPECT_EQ(app->MainWindow()->Frame().left, 100);
    EXPECT_EQ(app->MainWindow()->Frame().top, 120);
    EXPECT_EQ(app->RunWindow()->Frame().left, 200);
    EXPECT_EQ(app->RunWindow()->Frame().top, 220);
}

TEST_F(App, AFrameOffEveryScreenIsPulledIntoTheMainScreen)
{
    gExitStates.MainWindowFrame = platform::Rect{5000, 4000, 5495, 4276};
    Start();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const platform::Rect frame = app->MainWindow()->Frame();
    EXPECT_LE(frame.right, screen.right() - 5 + 1);
    EXPECT_LE(frame.bottom, screen.bottom() - 5 + 1);
    EXPECT_GE(frame.left, 0);
}

bool frames_meet(const platform::Rect& a, const platform::Rect& b)
{
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

// On the test screen (1024 x 768) the default frame beside the run window would run
// off the right edge: the debug window goes below the run window instead.
TEST_F(App, TheDebugWindowOpensWholeOnTheScreenAndClearOfTheRunWindow)
{
    struct Case {
        const char* name;
        platform::Rect kept;
        bool staysPut;
    };
    const Case cases[] = {
        {"the default", TExitStates().DebugWindowFrame, false},
        {"the earlier default, wholly under the run window", {45, 64, 540, 340}, false},
        {"partly under the run window", {300, 64, 795, 340}, false},
        {"clear of it", {520, 480, 1015, 756}, true},
    };
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        app.reset();
        gExitStates.DebugWindowFrame = c.kept;
        Start();
        const platform::Rect run = app->RunWindow()->Frame();
        const platform::Rect debug = app->DebugWindow()->Frame();
        EXPECT_FALSE(frames_meet(run, debug)) << "neither hides the other";
        EXPECT_TRUE(screen.contains(to_qrect(debug))) << "the whole frame is on the screen";
        EXPECT_EQ(debug.right - debug.left, c.kept.right - c.kept.left) << "it keeps its size";
        if (c.staysPut) {
            EXPECT_EQ(debug, c.kept);
        }
    }
}

TEST_F(App, TheSplashShowsOnlyWhenAskedAndGoesWhenReady)
{
    Start();
    EXPECT_EQ(app->SplashWindow(), nullptr);
    app.reset();

    gPrefs.ShowSplash = true;
    app = std::make_unique<TBasicApp>();
    ASSERT_NE(app->SplashWindow(), nullptr);
    EXPECT_EQ(app->SplashWindow()->View()->StatusBar()->text().toStdString(), " Adjusting sub windows...");
    EXPECT_FALSE(app->SplashWindow()->IsHidden());
    ASSERT_TRUE(wait_until([&] { return app->SplashWindow() == nullptr; }));
    EXPECT_FALSE(app->MainWindow()->IsHidden());
}

TEST(Splash, StatusTextsKeepALeadingBlank)
{
    TSplashWindow splash(platform::Rect{0, 0, 1, 1});
    platform::Message status(kSplashStatusMessage);
    status.AddString("StatStr", "Creating windows...");
    splash.SetSplashStrRqtd(&status);
    EXPECT_EQ(splash.View()->StatusBar()->text().toStdString(), " Creating windows...");
    platform::Message empty(kSplashStatusMessage);
    splash.SetSplashStrRqtd(&empty);
    EXPECT_EQ(splash.View()->StatusBar()->text().toStdString(), " Creating windows...")
        << "a message without the text changes nothing";
    splash.View()->SetStatBarStr(nullptr);
    EXPECT_TRUE(splash.View()->StatusBar()->text().isEmpty());
    EXPECT_EQ(splash.width(), splash.View()->Image().width() + 4);
    EXPECT_EQ(splash.height(), splash.View()->Image().height() + 18);
}

TEST_F(App, ATypedListRunsInTheRunWindow)
{
    Start();
    TEditTxtView* text = Editor()->TextView();
    text->setFocus();
    QTest::keyClicks(text, "10 PRINT \"HELLO\"");
    app->MainWindow()->PostMessage(kRunMessage, Editor());
    ASSERT_TRUE(wait_until([&] { return Ended(); }));
    EXPECT_NE(Screen().find("HELLO\nOk\n"), std::string::npos) << Screen();
    EXPECT_FALSE(app->RunWindow()->IsHidden()) << "a run brings the run window forward";
    EXPECT_TRUE(Editor()->StatusBar()->text().isEmpty());
}

TEST_F(App, KillStopsARunAndTheListStaysWhatWasTyped)
{
    Start();
    Run("10 GOTO 10\n");
    ASSERT_TRUE(wait_until([&] { return RunView()->VMachine() != nullptr; }));
    // Typing while the program runs goes into the list.
    Editor()->TextView()->moveCursor(QTextCursor::End);
    QTest::keyClicks(Editor()->TextView(), "20 REM");
    app->MainWindow()->PostMessage(kKillMessage, Editor());
    ASSERT_TRUE(wait_until([&] { return RunView()->VMachine() == nullptr; }));
    EXPECT_TRUE(gAppPrivacy.Killed);
    EXPECT_EQ(Editor()->TextView()->Text(), "10 GOTO 10\n20 REM");
}

TEST_F(App, ARunGivesTheRunWindowTheKeyboardAndTheListStaysAsTyped)
{
    Start();
    // The run window is open behind the main window from an earlier run.
    Run("10 PRINT 1\n");
    ASSERT_TRUE(wait_until([&] { return Ended(); }));
    TEditTxtView* text = Editor()->TextView();
    text->SetText(std::string());
    app->MainWindow()->activateWindow();
    text->setFocus();
    ASSERT_TRUE(wait_until([&] { return QApplication::focusWidget() == text; }));
    QTest::keyClicks(text, "10 INPUT A:PRINT A*2");
    app->MainWindow()->PostMessage(kRunMessage, Editor());
    ASSERT_TRUE(wait_until([&] { return Screen().find("? ") != std::string::npos; })) << Screen();
    ASSERT_TRUE(wait_until([&] { return QApplication::focusWidget() == RunView(); }))
        << "the keyboard is still with "
        << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString() : "nobody");
    // Keys sent to the application, as the user types them.
    QTest::keyClicks(nullptr, "21");
    QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Return);
    ASSERT_TRUE(wait_until([&] { return Ended(); }));
    EXPECT_NE(Screen().find("? 21\n 42\nOk\n"), std::string::npos) << Screen();
    EXPECT_EQ(text->Text(), "10 INPUT A:PRINT A*2");
    EXPECT_FALSE(app->RunWindow()->IsHidden());
}

TEST_F(App, TheMachinesRunRequestRunsTheListAgain)
{
    Start();
    Run("10 PRINT \"A\";\n20 IF X=0 THEN X=1: RUN 30\n30 PRINT \"B\"\n");
    // RUN clears the variables, so the second run prints B and ends.
    ASSERT_TRUE(wait_until([&] { return Screen().find("B\nOk") != std::string::npos; })) << Screen();
}

TEST_F(App, AKillBetweenTwoRepeatedRunsEndsTheRepeats)
{
    gExitStates.RepeatRun = true;
    Start();
    Run("10 PRINT 1\n");
    ASSERT_TRUE(wait_until([&] { return Screen().find("Ok") != std::string::npos; })) << Screen();
    app->MainWindow()->PostMessage(kKillMessage, Editor());
    ASSERT_TRUE(wait_until([] { return gAppPrivacy.Killed.load(); }));
    // The repeat asked for by a run that ended just before the Kill comes due after it.
    TRunRequest repeat;
    repeat.NotFore = true;
    platform::Message due = followed_request_message(kVMachineRunDue, repeat, Editor()->HandOff().LastRun());
    Editor()->VMachineRunDue(&due);
    EXPECT_EQ(RunView()->VMachine(), nullptr);
    EXPECT_TRUE(gAppPrivacy.Killed.load());
}

// Sees the machines' run requests once they are due (and the rest of a request after
// its list is loaded), and holds them when asked, so that a test hands each on when it
// chooses.
class DueRunRequests : public TMessageFilter {
public:
    explicit DueRunRequests(bool holding) : TMessageFilter(kVMachineRunDue), mHolding(holding) {}
    TFilterResult Filter(platform::Message* message, platform::Handler**) override
    {
        seen.push_back(*message);
        return mHolding ? TFilterResult::Skip : TFilterResult::Dispatch;
    }
    std::vector<platform::Message> seen;

private:
    bool mHolding;
};

TEST_F(App, AKilledRunsRepeatIsNotFollowedAfterAQuickNewRunButTheNewRunsIs)
{
    gExitStates.RepeatRun = true;
    Start();
    auto* hold = new DueRunRequests(true);
    app->MainWindow()->AddCommonFilter(hold);
    Run("10 PRINT 1\n");
    ASSERT_TRUE(wait_until([&] { return hold->seen.size() == 1; }));
    // Kill, and at once the user's own run, before the killed run's repeat is due.
    app->MainWindow()->PostMessage(kKillMessage, Editor());
    Run("10 PRINT 2:A$=INPUT$(1)\n");
    // It waits for a key once it has printed.
    ASSERT_TRUE(wait_until([&] { return Screen().find(" 2\n") != std::string::npos; })) << Screen();
    const platform::Message killedRepeat = hold->seen[0];
    Editor()->VMachineRunDue(const_cast<platform::Message*>(&killedRepeat));

    // Had it been followed, the program would start again and print once more.
    RunView()->Session().Rsrc().PushToKeyBuf("x", 1);
    ASSERT_TRUE(wait_until([&] { return Ended(); }));
    EXPECT_EQ(Screen().find(" 2\n"), Screen().rfind(" 2\n")) << Screen();

    // The user's run is repeated as before.
    ASSERT_TRUE(wait_until([&] { return hold->seen.size() == 2; }));
    const platform::Message userRepeat = hold->seen[1];
    Editor()->VMachineRunDue(const_cast<platform::Message*>(&userRepeat));
    RunView()->Session().Rsrc().PushToKeyBuf("x", 1);
    ASSERT_TRUE(wait_until([&] { return Ended() && hold->seen.size() == 3; }));
    EXPECT_NE(Screen().find(" 2\n"), Screen().rfind(" 2\n")) << Screen();
}

// Counts the messages of one code that reach the window.
class SeenMessages : public TMessageFilter {
public:
    explicit SeenMessages(uint32_t what) : TMessageFilter(what) {}
    TFilterResult Filter(platform::Message*, platform::Handler**) override
    {
        ++count;
        return TFilterResult::Dispatch;
    }
    int count = 0;
};

// Answers the save question as "No", after a Kill was given while it was open.
class KillWhileAsked : public TListAsker {
public:
    explicit KillWhileAsked(TBasicApp& app) : mApp(app) {}
    int32_t Ask(const TListQuestion&) override
    {
        ++asked;
        mApp.MainWindow()->PostMessage(kKillMessage, mApp.MainWindow()->BasicView());
        return 1;
    }
    void ShowError(const std::string&) override {}
    int asked = 0;

private:
    TBasicApp& mApp;
};

TEST_F(App, AKillWhileARunFileIsLoadingMeansTheLoadedListDoesNotRun)
{
    const std::filesystem::path drive = std::filesystem::path(root) / "drive";
    std::filesystem::create_directories(drive);
    std::ofstream(drive / "next.bas") << "10 PRINT 222\n";
    Start();
    ASSERT_TRUE(RunView()->Session().Rsrc().DrvFolders.Set(0, drive.string()));
    KillWhileAsked asker(*app);
    Editor()->Asker().SetOverride(&asker);
    auto* due = new DueRunRequests(false);
    app->MainWindow()->AddCommonFilter(due);
    // The typed list is not saved, so the load asks first.
    Run("10 RUN \"next.bas\"\n");
    Editor()->TextView()->SetModified(true);
    ASSERT_TRUE(wait_until([&] { return Editor()->TextView()->Text().find("222") != std::string::npos; }));
    EXPECT_EQ(asker.asked, 1);
    // The rest of the request was queued when the load was over; a mark queued now
    // comes after it (it carries no run, so nothing follows it).
    platform::Message mark = run_request_message(kVMachineRunDue, TRunRequest{});
    mark.AddBool("Mark", true);
    app->MainWindow()->PostMessage(mark, Editor());
    ASSERT_TRUE(wait_until([&] { return !due->seen.empty() && due->seen.back().HasField("Mark"); }));
    EXPECT_TRUE(gAppPrivacy.Killed.load());
    EXPECT_EQ(RunView()->VMachine(), nullptr) << "the loaded list does not run";
    EXPECT_EQ(Screen().find("222"), std::string::npos) << Screen();
    Editor()->Asker().SetOverride(nullptr);
}

// A debugged machine's reports pass a gate: the machine sits in its first report,
// busy whatever a stop request says, until the test opens the gate.
class GatedDebugSink : public TDebugSink {
public:
    void Post(const platform::Message&) override
    {
        if (QThread::currentThread() != QCoreApplication::instance()->thread()) gate.Pass();
    }
    bool Deliver(const platform::Message& message, TDebugReply, platform::bigtime_t) override
    {
        Post(message);
        return false;
    }
    TStatementGate gate;
};

TEST_F(App, ARunRightAfterAKillWaitsForTheKilledMachineWithoutHoldingTheWindow)
{
    Start();
    GatedDebugSink debug;
    RunView()->Session().SetDebugSink(&debug);
    gExitStates.UseDebugger = true;
    Run("10 PRINT \"BEFORE\"\n20 GOTO 10\n");
    ASSERT_TRUE(wait_until([&] { return RunView()->VMachine() != nullptr; }));
    ASSERT_TRUE(debug.gate.WaitUntilEntered());
    gExitStates.UseDebugger = false;
    auto* seen = new SeenMessages(kRunMessage);
    app->MainWindow()->AddCommonFilter(seen);

    app->MainWindow()->PostMessage(kKillMessage, Editor());
    Run("10 PRINT 5\n");
    ASSERT_TRUE(wait_until([&] { return seen->count == 1; }));
    EXPECT_FALSE(debug.gate.IsOpen()) << "the Run waited for the killed machine";
    EXPECT_EQ(RunView()->VMachine(), nullptr);

    debug.gate.Open();
    ASSERT_TRUE(wait_until([&] { return Ended(); }));
    EXPECT_NE(Screen().find(" 5\nOk\n"), std::string::npos) << Screen();
    EXPECT_FALSE(debug.gate.OpenedByGuard());
    RunView()->Session().SetDebugSink(dynamic_cast<TDebugWindow*>(app->DebugWindow())->DebugView());
}

TEST_F(App, QuitWhileAProgramWaitsForInputEndsIt)
{
    Start();
    Run("10 INPUT A$\n20 GOTO 10\n");
    ASSERT_TRUE(wait_until([&] { return RunView()->VMachine() != nullptr; }));
    app->Quit();
    EXPECT_EQ(RunView()->VMachine(), nullptr);
}

TEST_F(App, ARunRequestWaitsWhileTheCompileErrorAlertIsOpen)
{
    Start();
    // The alert runs its own event loop inside the Run handler, so what happens while
    // it is open is done by a timer that runs inside that loop.
    std::string alertText;
    bool ranInsideAlert = false;
    QTimer whileOpen;
    whileOpen.setInterval(10);
    int ticksOpen = 0;
    QObject::connect(&whileOpen, &QTimer::timeout, [&] {
        QMessageBox* alert = open_alert();
        if (!alert) return;
        if (ticksOpen++ == 0) {
            alertText = alert->text().toStdString();
            // The machine's request arrives while the alert is open.
            Editor()->TextView()->SetText("10 PRINT 7\n");
            Editor()->RunRequested(TRunRequest{}, Editor()->HandOff().LastRun());
            return;
        }
        if (ticksOpen < 20) return;  // 200 ms, ten times the request's wait
        ranInsideAlert = RunView()->VMachine() != nullptr;
        whileOpen.stop();
        alert->done(0);
    });
    whileOpen.start();
    Run("10 PRINT (\n");
    ASSERT_TRUE(wait_until([&] { return !whileOpen.isActive(); }));
    EXPECT_NE(alertText.find("Line: 10"), std::string::npos) << alertText;
    EXPECT_FALSE(ranInsideAlert) << "nothing runs inside the open alert";

    ASSERT_TRUE(wait_until([&] { return Ended(); }));
    QTest::qWait(100);
    const std::string screen = Screen();
    EXPECT_NE(screen.find(" 7\nOk"), std::string::npos) << screen;
    EXPECT_EQ(screen.find(" 7\nOk"), screen.rfind(" 7\nOk")) << "the request ran once";
    EXPECT_EQ(open_alert(), nullptr);
}

}  // namespace
