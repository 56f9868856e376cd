// The main window under a real X server with key events from xdotool, as a user types
// them: Ctrl+K in the focused editor fires Kill and leaves the text alone, and typed
// text goes into the list. (With QTest's synthetic keys on xcb, Ctrl+K reached the
// editor instead, which deleted to the end of the line.) And in the whole application,
// the answer typed after Ctrl+R reaches the program's INPUT, not the list. Run under
// xvfb-run.

#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>

#include "../ShellTesting.h"
#include "machine/devices/ScreenText.h"
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
