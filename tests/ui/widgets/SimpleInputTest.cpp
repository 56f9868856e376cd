#include "ui/widgets/SimpleInput.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "WidgetTestSupport.h"
#include "ui/guibase/AcceleratorLabels.h"
#include "ui/guibase/GeometryQt.h"

namespace {

constexpr uint32_t kGoToLine = platform::fourcc("gtlr");

void Pump()
{
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

// The width of a button as its frame has it: right edge less left edge.
float FrameWidth(const QWidget* w)
{
    platform::Rect frame = from_qrect(w->geometry());
    return frame.right - frame.left;
}

class InputDialog : public ::testing::Test {
public:
    explicit InputDialog(int32_t mode = kButtonWidthFixed)
        : window(std::make_unique<TSimpleInputWindow>(platform::Rect{100, 100, 300, 300}, "Go to", mode))
    {
        window->SetTarget(platform::Messenger(&target.handler));
        window->SetMessage(new platform::Message(kGoToLine));
    }
    void Open()
    {
        window->Appear();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void Type(const QString& text) { window->View()->TextField()->setText(text); }
    void ClickAndWait(QPushButton* button)
    {
        button->click();
        Pump();
    }
    // The texts of every message the target got, one list per message.
    std::vector<std::vector<std::string>> Sent()
    {
        std::vector<std::vector<std::string>> all;
        for (const auto& m : target.Drain()) {
            EXPECT_EQ(m.what, kGoToLine);
            std::vector<std::string> texts;
            std::string text;
            for (int32_t i = 0; m.FindString(kSimpleInputTextField, i, &text) == platform::kOk; ++i)
                texts.push_back(text);
            all.push_back(texts);
        }
        target.Clear();
        return all;
    }

    RecordingTarget target;
    std::unique_ptr<TSimpleInputWindow> window;
};

struct SameWidthDialog : InputDialog {
    SameWidthDialog() : InputDialog(kButtonWidthSame) {}
};

}  // namespace

TEST_F(InputDialog, TakesTheViewsSizeAtTheFramesCorner)
{
    EXPECT_EQ(window->Bounds(), (platform::Rect{0, 0, 250, 72}));
    EXPECT_EQ(window->pos(), QPoint(100, 100));
}

TEST_F(InputDialog, EachConfirmationSendsOneTextField)
{
    Open();
    Type("100");
    ClickAndWait(window->View()->DefaultButton());
    EXPECT_TRUE(window->isHidden());
    Open();
    EXPECT_EQ(window->View()->TextField()->selectedText(), "100");
    Type("");
    ClickAndWait(window->View()->DefaultButton());
    EXPECT_EQ(Sent(), (std::vector<std::vector<std::string>>{{"100"}, {""}}));
}

TEST_F(InputDialog, CancellingPutsBackTheTextLastSent)
{
    struct Case {
        const char* how;
        std::function<void(InputDialog*)> cancel;
    };
    const Case cases[] = {
        {"Cancel button", [](InputDialog* d) { d->ClickAndWait(d->window->View()->CancelButton()); }},
        {"Escape",
         [](InputDialog* d) {
             QTest::keyClick(d->window->View()->TextField(), Qt::Key_Escape);
             QSignalSpy clicked(d->window->View()->CancelButton(), &QPushButton::clicked);
             EXPECT_TRUE(clicked.wait(1000));
             Pump();
         }},
        {"close box",
         [](InputDialog* d) {
             d->window->close();
             Pump();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        window = std::make_unique<TSimpleInputWindow>(platform::Rect{100, 100, 300, 300}, "Go to", 0);
        window->SetTarget(platform::Messenger(&target.handler));
        Open();
        Type("typed");
        c.cancel(this);
        EXPECT_TRUE(window->isHidden());
        EXPECT_EQ(window->Text(), "");  // nothing confirmed yet

        Open();
        Type("40");
        ClickAndWait(window->View()->DefaultButton());
        Open();
        Type("typed again");
        c.cancel(this);
        EXPECT_TRUE(window->isHidden());
        EXPECT_EQ(window->Text(), "40");
        EXPECT_EQ(target.Drain().size(), 1u);
        target.Clear();
    }
}

TEST(InputDialogButtons, ModesOutsideTheRangeGiveEightyWideButtons)
{
    for (int32_t mode : {-1, 0, 3}) {
        SCOPED_TRACE(mode);
        TSimpleInputWindow window(platform::Rect{0, 0, 10, 10}, "t", mode);
        window.SetButtonLabel(B_CANCEL_BUTTON,
                              merge_accelerator_key(kDefaultAccKeyFormat, "Esc", "A much longer Cancel"));
        window.SetButtonLabel(B_DEFAULT_BUTTON, "OK");
        auto* view = window.View();
        EXPECT_EQ(FrameWidth(view->CancelButton()), 80);
        EXPECT_EQ(FrameWidth(view->DefaultButton()), 80);
        // Arranged from the right, 10 apart.
        EXPECT_EQ(view->DefaultButton()->geometry().right(), 240);
        EXPECT_EQ(view->CancelButton()->geometry().right() + 10, view->DefaultButton()->x());
    }
}

TEST_F(SameWidthDialog, BothButtonsTakeTheWiderLabelsWidth)
{
    auto* view = window->View();
    window->SetButtonLabel(B_DEFAULT_BUTTON, "OK(O)");
    window->SetButtonLabel(B_CANCEL_BUTTON, "A very long cancel label(Esc)");
    const float wide = FrameWidth(view->CancelButton());
    EXPECT_EQ(FrameWidth(view->DefaultButton()), wide);
    EXPECT_GT(wide, 80);
    EXPECT_EQ(wide, std::ceil(static_cast<float>(view->CancelButton()->sizeHint().width())));
}

TEST_F(InputDialog, SetButtonLabelIgnoresOtherButtons)
{
    auto* view = window->View();
    const QRect cancel = view->CancelButton()->geometry();
    const QRect ok = view->DefaultButton()->geometry();
    window->SetButtonLabel(2, "Nothing");
    EXPECT_EQ(view->CancelButton()->geometry(), cancel);
    EXPECT_EQ(view->DefaultButton()->geometry(), ok);
    EXPECT_TRUE(view->CancelButton()->text().isEmpty());
}
