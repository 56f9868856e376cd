// The run window: its menu bar and zoom, the close box, notices, the screen a real
// program leaves in it, and a Kill that does not wait for a busy machine.

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QTest>
#include <QThread>
#include <QWindow>
#include <fstream>
#include <memory>
#include <sstream>

#include "debugger/DebugSink.h"
#include "machine/screen/GraphicsPalette.h"
#include "tests/TestPaths.h"
#include "tests/session/StatementGate.h"
#include "tests/ui/MenuText.h"
#include "tests/ui/runwindow/RunWindowTesting.h"
#include "ui/runwindow/RunWindow.h"

using namespace run_window_testing;

namespace {

QStringList menu_labels(const TRunWindow& window)
{
    QStringList labels;
    for (QAction* menu : window.MenuBar()->actions()) {
        labels << QString::fromStdString(shown_menu_text(menu));
        for (QAction* item : menu->menu()->actions()) labels << QString::fromStdString(shown_menu_text(item));
    }
    return labels;
}

class RunWindow : public ::testing::Test {
protected:
    void SetUp() override { savedShowMenuBar = gExitStates.ShowMenuBar.load(); }
    void TearDown() override
    {
        if (window) window->RunView()->Session().KillBasic();
        window.reset();
        gExitStates.ShowMenuBar.store(savedShowMenuBar);
    }
    void Open()
    {
        window = std::make_unique<TRunWindow>(platform::Rect{20, 40, 300, 300}, &alerts);
        window->Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    bool savedShowMenuBar = true;
    TRecordingAlertSink alerts;
    std::unique_ptr<TRunWindow> window;
};

TEST_F(RunWindow, ZoomShowsAndHidesTheMenuBar)
{
    gExitStates.ShowMenuBar.store(false);
    Open();
    TRunView* view = window->RunView();
    EXPECT_FALSE(window->MenuBar()->isVisible());
    EXPECT_EQ(view->geometry(), QRect(0, 0, 640, 400));
    EXPECT_EQ(window->size(), QSize(640, 400));

    window->Zoom();
    const int bar = window->MenuBar()->height();
    EXPECT_TRUE(window->MenuBar()->isVisible());
    EXPECT_GT(bar, 0);
    EXPECT_EQ(view->y(), bar + 1);
    EXPECT_EQ(window->height(), 400 + bar + 1);
    EXPECT_TRUE(gExitStates.ShowMenuBar.load());

    window->Zoom();
    EXPECT_FALSE(window->MenuBar()->isVisible());
    EXPECT_EQ(view->y(), 0);
    EXPECT_EQ(window->height(), 400);
    EXPECT_FALSE(gExitStates.ShowMenuBar.load());
}

// Window managers offer maximize only to a window whose smallest and largest sizes
// differ; the window still takes the size of its content.
TEST_F(RunWindow, TheWindowManagerMayMaximizeTheWindow)
{
    for (bool bar : {true, false}) {
        SCOPED_TRACE(bar ? "with the menu bar" : "without the menu bar");
        gExitStates.ShowMenuBar.store(bar);
        Open();
        const QSize content(640, 400 + (bar ? window->MenuBar()->height() + 1 : 0));
        EXPECT_EQ(window->size(), content);
        EXPECT_EQ(window->minimumSize(), content);
        EXPECT_GT(window->maximumWidth(), content.width());
        EXPECT_GT(window->maximumHeight(), content.height());
        window.reset();
    }
}

// The window system maximizes the window (as a window manager's maximize button
// does): the menu bar goes or comes, the window does not stay maximized, stays in
// its place and the screen keeps its size.
TEST_F(RunWindow, AMaximizeFromTheWindowSystemIsTheZoom)
{
    gExitStates.ShowMenuBar.store(true);
    Open();
    TRunView* view = window->RunView();
    const int bar = window->MenuBar()->height();
    const QPoint place = window->pos();
    for (bool shown : {false, true}) {
        SCOPED_TRACE(shown ? "shows the bar" : "hides the bar");
        window->windowHandle()->setWindowStates(Qt::WindowMaximized);
        ASSERT_TRUE(wait_until([&] {
            return gExitStates.ShowMenuBar.load() == shown && !(window->windowState() & Qt::WindowMaximized) &&
                   window->size() == QSize(640, 400 + (shown ? bar + 1 : 0));
        }));
        EXPECT_EQ(window->MenuBar()->isVisible(), shown);
        EXPECT_EQ(view->geometry(), QRect(0, shown ? bar + 1 : 0, 640, 400));
        EXPECT_EQ(window->pos(), place) << "back where it was before the maximize";
    }
}

TEST_F(RunWindow, CloseBoxHidesAndTheProgramKeepsRunning)
{
    Open();
    TRunView* view = window->RunView();
    ASSERT_TRUE(start_run(*view, "10 PRINT \"RUNNING\"\n20 GOTO 20\n"));
    window->close();
    ASSERT_TRUE(wait_until([&] { return window->isHidden(); }));
    QTest::qWait(50);
    EXPECT_FALSE(view->RunEnded());
    EXPECT_TRUE(view->Session().KillBasic());
    EXPECT_TRUE(view->RunEnded());
}

TEST_F(RunWindow, OnlyTheAcceleratorFormatNoticeRebuildsTheMenus)
{
    Open();
    const QStringList before = menu_labels(*window);
    // A mark on the first menu's action, since a rebuilt menu may reuse its address.
    QAction* firstMenu = window->MenuBar()->actions().front();
    firstMenu->setProperty("kivo-test-old-menu", true);
    platform::Message flat(kIAPChangedMessage);
    flat.AddString("IAP:SrcIAPItem", "FlatToolBar");
    window->IAPChanged(&flat);
    EXPECT_EQ(window->MenuBar()->actions().front(), firstMenu) << "the menus stay as they are";
    EXPECT_EQ(menu_labels(*window), before);

    platform::Message format(kIAPChangedMessage);
    format.AddString("IAP:SrcIAPItem", "AccKeyFormat2");
    window->IAPChanged(&format);
    EXPECT_EQ(menu_labels(*window), before) << "rebuilt with the same format";
    EXPECT_FALSE(window->MenuBar()->actions().front()->property("kivo-test-old-menu").isValid()) << "rebuilt whole";
}

// Alt with a menu's letter opens that menu; every other key stays the program's: Alt
// with another letter, and F10, which is the machine's function key 10.
TEST_F(RunWindow, AltWithAMenusLetterOpensItAndOtherKeysReachTheProgram)
{
    Open();
    window->activateWindow();
    TRunView* view = window->RunView();
    view->setFocus();
    ASSERT_TRUE(wait_until([&] { return window->isActiveWindow() && view->hasFocus(); }));
    TBasicRsrc& rsrc = view->Session().Rsrc();
    rsrc.SetFuncKeyStr(10, "T");
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* menu;  // shown title; null: no menu opens
        std::string typed;
    };
    const Case cases[] = {
        {Qt::Key_1, Qt::AltModifier, "FDD1(1)", ""}, {Qt::Key_2, Qt::AltModifier, "FDD2(2)", ""},
        {Qt::Key_C, Qt::AltModifier, "Copy(C)", ""}, {Qt::Key_W, Qt::AltModifier, "Window(W)", ""},
        {Qt::Key_Z, Qt::AltModifier, nullptr, "z"},  {Qt::Key_F10, Qt::NoModifier, nullptr, "T"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QKeySequence(c.key | c.modifiers).toString().toStdString());
        rsrc.ClearKeyBuf();
        QTest::keyClick(view, c.key, c.modifiers);
        QApplication::processEvents();
        std::string open = "no menu";
        for (QAction* title : window->MenuBar()->actions())
            if (title->menu()->isVisible()) open = shown_menu_text(title);
        EXPECT_EQ(open, c.menu ? c.menu : "no menu");
        while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
        std::string typed;
        for (std::string key; !(key = rsrc.PopFromKeyBufWithTimeout(0)).empty();) typed += key;
        EXPECT_EQ(typed, c.typed);
    }
}

TEST_F(RunWindow, QuitStoresTheFrame)
{
    Open();
    window->MoveTo(platform::Point{33, 55});
    const platform::Rect frame = window->Frame();
    EXPECT_TRUE(window->Quit());
    EXPECT_EQ(gExitStates.RunWindowFrame.left, frame.left);
    EXPECT_EQ(gExitStates.RunWindowFrame.bottom, frame.bottom);
}

TEST_F(RunWindow, ShowsTheScreenAProgramLeaves)
{
    Open();
    std::ifstream file(test_paths::FixtureDir() + "/ui/screen.bas", std::ios::binary);
    std::ostringstream list;
    list << file.rdbuf();
    TRunView* view = window->RunView();
    ASSERT_TRUE(start_run(*view, list.str())) << alerts.Last();
    ASSERT_TRUE(wait_until([&] { return view->RunEnded(); }));
    EXPECT_TRUE(alerts.Alerts().empty()) << alerts.Last();
    EXPECT_TRUE(screen_shows(*view, "漢字")) << screen_of(*view);
    // LINE (40,80)-(300,80),2 in the 200-line mode: screen rows 160 and 161.
    const QRgb red = digital_colour(2).red << 16 | digital_colour(2).green << 8 | digital_colour(2).blue;
    EXPECT_TRUE(wait_until([&] { return (view->BackBuffer().pixel(170, 160) & 0xFFFFFF) == red; }));
    EXPECT_EQ(window->windowTitle().toStdString(), "DISK-BASIC - Kivo-BASIC (Run Window)");
}

// A debugged machine's reports pass a gate: the machine sits in its first report,
// busy whatever a stop request says, until the test opens the gate.
class TGatedDebugSink : public TDebugSink {
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

TEST_F(RunWindow, KillReturnsAtOnceWhileTheMachineIsBusyAndTheRunEndsAfterwards)
{
    Open();
    TRunView* view = window->RunView();
    TGatedDebugSink debug;
    view->Session().SetDebugSink(&debug);
    gExitStates.UseDebugger = true;
    const bool started = start_run(*view, "10 PRINT \"BEFORE\"\n20 GOTO 10\n");
    gExitStates.UseDebugger = false;
    ASSERT_TRUE(started) << alerts.Last();
    ASSERT_TRUE(debug.gate.WaitUntilEntered());

    EXPECT_TRUE(view->Session().KillBasic());
    EXPECT_FALSE(debug.gate.IsOpen()) << "Kill waited for the busy machine";
    EXPECT_TRUE(gAppPrivacy.Killed.load());
    EXPECT_EQ(view->VMachine(), nullptr);
    // The window goes on answering while the machine is still busy.
    window->MoveTo(platform::Point{30, 50});
    QApplication::processEvents();
    EXPECT_EQ(window->Frame().left, 30);

    // Once its report is through, the killed machine ends and says so on the screen.
    debug.gate.Open();
    ASSERT_TRUE(wait_until([&] { return screen_shows(*view, "Ok"); })) << screen_of(*view);
    EXPECT_FALSE(debug.gate.OpenedByGuard());
    view->Session().QuitBasic();
    view->Session().SetDebugSink(nullptr);
    gAppPrivacy.Killed = false;
}

}  // namespace
