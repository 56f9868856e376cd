#include "foundation/DelaySender.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "foundation/Common.h"
#include "platform/Looper.h"

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

class DelaySenderFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        looper.AddHandler(&target);
        looper.Run();
    }
    void TearDown() override { looper.Quit(); }

    static Message FontSize(uint32_t what, float size)
    {
        Message m(what);
        m.AddFloat("size", size);
        return m;
    }

    platform::Looper looper{"application"};
    Target target;
};

}  // namespace

TEST_F(DelaySenderFixture, ABurstReachesTheTargetOnceWithTheLastMessage)
{
    TDelaySender sender("DelaySender");
    sender.SetTarget(platform::Messenger(&target));
    EXPECT_EQ(sender.GetLooper(), &looper);
    sender.SetDelay(200000);
    for (float size : {10.0f, 11.0f, 12.0f}) {
        Message m = FontSize(kMainFontChanged, size);
        EXPECT_EQ(sender.SendMessage(&m), 0);
    }
    EXPECT_TRUE(target.Received().empty());  // nothing before the delay
    ASSERT_TRUE(target.WaitFor(1));
    // Give a wrongly kept second wait the time to fire.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    std::vector<Message> got = target.Received();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].what, kMainFontChanged);
    float size = 0;
    EXPECT_EQ(got[0].FindFloat("size", &size), platform::kOk);
    EXPECT_EQ(size, 12.0f);
    EXPECT_EQ(sender.CountPending(), 0);
}

TEST_F(DelaySenderFixture, DifferentCodesWaitIndependently)
{
    TDelaySender sender("DelaySender");
    sender.SetTarget(platform::Messenger(&target));
    sender.SetDelay(50000);
    Message main = FontSize(kMainFontChanged, 11);
    Message run = FontSize(kRunFontChanged, 14);
    sender.SendMessage(&main);
    sender.SendMessage(&run);
    ASSERT_TRUE(target.WaitFor(2));
    std::vector<uint32_t> whats;
    for (const Message& m : target.Received()) whats.push_back(m.what);
    std::sort(whats.begin(), whats.end());
    EXPECT_EQ(whats, (std::vector<uint32_t>{kMainFontChanged, kRunFontChanged}));
}

TEST_F(DelaySenderFixture, OnlyTheTimeoutWithTheNewestSerialSends)
{
    // No target looper here: the timeouts are handed in by hand.
    TDelaySender sender("DelaySender");
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
    float size = 0;
    got[0].FindFloat("size", &size);
    EXPECT_EQ(size, 20.0f);
    other.RemoveHandler(&sender);
    other.RemoveHandler(&direct);
}

TEST_F(DelaySenderFixture, DeletingTheSenderDropsWaitingMessages)
{
    // The delay is far longer than the sender lives even on a loaded machine; should
    // it live that long all the same, the message was due and nothing can be judged.
    constexpr auto delay = std::chrono::seconds(1);
    const auto sent = std::chrono::steady_clock::now();
    {
        TDelaySender sender("DelaySender");
        sender.SetTarget(platform::Messenger(&target));
        sender.SetDelay(std::chrono::duration_cast<std::chrono::microseconds>(delay).count());
        Message m = FontSize(kMainFontChanged, 11);
        sender.SendMessage(&m);
    }
    if (std::chrono::steady_clock::now() - sent >= delay) GTEST_SKIP() << "the sender outlived its delay";
    // Wait past the moment the message would have been sent.
    std::this_thread::sleep_until(sent + delay + std::chrono::milliseconds(200));
    EXPECT_TRUE(target.Received().empty());
}

TEST_F(DelaySenderFixture, WithoutALooperNothingIsEverSent)
{
    TDelaySender sender("DelaySender");
    Target lonely;  // in no looper
    sender.SetTarget(platform::Messenger(&lonely));
    EXPECT_EQ(sender.GetLooper(), nullptr);
    sender.SetDelay(10000);
    Message m = FontSize(kMainFontChanged, 11);
    sender.SendMessage(&m);
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    EXPECT_TRUE(lonely.Received().empty());
    EXPECT_EQ(sender.CountPending(), 1);
}

TEST_F(DelaySenderFixture, SendersOnManyThreadsAreSafe)
{
    TDelaySender sender("DelaySender");
    sender.SetTarget(platform::Messenger(&target));
    sender.SetDelay(1000);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&sender, t] {
            for (int i = 0; i < 200; ++i) {
                Message m(fourcc("pdfc") + static_cast<uint32_t>(t));
                sender.SendMessage(&m);
            }
        });
    for (auto& thread : threads) thread.join();
    ASSERT_TRUE(target.WaitFor(4));
    for (int i = 0; i < 1000 && sender.CountPending() > 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
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
