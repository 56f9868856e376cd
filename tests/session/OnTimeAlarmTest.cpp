// The ON TIME$ alarm: the delay it computes from the clock's time of day, going off
// once, being replaced and forgotten, and refusing malformed times.

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <ctime>
#include <mutex>
#include <thread>

#include "machine/music/MusicClock.h"
#include "session/OnTimeAlarm.h"

namespace {

constexpr int64_t START = 1000000;
constexpr int64_t SECOND = 1000000;

// A manual clock whose time of day starts at 09:05:00 and moves with it.
class TDayClock : public TManualMusicClock {
public:
    TDayClock() : TManualMusicClock(START) {}
    std::tm LocalTime() const override
    {
        const int64_t seconds = 9 * 3600 + 5 * 60 + (NowMicros() - START) / SECOND;
        std::tm t{};
        t.tm_hour = static_cast<int>(seconds / 3600 % 24);
        t.tm_min = static_cast<int>(seconds / 60 % 60);
        t.tm_sec = static_cast<int>(seconds % 60);
        return t;
    }
};

// Counts the alarm's calls and lets the test wait for them.
class TRaises {
public:
    void Raise()
    {
        std::lock_guard<std::mutex> lock(mLock);
        ++mCount;
        mSignal.notify_all();
    }
    // The count once it has reached `count`, or what it is after `limit`.
    int WaitFor(int count, std::chrono::milliseconds limit = std::chrono::seconds(5))
    {
        std::unique_lock<std::mutex> lock(mLock);
        mSignal.wait_for(lock, limit, [&] { return mCount >= count; });
        return mCount;
    }
    // The count after the alarm's thread had time to act on a change.
    int Settled() { return WaitFor(1 << 30, std::chrono::milliseconds(60)); }

private:
    std::mutex mLock;
    std::condition_variable mSignal;
    int mCount = 0;
};

class OnTimeAlarm : public ::testing::Test {
protected:
    TDayClock clock;
    TRaises raises;
    TOnTimeAlarm alarm{clock, nullptr, [this] { raises.Raise(); }};
};

TEST_F(OnTimeAlarm, GoesOffOnceAtItsSecond)
{
    ASSERT_EQ(alarm.SetOnTimeDl("09:05:02"), 0);
    clock.Set(START + 2 * SECOND - 1);
    EXPECT_EQ(raises.Settled(), 0);
    clock.Set(START + 2 * SECOND);
    EXPECT_EQ(raises.WaitFor(1), 1);
    clock.Set(START + 3 * 86400 * SECOND);
    EXPECT_EQ(raises.Settled(), 1) << "a one-shot alarm";
}

TEST_F(OnTimeAlarm, DelayCountsFromTheTimeOfDay)
{
    struct Case {
        const char* time;
        int64_t delaySeconds;
    };
    const Case cases[] = {
        {"09:05:01", 1},
        {"10:00:00", 55 * 60},
        {"09:04:59", 86400 - 1},  // a second ago: tomorrow
        {"00:00:00", 86400 - (9 * 3600 + 5 * 60)},
        {"1x:05:00", 86400 - 8 * 3600},  // a field counts as far as it has digits: 01:05:00
        {" 9:05:01", 1},                 // leading blanks and a sign, as strtol reads a field
        {"+9: 5:+1", 1},
        {"09:-0:00", 86400 - 5 * 60},
    };
    int fired = 0;
    for (const Case& c : cases) {
        const int64_t now = clock.NowMicros();
        // Keep the time of day at 09:05:00 by moving whole days on.
        ASSERT_EQ((now - START) % (86400 * SECOND), 0) << c.time;
        ASSERT_EQ(alarm.SetOnTimeDl(c.time), 0) << c.time;
        clock.Set(now + c.delaySeconds * SECOND - 1);
        EXPECT_EQ(raises.Settled(), fired) << c.time;
        clock.Set(now + c.delaySeconds * SECOND);
        EXPECT_EQ(raises.WaitFor(fired + 1), fired + 1) << c.time;
        ++fired;
        clock.Set(now + 86400 * SECOND * 2);
    }
}

TEST_F(OnTimeAlarm, PresentTimeGoesOffAtTheClocksNextMoment)
{
    ASSERT_EQ(alarm.SetOnTimeDl("09:05:00"), 0);
    EXPECT_EQ(raises.Settled(), 0);
    clock.Advance(1);
    EXPECT_EQ(raises.WaitFor(1), 1);
}

TEST_F(OnTimeAlarm, SecondTimeReplacesTheFirstAndClearForgets)
{
    ASSERT_EQ(alarm.SetOnTimeDl("09:05:01"), 0);
    ASSERT_EQ(alarm.SetOnTimeDl("09:05:03"), 0);
    clock.Set(START + 2 * SECOND);
    EXPECT_EQ(raises.Settled(), 0);
    clock.Set(START + 3 * SECOND);
    EXPECT_EQ(raises.WaitFor(1), 1);

    ASSERT_EQ(alarm.SetOnTimeDl("09:05:04"), 0);
    alarm.Clear();
    clock.Set(START + 10 * SECOND);
    EXPECT_EQ(raises.Settled(), 1);
}

TEST_F(OnTimeAlarm, MalformedTimesAreRefusedAndLeaveThePendingAlarm)
{
    ASSERT_EQ(alarm.SetOnTimeDl("09:05:02"), 0);
    for (const char* bad : {"12:00", "24:00:00", "12:60:00", "12:00:60", "", "ab:cd:ef", "12-00-00", "09:05:02 ",
                            "-1:00:00", "  :00:00", "+ :00:00"})
        EXPECT_EQ(alarm.SetOnTimeDl(bad), -1) << '"' << bad << '"';
    clock.Set(START + 2 * SECOND);
    EXPECT_EQ(raises.WaitFor(1), 1);
}

TEST_F(OnTimeAlarm, NothingGoesOffAfterStop)
{
    ASSERT_EQ(alarm.SetOnTimeDl("09:05:01"), 0);
    alarm.Stop();
    alarm.Stop();
    clock.Set(START + 5 * SECOND);
    EXPECT_EQ(raises.Settled(), 0);
}

// On the real clock the alarm goes off too: armed for the next second of the local
// time, it goes off within about a second.
TEST(OnTimeAlarmRealClock, GoesOff)
{
    TRaises raises;
    TOnTimeAlarm alarm(TSystemMusicClock::Instance(), nullptr, [&] { raises.Raise(); });
    const std::time_t next = std::time(nullptr) + 1;
    std::tm local{};
    localtime_r(&next, &local);
    char text[16];
    std::strftime(text, sizeof text, "%H:%M:%S", &local);
    ASSERT_EQ(alarm.SetOnTimeDl(text), 0);
    EXPECT_EQ(raises.WaitFor(1), 1) << text;
}

}  // namespace
