// The queue between the debugging machine and the debug view: waiting reports folded,
// posted ones kept whole and in order, runs kept apart.

#include <gtest/gtest.h>

#include "debugger/DebugProtocol.h"
#include "debugger/DebugReportQueue.h"

namespace {

platform::Message Report(uint32_t what, int64_t run, int32_t line = -1)
{
    platform::Message message(what);
    message.AddInt64(debug_msg::Run, run);
    if (line >= 0) message.AddInt32(debug_msg::LineNum, line);
    return message;
}

platform::Message Assigned(int64_t run, const std::string& name, int32_t element, const std::string& value)
{
    platform::Message message = Report(debug_msg::VarsUpdated, run);
    message.AddString(debug_msg::VarName, name);
    message.AddInt32(debug_msg::DimIdx, element);
    message.AddString(debug_msg::Value, value);
    return message;
}

TEST(DebugReportQueue, WaitingReportsFoldIntoTheirLastState)
{
    TDebugReportQueue queue;
    EXPECT_TRUE(queue.Note(Report(debug_msg::CallRemoved, 1)));  // a call shown before
    for (int pass = 1; pass <= 1000; ++pass) {
        queue.Note(Report(debug_msg::CurLine, 1, 20));
        queue.Note(Report(debug_msg::CallAdded, 1, 20));
        queue.Note(Assigned(1, "A!", 0, std::to_string(pass)));
        queue.Note(Report(debug_msg::CallRemoved, 1));
    }
    queue.Note(Report(debug_msg::CallAdded, 1, 30));
    queue.Note(Report(debug_msg::CurLine, 1, 100));
    const std::vector<TDebugReport> reports = queue.Take();
    ASSERT_EQ(reports.size(), 1u);
    const TDebugNotes& notes = reports[0].Notes;
    EXPECT_FALSE(reports[0].Posted);
    EXPECT_EQ(notes.Run, 1);
    EXPECT_EQ(notes.Line, 100);
    EXPECT_EQ(notes.Returns, 1);
    EXPECT_EQ(notes.Calls, (std::vector<int32_t>{30}));
    ASSERT_EQ(notes.Values.size(), 1u);
    EXPECT_EQ(notes.Values.at({"A!", 0}), "1000");
    EXPECT_TRUE(queue.Take().empty());
}

TEST(DebugReportQueue, PostedReportsStandBetweenTheNotesAroundThem)
{
    TDebugReportQueue queue;
    queue.Note(Assigned(1, "X!", 3, "1"));
    queue.Add(Report(debug_msg::VarReset, 1));
    queue.Note(Assigned(1, "X!", 3, "2"));
    queue.Note(Report(debug_msg::CurLine, 1, 40));
    queue.Add(Report(debug_msg::BreakBegun, 1, 40));
    // A posted report is no waiting one, and is not folded.
    EXPECT_FALSE(queue.Note(Report(debug_msg::RunEnded, 1)));
    const std::vector<TDebugReport> reports = queue.Take();
    ASSERT_EQ(reports.size(), 4u);
    EXPECT_EQ(reports[0].Notes.Values.at({"X!", 3}), "1");
    EXPECT_TRUE(reports[1].Posted);
    EXPECT_EQ(reports[1].Message.what, debug_msg::VarReset);
    EXPECT_EQ(reports[2].Notes.Values.at({"X!", 3}), "2");
    EXPECT_EQ(reports[2].Notes.Line, 40);
    EXPECT_EQ(reports[3].Message.what, debug_msg::BreakBegun);
}

TEST(DebugReportQueue, ARunOfItsOwnStartsNewNotes)
{
    TDebugReportQueue queue;
    queue.Note(Report(debug_msg::CurLine, 1, 10));
    queue.Note(Report(debug_msg::CurLine, 2, 20));
    const std::vector<TDebugReport> reports = queue.Take();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0].Notes.Run, 1);
    EXPECT_EQ(reports[0].Notes.Line, 10);
    EXPECT_EQ(reports[1].Notes.Run, 2);
    EXPECT_EQ(reports[1].Notes.Line, 20);
}

}  // namespace
