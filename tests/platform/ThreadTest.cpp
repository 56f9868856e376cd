#include "platform/Thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/Clock.h"

using namespace platform;

namespace {

// Waits until `done` holds, or about ten seconds have passed.
template <typename Done>
bool eventually(Done done)
{
    for (int i = 0; i < 10000 && !done(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return done();
}

}  // namespace

TEST(PlatformThread, NeverResumedThreadNeverRunsItsBody)
{
    std::atomic<bool> ran{false};
    {
        Thread thread("idle", 10, [&] {
            ran = true;
            return 0;
        });
        EXPECT_TRUE(thread.IsSuspended());
        EXPECT_FALSE(thread.HasStarted());
        EXPECT_EQ(thread.Wait(nullptr), kBadThreadId);
    }
    EXPECT_FALSE(ran);
}

TEST(PlatformThread, WaitGivesTheExitValueOrDiscardsIt)
{
    Thread withValue("value", 10, [] { return 42; });
    ASSERT_EQ(withValue.Resume(), kOk);
    int32_t exitValue = 0;
    EXPECT_EQ(withValue.Wait(&exitValue), kOk);
    EXPECT_EQ(exitValue, 42);
    EXPECT_TRUE(withValue.HasEnded());
    EXPECT_EQ(withValue.Wait(nullptr), kOk);  // waiting again returns at once
    EXPECT_EQ(withValue.Resume(), kBadThreadId);

    Thread without("discard", 10, [] { return 7; });
    without.Resume();
    EXPECT_EQ(without.Wait(nullptr), kOk);
}

TEST(PlatformThread, ResumeBeforeSuspendIsNotLost)
{
    // The body suspends itself after each round; the other side resumes it, often
    // before the body has reached its suspend. Every resume must wake exactly one
    // suspend or be kept for the next, so the body always finishes all rounds.
    constexpr int kRounds = 20000;
    std::atomic<int> rounds{0};
    Thread* self = nullptr;
    Thread worker("pingpong", 10, [&] {
        for (int i = 0; i < kRounds; ++i) {
            rounds.fetch_add(1);
            self->SuspendSelf();
        }
        return 0;
    });
    self = &worker;
    worker.Resume();
    for (int i = 0; i < kRounds; ++i) {
        while (rounds.load() <= i) std::this_thread::yield();
        worker.Resume();
    }
    EXPECT_EQ(worker.Wait(nullptr), kOk);
    EXPECT_EQ(rounds.load(), kRounds);
}

TEST(PlatformThread, SeveralResumesLeaveOneWakeToken)
{
    std::atomic<int> stage{0};
    Thread* self = nullptr;
    Thread worker("token", 10, [&] {
        while (stage.load() == 0) std::this_thread::yield();
        self->SuspendSelf();  // consumes the one token
        stage = 2;
        self->SuspendSelf();  // no token left: sleeps until the next Resume
        stage = 3;
        return 0;
    });
    self = &worker;
    worker.Resume();
    worker.Resume();
    worker.Resume();
    worker.Resume();
    stage = 1;
    ASSERT_TRUE(eventually([&] { return stage.load() == 2 && worker.IsSuspended(); }));
    EXPECT_EQ(stage.load(), 2);
    worker.Resume();
    EXPECT_EQ(worker.Wait(nullptr), kOk);
    EXPECT_EQ(stage.load(), 3);
}

TEST(PlatformThread, OnlyTheThreadItselfMaySuspendOrNotWaitForItself)
{
    Thread* self = nullptr;
    status_t waitOnSelf = kOk;
    Thread worker("self", 10, [&] {
        waitOnSelf = self->Wait(nullptr);
        return 0;
    });
    self = &worker;
    EXPECT_EQ(worker.SuspendSelf(), kNotAllowed);
    worker.Resume();
    worker.Wait(nullptr);
    EXPECT_EQ(waitOnSelf, kNotAllowed);
}

TEST(PlatformThread, NameAndPriorityAreKept)
{
    Thread worker("Virtual Machine", 15, [] { return 0; });
    EXPECT_EQ(worker.Name(), "Virtual Machine");
    EXPECT_EQ(worker.Priority(), 15);
    EXPECT_EQ(worker.SetPriority(120), kOk);
    EXPECT_EQ(worker.Priority(), 120);
    EXPECT_EQ(worker.SetName("Debugger"), kOk);
    EXPECT_EQ(worker.Name(), "Debugger");
    EXPECT_GT(worker.Id(), 0);
    worker.Resume();
    worker.Wait(nullptr);
}

TEST(PlatformThread, CurrentIdIsTheRunningThreadsId)
{
    thread_id seen = 0;
    Thread worker("id", 10, [&] {
        seen = Thread::CurrentId();
        return 0;
    });
    worker.Resume();
    worker.Wait(nullptr);
    EXPECT_EQ(seen, worker.Id());
    EXPECT_NE(Thread::CurrentId(), worker.Id());
}

TEST(PlatformClock, SystemTimeNeverGoesBackAndSnoozeWaits)
{
    bigtime_t before = system_time();
    snooze(2000);
    bigtime_t after = system_time();
    EXPECT_GE(after - before, 2000);
    snooze(0);
    snooze(-5);
    EXPECT_GE(system_time(), after);
}
