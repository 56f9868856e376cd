#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <vector>

#include "ui/guibase/GUIBase.h"
#include "ui/guibase/SpyFilter.h"

namespace {

using platform::Point;
using platform::Rect;

// Lets the window's looper handle what is queued.
void pump_events()
{
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

class CountingView : public TBasicView {
public:
    explicit CountingView(const char* name) : TBasicView(Rect{0, 0, 49, 49}, name, kFollowNone) {}
    int languageChanges = 0;
    void AttachedToWindow() override
    {
        Window()->AddCommonFilter(new TSpyFilter(platform::kLanguageChangedMessage, platform::Messenger(this)));
    }
    void LanguageChanged() override { ++languageChanges; }
};

class CountingWindow : public TBasicWindow {
public:
    explicit CountingWindow(Rect frame = Rect{10, 10, 310, 210}) : TBasicWindow(frame, "counting") {}
    int languageChanges = 0;
    std::vector<uint32_t> handled;
    void LanguageChanged() override { ++languageChanges; }
    void MessageReceived(platform::Message* message) override
    {
        handled.push_back(message->what);
        TBasicWindow::MessageReceived(message);
    }
};

struct PlacementCase {
    const char* name;
    float width;  // the Parts' width: right edge less left edge
    Point wanted;
    Point placed;
};

// The offscreen screen of these tests is 1024 by 768: right edge 1023, bottom 767.
const PlacementCase kPlacements[] = {
    {"fits", 300, {100, 50}, {100, 50}},
    {"past the right edge", 300, {1000, 50}, {718, 50}},
    {"past the bottom edge", 300, {10, 700}, {10, 562}},
    {"wider than the screen", 1100, {40, 50}, {0, 50}},
    {"negative point", 300, {-20, -7}, {0, 0}},
};

TEST(WindowPlacement, MovesStayOnTheMainScreen)
{
    ASSERT_EQ(QGuiApplication::primaryScreen()->geometry(), QRect(0, 0, 1024, 768));
    for (const PlacementCase& c : kPlacements) {
        TBasicWindow window(Rect{0, 0, c.width, 200}, "placed");
        EXPECT_EQ(window.Bounds().right, c.width) << c.name;
        EXPECT_EQ(window.IntelligentMoveTo(c.wanted), c.placed) << c.name;
        EXPECT_EQ(window.Frame().left, c.placed.x) << c.name;
        EXPECT_EQ(window.Frame().top, c.placed.y) << c.name;
    }
}

TEST(WindowPlacement, CenteringKeepsHalfPixels)
{
    TBasicWindow window(Rect{0, 0, 300, 200}, "centred");
    EXPECT_EQ(window.IntelligentCentering(), (Point{361.5f, 283.5f}));
}

TEST(WindowCloseBox, HidesAndOnlyTheApplicationsQuitCloses)
{
    CountingWindow window;
    window.Appear();
    ASSERT_TRUE(window.isVisible());
    QPointer<QWidget> alive(&window);

    window.close();  // the close box
    pump_events();
    EXPECT_TRUE(window.IsHidden());
    EXPECT_TRUE(alive);
    window.close();
    pump_events();
    EXPECT_TRUE(window.IsHidden());

    window.Appear();
    pump_events();
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.QuitForApplication());
    EXPECT_FALSE(window.isVisible());
}

TEST(SpyFilter, LanguageNoticeReachesWindowAndEachViewOnce)
{
    CountingWindow window;
    auto* first = new CountingView("first");
    auto* second = new CountingView("second");
    window.AddChild(first);
    window.AddChild(second);

    QEvent change(QEvent::LanguageChange);
    QApplication::sendEvent(&window, &change);
    pump_events();

    EXPECT_EQ(window.languageChanges, 1);
    EXPECT_EQ(first->languageChanges, 1);
    EXPECT_EQ(second->languageChanges, 1);
}

TEST(SpyFilter, CopiesOnlyMessagesWithoutTheFlag)
{
    CountingWindow window;
    auto* view = new CountingView("view");
    window.AddChild(view);

    struct Case {
        const char* name;
        uint32_t what;
        int flag;  // -1: no flag field
        int viewCopies;
    };
    const Case cases[] = {
        {"no flag", platform::kLanguageChangedMessage, -1, 1},
        {"flag false", platform::kLanguageChangedMessage, 0, 0},
        {"flag true", platform::kLanguageChangedMessage, 1, 0},
        {"other code", kIAPChangedMessage, -1, 0},
    };
    for (const Case& c : cases) {
        view->languageChanges = 0;
        platform::Message message(c.what);
        if (c.flag >= 0) message.AddBool(kSpySendFlag, c.flag == 1);
        window.PostMessage(message);
        pump_events();
        EXPECT_EQ(view->languageChanges, c.viewCopies) << c.name;
    }
}

struct ResizeCase {
    uint32_t mode;
    Rect after;  // the view's frame after the window grew by 100 by 40
};

TEST(ResizingMode, ViewsFollowTheEdgesTheyAreTiedTo)
{
    const ResizeCase cases[] = {
        {kFollowNone, {10, 20, 59, 69}},
        {kFollowRight | kFollowBottom, {110, 60, 159, 109}},
        {kFollowAll, {10, 20, 159, 109}},
        {kFollowHCenter | kFollowVCenter, {60, 40, 109, 89}},
        {kFollowLeftRight | kFollowTop, {10, 20, 159, 69}},
    };
    for (const ResizeCase& c : cases) {
        TBasicWindow window(Rect{0, 0, 199, 199}, "resized");
        auto* view = new TBasicView(Rect{10, 20, 59, 69}, "view", c.mode);
        window.AddChild(view);
        window.show();
        window.resize(300, 240);
        EXPECT_EQ(view->Frame(), c.after) << "mode " << c.mode;
    }
}

}  // namespace
