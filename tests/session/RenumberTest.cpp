// Renumbering a list text and finding a line by its number.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "session/Renumber.h"

namespace {

struct TRenumberCase {
    const char* name;
    int32_t newLine, oldLine, step;
    std::string in, out;
};

void expect_renumbered(const TRenumberCase& c)
{
    std::string text = c.in;
    const TRenumbered result = Renumber(text, c.newLine, c.oldLine, c.step, false);
    EXPECT_TRUE(result.Done) << c.name << ": " << result.Refusal;
    EXPECT_EQ(text, c.out) << c.name;
}

TEST(Renumber, HeadsOfLines)
{
    const TRenumberCase cases[] = {
        {"from the lowest old number on", 100, 20, 10, "10 A\n20 B\n30 C", "10 A\n100 B\n110 C"},
        {"empty lines stay uncounted", 10, 1, 10, "A\n\n50 B", "10 A\n\n20 B"},
        {"a line 0 stays", 10, 1, 10, "0 A\n5 B\n", "0 A\n10 B\n"},
        {"a blank is added only where none is", 100, 1, 10, "10PRINT\n20 PRINT\n30", "100 PRINT\n110 PRINT\n120 "},
        {"a line beginning with blanks gets a number before them", 10, 1, 10, "  X", "10  X"},
        {"a Control-Z ends the renumbering", 100, 1, 10,
         "10 A\n20 B\x1a"
         "30 C\n",
         "100 A\n110 B\x1a"
         "30 C\n"},
        {"the last line feed stays", 1, 1, 1, "5 A\n\n", "1 A\n\n"},
        {"empty", 10, 1, 10, "", ""},
        {"a number past the 32-bit range", 100, 1, 10, "10 A\n99999999999 B", "100 A\n110 B"},
    };
    for (const TRenumberCase& c : cases) expect_renumbered(c);
}

TEST(Renumber, OnlyIfUnnumberedLeavesANumberedTextAlone)
{
    std::string numbered = "10 PRINT\nPRINT";
    EXPECT_FALSE(Renumber(numbered, 1, 1, 1, true).Done);
    EXPECT_EQ(numbered, "10 PRINT\nPRINT");

    std::string unnumbered = "PRINT 1\n100 END";
    EXPECT_TRUE(Renumber(unnumbered, 1, 1, 1, true).Done);
    EXPECT_EQ(unnumbered, "1 PRINT 1\n2 END");

    std::string empty;
    EXPECT_TRUE(Renumber(empty, 1, 1, 1, true).Done);
    EXPECT_EQ(empty, "");
}

TEST(Renumber, JumpsFollowTheirLines)
{
    const TRenumberCase cases[] = {
        {"THEN, ELSE, GOSUB, GOTO", 1000, 1, 10, "10 IF A THEN 30 ELSE 20\n20 GOSUB 40:GOTO 10\n30 END\n40 RETURN",
         "1000 IF A THEN 1020 ELSE 1010\n1010 GOSUB 1030:GOTO 1000\n1020 END\n1030 RETURN"},
        {"ON GOTO and ON GOSUB lists", 100, 1, 10, "10 ON X GOTO 10,20\n20 ON X GOSUB ,10 , 20",
         "100 ON X GOTO 100,110\n110 ON X GOSUB ,100 , 110"},
        {"GO TO, IF GOTO, ON ERROR GOTO", 100, 1, 10,
         "10 GO TO 20\n20 IF A GOTO 10 ELSE 20\n30 ON ERROR GOTO 0:ON ERROR GOTO 20",
         "100 GO TO 110\n110 IF A GOTO 100 ELSE 110\n120 ON ERROR GOTO 0:ON ERROR GOTO 110"},
        {"RESTORE, RETURN, RESUME, RUN", 100, 1, 10, "10 RESTORE 20:RETURN 20\n20 RESUME 10:RESUME NEXT:RUN 10",
         "100 RESTORE 110:RETURN 110\n110 RESUME 100:RESUME NEXT:RUN 100"},
        {"event traps", 100, 1, 10, "10 ON KEY GOSUB 20,,10\n20 ON TIME$=\"10:00:00\" GOSUB 10:ON PLAY(1) GOSUB 20",
         "100 ON KEY GOSUB 110,,100\n110 ON TIME$=\"10:00:00\" GOSUB 100:ON PLAY(1) GOSUB 110"},
        {"jumps from lines that keep their numbers", 100, 20, 10, "10 GOTO 20\n20 GOTO 10", "10 GOTO 100\n100 GOTO 10"},
        {"a jump after a comment mark is text", 100, 1, 10, "10 GOTO 10 ' GOTO 10", "100 GOTO 100 ' GOTO 10"},
        {"numbers that are no jumps", 100, 1, 10,
         "10 PRINT \"GOTO 10\";10:X=10\n20 REM GOTO 10\n30 ' GOTO 10\n40 DATA 10,GOTO 10:GOTO 10",
         "100 PRINT \"GOTO 10\";10:X=10\n110 REM GOTO 10\n120 ' GOTO 10\n130 DATA 10,GOTO 10:GOTO 100"},
        {"CHAIN's line is in another list", 100, 1, 10, "10 CHAIN \"F\",10:GOTO 10", "100 CHAIN \"F\",10:GOTO 100"},
        {"RUN of a file", 100, 1, 10, "10 RUN \"F\":RUN F$", "100 RUN \"F\":RUN F$"},
        {"labels, names, hex and file numbers", 100, 1, 10, "10 GOTO *L:GOTO10:PRINT &H10;#10",
         "100 GOTO *L:GOTO10:PRINT &H10;#10"},
        {"a jump to a line the list lacks", 100, 1, 10, "10 GOTO 99", "100 GOTO 99"},
        {"a line number given twice reaches its last line", 100, 1, 10, "10 GOTO 20\n20 A\n20 B",
         "100 GOTO 120\n110 A\n120 B"},
    };
    for (const TRenumberCase& c : cases) expect_renumbered(c);
}

TEST(Renumber, ComputedJumpsAreLeftAndNamed)
{
    struct Case {
        const char* name;
        std::string in, out, note;
    };
    const Case cases[] = {
        {"an expression", "10 GOTO A*10\n20 END", "100 GOTO A*10\n110 END", "100"},
        {"an expression beginning with a number", "10 END\n20 GOSUB 10+A", "100 END\n110 GOSUB 10+A", "110"},
        {"one slot of a list", "10 ON X GOTO 10,A(1,2),20\n20 END", "100 ON X GOTO 100,A(1,2),110\n110 END", "100"},
        {"several lines", "10 RESTORE N\n20 RUN N", "100 RESTORE N\n110 RUN N", "100, 110"},
    };
    for (const Case& c : cases) {
        std::string text = c.in;
        const TRenumbered result = Renumber(text, 100, 1, 10, false);
        EXPECT_TRUE(result.Done) << c.name;
        EXPECT_EQ(text, c.out) << c.name;
        EXPECT_NE(result.Note.find(c.note), std::string::npos) << c.name << ": " << result.Note;
    }
    std::string plain = "10 GOTO 10";
    EXPECT_EQ(Renumber(plain, 100, 1, 10, false).Note, "") << "no note without computed jumps";
}

TEST(Renumber, RefusesNumbersThatCannotStand)
{
    struct Case {
        const char* name;
        int32_t newLine, oldLine, step;
        std::string in;
        const char* alertWord;
    };
    const Case cases[] = {
        {"out of order", 5, 20, 10, "10 A\n20 B\n30 C", "order"},
        {"a kept line's number", 10, 20, 10, "20 B\n10 A\n30 C", "order"},
        {"past the largest line number", 2147483640, 1, 10, "10 A\n20 B", "2147483647"},
        {"a step that goes nowhere", 10, 1, 0, "10 A\n20 B", "order"},
    };
    for (const Case& c : cases) {
        std::string text = c.in;
        const TRenumbered result = Renumber(text, c.newLine, c.oldLine, c.step, false);
        EXPECT_FALSE(result.Done) << c.name;
        EXPECT_EQ(text, c.in) << c.name << ": the text stays exactly as it was";
        EXPECT_NE(result.Refusal.find(c.alertWord), std::string::npos) << c.name << ": " << result.Refusal;
    }
}

TEST(OffsetFromLineNum, FindsOnlyTheWholeNumberAtALineHead)
{
    const std::string text = "10 A\n20 B\n100 C\n  30 PRINT\n040 D\n50PRINT";
    struct Case {
        int64_t lineNum;
        int64_t offset;
    };
    const Case cases[] = {
        {1, -1}, {10, 0}, {20, 5}, {100, 10}, {30, -1}, {40, -1}, {50, 33}, {0, -1}, {-5, -1},
    };
    for (const Case& c : cases) EXPECT_EQ(OffsetFromLineNum(text, c.lineNum), c.offset) << c.lineNum;
    EXPECT_EQ(OffsetFromLineNum(std::string("10 A\0\n20 B", 10), 20), -1) << "the text ends at its NUL";
}

}  // namespace
