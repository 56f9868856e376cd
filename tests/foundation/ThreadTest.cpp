#include "foundation/Thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "foundation/Exception.h"

namespace {

// A body that polls the stop flag, optionally suspending itself between polls.
class Worker : public TThread {
public:
    Worker(std::atomic<int>* executed, bool suspendEachRound = false, std::atomic<bool>* destroyed = nullptr)
        : TThread("Worker", 10), mExecuted(executed), mSuspend(suspendEachRound), mDestroyed(destroyed)
    {}
    ~Worker() override
    {
        if (mDestroyed) *mDestroyed = true;
    }

    int32_t Execute() override
    {
        mExecuted->fetch_add(1);
        while (!StopRequested()) {
            if (mSuspend)
                Suspend();
            else
                std::this_thread::yield();
        }
        return 77;
    }

private:
    std::atomic<int>* mExecuted;
    bool mSuspend;
    std::atomic<bool>* mDestroyed;
};

template <typename Done>
bool eventually(Done done)
{
    for (int i = 0; i < 10000 && !done(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return done();
}

}  // namespace

TEST(TThreadLifecycle, DeletedWithoutResumeNeverExecutes)
{
    std::atomic<int> executed{0};
    auto* worker = new Worker(&executed);
    EXPECT_TRUE(worker->IsSuspended());
    EXPECT_FALSE(worker->IsTerminated());
    delete worker;
    EXPECT_EQ(executed.load(), 0);
}

TEST(TThreadLifecycle, TerminateOnASuspendedThreadIsSeenOnlyAfterResume)
{
    std::atomic<int> executed{0};
    Worker worker(&executed, /*suspendEachRound=*/true);
    worker.Resume();
    ASSERT_TRUE(eventually([&] { return executed.load() == 1 && worker.IsSuspended(); }));
    EXPECT_EQ(worker.Terminate(), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_TRUE(worker.IsSuspended());  // not woken by Terminate
    EXPECT_FALSE(worker.IsTerminated());
    worker.Resume();
    int32_t exitValue = 0;
    EXPECT_EQ(worker.Wait(&exitValue), 0);
    EXPECT_EQ(exitValue, 77);
    EXPECT_TRUE(worker.IsTerminated());
}

TEST(TThreadLifecycle, IsTerminatedOnlyOnceExecuteHasReturned)
{
    std::atomic<int> executed{0};
    Worker worker(&executed);
    worker.Resume();
    ASSERT_TRUE(eventually([&] { return executed.load() == 1; }));
    EXPECT_FALSE(worker.IsTerminated());
    worker.Terminate();
    EXPECT_EQ(worker.Wait(nullptr), 0);  // no exit value wanted
    EXPECT_TRUE(worker.IsTerminated());
}

TEST(TThreadLifecycle, AutoDeleteDeletesTheObjectOnItsOwnThread)
{
    std::atomic<int> executed{0};
    std::atomic<bool> destroyed{false};
    auto* worker = new Worker(&executed, false, &destroyed);
    worker->SetAutoDelete(true);
    worker->Terminate();  // the body returns at once
    worker->Resume();
    EXPECT_TRUE(eventually([&] { return destroyed.load(); }));
    EXPECT_EQ(executed.load(), 1);
}

TEST(TThreadLifecycle, ResumeBeforeSuspendIsNeverLost)
{
    // A player-like body: one round of work, then it suspends itself. The owner
    // resumes it after each round, often before the body has reached Suspend.
    class Rounds : public TThread {
    public:
        Rounds() : TThread("MML Player", 120) {}
        int32_t Execute() override
        {
            while (!StopRequested()) {
                done.fetch_add(1);
                Suspend();
            }
            return done.load();
        }
        std::atomic<int> done{0};
    };
    constexpr int kRounds = 10000;
    Rounds rounds;
    rounds.Resume();
    for (int i = 1; i < kRounds; ++i) {
        while (rounds.done.load() < i) std::this_thread::yield();
        rounds.Resume();
    }
    while (rounds.done.load() < kRounds) std::this_thread::yield();
    rounds.Terminate();
    rounds.Resume();
    int32_t exitValue = 0;
    EXPECT_EQ(rounds.Wait(&exitValue), 0);
    EXPECT_GE(exitValue, kRounds);
}

TEST(TThreadLifecycle, NameAndPriority)
{
    std::atomic<int> executed{0};
    Worker worker(&executed);
    EXPECT_GT(worker.ThreadID(), 0);
    EXPECT_EQ(worker.SetPriority(15), 0);
    EXPECT_EQ(worker.SetName("Virtual Machine"), 0);
    EXPECT_EQ(worker.SetAutoDelete(false), 0);
}

TEST(TExceptionTest, IdAndMessage)
{
    TException compile("Syntax error");
    TException runtime(42, "Division by zero");
    TException copy = runtime;
    EXPECT_EQ(compile.ID(), 0u);
    EXPECT_EQ(compile.String(), "Syntax error");
    EXPECT_EQ(runtime.ID(), 42u);
    EXPECT_EQ(copy.ID(), 42u);
    EXPECT_EQ(copy.String(), "Division by zero");
}
