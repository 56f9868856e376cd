#include "ui/guibase/CloseWindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QTest>

#include "ui/guibase/DialogBase.h"
#include "ui/guibase/GUIBase.h"

namespace {

using platform::Rect;

constexpr uint32_t kCloseYourself = platform::fourcc("clse");

// Closes itself, through its owner's pointer, from one of its own handlers.
class SelfClosingWindow : public TBasicWindow {
public:
    explicit SelfClosingWindow(SelfClosingWindow** owner) : TBasicWindow(Rect{10, 10, 209, 109}, "self"), mOwner(owner)
    {}
    void MessageReceived(platform::Message* message) override
    {
        if (message->what == kCloseYourself) {
            close_window(mOwner);
            return;
        }
        TBasicWindow::MessageReceived(message);
    }

private:
    SelfClosingWindow** mOwner;
};

void run_deferred_deletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(CloseWindow, HidesAtOnceDestroysLaterAndClearsThePointer)
{
    auto* dialog = new TDialogWindow(Rect{10, 10, 209, 109}, "dialog");
    dialog->Appear();
    QPointer<QWidget> alive(dialog);
    close_window(&dialog);
    EXPECT_EQ(dialog, nullptr);
    ASSERT_FALSE(alive.isNull());
    EXPECT_TRUE(alive->isHidden());
    run_deferred_deletes();
    EXPECT_TRUE(alive.isNull());
    // A second call finds the pointer null and does nothing.
    close_window(&dialog);
    EXPECT_EQ(dialog, nullptr);
    close_window<TBasicWindow>(nullptr);
}

TEST(CloseWindow, WindowMayCloseItselfFromItsOwnHandler)
{
    SelfClosingWindow* window = nullptr;
    window = new SelfClosingWindow(&window);
    window->Appear();
    QPointer<QWidget> alive(window);
    window->PostMessage(kCloseYourself);
    for (int i = 0; i < 200 && window; ++i) QTest::qWait(5);
    EXPECT_EQ(window, nullptr);
    run_deferred_deletes();
    EXPECT_TRUE(alive.isNull());
}

}  // namespace
