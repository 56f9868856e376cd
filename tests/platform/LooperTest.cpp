#include "platform/Looper.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/MessageRunner.h"
#include "platform/TimerClock.h"

using namespace platform;

namespace {

// Records what it receives and answers 'ping' with 'pong'.
class Recorder : public Handler {
public:
    explicit Recorder(std::string name = "recorder") : Handler(std::move(name)) {}
    ~Recorder() override
    {
        if (Looper* looper = GetLooper()) looper->RemoveHandler(this);
    }

    void MessageReceived(Message* message) override
    {
        if (message->what == fourcc("ping")) {
            Message pong(fourcc("pong"));
            int32_t n = 0;
            message->FindInt32("n", &n);
            pong.AddInt32("n", n + 1);
            message->SendReply(pong);
        }
        std::lock_guard lock(mMutex);
        mReceived.push_back(message->what);
        mChanged.notify_all();
    }

    // Waits up to ten seconds until `count` messages have come.
    bool WaitFor(size_t count)
    {
        std::unique_lock lock(mMutex);
        return mChanged.wait_for(lock, std::chrono::seconds(10), [&] { return mReceived.size() >= count; });
    }
    std::vector<uint32_t> Received()
    {
        std::lock_guard lock(mMutex);
        return mReceived;
    }

private:
    std::mutex mMutex;
    std::condition_variable mChanged;
    std::vector<uint32_t> mReceived;
};

class LooperFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        looper.Run();
        looper.AddHandler(&handler);
    }
    void TearDown() override { looper.Quit(); }

    Looper looper{"test looper"};
    Recorder handler;
};

}  // namespace

TEST_F(LooperFixture, MessagesArriveInOrder)
{
    Messenger to(&handler);
    EXPECT_TRUE(to.IsValid());
    EXPECT_EQ(to.SendMessage(fourcc("one ")), kOk);
    EXPECT_EQ(to.SendMessage(fourcc("two ")), kOk);
    EXPECT_EQ(looper.PostMessage(fourcc("thr "), &handler), kOk);
    ASSERT_TRUE(handler.WaitFor(3));
    EXPECT_EQ(handler.Received(), (std::vector<uint32_t>{fourcc("one "), fourcc("two "), fourcc("thr ")}));
}

TEST_F(LooperFixture, SynchronousSendGetsTheReply)
{
    Message ping(fourcc("ping"));
    ping.AddInt32("n", 41);
    Message reply;
    ASSERT_EQ(Messenger(&handler).SendMessage(ping, &reply, 300000, 3000000), kOk);
    EXPECT_EQ(reply.what, fourcc("pong"));
    int32_t n = 0;
    EXPECT_EQ(reply.FindInt32("n", &n), kOk);
    EXPECT_EQ(n, 42);
}

TEST_F(LooperFixture, AMessageHandledWithoutReplyAnswersNoReply)
{
    Message reply;
    ASSERT_EQ(Messenger(&handler).SendMessage(Message(fourcc("quiet")), &reply), kOk);
    EXPECT_EQ(reply.what, kNoReply);
}

TEST_F(LooperFixture, ReplyTimeOut)
{
    // The looper is busy (its lock is held here), so the reply cannot come in time.
    looper.Lock();
    Message reply(fourcc("keep"));
    EXPECT_EQ(Messenger(&handler).SendMessage(Message(fourcc("ping")), &reply, 0, 20000), kTimedOut);
    EXPECT_EQ(reply.what, fourcc("keep"));
    looper.Unlock();
}

TEST(PlatformMessenger, FailsCleanlyWhenTheTargetIsGone)
{
    Looper looper("gone");
    looper.Run();
    Messenger toDeleted;
    Messenger toRemoved;
    {
        Recorder deleted;
        looper.AddHandler(&deleted);
        toDeleted = Messenger(&deleted);
        EXPECT_TRUE(toDeleted.IsValid());
    }
    EXPECT_FALSE(toDeleted.IsValid());
    EXPECT_EQ(toDeleted.SendMessage(fourcc("late")), kBadHandler);
    Message reply;
    EXPECT_EQ(toDeleted.SendMessage(Message(fourcc("ping")), &reply), kBadHandler);

    Recorder removed;
    looper.AddHandler(&removed);
    toRemoved = Messenger(&removed);
    EXPECT_TRUE(looper.RemoveHandler(&removed));
    EXPECT_EQ(toRemoved.SendMessage(fourcc("late")), kBadHandler);
    EXPECT_EQ(Messenger().SendMessage(fourcc("none")), kBadHandler);
    looper.Quit();
}

TEST(PlatformMessenger, MessagesQueuedForAHandlerThatLeavesAreDropped)
{
    Looper looper("drop");
    Recorder leaving;
    Recorder staying;
    looper.AddHandler(&leaving);
    looper.AddHandler(&staying);
    Messenger(&leaving).SendMessage(fourcc("lost"));
    Messenger(&staying).SendMessage(fourcc("kept"));
    looper.RemoveHandler(&leaving);
    looper.Run();
    ASSERT_TRUE(staying.WaitFor(1));
    looper.Quit();
    EXPECT_TRUE(leaving.Received().empty());
}

TEST(PlatformMessenger, TargetOfADestroyedLooperIsInvalid)
{
    Recorder handler;
    Messenger to(&handler);
    {
        Looper looper("short");
        looper.AddHandler(&handler);
        EXPECT_EQ(to.TargetLooper(), &looper);
        looper.Run();
    }
    EXPECT_EQ(handler.GetLooper(), nullptr);
    EXPECT_EQ(to.SendMessage(fourcc("late")), kBadHandler);
}

TEST(PlatformMessenger, ASenderWaitingOnADroppedMessageGetsNoReply)
{
    Recorder handler;
    Looper* looper = new Looper("dropper");
    looper->AddHandler(&handler);  // never run: the message waits in the queue
    Message reply;
    std::thread deleter([&] {
        while (looper->CountQueued() == 0) std::this_thread::yield();
        delete looper;
    });
    EXPECT_EQ(Messenger(&handler).SendMessage(Message(fourcc("ping")), &reply), kOk);
    deleter.join();
    EXPECT_EQ(reply.what, kNoReply);
}

TEST(PlatformMessenger, SendingToItsOwnLooperAndWaitingIsRefused)
{
    Looper looper("self");
    status_t status = kOk;
    class Asker : public Handler {
    public:
        explicit Asker(status_t* out) : mOut(out) {}
        void MessageReceived(Message*) override
        {
            Message reply;
            *mOut = Messenger(this).SendMessage(Message(fourcc("ping")), &reply);
        }
        status_t* mOut;
    } asker(&status);
    looper.AddHandler(&asker);
    looper.PostMessage(fourcc("ask "), &asker);
    EXPECT_EQ(looper.DispatchPending(), 1);
    EXPECT_EQ(status, kNotAllowed);
    looper.RemoveHandler(&asker);
}

TEST(PlatformMessenger, EqualWhenNamingTheSameTarget)
{
    Recorder a, b;
    EXPECT_EQ(Messenger(&a), Messenger(&a));
    EXPECT_FALSE(Messenger(&a) == Messenger(&b));
    EXPECT_EQ(Messenger(), Messenger());
}

TEST(PlatformLooper, AnOutsideLoopDrivesTheLooper)
{
    Looper looper("external");
    Recorder handler;
    looper.AddHandler(&handler);
    std::atomic<int> wakes{0};
    looper.SetExternalWake([&] { wakes.fetch_add(1); });
    Messenger(&handler).SendMessage(fourcc("a   "));
    Messenger(&handler).SendMessage(fourcc("b   "));
    EXPECT_EQ(wakes.load(), 2);
    EXPECT_TRUE(handler.Received().empty());
    EXPECT_EQ(looper.DispatchPending(), 2);
    EXPECT_EQ(handler.Received().size(), 2u);
    EXPECT_EQ(looper.DispatchPending(), 0);
    // Waiting for a reply on the outside loop's own thread could never end.
    Message reply;
    EXPECT_EQ(Messenger(&handler).SendMessage(Message(fourcc("ping")), &reply), kNotAllowed);
    looper.RemoveHandler(&handler);
}

TEST(PlatformLooper, AHandlerIsInOneLooperOnly)
{
    Looper first("first"), second("second");
    Recorder handler;
    EXPECT_EQ(first.AddHandler(&handler), kOk);
    EXPECT_EQ(second.AddHandler(&handler), kBadValue);
    EXPECT_EQ(second.PostMessage(fourcc("x   "), &handler), kBadHandler);
    EXPECT_FALSE(second.RemoveHandler(&handler));
    EXPECT_TRUE(first.RemoveHandler(&handler));
    EXPECT_EQ(second.AddHandler(&handler), kOk);
    second.RemoveHandler(&handler);
}

TEST(PlatformMessageRunner, PostsTheGivenNumberOfTimes)
{
    Looper looper("runner");
    Recorder handler;
    looper.AddHandler(&handler);
    looper.Run();
    {
        MessageRunner once(Messenger(&handler), Message(fourcc("once")), 1000, 1);
        MessageRunner thrice(Messenger(&handler), Message(fourcc("thri")), 1000, 3);
        ASSERT_EQ(once.InitCheck(), kOk);
        ASSERT_TRUE(handler.WaitFor(4));
        int32_t left = -5;
        EXPECT_EQ(thrice.GetInfo(nullptr, &left), kOk);
        EXPECT_EQ(left, 0);
    }
    looper.Quit();
    int once = 0, thrice = 0;
    for (uint32_t what : handler.Received()) {
        once += what == fourcc("once");
        thrice += what == fourcc("thri");
    }
    EXPECT_EQ(once, 1);
    EXPECT_EQ(thrice, 3);
}

TEST(PlatformMessageRunner, ARunnerDeletedBeforeItsTimePostsNothing)
{
    Looper looper("cancel");
    Recorder handler;
    looper.AddHandler(&handler);
    {
        MessageRunner runner(Messenger(&handler), Message(fourcc("never")), 60 * 1000000LL, 1);
        EXPECT_EQ(runner.InitCheck(), kOk);
    }
    EXPECT_EQ(looper.CountQueued(), 0);
    looper.RemoveHandler(&handler);
}

TEST(PlatformMessageRunner, OnAManualClockPostsWhenTheClockPassesTheNextPost)
{
    ManualTimerClock clock;
    Looper looper("manual");  // never runs: posts stay in the queue, where they can be counted
    Recorder handler;
    looper.AddHandler(&handler);
    MessageRunner runner(Messenger(&handler), Message(fourcc("tick")), 1000, 1, &clock);
    ASSERT_TRUE(clock.WaitForParked(1));
    EXPECT_EQ(runner.SetInterval(5000), kOk);  // the post is due 5000 from now, no longer 1000
    clock.Advance(4999);
    ASSERT_TRUE(clock.WaitForParked(1));
    EXPECT_EQ(looper.CountQueued(), 0);
    clock.Advance(1);
    ASSERT_TRUE(clock.WaitForNoWaiters());
    int32_t left = -5;
    EXPECT_EQ(runner.GetInfo(nullptr, &left), kOk);  // takes the runner's lock, so the post is made
    EXPECT_EQ(left, 0);
    EXPECT_EQ(looper.CountQueued(), 1);
    looper.RemoveHandler(&handler);
}

TEST(PlatformMessageRunner, RefusesANonPositiveIntervalOrZeroCount)
{
    Recorder handler;
    EXPECT_EQ(MessageRunner(Messenger(&handler), Message(), 0, 1).InitCheck(), kBadValue);
    EXPECT_EQ(MessageRunner(Messenger(&handler), Message(), -5, 1).InitCheck(), kBadValue);
    EXPECT_EQ(MessageRunner(Messenger(&handler), Message(), 1000, 0).InitCheck(), kBadValue);
}

TEST(PlatformMessageRunner, RepeatsUntilDeleted)
{
    Looper looper("repeat");
    Recorder handler;
    looper.AddHandler(&handler);
    looper.Run();
    auto runner = std::make_unique<MessageRunner>(Messenger(&handler), Message(fourcc("tick")), 500);
    ASSERT_TRUE(handler.WaitFor(5));
    looper.Quit();  // from here posts stay in the queue, where they can be counted
    runner.reset();
    int32_t queued = looper.CountQueued();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(looper.CountQueued(), queued);
    looper.RemoveHandler(&handler);
}
