#include "ui/widgets/ToolBar.h"

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QTest>
#include <memory>

#include "WidgetTestSupport.h"
#include "ui/widgets/ToolButton.h"

namespace {

constexpr uint32_t kRun = platform::fourcc("run ");

class ToolBarFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        window->resize(300, 60);
        QFont small = window->font();
        small.setPixelSize(10);  // ascent and descent below 15
        window->setFont(small);
        bar = new TToolBar("ToolBar", window.get());
    }

    TToolButton* Button(const std::string& name, uint32_t behavior = TToolButton::kPushBehavior, int size = 16)
    {
        auto* button =
            new TToolButton(name, blue_icon(size), platform::Message(platform::fourcc(name)), behavior, window.get());
        return button;
    }
    // Shows the window and gives every item the recording target.
    void Show()
    {
        bar->SetTargetForItems(&target.handler);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    static QPoint Centre(QWidget* w) { return w->rect().center(); }
    void Click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, Centre(w)); }
    std::vector<uint32_t> Sent()
    {
        std::vector<uint32_t> whats;
        for (const auto& m : target.Drain()) whats.push_back(m.what);
        target.Clear();
        return whats;
    }

    std::unique_ptr<QWidget> window;
    TToolBar* bar = nullptr;
    RecordingTarget target;
};

}  // namespace

TEST_F(ToolBarFixture, AnEmptyBarPrefersThreeBySix)
{
    float width = 0, height = 0;
    bar->GetPreferredSize(&width, &height);
    EXPECT_EQ(width, 3);
    EXPECT_EQ(height, 6);
}

TEST_F(ToolBarFixture, SixSixteenPixelButtonsAndASeparatorMakeABar28High)
{
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(bar->AddItem(Button("b" + std::to_string(i))));
    bar->AddSeparatorItem();
    ASSERT_TRUE(bar->AddItem(Button("last")));
    EXPECT_EQ(bar->ItemAt(0)->size(), QSize(22, 22));
    EXPECT_EQ(bar->height(), 28);
    EXPECT_EQ(bar->ItemAt(5)->size(), QSize(9, 22));
    // Items from 3, 3 on, neighbours touching.
    for (int32_t i = 0; i < bar->CountItems(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(bar->ItemAt(i)->y(), 3);
        int expectedX = i == 0 ? 3 : bar->ItemAt(i - 1)->geometry().right() + 1;
        EXPECT_EQ(bar->ItemAt(i)->x(), expectedX);
    }
    float width = 0, height = 0;
    bar->GetPreferredSize(&width, &height);
    EXPECT_EQ(width, bar->ItemAt(6)->geometry().right() + 3);
    EXPECT_EQ(height, 27);
}

TEST_F(ToolBarFixture, AddingRefusesIndicesOutsideTheListAndInsertingShiftsTheRest)
{
    TToolButton* a = Button("a");
    TToolButton* b = Button("b");
    ASSERT_TRUE(bar->AddItem(a));
    ASSERT_TRUE(bar->AddItem(b, 1));
    const int bX = b->x();
    std::unique_ptr<TToolButton> stray(Button("stray"));
    EXPECT_FALSE(bar->AddItem(stray.get(), 3));
    EXPECT_FALSE(bar->AddItem(stray.get(), -1));
    EXPECT_EQ(bar->CountItems(), 2);
    EXPECT_EQ(stray->Bar(), nullptr);

    TToolButton* wide = Button("wide", TToolButton::kPushBehavior, 30);
    ASSERT_TRUE(bar->AddItem(wide, 0));
    EXPECT_EQ(bar->IndexOf(a), 1);
    EXPECT_EQ(b->x(), bX + wide->width());  // its bounds' right edge + 1
    EXPECT_EQ(wide->x(), 3);
}

TEST_F(ToolBarFixture, TheTallestItemSetsTheHeightAndEarlierSeparatorsKeepTheirs)
{
    bar->AddSeparatorItem();
    EXPECT_EQ(bar->ItemAt(0)->height(), 1);
    ASSERT_TRUE(bar->AddItem(Button("small")));
    bar->AddSeparatorItem();
    const int separatorHeight = bar->ItemAt(2)->height();
    EXPECT_EQ(separatorHeight, 22);
    ASSERT_TRUE(bar->AddItem(Button("tall", TToolButton::kPushBehavior, 30)));
    EXPECT_EQ(bar->height(), bar->ItemAt(3)->height() + 6);
    EXPECT_EQ(bar->ItemAt(2)->height(), separatorHeight);
}

TEST_F(ToolBarFixture, FindItemGivesTheFirstOfANameAndNeverAnUnnamedOne)
{
    TToolButton* first = Button("same");
    ASSERT_TRUE(bar->AddItem(Button("other")));
    ASSERT_TRUE(bar->AddItem(first));
    ASSERT_TRUE(bar->AddItem(Button("same")));
    bar->AddSeparatorItem();
    EXPECT_EQ(bar->FindItem("same"), first);
    EXPECT_EQ(bar->FindItem(""), nullptr);
    EXPECT_EQ(bar->FindItem("none"), nullptr);
    EXPECT_EQ(bar->ItemAt(4), nullptr);
    EXPECT_EQ(bar->ItemAt(-1), nullptr);
}

TEST_F(ToolBarFixture, PushButtonsSendEachClickAndNeverStayOn)
{
    TToolButton* run = Button("run ");
    ASSERT_TRUE(bar->AddItem(run));
    Show();
    Click(run);
    Click(run);
    EXPECT_EQ(Sent(), (std::vector<uint32_t>{kRun, kRun}));
    EXPECT_EQ(run->Value(), 0);
    EXPECT_EQ(bar->FindPushed(0), nullptr);
}

TEST_F(ToolBarFixture, ReleasingOutsideSendsNothingAndComingBackInDoes)
{
    TToolButton* run = Button("run ");
    ASSERT_TRUE(bar->AddItem(run));
    Show();
    const QPoint outside(run->width() + 5, run->height() / 2);

    QTest::mousePress(run, Qt::LeftButton, {}, Centre(run));
    QTest::mouseMove(run, outside);
    EXPECT_EQ(run->DrawingState(), kStateOff);
    QTest::mouseRelease(run, Qt::LeftButton, {}, outside);
    EXPECT_TRUE(Sent().empty());
    EXPECT_FALSE(run->IsPressed());

    QTest::mousePress(run, Qt::LeftButton, {}, Centre(run));
    QTest::mouseMove(run, outside);
    QTest::mouseMove(run, Centre(run));
    EXPECT_EQ(run->DrawingState(), kStateOn);
    QTest::mouseRelease(run, Qt::LeftButton, {}, Centre(run));
    EXPECT_EQ(Sent(), (std::vector<uint32_t>{kRun}));
}

TEST_F(ToolBarFixture, RadioTogglesAreExclusiveWithinTheirGroup)
{
    TToolButton* a = Button("a", TToolButton::kToggleBehavior);
    TToolButton* b = Button("b", TToolButton::kToggleBehavior);
    TToolButton* beyond = Button("c", TToolButton::kToggleBehavior);
    ASSERT_TRUE(bar->AddItem(a));
    ASSERT_TRUE(bar->AddItem(b));
    bar->AddSeparatorItem();
    ASSERT_TRUE(bar->AddItem(beyond));
    ASSERT_EQ(a->SetRadioMode(true), 0);
    EXPECT_TRUE(b->IsRadioMode());
    EXPECT_FALSE(beyond->IsRadioMode());
    beyond->SetValue(1);
    Show();

    Click(a);
    EXPECT_EQ(Sent(), (std::vector<uint32_t>{platform::fourcc("a")}));
    Click(a);  // on already: stays on, sends nothing
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(a->Value(), 1);
    Click(b);
    EXPECT_EQ(Sent(), (std::vector<uint32_t>{platform::fourcc("b")}));
    EXPECT_EQ(a->Value(), 0);
    EXPECT_EQ(b->Value(), 1);
    EXPECT_EQ(beyond->Value(), 1);
    EXPECT_EQ(bar->FindPushed(0), b);
    EXPECT_EQ(bar->FindPushed(2), beyond);
}

TEST_F(ToolBarFixture, PushButtonsRefuseRadioMode)
{
    TToolButton* push = Button("p");
    ASSERT_TRUE(bar->AddItem(push));
    EXPECT_EQ(push->SetRadioMode(true), -1);
    EXPECT_FALSE(push->IsRadioMode());
}

TEST_F(ToolBarFixture, ADisabledBarDrawsItsButtonsDisabledButTheyStillClick)
{
    TToolButton* run = Button("run ");
    ASSERT_TRUE(bar->AddItem(run));
    bar->SetEnabled(false);
    Show();
    EXPECT_EQ(run->DrawingState(), kStateDisabledOff);
    Click(run);
    EXPECT_EQ(Sent(), (std::vector<uint32_t>{kRun}));
}

TEST_F(ToolBarFixture, StateImagesAreRefusedWhenTheyCannotGoWithTheNormalOne)
{
    struct Case {
        const char* what;
        bool normal;
        int32_t state;
        bool image;
        int size;
    };
    for (const Case& c : {Case{"state below 0", true, -1, true, 16}, Case{"state above 4", true, 5, true, 16},
                          Case{"no normal image yet", false, 1, true, 16}, Case{"no image", true, 2, false, 16},
                          Case{"another size", true, 4, true, 8}}) {
        SCOPED_TRACE(c.what);
        TToolButton button("x", c.normal ? std::optional<ToolImage>(blue_icon()) : std::nullopt, platform::Message(),
                           TToolButton::kPushBehavior);
        ToolImage image = blue_icon(c.size);
        EXPECT_EQ(button.SetImage(c.state, c.image ? &image : nullptr), -1);
        for (int32_t s = 1; s < kToolButtonStates; ++s) EXPECT_FALSE(button.Image(s).has_value());
    }
    TToolButton button("x", blue_icon(), platform::Message(), TToolButton::kPushBehavior);
    ToolImage same = blue_icon();
    EXPECT_EQ(button.SetImage(kStateHotOff, &same), 0);
    EXPECT_EQ(button.SetImage(kStateOff, nullptr), 0);
    EXPECT_EQ(button.SetDefaultImages(), -1);
}

TEST_F(ToolBarFixture, SetAlignmentStoresBothAndWorksTheDrawPointsOut)
{
    auto* button = new TToolButton("x", blue_icon(), "Run", platform::Message(), TToolButton::kPushBehavior);
    ASSERT_TRUE(bar->AddItem(button));
    EXPECT_EQ(button->FirstAlignment(), Alignment::Left);
    EXPECT_EQ(button->SecondAlignment(), Alignment::Left);
    // Neither a divider taken from the image nor a new height moves the points by itself.
    button->SetDivider(40);
    button->AdjustDivider();
    button->ResizeToBounds(60, 40);
    ASSERT_EQ(button->Divider(), 21);
    ASSERT_EQ(button->LabelPoint().x(), 43);

    button->SetAlignment(Alignment::Center, Alignment::Right);
    EXPECT_EQ(button->FirstAlignment(), Alignment::Center);
    EXPECT_EQ(button->SecondAlignment(), Alignment::Right);
    const QFontMetricsF metrics(button->font());
    EXPECT_EQ(button->LabelPoint(), QPointF(24, metrics.ascent() + (40 - metrics.ascent() - metrics.descent()) * 0.5));

    // The drawing does not look at the alignments.
    Show();
    const QImage centred = button->grab().toImage();
    button->SetAlignment(Alignment::Left, Alignment::Left);
    EXPECT_EQ(button->grab().toImage(), centred);
}

// Pixel checks of the derived images as the buttons draw them.
TEST_F(ToolBarFixture, DerivedImagesShowOnTheirFaces)
{
    ToolImage icon = blue_icon();
    uint8_t* faint = &icon.bytes[(static_cast<size_t>(1) * 16 + 1) * 4];  // alpha 1 counts as opaque
    faint[2] = 250;
    faint[3] = 1;
    TToolButton* toggle = new TToolButton("t", icon, platform::Message(), TToolButton::kToggleBehavior);
    TToolButton* disabled = new TToolButton("d", icon, platform::Message(), TToolButton::kPushBehavior);
    ASSERT_TRUE(bar->AddItem(toggle));
    ASSERT_TRUE(bar->AddItem(disabled));
    disabled->setEnabled(false);
    toggle->SetValue(1);
    Show();

    // The on state moves the image by 1, 1 from 3, 3.
    QImage on = toggle->grab().toImage();
    EXPECT_EQ(on.pixelColor(4, 4), QColor(192, 192, 192));  // transparent border on the on face
    EXPECT_EQ(on.pixelColor(8, 8), QColor(0, 0, 200));      // opaque blue stays
    QImage grey = disabled->grab().toImage();
    EXPECT_EQ(grey.pixelColor(7, 7), QColor(128, 128, 128));  // the silhouette
    EXPECT_EQ(grey.pixelColor(4, 4), QColor(128, 128, 128));  // the alpha-1 pixel is part of it
    EXPECT_NE(grey.pixelColor(3, 3), QColor(128, 128, 128));  // the transparent border
}
