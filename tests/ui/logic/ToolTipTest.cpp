#include "ui/widgets/logic/ToolTip.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ManualTipScheduler.h"

namespace {

// Tip windows that record what they show and close themselves on the scheduler.
class RecordingWindows : public TipWindows {
public:
    struct Window {
        std::string name;
        std::string text;
        platform::Point where;
        bool open = true;
    };

    explicit RecordingWindows(ManualTipScheduler* scheduler) : mScheduler(scheduler) {}

    bool AnyOpen() const override
    {
        for (const auto& w : windows)
            if (w.open && w.name.find("TlTipWin_") != std::string::npos) return true;
        return false;
    }
    bool Close(const std::string& name) override
    {
        for (auto& w : windows) {
            if (w.open && w.name == name) {
                w.open = false;
                return true;
            }
        }
        return false;
    }
    void Open(const std::string& name, const std::string& text, platform::bigtime_t showTime,
              platform::Point where) override
    {
        size_t index = windows.size();
        windows.push_back({name, text, where});
        mScheduler->Start(showTime, [this, index] { windows[index].open = false; });
    }

    int OpenCount() const
    {
        int count = 0;
        for (const auto& w : windows) count += w.open ? 1 : 0;
        return count;
    }

    std::vector<Window> windows;

private:
    ManualTipScheduler* mScheduler;
};

class FakeTarget : public TipTarget {
public:
    bool WindowActive() const override { return active; }
    bool MouseButtonHeld() const override { return buttonHeld; }
    platform::Point PointerOnScreen() const override { return pointer; }

    bool active = true;
    bool buttonHeld = false;
    platform::Point pointer{100, 200};
};

class ToolTipTiming : public ::testing::Test {
protected:
    std::unique_ptr<TToolTip> MakeTip(const std::string& name, const std::string& text = "Run")
    {
        auto tip = std::make_unique<TToolTip>(name, &scheduler, &windows);
        tip->SetTip(text);
        tip->SetTarget(&target);
        return tip;
    }
    // The pointer enters the tip's view, as the view's spy reports it.
    void Enter(TToolTip* tip)
    {
        tip->Post(TToolTip::kMouseEntered);
        scheduler.RunPending();
    }
    void Leave(TToolTip* tip)
    {
        tip->Post(TToolTip::kMouseExited);
        scheduler.RunPending();
    }
    // Enters and waits out the delay: the first tip window is shown.
    void ShowFirst(TToolTip* tip)
    {
        Enter(tip);
        scheduler.Advance(tip->DelayTime());
        ASSERT_EQ(windows.OpenCount(), 1);
    }

    ManualTipScheduler scheduler;
    RecordingWindows windows{&scheduler};
    FakeTarget target;
};

}  // namespace

TEST_F(ToolTipTiming, TheFirstTipOpensAfterTheDelayBesideThePointer)
{
    auto tip = MakeTip("Run", "Run the program");
    Enter(tip.get());
    scheduler.Advance(999999);
    EXPECT_EQ(windows.OpenCount(), 0);
    scheduler.Advance(1);
    ASSERT_EQ(windows.OpenCount(), 1);
    EXPECT_EQ(windows.windows[0].name, "TlTipWin_Run");
    EXPECT_EQ(windows.windows[0].text, "Run the program");
    EXPECT_EQ(windows.windows[0].where, (platform::Point{84, 216}));
}

TEST_F(ToolTipTiming, ANeighbourEnteredSoonAfterACloseOpensAtOnce)
{
    struct Case {
        platform::bigtime_t gap;  // from the requested close to entering the neighbour
        bool atOnce;
    };
    for (Case c : {Case{0, true}, Case{100000, true}, Case{199999, true}, Case{200000, false}, Case{5000000, false}}) {
        SCOPED_TRACE(c.gap);
        windows.windows.clear();
        auto first = MakeTip("Run");
        auto neighbour = MakeTip("Stop");
        ShowFirst(first.get());
        Leave(first.get());
        ASSERT_EQ(windows.OpenCount(), 0);
        scheduler.Advance(c.gap);
        Enter(neighbour.get());
        EXPECT_EQ(windows.OpenCount(), c.atOnce ? 1 : 0);
        scheduler.Advance(neighbour->DelayTime());
        EXPECT_EQ(windows.OpenCount(), 1);
        EXPECT_EQ(windows.windows.back().name, "TlTipWin_Stop");
        scheduler.Advance(10000000);  // let it close itself
    }
}

TEST_F(ToolTipTiming, AnOpenTipWindowOfAnyNameMakesTheNextOpenAtOnce)
{
    auto tip = MakeTip("Step");
    windows.Open("Other TlTipWin_x", "x", 10000000, {});
    scheduler.Advance(10000000 - 1);  // long after any close
    Enter(tip.get());
    EXPECT_EQ(windows.OpenCount(), 2);
}

TEST_F(ToolTipTiming, NothingOpensWhenItMustNot)
{
    struct Case {
        const char* what;
        std::string text;
        bool active;
        bool buttonHeld;
    };
    for (const Case& c : {Case{"empty text", "", true, false}, Case{"inactive window", "Kill", false, false},
                          Case{"button held", "Kill", true, true}}) {
        SCOPED_TRACE(c.what);
        windows.windows.clear();
        target.active = c.active;
        target.buttonHeld = c.buttonHeld;
        auto tip = MakeTip("Kill", c.text);
        Enter(tip.get());
        scheduler.Advance(3000000);
        EXPECT_TRUE(windows.windows.empty());
        // No second try while the pointer stays; only leaving and coming back.
        target.active = true;
        target.buttonHeld = false;
        scheduler.Advance(3000000);
        EXPECT_EQ(windows.windows.size(), 0u);
        Leave(tip.get());
        Enter(tip.get());
        scheduler.Advance(tip->DelayTime());
        EXPECT_EQ(windows.windows.size(), c.text.empty() ? 0u : 1u);
        Leave(tip.get());
        scheduler.Advance(1000000);
    }
}

TEST_F(ToolTipTiming, LeavingBeforeTheDelayOpensNothing)
{
    auto tip = MakeTip("Run");
    Enter(tip.get());
    scheduler.Advance(500000);
    Leave(tip.get());
    EXPECT_FALSE(tip->OpenTimerPending());
    scheduler.Advance(5000000);
    EXPECT_TRUE(windows.windows.empty());
}

TEST_F(ToolTipTiming, EnteringAgainWhileWaitingKeepsTheFirstTimer)
{
    auto tip = MakeTip("Run");
    Enter(tip.get());
    scheduler.Advance(600000);
    Enter(tip.get());
    scheduler.Advance(400000);
    EXPECT_EQ(windows.windows.size(), 1u);
    scheduler.Advance(2000000);
    EXPECT_EQ(windows.windows.size(), 1u);
}

TEST_F(ToolTipTiming, AWindowClosesItselfAfterTheShowTimeWithoutCountingAsAClose)
{
    auto tip = MakeTip("Run");
    ASSERT_EQ(tip->SetShowTime(2000000), 0);
    ShowFirst(tip.get());
    scheduler.Advance(1999999);
    EXPECT_EQ(windows.OpenCount(), 1);
    scheduler.Advance(1);
    EXPECT_EQ(windows.OpenCount(), 0);
    EXPECT_EQ(windows.LastHideTime(), 0);
    scheduler.Advance(10000000);  // resting on: nothing more
    EXPECT_EQ(windows.windows.size(), 1u);
    // Leaving finds no window and records no close.
    Leave(tip.get());
    EXPECT_EQ(windows.LastHideTime(), 0);
}

TEST_F(ToolTipTiming, HidingRecordsTheTimeOnlyWhenAWindowWasClosed)
{
    auto tip = MakeTip("Run");
    tip->Hide();
    EXPECT_EQ(windows.LastHideTime(), 0);
    ShowFirst(tip.get());
    const auto shownAt = scheduler.Now();
    tip->Hide();
    EXPECT_EQ(windows.OpenCount(), 0);
    EXPECT_EQ(windows.LastHideTime(), shownAt);
}

TEST_F(ToolTipTiming, ClosingFindsOnlyTheExactNameAndTheFirstOfTwo)
{
    auto tip = MakeTip("Run");
    windows.Open("TlTipWin_Running", "a", 10000000, {});
    windows.Open("TlTipWin_Run", "b", 10000000, {});
    windows.Open("TlTipWin_Run", "c", 10000000, {});
    tip->Hide();
    EXPECT_TRUE(windows.windows[0].open);
    EXPECT_FALSE(windows.windows[1].open);
    EXPECT_TRUE(windows.windows[2].open);
}

TEST_F(ToolTipTiming, NegativeTimesAreRefusedAndZeroIsAccepted)
{
    auto tip = MakeTip("Run");
    EXPECT_EQ(tip->SetDelayTime(-1), -1);
    EXPECT_EQ(tip->DelayTime(), 1000000);
    EXPECT_EQ(tip->SetShowTime(-1), -1);
    EXPECT_EQ(tip->ShowTime(), 5000000);
    EXPECT_EQ(tip->SetShowTime(0), 0);
    EXPECT_EQ(tip->SetDelayTime(0), 0);
    Enter(tip.get());
    EXPECT_EQ(windows.windows.size(), 1u);
}

TEST_F(ToolTipTiming, AGoneTipCancelsWhatItHadPending)
{
    auto tip = MakeTip("Run");
    Enter(tip.get());
    tip->Post(TToolTip::kHideWindow);
    tip.reset();
    EXPECT_EQ(scheduler.PendingCount(), 0u);
    scheduler.Advance(2000000);
    EXPECT_TRUE(windows.windows.empty());
}

TEST(ToolTipNames, WindowNameIsThePrefixAndTheTipName)
{
    ManualTipScheduler scheduler;
    struct NoWindows : TipWindows {
        bool AnyOpen() const override { return false; }
        bool Close(const std::string&) override { return false; }
        void Open(const std::string&, const std::string&, platform::bigtime_t, platform::Point) override {}
    } windows;
    EXPECT_EQ(TToolTip("TBRun", &scheduler, &windows).ToolTipWindowName(), "TlTipWin_TBRun");
    EXPECT_EQ(TToolTip("", &scheduler, &windows).ToolTipWindowName(), "TlTipWin_");
    TToolTip tip("x", &scheduler, &windows);
    EXPECT_EQ(tip.SetTarget(nullptr), -1);
}
