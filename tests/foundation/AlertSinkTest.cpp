#include "foundation/AlertSink.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

TEST(RecordingAlertSinkTest, KeepsEveryTextInOrder)
{
    TRecordingAlertSink sink;
    EXPECT_EQ(sink.Count(), 0u);
    EXPECT_EQ(sink.Last(), "");

    TAlertSink& asInterface = sink;
    asInterface.ShowAlert("first");
    asInterface.ShowAlert("second\n\nline");

    ASSERT_EQ(sink.Count(), 2u);
    EXPECT_EQ(sink.Alerts(), (std::vector<std::string>{"first", "second\n\nline"}));
    EXPECT_EQ(sink.Last(), "second\n\nline");

    sink.Clear();
    EXPECT_EQ(sink.Count(), 0u);
}

TEST(RecordingAlertSinkTest, RecordsAlertsFromSeveralThreads)
{
    TRecordingAlertSink sink;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&sink] {
            for (int i = 0; i < 100; ++i) sink.ShowAlert("x");
        });
    for (auto& th : threads) th.join();
    EXPECT_EQ(sink.Count(), 400u);
}
