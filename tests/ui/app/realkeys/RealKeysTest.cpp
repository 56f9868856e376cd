// The main window under a real X server with key events from xdotool, as a user types
// them: Ctrl+K in the focused editor fires Kill and leaves the text alone, and typed
// text goes into the list. (With QTest's synthetic keys on xcb, Ctrl+K reached the
// editor instead, which deleted to the end of the line.) Run under xvfb-run.

#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>

#include "../ShellTesting.h"
#include "ui/app/KivoBasicWindow.h"

namespace {

using namespace shell_testing;

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
    static void Xdotool(const QStringList& arguments)
    {
        QProcess xdotool;
        xdotool.start(QStringLiteral("xdotool"), arguments);
        ASSERT_TRUE(xdotool.waitForFinished(10000));
        ASSERT_EQ(xdotool.exitCode(), 0) << xdotool.readAllStandardError().toStdString();
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

}  // namespace
