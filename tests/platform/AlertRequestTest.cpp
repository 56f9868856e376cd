#include "platform/AlertRequest.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

using platform::AlertRequest;

TEST(AlertRequest, FirstOfAnswerAndWithdrawSettles)
{
    struct Case {
        const char* name;
        bool answerFirst;
        int32_t result;
        bool withdrawn;
    };
    const Case cases[] = {{"answered", true, 2, false}, {"withdrawn", false, 1, true}};
    for (const Case& c : cases) {
        AlertRequest request(1);
        int closed = 0;
        request.SetOnWithdraw([&] { ++closed; });
        if (c.answerFirst) {
            EXPECT_TRUE(request.Answer(2)) << c.name;
            EXPECT_FALSE(request.Withdraw()) << c.name;
        } else {
            EXPECT_TRUE(request.Withdraw()) << c.name;
            EXPECT_FALSE(request.Answer(2)) << c.name;
        }
        EXPECT_EQ(request.Wait(nullptr), c.result) << c.name;
        EXPECT_EQ(request.WasWithdrawn(), c.withdrawn) << c.name;
        EXPECT_EQ(closed, c.withdrawn ? 1 : 0) << c.name;
    }
}

TEST(AlertRequest, CloserSetAfterWithdrawalRunsAtOnce)
{
    AlertRequest request(0);
    request.Withdraw();
    bool closed = false;
    request.SetOnWithdraw([&] { closed = true; });
    EXPECT_TRUE(closed);
}

TEST(AlertRequest, AnswerFromAnotherThreadEndsTheWait)
{
    AlertRequest request(0);
    std::thread gui([&] { request.Answer(2); });
    EXPECT_EQ(request.Wait(nullptr), 2);
    gui.join();
}

TEST(AlertRequest, StopFlagWithdrawsAndTellsTheShowingSide)
{
    AlertRequest request(1);
    std::atomic<bool> stop{false};
    std::atomic<bool> closed{false};
    request.SetOnWithdraw([&] { closed = true; });
    std::thread killer([&] { stop = true; });
    EXPECT_EQ(request.Wait(&stop), 1);
    killer.join();
    EXPECT_TRUE(request.WasWithdrawn());
    EXPECT_TRUE(closed);
    // An answer that comes late changes nothing.
    EXPECT_FALSE(request.Answer(0));
    EXPECT_EQ(request.Wait(&stop), 1);
}

}  // namespace
