// The main window under a real X server with key events from xdotool, as a user types
// them: Ctrl+K in the focused editor fires Kill and leaves the text alone, Alt+F opens
// the File menu and types nothing, and typed text goes into the list. (With QTest's
// synthetic keys on xcb, Ctrl+K reached the editor instead, which deleted to the end
// of the line.) A name chosen with Return while the open panel's completion list is
// shown opens the list, and the next keys go into it: the completion list closes with
// the panel. And in the whole application, the answer typed after Ctrl+R reaches the
// program's INPUT, not the list. Run under xvfb-run.

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QCompleter>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QStandardPaths>
#include <filesystem>
#include <fstream>

#include "../ShellTesting.h"
#include "machine/devices/ScreenText.h"
#include "ui/app/AppMessages.h"
#include "ui/app/BasicApp.h"
#include "ui/app/KivoBasicWindow.h"
#include "ui/runwindow/RunWindow.h"

namespace {

using namespace shell_testing;

void Xdotool(const QStringList& arguments)
{
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), arguments);
    ASSERT_TRUE(xdotool.waitForFinished(10000));
    ASSERT_EQ(xdotool.exitCode(), 0) << xdotool.readAllStandardError().toStdString();
}

class RealKeys : public ShellFixture {
protected:
    void SetUp() override
    {
        ShellFixture::SetUp();
        if (QGuiApplication::platformName() != QStringLiteral("xcb")) GTEST_SKIP() << "needs an X server (xvfb-run)";
        if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty()) GTEST_SKIP() << "needs xdotool";
        window = std::make_unique<TKivoBasicWindow>(platform::Rect{40, 40, 539, 339});
        window->Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        text = window->BasicView()->TextView();
        Xdotool({"windowfocus", "--sync", QString::number(window->winId())});
        window->activateWindow();
        text->setFocus();
        ASSERT_TRUE(wait_until([&] { return text->hasFocus() && window->isActiveWindow(); }));
    }
    void TearDown() override
    {
        window.reset();
        ShellFixture::TearDown();
    }

    std::unique_ptr<TKivoBasicWindow> window;
    TEditTxtView* text = nullptr;
};

TEST_F(RealKeys, CtrlKFiresKillAndLeavesTheText)
{
    text->SetText("10 PRINT 1\n20 END");
    text->Select(3, 3);
    Xdotool({"key", "ctrl+k"});
    ASSERT_TRUE(wait_until([] { return gAppPrivacy.Killed.load(); }));
    QTest::qWait(100);
    EXPECT_EQ(text->Text(), "10 PRINT 1\n20 END");
    EXPECT_FALSE(text->IsModified());
}

TEST_F(RealKeys, TypedTextGoesIntoTheList)
{
    Xdotool({"type", "10 PRINT \"HI\""});
    ASSERT_TRUE(wait_until([&] { return text->Text() == "10 PRINT \"HI\""; })) << text->Text();
    EXPECT_TRUE(text->IsModified());
}

TEST_F(RealKeys, AltFOpensTheFileMenuAndTypesNothing)
{
    text->SetText("10 GOTO 10");
    text->SetModified(false);
    Xdotool({"key", "alt+f"});
    QMenu* file = window->MenuBar()->actions().front()->menu();
    ASSERT_TRUE(wait_until([&] { return file->isVisible(); }));
    Xdotool({"key", "Escape"});
    Xdotool({"key", "Escape"});
    ASSERT_TRUE(wait_until([&] { return !file->isVisible() && QApplication::activePopupWidget() == nullptr; }));
    EXPECT_EQ(text->Text(), "10 GOTO 10");
    EXPECT_FALSE(text->IsModified());
}

TEST_F(RealKeys, ReturnInTheOpenPanelsCompletionOpensTheListAndTheNextKeysGoThere)
{
    const std::filesystem::path lists = root / "lists";
    std::filesystem::create_directories(lists);
    std::ofstream(lists / "prog.bas") << "10 PRINT \"X\"\n";
    gExitStates.MainPanelFolder = lists.string();
    window->PostMessage(kOpenMessage);
    ASSERT_TRUE(wait_until([&] { return window->OpenPanel() && window->OpenPanel()->isVisible(); }));
    QFileDialog* panel = window->OpenPanel();
    auto* name = panel->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(name, nullptr);
    ASSERT_NE(name->completer(), nullptr);
    Xdotool({"windowfocus", "--sync", QString::number(panel->winId())});
    ASSERT_TRUE(wait_until([&] { return name->hasFocus(); }));

    Xdotool({"type", "prog.bas"});
    ASSERT_TRUE(wait_until([&] { return name->completer()->popup()->isVisible(); })) << "the completion list shows";
    Xdotool({"key", "Return"});
    ASSERT_TRUE(wait_until([&] { return text->Text() == "10 PRINT \"X\"\n"; })) << text->Text();
    EXPECT_FALSE(panel->isVisible());
    EXPECT_FALSE(name->completer()->popup()->isVisible());

    ASSERT_TRUE(wait_until([&] { return window->isActiveWindow() && text->hasFocus(); }));
    Xdotool({"type", "YZ"});
    ASSERT_TRUE(wait_until([&] { return text->Text() == "YZ10 PRINT \"X\"\n"; })) << text->Text();
    EXPECT_EQ(name->text().toStdString(), "prog.bas") << "no key went to the hidden panel";
}

// The open panel chosen from the keyboard (Alt+F, then O) and closed with Escape gives
// the keys back to the list: the menu bar, which had them while its menu was open, does
// not keep them.
TEST_F(RealKeys, TheOpenPanelChosenFromTheKeyboardGivesTheKeysBackToTheList)
{
    gExitStates.MainPanelFolder = root.string();
    Xdotool({"key", "alt+f"});
    QMenu* file = window->MenuBar()->actions().front()->menu();
    ASSERT_TRUE(wait_until([&] { return file->isVisible(); }));
    Xdotool({"key", "o"});
    ASSERT_TRUE(wait_until([&] { return window->OpenPanel() && window->OpenPanel()->isVisible(); }));
    QFileDialog* panel = window->OpenPanel();
    Xdotool({"windowfocus", "--sync", QString::number(panel->winId())});
    ASSERT_TRUE(wait_until([&] { return panel->isActiveWindow(); }));
    Xdotool({"key", "Escape"});
    ASSERT_TRUE(wait_until([&] { return !panel->isVisible(); }));

    ASSERT_TRUE(wait_until([&] { return window->isActiveWindow(); }));
    Xdotool({"type", "10 END"});
    EXPECT_TRUE(wait_until([&] { return text->Text() == "10 END"; })) << text->Text();
    EXPECT_TRUE(text->hasFocus());
}

class RealKeysApp : public ShellFixture {
protected:
    void SetUp() override
    {
        ShellFixture::SetUp();
        if (QGuiApplication::platformName() != QStringLiteral("xcb")) GTEST_SKIP() << "needs an X server (xvfb-run)";
        if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty()) GTEST_SKIP() << "needs xdotool";
        app = std::make_unique<TBasicApp>();
        TKivoBasicWindow* main = app->MainWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main));
        Xdotool({"windowfocus", "--sync", QString::number(main->winId())});
        main->activateWindow();
        main->BasicView()->TextView()->setFocus();
        ASSERT_TRUE(wait_until([&] { return main->BasicView()->TextView()->hasFocus() && main->isActiveWindow(); }));
    }
    void TearDown() override
    {
        if (app && !app->IsQuitting()) app->Quit();
        app.reset();
        ShellFixture::TearDown();
    }
    std::string Screen() const { return shown_screen_text(app->RunWindow()->RunView()->Session().Rsrc()); }

    std::unique_ptr<TBasicApp> app;
};

TEST_F(RealKeysApp, TheAnswerTypedAfterCtrlRReachesTheProgramAndNotTheList)
{
    Xdotool({"type", "10 INPUT A:PRINT A*2"});
    TEditTxtView* text = app->MainWindow()->BasicView()->TextView();
    ASSERT_TRUE(wait_until([&] { return text->Text() == "10 INPUT A:PRINT A*2"; })) << text->Text();
    Xdotool({"key", "ctrl+r"});
    ASSERT_TRUE(wait_until([&] { return Screen().find("? ") != std::string::npos; })) << Screen();
    ASSERT_TRUE(wait_until([&] { return app->RunWindow()->isActiveWindow(); })) << "the run window has the keyboard";
    Xdotool({"type", "21"});
    Xdotool({"key", "Return"});
    ASSERT_TRUE(wait_until([&] { return Screen().find(" 42\nOk\n") != std::string::npos; })) << Screen();
    EXPECT_EQ(text->Text(), "10 INPUT A:PRINT A*2");
}

}  // namespace
