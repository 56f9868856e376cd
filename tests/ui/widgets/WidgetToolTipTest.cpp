#include "ui/widgets/WidgetToolTip.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QLabel>
#include <QTest>

#include "WidgetTestSupport.h"
#include "logic/ManualTipScheduler.h"
#include "ui/widgets/QtTipScheduler.h"
#include "ui/widgets/ToolBar.h"
#include "ui/widgets/ToolButton.h"
#include "ui/widgets/ToolTipWindow.h"

namespace {

class TipOnWidget : public ::testing::Test {
protected:
    TipOnWidget() : windows(&scheduler), tip("TBRun", &scheduler, &windows)
    {
        window.resize(100, 50);
        target = new QWidget(&window);
        target->setGeometry(10, 10, 30, 20);
        tip.SetTarget(target);
        tip.Tip().SetTip("Run");
        window.show();
        QApplication::setActiveWindow(&window);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    void Enter()
    {
        QEnterEvent enter(QPointF(5, 5), QPointF(15, 15), QPointF(115, 115));
        QApplication::sendEvent(target, &enter);
        scheduler.RunPending();
    }
    void Leave()
    {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(target, &leave);
        scheduler.RunPending();
    }

    ManualTipScheduler scheduler;
    QtTipWindows windows;
    WidgetToolTip tip;
    QWidget window;
    QWidget* target = nullptr;
};

}  // namespace

TEST_F(TipOnWidget, RestingOpensAPaleTipWindowNamedAfterTheTip)
{
    Enter();
    scheduler.Advance(999999);
    EXPECT_TRUE(windows.OpenWindows().empty());
    scheduler.Advance(1);
    ASSERT_EQ(windows.OpenWindows().size(), 1u);
    QWidget* shown = windows.OpenWindows()[0];
    EXPECT_EQ(shown->objectName(), "TlTipWin_TBRun");
    EXPECT_TRUE(shown->windowFlags().testFlag(Qt::ToolTip));
    auto* text = shown->findChild<QLabel*>();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text(), " Run ");
    EXPECT_EQ(shown->size(), text->size() + QSize(2, 2)) << "the text and a one-pixel border around it";

    Leave();
    EXPECT_TRUE(windows.OpenWindows().empty());
    EXPECT_EQ(windows.LastHideTime(), scheduler.Now());
}

TEST_F(TipOnWidget, TheWindowGoesByItselfAfterTheShowTime)
{
    tip.Tip().SetShowTime(300000);
    Enter();
    scheduler.Advance(1000000);
    ASSERT_EQ(windows.OpenWindows().size(), 1u);
    scheduler.Advance(300000);
    QApplication::processEvents();
    EXPECT_TRUE(windows.OpenWindows().empty());
    EXPECT_EQ(windows.LastHideTime(), 0);
}

TEST_F(TipOnWidget, NothingOpensInAnInactiveWindow)
{
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    Enter();
    scheduler.Advance(2000000);
    EXPECT_TRUE(windows.OpenWindows().empty());
}

TEST(ToolTipWindow, TheTextStandsAtThePointInsideAThinDarkBorder)
{
    ManualTipScheduler scheduler;
    TToolTipWindow window("TlTipWin_TBRun", "Run", 5000000, {100, 120}, &scheduler);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto* text = window.findChild<QLabel*>();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->mapToGlobal(QPoint(0, 0)), QPoint(100, 120));

    const QImage image = window.grab().toImage();
    const QColor border(96, 96, 96);
    const int right = image.width() - 1;
    const int bottom = image.height() - 1;
    for (const QPoint& edge :
         {QPoint(0, 0), QPoint(right, 0), QPoint(0, bottom), QPoint(right, bottom), QPoint(right / 2, 0),
          QPoint(right / 2, bottom), QPoint(0, bottom / 2), QPoint(right, bottom / 2)})
        EXPECT_EQ(image.pixelColor(edge), border) << edge.x() << "," << edge.y();
    // Inside the border the pale yellow starts at once.
    EXPECT_EQ(image.pixelColor(1, 1), QColor(255, 255, 225));
    EXPECT_EQ(image.pixelColor(right - 1, bottom - 1), QColor(255, 255, 225));
}

TEST(ToolButtonTip, ClickingTheButtonClosesItsTipWindow)
{
    QWidget window;
    auto* bar = new TToolBar("ToolBar", &window);
    auto* button =
        new TToolButton("TBKill", blue_icon(), platform::Message(platform::fourcc("kill")), TToolButton::kPushBehavior);
    bar->AddItem(button);
    button->SetTip("Kill");
    EXPECT_EQ(button->Tip(), "Kill");
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QtTipWindows::Shared().Open("TlTipWin_TBKill", "Kill", 5000000, {0, 0});
    ASSERT_EQ(QtTipWindows::Shared().OpenWindows().size(), 1u);
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    EXPECT_TRUE(QtTipWindows::Shared().OpenWindows().empty());
}
