#include "foundation/DelaySender.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "foundation/Common.h"
#include "platform/Looper.h"
#include "platform/TimerClock.h"

using platform::fourcc;
using platform::Message;

namespace {

constexpr uint32_t kMainFontChanged = fourcc("pmfc");
constexpr uint32_t kRunFontChanged = fourcc("prfc");

// The target: records every message it gets.
class Target : public platform::Handler {
public:
    ~Target() override
    {
        if (platform::Looper* looper = GetLooper()) looper->RemoveHandler(this);
    }
    void MessageReceived(Message* message) override
    {
        std::lock_guard lock(mMutex);
        mReceived.push_back(*message);
        mChanged.notify_all();
    }
    bool WaitFor(size_t count)
    {
        std::unique_lock lock(mMutex);
        return mChanged.wait_for(lock, std::chrono::seconds(10), [&] { return mReceived.size() >= count; });
    }
    std::vector<Message> Received()
    {
        std::lock_guard lock(mMutex);
        return mReceived;
    }

private:
    std::mutex mMutex;
    std::condition_variable mChanged;
    std::vector<Message> mReceived;
};

// The senders wait on a manual clock: a wait ends when the test moves the clock past
// its end, and never while the clock stands still.
class DelaySenderFixture : public ::testing::Test {
protected:
    static constexpr platform::bigtime_t kDelay = 1500000;

    void SetUp() override
    {
        looper.AddHandler(&target);
        looper.AddHandler(&fence);
        looper.Run();
    }
    void TearDown() override { looper.Quit(); }

    static Message FontSize(uint32_t what, float size)
    {
        Message m(what);
        m.AddFloat("size", size);
        return m;
    }

    // Lets the looper handle what is queued now and what that queues in turn: a
    // timeout queued now sends its message before the second fence comes.
    void Drain()
    {
        for (int round = 0; round < 2; ++round) {
            ASSERT_EQ(platform::Messenger(&fence).SendMessage(Message()), platform::kOk);
            ASSERT_TRUE(fence.WaitFor(++fences));
        }
    }

    // `waits` waits are running and have looked at the clock as it is now without
    // ending; nothing has reached the target.
    void ExpectStillWaiting(const TDelaySender& sender, int waits)
    {
        ASSERT_TRUE(clock.WaitForParked(waits));
        Drain();
        EXPECT_TRUE(target.Received().empty());
        EXPECT_EQ(sender.CountPending(), waits);
    }

    platform::ManualTimerClock clock;
    platform::Looper looper{"application"};
    Target target;
    Target fence;  // counts the fences of Drain
    size_t fences = 0;
};

float SizeOf(const Message& m)
{
    float size = 0;
    EXPECT_EQ(m.FindFloat("size", &size), platform::kOk);
    return size;
}

}  // namespace

TEST_F(DelaySenderFixture, ABurstReachesTheTargetOnceWithTheLastMessage)
{
    TDelaySender sender("DelaySender", &clock);
    sender.SetTarget(platform::Messenger(&target));
    EXPECT_EQ(sender.GetLooper(), &looper);
    sender.SetDelay(kDelay);
    // Each message comes just before the wait of the one before it ends and starts the
    // wait again: the first wait would have ended long before the last.
    for (float size : {10.0f, 11.0f, 12.0f}) {
        Message m = FontSize(kMainFontChanged, size);
        EXPECT_EQ(sender.SendMessage(&m), 0);
        ExpectStillWaiting(sender, 1);
        clock.Advance(kDelay - 1);
        ExpectStillWaiting(sender, 1);
    }
    clock.Advance(1);
    ASSERT_TRUE(target.WaitFor(1));
    // Give a wrongly kept wait the time to end and its message the time to arrive.
    clock.Advance(3 * kDelay);
    EXPECT_TRUE(clock.WaitForNoWaiters());
    Drain();
    std::vector<Message> got = target.Received();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].what, kMainFontChanged);
    EXPECT_EQ(SizeOf(got[0]), 12.0f);
    EXPECT_EQ(sender.CountPending(), 0);
}

TEST_F(DelaySenderFixture, DifferentCodesWaitIndependently)
{
    TDelaySender sender("DelaySender", &clock);
    sender.SetTarget(platform::Messenger(&target));
    sender.SetDelay(kDelay);
    Message main = FontSize(kMainFontChanged, 11);
    Message run = FontSize(kRunFontChanged, 14);
    sender.SendMessage(&main);
    clock.Advance(kDelay / 2);
    sender.SendMessage(&run);  // restarts no wait of the other code
    ExpectStillWaiting(sender, 2);
    clock.Advance(kDelay - kDelay / 2);
    ASSERT_TRUE(target.WaitFor(1));
    ASSERT_TRUE(clock.WaitForParked(1));
    Drain();
    ASSERT_EQ(target.Received().size(), 1u);
    EXPECT_EQ(target.Received()[0].what, kMainFontChanged);
    EXPECT_EQ(sender.CountPending(), 1);
    clock.Advance(kDelay / 2);
    ASSERT_TRUE(target.WaitFor(2));
    Drain();
    std::vector<uint32_t> whats;
    for (const Message& m : target.Received()) whats.push_back(m.what);
    EXPECT_EQ(whats, (std::vector<uint32_t>{kMainFontChanged, kRunFontChanged}));
    EXPECT_EQ(SizeOf(target.Received()[1]), 14.0f);
}

TEST_F(DelaySenderFixture, OnlyTheTimeoutWithTheNewestSerialSends)
{
    // No target looper here: the timeouts are handed in by hand.
    TDelaySender sender("DelaySender", &clock);  // the clock never moves: no wait ends
    platform::Looper other("other");
    Target direct;
    other.AddHandler(&direct);
    sender.SetTarget(platform::Messenger(&direct));  // sender joins `other`, which never runs
    sender.SetDelay(60 * 1000000LL);
    Message first = FontSize(kMainFontChanged, 10);
    Message second = FontSize(kMainFontChanged, 20);
    sender.SendMessage(&first);   // serial 0
    sender.SendMessage(&second);  // serial 1

    auto timeout = [](int32_t serial, uint32_t what) {
        Message t(kDelaySenderTimeout);
        t.AddInt32("DlySMRID", serial);
        t.AddInt32("DlySMW", static_cast<int32_t>(what));
        return t;
    };
    struct Case {
        const char* what;
        Message timeout;
        int32_t pendingAfter;
    };
    Message noSerial(kDelaySenderTimeout);
    noSerial.AddInt32("DlySMW", static_cast<int32_t>(kMainFontChanged));
    Message noWhat(kDelaySenderTimeout);
    noWhat.AddInt32("DlySMRID", 1);
    const Case cases[] = {
        {"stale serial", timeout(0, kMainFontChanged), 1},
        {"no serial", noSerial, 1},
        {"no what code", noWhat, 1},
        {"code with nothing pending", timeout(1, kRunFontChanged), 1},
        {"newest serial", timeout(1, kMainFontChanged), 0},
        {"same timeout again", timeout(1, kMainFontChanged), 0},
    };
    for (const Case& c : cases) {
        Message t = c.timeout;
        sender.MessageReceived(&t);
        EXPECT_EQ(sender.CountPending(), c.pendingAfter) << c.what;
    }
    EXPECT_EQ(other.CountQueued(), 1);  // exactly one message went to the target
    other.DispatchPending();
    std::vector<Message> got = direct.Received();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(SizeOf(got[0]), 20.0f);
    other.RemoveHandler(&sender);
    other.RemoveHandler(&direct);
}

TEST_F(DelaySenderFixture, DeletingTheSenderDropsWaitingMessages)
{
    {
        TDelaySender sender("DelaySender", &clock);
        sender.SetTarget(platform::Messenger(&target));
        sender.SetDelay(kDelay);
        Message main = FontSize(kMainFontChanged, 11);
        Message run = FontSize(kRunFontChanged, 14);
        sender.SendMessage(&main);
        sender.SendMessage(&run);
        clock.Advance(kDelay - 1);
        ExpectStillWaiting(sender, 2);
    }
    EXPECT_TRUE(clock.WaitForNoWaiters());  // every wait ended with the sender
    clock.Advance(3 * kDelay);              // past the moment the messages were due
    Drain();
    EXPECT_TRUE(target.Received().empty());
}

TEST_F(DelaySenderFixture, WithoutALooperNothingIsEverSent)
{
    Target lonely;  // in no looper
    {
        TDelaySender sender("DelaySender", &clock);
        sender.SetTarget(platform::Messenger(&lonely));
        EXPECT_EQ(sender.GetLooper(), nullptr);
        sender.SetDelay(kDelay);
        Message m = FontSize(kMainFontChanged, 11);
        sender.SendMessage(&m);
        ASSERT_TRUE(clock.WaitForParked(1));
        clock.Advance(kDelay);
        ASSERT_TRUE(clock.WaitForNoWaiters());  // the wait has ended; its timeout has no looper to go to
        EXPECT_TRUE(lonely.Received().empty());
        EXPECT_EQ(sender.CountPending(), 1);
    }
    // Deleting the sender has joined the thread of the wait, after its post.
    EXPECT_TRUE(lonely.Received().empty());
}

TEST_F(DelaySenderFixture, SendersOnManyThreadsAreSafe)
{
    TDelaySender sender("DelaySender", &clock);
    sender.SetTarget(platform::Messenger(&target));
    sender.SetDelay(kDelay);
    constexpr int kThreads = 4;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&sender, t] {
            for (int i = 0; i < 200; ++i) {
                Message m(fourcc("pdfc") + static_cast<uint32_t>(t));
                sender.SendMessage(&m);
            }
        });
    for (auto& thread : threads) thread.join();
    ExpectStillWaiting(sender, kThreads);  // one wait for each code
    clock.Advance(kDelay);
    ASSERT_TRUE(target.WaitFor(kThreads));
    Drain();
    std::vector<uint32_t> whats;
    for (const Message& m : target.Received()) whats.push_back(m.what);
    std::sort(whats.begin(), whats.end());
    std::vector<uint32_t> each;
    for (int t = 0; t < kThreads; ++t) each.push_back(fourcc("pdfc") + static_cast<uint32_t>(t));
    EXPECT_EQ(whats, each);
    EXPECT_EQ(sender.CountPending(), 0);
}

// The system clock: the one real wait here, short.
TEST_F(DelaySenderFixture, WithoutAClockTheSystemClockEndsTheWait)
{
    TDelaySender sender("DelaySender");
    sender.SetTarget(platform::Messenger(&target));
    sender.SetDelay(20000);
    Message m = FontSize(kRunFontChanged, 16);
    sender.SendMessage(&m);
    ASSERT_TRUE(target.WaitFor(1));
    EXPECT_EQ(target.Received()[0].what, kRunFontChanged);
    EXPECT_EQ(SizeOf(target.Received()[0]), 16.0f);
    EXPECT_EQ(sender.CountPending(), 0);
}

TEST(Continuation, AddAndCopyTheFirstEntries)
{
    platform::Looper looper("editor");
    Target editor;
    looper.AddHandler(&editor);

    Message quit(fourcc("_QRQ"));
    Message save(fourcc("save"));
    EXPECT_EQ(add_next_msg(&save, quit, &editor), 0);
    Message second(fourcc("2nd "));
    add_next_msg(&save, second, &editor);  // a second continuation: receivers use the first

    Message saveAs(fourcc("svas"));
    add_next_msg(&saveAs, save);
    int32_t count = 0;
    EXPECT_EQ(saveAs.GetInfo("NextMsg", nullptr, &count), platform::kOk);
    EXPECT_EQ(count, 1);

    EXPECT_TRUE(send_next_msg(saveAs));
    EXPECT_EQ(looper.DispatchPending(), 1);
    ASSERT_EQ(editor.Received().size(), 1u);
    EXPECT_EQ(editor.Received()[0].what, fourcc("_QRQ"));
    looper.RemoveHandler(&editor);
}

TEST(Continuation, AHalfContinuationIsNotCopied)
{
    Target editor;
    Message onlyNext;
    onlyNext.AddMessage("NextMsg", Message(fourcc("quit")));
    Message onlyTarget;
    onlyTarget.AddMessenger("NextMsgTgt", platform::Messenger(&editor));
    for (const Message* source : {&onlyNext, &onlyTarget}) {
        Message request(fourcc("save"));
        add_next_msg(&request, *source);
        EXPECT_TRUE(request.IsEmpty());
    }
    EXPECT_FALSE(send_next_msg(Message(fourcc("save"))));
}

TEST(Continuation, ATargetThatIsGoneReceivesNothing)
{
    platform::Looper looper("editor");
    Message request(fourcc("load"));
    {
        Target gone;
        looper.AddHandler(&gone);
        add_next_msg(&request, Message(fourcc("vmrr")), &gone);
    }
    EXPECT_TRUE(send_next_msg(request));  // a continuation was present
    EXPECT_EQ(looper.CountQueued(), 0);
    std::string flat;
    EXPECT_NE(request.Flatten(&flat), platform::kOk);  // a handle cannot leave the process
}
