// A list that begins with a UTF-8 byte-order mark, as editors of other systems write
// it: every reader of line numbers reads the first line's number after the mark, and
// whatever writes the list back keeps the mark where it was.

#include <gtest/gtest.h>

#include <string>

#include "debugger/SrcCodeLines.h"
#include "session/FormatSource.h"
#include "session/GoToLineText.h"
#include "session/Renumber.h"

namespace {

const std::string BOM = "\xEF\xBB\xBF";

struct TMarkedList {
    const char* name;
    std::string list;        // after the mark
    std::string compiled;    // the compiler's copy
    std::string renumbered;  // renumbered from 100 by 10, after the mark
    int32_t firstNumber;     // the number of the first numbered line of the compiler's copy
};

// clang-format off
const TMarkedList kMarkedLists[] = {
    {"a numbered list", "10 PRINT 1\n20 END",
     "10 PRINT 1\n20 END", "100 PRINT 1\n110 END", 10},
    {"a jump to the first line", "10 PRINT 1:GOTO 10\n",
     "10 PRINT 1:GOTO 10\n", "100 PRINT 1:GOTO 100\n", 10},
    {"CR LF line ends", "10 A\r\n20 B",
     "10 A\n\n20 B", "100 A\r\n110 B", 10},
    {"an empty first line", "\n10 A\n20 B",
     "10 A\n20 B", "\n100 A\n110 B", 10},
    {"an unnumbered list", "PRINT 1\nPRINT 2",
     "1 PRINT 1\n2 PRINT 2", "100 PRINT 1\n110 PRINT 2", 1},
    {"a number right after the mark with no blank", "10PRINT\n",
     "10PRINT\n", "100 PRINT\n", 10},
};
// clang-format on

TEST(ByteOrderMarkList, TheCompilersCopyLeavesTheMarkOut)
{
    for (const TMarkedList& c : kMarkedLists) {
        const TFormattedSource source = format_source_for_compiler(BOM + c.list);
        EXPECT_EQ(source.Text, c.compiled) << c.name;
        EXPECT_EQ(source.Error, "") << c.name;
    }
}

TEST(ByteOrderMarkList, RenumberKeepsTheMarkBeforeTheFirstNumber)
{
    for (const TMarkedList& c : kMarkedLists) {
        std::string text = BOM + c.list;
        const TRenumbered result = Renumber(text, 100, 1, 10, false);
        EXPECT_TRUE(result.Done) << c.name << ": " << result.Refusal;
        EXPECT_EQ(text, BOM + c.renumbered) << c.name;
    }
    // The compiler's numbering leaves a list alone whose first line has a number.
    std::string numbered = BOM + "10 A\nB";
    EXPECT_FALSE(Renumber(numbered, 1, 1, 1, true).Done);
    EXPECT_EQ(numbered, BOM + "10 A\nB");
}

TEST(ByteOrderMarkList, GoToLineFindsTheFirstNumberedLine)
{
    for (const TMarkedList& c : kMarkedLists) {
        const std::string list = BOM + c.list;
        const std::string number = std::to_string(c.firstNumber);
        // The unnumbered list has its numbers only in the compiler's copy.
        const int64_t expected = c.list.rfind("PRINT", 0) == 0 ? -1 : static_cast<int64_t>(list.find(number));
        EXPECT_EQ(find_line_from_text(list, number).Offset, expected) << c.name;
    }
    EXPECT_EQ(OffsetFromLineNum(BOM + "10 A\n20 B", 20), 8);
    EXPECT_EQ(OffsetFromLineNum("x10 A", 10), -1) << "only the mark may stand before a line's number";
}

TEST(ByteOrderMarkList, TheDebuggersLineTableReadsTheFirstNumber)
{
    for (const TMarkedList& c : kMarkedLists) {
        // The table of the compiler's copy, and of a source that still has the mark.
        for (const std::string& source : {format_source_for_compiler(BOM + c.list).Text, BOM + c.compiled}) {
            TSrcCodeLines lines;
            lines.Set(source);
            ASSERT_FALSE(lines.Lines().empty()) << c.name;
            EXPECT_EQ(lines.FirstNumberedRow(), 0) << c.name;
            EXPECT_EQ(lines.Row(c.firstNumber), 0) << c.name;
            EXPECT_EQ(lines.Lines()[0].Text.rfind(std::to_string(c.firstNumber), 0), 0u) << c.name;
        }
    }
}

}  // namespace
