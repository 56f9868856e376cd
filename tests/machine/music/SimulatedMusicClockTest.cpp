// The simulated music clock: time stands still while a participant works and jumps to
// the earliest deadline once all of them wait; one waiter is released at a time, music
// waits before sleeps at the same moment; notifications and hand-overs; the local time
// moving with the clock. Real time is only a safety limit here.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "machine/music/SimulatedMusicClock.h"

namespace {

using namespace std::chrono_literals;

constexpr int64_t kStart = 1000000;

std::tm Local(int year, int month, int day, int hour, int minute, int second)
{
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return t;
}

// Waits in real time until `done` holds; false after a generous limit.
template <typename Predicate>
bool Eventually(Predicate done)
{
    const auto limit = std::chrono::steady_clock::now() + 10s;
    while (!done()) {
        if (std::chrono::steady_clock::now() > limit) return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

// One waiter on the clock's WaitUntil, as the music player waits: its own lock and signal.
struct SignalWaiter {
    std::mutex lock;
    std::condition_variable signal;
    bool woken = false;  // under lock

    void Wait(const TSimulatedMusicClock& clock, int64_t deadline)
    {
        std::unique_lock<std::mutex> guard(lock);
        clock.WaitUntil(guard, signal, deadline, [this] { return woken; });
    }
    void Wake(const TSimulatedMusicClock& clock)
    {
        {
            std::lock_guard<std::mutex> guard(lock);
            woken = true;
        }
        clock.Notify(signal);
    }
};

class SimulatedMusicClockTest : public ::testing::Test {
protected:
    TSimulatedMusicClock clock{kStart, Local(2026, 3, 8, 9, 5, 0)};
};

TEST_F(SimulatedMusicClockTest, TimeStandsStillWhileAParticipantWorks)
{
    clock.AddParticipant();  // this test's thread, which never waits below
    clock.AddParticipant();  // the sleeper
    std::atomic<bool> slept{false};
    std::thread sleeper([&] {
        clock.SleepMicros(5000);
        slept = true;
    });
    ASSERT_TRUE(Eventually([&] { return clock.Waiting() == 1; }));
    std::this_thread::sleep_for(20ms);
    EXPECT_FALSE(slept.load());
    EXPECT_EQ(clock.NowMicros(), kStart);
    // Once the working participant is gone, the sleeper is the only one and time moves.
    clock.RemoveParticipant();
    sleeper.join();
    EXPECT_TRUE(slept.load());
    EXPECT_EQ(clock.NowMicros(), kStart + 5000);
}

TEST_F(SimulatedMusicClockTest, JumpsToTheEarliestDeadlineAndReleasesOneWaiterAtATime)
{
    clock.AddParticipant();
    clock.AddParticipant();
    std::mutex order;
    std::vector<std::string> events;
    auto note = [&](const std::string& what) {
        std::lock_guard<std::mutex> guard(order);
        events.push_back(what + "@" + std::to_string(clock.NowMicros() - kStart));
    };
    // A player-like waiter with deadlines 3000 and 8000, and a sleeper that sleeps
    // 3000 twice: at 3000 both are due and the music wait goes first.
    SignalWaiter music;
    std::thread player([&] {
        music.Wait(clock, kStart + 3000);
        note("music");
        music.Wait(clock, kStart + 8000);
        note("music");
        clock.RemoveParticipant();
    });
    std::thread sleeper([&] {
        clock.SleepMicros(3000);
        note("sleep");
        clock.SleepMicros(3000);
        note("sleep");
        clock.RemoveParticipant();
    });
    player.join();
    sleeper.join();
    EXPECT_EQ(events, (std::vector<std::string>{"music@3000", "sleep@3000", "sleep@6000", "music@8000"}));
}

TEST_F(SimulatedMusicClockTest, AWaitWithoutDeadlineNeverMovesTime)
{
    clock.AddParticipant();
    clock.AddParticipant();
    SignalWaiter idle;
    std::thread player([&] { idle.Wait(clock, TMusicClock::kNoDeadline); });
    std::thread sleeper([&] { clock.SleepMicros(700); });
    sleeper.join();  // the idle waiter lets time move to the sleeper's deadline
    EXPECT_EQ(clock.NowMicros(), kStart + 700);
    clock.RemoveParticipant();
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(clock.NowMicros(), kStart + 700);
    idle.Wake(clock);
    player.join();
    EXPECT_EQ(clock.NowMicros(), kStart + 700);
}

TEST_F(SimulatedMusicClockTest, ANotifiedWaiterCountsAsWorkingAtOnce)
{
    clock.AddParticipant();  // the woken waiter
    clock.AddParticipant();  // the sleeper
    SignalWaiter idle;
    std::thread player([&] {
        idle.Wait(clock, TMusicClock::kNoDeadline);
        clock.RemoveParticipant();
    });
    ASSERT_TRUE(Eventually([&] { return clock.Waiting() == 1; }));
    std::atomic<bool> slept{false};
    std::thread sleeper;
    {
        // Woken, but held back by its own lock: it has not run yet, and still a sleep
        // must not let time pass it by.
        std::lock_guard<std::mutex> guard(idle.lock);
        idle.woken = true;
        clock.Notify(idle.signal);
        sleeper = std::thread([&] {
            clock.SleepMicros(400);
            slept = true;
        });
        ASSERT_TRUE(Eventually([&] { return clock.Waiting() == 1; }));
        std::this_thread::sleep_for(20ms);
        EXPECT_FALSE(slept.load());
        EXPECT_EQ(clock.NowMicros(), kStart);
    }
    player.join();
    sleeper.join();
    EXPECT_EQ(clock.NowMicros(), kStart + 400);
}

TEST_F(SimulatedMusicClockTest, HandoverReturnsOnlyOnceTheWokenThreadWaitsAgain)
{
    clock.AddParticipant();  // the worker
    clock.AddParticipant();  // this thread
    SignalWaiter work;
    std::atomic<int> passes{0};
    std::atomic<bool> stop{false};
    std::thread worker([&] {
        while (!stop.load()) {
            {
                std::lock_guard<std::mutex> guard(work.lock);
                work.woken = false;
            }
            std::this_thread::sleep_for(15ms);  // a slow pass
            ++passes;
            work.Wait(clock, TMusicClock::kNoDeadline);
        }
    });
    ASSERT_TRUE(Eventually([&] { return clock.Waiting() == 1; }));
    EXPECT_EQ(passes.load(), 1);
    {
        std::lock_guard<std::mutex> guard(work.lock);
        work.woken = true;
    }
    clock.Handover(work.signal);
    EXPECT_EQ(passes.load(), 2);
    EXPECT_EQ(clock.Waiting(), 1);
    stop = true;
    work.Wake(clock);
    clock.RemoveParticipant();
    worker.join();
}

TEST_F(SimulatedMusicClockTest, LocalTimeMovesWithTheClock)
{
    struct Row {
        std::tm start;
        int64_t elapsed;
        std::tm expected;
    };
    const Row rows[] = {
        {Local(2026, 3, 8, 9, 5, 0), 0, Local(2026, 3, 8, 9, 5, 0)},
        {Local(2026, 3, 8, 9, 5, 0), 999999, Local(2026, 3, 8, 9, 5, 0)},  // whole seconds only
        {Local(2026, 12, 31, 23, 59, 59), 1500000, Local(2027, 1, 1, 0, 0, 0)},
        {Local(2028, 2, 28, 23, 0, 0), 86400000000LL, Local(2028, 2, 29, 23, 0, 0)},  // a leap day
    };
    for (const Row& row : rows) {
        TSimulatedMusicClock c(kStart, row.start);
        c.SleepMicros(row.elapsed);  // no participants: a sleep moves the clock at once
        const std::tm now = c.LocalTime();
        EXPECT_EQ(now.tm_year, row.expected.tm_year);
        EXPECT_EQ(now.tm_mon, row.expected.tm_mon);
        EXPECT_EQ(now.tm_mday, row.expected.tm_mday);
        EXPECT_EQ(now.tm_hour, row.expected.tm_hour);
        EXPECT_EQ(now.tm_min, row.expected.tm_min);
        EXPECT_EQ(now.tm_sec, row.expected.tm_sec);
    }
}

}  // namespace
