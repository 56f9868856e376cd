// IF, FOR and WHILE: whole programs in, code listings with their internal
// labels, statement beginnings and the errors of unbalanced blocks out.
//
// Listings rename internal labels @L1, @L2, ... in the order in which they
// first appear in the listing (as a jump target or as a label line).

#include "CompilerTestSupport.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace compiler_test;

namespace {

const std::string M = "vcBPushSpecial 4\n";

std::string Assign(const std::string& var, const std::string& valueCodes)
{
    return M + "vcBPushVar " + var + "\n" + valueCodes + "vcBAssignArray\n";
}

std::string Load(const std::string& var)
{
    return M + "vcBLoadArray " + var + "\n";
}

std::string Int(int value)
{
    return "vcBPushInt " + std::to_string(value) + "\n";
}

struct TErrorCase {
    const char* program;
    const char* key;
    const char* line;
};

void ExpectErrors(const TErrorCase* cases, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        TProgram p(cases[i].program);
        EXPECT_FALSE(p.ok) << cases[i].program;
        EXPECT_EQ(p.Error().message, cases[i].key) << cases[i].program;
        EXPECT_EQ(p.Error().line, cases[i].line) << cases[i].program;
    }
}

// ---- IF -------------------------------------------------------------------

TEST(CompilerIfTest, ThenJumpWithoutElse)
{
    TProgram p("10 IF A THEN 100\n20 B=1\n");
    ASSERT_FALSE(p.HasError()) << p.alerts.Last();
    EXPECT_EQ(p.Listing(), "vcBLineBegin 10\nvcBPushString \"@L1\"\n" + Load("A!") + "vcBFJmp\n" + Int(100) +
                               "vcBJmp\n@L1:\nvcBLineBegin 20\n" + Assign("B!", Int(1)) + "vcBExit\n");
    // The IF, the jump of its branch and the statement of line 20.
    EXPECT_EQ(p.mid.StatementBeginSet, (std::set<int32_t>{2, 6, 9}));
}

TEST(CompilerIfTest, ThenAndElseBranches)
{
    TProgram p("10 IF A=1 THEN 100 ELSE B=5: C=2\n");
    ASSERT_FALSE(p.HasError()) << p.alerts.Last();
    EXPECT_EQ(p.Listing(), "vcBLineBegin 10\nvcBPushString \"@L1\"\n" + Load("A!") + Int(1) +
                               "vcBEqualFloat\nvcBFJmp\n" + Int(100) + "vcBJmp\nvcBPushString \"@L2\"\nvcBJmp\n" +
                               "@L1:\n" + Assign("B!", Int(5)) + Assign("C!", Int(2)) + "@L2:\nvcBExit\n");
    // The IF, the jump of the then-part, the jump over the else-part and the two
    // statements of the else-part.
    EXPECT_EQ(p.mid.StatementBeginSet, (std::set<int32_t>{2, 8, 10, 12, 16}));
}

// The codes of one statement compiled on its own, without the line's
// beginning and the program's end.
std::string StatementCodes(const std::string& statement)
{
    TProgram p("10 " + statement + "\n");
    EXPECT_FALSE(p.HasError()) << p.alerts.Last();
    std::string listing = p.Listing();
    const std::string head = "vcBLineBegin 10\n";
    const std::string tail = "vcBExit\n";
    if (listing.rfind(head, 0) != 0 || listing.size() < head.size() + tail.size())
        return "(unexpected: " + listing + ")";
    return listing.substr(head.size(), listing.size() - head.size() - tail.size());
}

TEST(CompilerIfTest, ElseBranchOfStatements)
{
    TProgram p("10 IF A=1 THEN 100 ELSE PRINT 5: B=2\n");
    ASSERT_FALSE(p.HasError()) << p.alerts.Last();
    EXPECT_EQ(p.Listing(), "vcBLineBegin 10\nvcBPushString \"@L1\"\n" + Load("A!") + Int(1) +
                               "vcBEqualFloat\nvcBFJmp\n" + Int(100) + "vcBJmp\nvcBPushString \"@L2\"\nvcBJmp\n" +
                               "@L1:\n" + StatementCodes("PRINT 5") + Assign("B!", Int(2)) + "@L2:\nvcBExit\n");
}

TEST(CompilerIfTest, GotoStandsForThen)
{
    EXPECT_EQ(TProgram("10 IF A GOTO 100 ELSE 200\n").Listing(), TProgram("10 IF A THEN 100 ELSE 200\n").Listing());
    EXPECT_EQ(TProgram("10 IF A goto B=1\n").Listing(), TProgram("10 IF A THEN B=1\n").Listing());
    EXPECT_EQ(TProgram("10 IF A GOTO *X\n").Listing(), TProgram("10 IF A THEN *X\n").Listing());
}

TEST(CompilerIfTest, EmptyBranches)
{
    TProgram empty("10 IF A THEN\n");
    ASSERT_FALSE(empty.HasError()) << empty.alerts.Last();
    EXPECT_EQ(empty.Listing(), "vcBLineBegin 10\nvcBPushString \"@L1\"\n" + Load("A!") + "vcBFJmp\n@L1:\nvcBExit\n");

    TProgram noThen("10 IF A THEN ELSE B=1\n");
    ASSERT_FALSE(noThen.HasError()) << noThen.alerts.Last();
    EXPECT_EQ(noThen.Listing(), "vcBLineBegin 10\nvcBPushString \"@L1\"\n" + Load("A!") +
                                    "vcBFJmp\nvcBPushString \"@L2\"\nvcBJmp\n@L1:\n" + Assign("B!", Int(1)) +
                                    "@L2:\nvcBExit\n");
}

TEST(CompilerIfTest, ElseBelongsToTheNearestOpenIf)
{
    TProgram p("10 IF A THEN IF B THEN X=1 ELSE Y=1 ELSE Z=1\n");
    ASSERT_FALSE(p.HasError()) << p.alerts.Last();
    EXPECT_EQ(p.Listing(), "vcBLineBegin 10\nvcBPushString \"@L1\"\n" + Load("A!") + "vcBFJmp\n" +
                               "vcBPushString \"@L2\"\n" + Load("B!") + "vcBFJmp\n" + Assign("X!", Int(1)) +
                               "vcBPushString \"@L3\"\nvcBJmp\n@L2:\n" + Assign("Y!", Int(1)) + "@L3:\n" +
                               "vcBPushString \"@L4\"\nvcBJmp\n@L1:\n" + Assign("Z!", Int(1)) + "@L4:\nvcBExit\n");

    // Without the outer ELSE nothing runs when A is false.
    TProgram inner("10 IF A THEN IF B THEN X=1 ELSE Y=1: Y=2\n");
    ASSERT_FALSE(inner.HasError()) << inner.alerts.Last();
    EXPECT_EQ(inner.Listing(), "vcBLineBegin 10\nvcBPushString \"@L1\"\n" + Load("A!") + "vcBFJmp\n" +
                                   "vcBPushString \"@L2\"\n" + Load("B!") + "vcBFJmp\n" + Assign("X!", Int(1)) +
                                   "vcBPushString \"@L3\"\nvcBJmp\n@L2:\n" + Assign("Y!", Int(1)) +
                                   Assign("Y!", Int(2)) + "@L1:\n@L3:\nvcBExit\n");
}

TEST(CompilerIfTest, Errors)
{
    const TErrorCase cases[] = {
        {"10 IF A GOSUB 100\n", "@Compile_Err_If_Without_Then@", "10"},
        {"10 IF A GO TO 100\n", "@Compile_Err_If_Without_Then@", "10"},
        {"10 IF A \"GOTO\" 100\n", "@Compile_Err_If_Without_Then@", "10"},
        {"10 B=1\n20 IF A\n", "@Compile_Err_If_Without_Then@", "20"},
        {"10 IF A PRINT 1\n", "@Compile_Err_Syntax_Err@", "10"},
        {"10 IF A THEN X=1 ELSE Y=1 ELSE Z=1\n", "@Compile_Err_Direct_Statement@", "10"},
        {"10 X=1 ELSE Y=1\n", "@Compile_Err_Direct_Statement@", "10"},
        {"10 IF THEN 100\n", "@Compile_Err_Missing_Operand@", "10"},
        {"10 IF A$ THEN 100\n", "@Compile_Err_Type_Mismatch_Calc@", "10"},
        {"10 IF A$=\"X\" THEN 100 ELSE 10 20\n", "@Compile_Err_Syntax_Err@", "10"},
    };
    ExpectErrors(cases, std::size(cases));

    // A string comparison is a number.
    EXPECT_FALSE(TProgram("10 IF A$=\"X\" THEN 100\n").HasError());
}

// ---- FOR ------------------------------------------------------------------

// The codes of FOR <var> = <start> TO <limit> [STEP <step>] up to the body,
// with the labels as they are renamed when this FOR is the first one listed:
// @L1 test, @L2 increment, @L3 exit.
std::string ForHeader(const std::string& ref, const std::string& var, const std::string& start,
                      const std::string& limit, const std::string& step)
{
    return ref + "vcBPushVar " + var + "\n" + start + "vcBAssignArray\nvcBPushString \"@L1\"\nvcBJmp\n@L2:\n" + ref +
           "vcBPushVar " + var + "\n" + ref + "vcBLoadArray " + var + "\n" + step +
           "vcBAddDouble\nvcBAssignArray\n@L1:\nvcBPushString \"@L3\"\n" + ref + "vcBLoadArray " + var + "\n" + limit +
           step + "vcBCmpFor\nvcBFJmp\n";
}

const std::string kLoopBack = "vcBPushString \"@L2\"\nvcBJmp\n@L3:\n";

TEST(CompilerForTest, LoopWithStep)
{
    TProgram p("10 FOR I=1 TO 9 STEP 2: X=I: NEXT I\n");
    ASSERT_FALSE(p.HasError()) << p.alerts.Last();
    EXPECT_EQ(p.Listing(), "vcBLineBegin 10\n" + ForHeader(M, "I!", Int(1), Int(9), Int(2)) + Assign("X!", Load("I!")) +
                               kLoopBack + "vcBExit\n");
    // The assignment, the jump to the test, the body's statement and the loop-back.
    EXPECT_EQ(p.mid.StatementBeginSet, (std::set<int32_t>{2, 6, 22, 27}));
}

TEST(CompilerForTest, LoopAroundAStatement)
{
    TProgram p("10 FOR I=1 TO 9 STEP 2: PRINT I: NEXT I\n");
    ASSERT_FALSE(p.HasError()) << p.alerts.Last();
    EXPECT_EQ(p.Listing(), "vcBLineBegin 10\n" + ForHeader(M, "I!", Int(1), Int(9), Int(2)) +
                               StatementCodes("PRINT I") + kLoopBack + "vcBExit\n");
}

TEST(CompilerForTest, DefaultStepAndNextWithoutNames)
{
    TProgram p("10 FOR I%=1 TO 3\n20 X=I%\n30 NEXT\n40 Y=1\n");
    ASSERT_FALSE(p.HasError()) << p.alerts.Last();
    EXPECT_EQ(p.Listing(), "vcBLineBegin 10\n" + ForHeader(M, "I%", Int(1), Int(3), Int(1)) + "vcBLineBegin 20\n" +
                               Assign("X!", Load("I%")) + "vcBLineBegin 30\n" + kLoopBack + "vcBLineBegin 40\n" +
                               Assign("Y!", Int(1)) + "vcBExit\n");
    // The names after NEXT are read but compared with nothing and leave no code.
    EXPECT_EQ(TProgram("10 FOR I%=1 TO 3\n20 X=I%\n30 NEXT J\n40 Y=1\n").Listing(), p.Listing());
}

TEST(CompilerForTest, LimitAndStepAreRepeatedAsTheyWereWritten)
{
    TProgram p("10 FOR I=A+1 TO LEN(S$) STEP -N: NEXT\n");
    ASSERT_FALSE(p.HasError()) << p.alerts.Last();
    const std::string step = Load("N!") + "vcBNegaFloat\n";
    EXPECT_EQ(p.Listing(), "vcBLineBegin 10\n" +
                               ForHeader(M, "I!", Load("A!") + Int(1) + "vcBAddFloat\n", Load("S$") + "vcLen\n", step) +
                               kLoopBack + "vcBExit\n");
}

TEST(CompilerForTest, RepeatedTextsAreCopies)
{
    TProgram p("10 FOR I=1 TO LEN(\"ABC\") STEP LEN(\"X\"): NEXT\n");
    ASSERT_FALSE(p.HasError()) << p.alerts.Last();
    std::set<const char*> texts;
    int pushes = 0;
    for (const TVMCode& code : p.mid.Codes) {
        if (code.Cmd == vcBPushString && code.Operand.Text[0] != '@') {
            texts.insert(code.Operand.Text);
            ++pushes;
        }
    }
    EXPECT_EQ(pushes, 3);  // "ABC" in the test block, "X" in the increment and the test block
    EXPECT_EQ(texts.size(), 3u);

    // No text is kept for a record that was cut away: each kept text is
    // carried by exactly one record.
    std::multiset<const char*> carried;
    for (const TVMCode& code : p.mid.Codes)
        if (VMOperandKind(code.Cmd) == TVMOperandKind::Text) carried.insert(code.Operand.Text);
    ASSERT_EQ(carried.size(), p.mid.OperandTexts.size());
    for (const std::string& text : p.mid.OperandTexts) EXPECT_EQ(carried.count(text.c_str()), 1u) << text;
}

TEST(CompilerForTest, ArrayElementAsLoopVariable)
{
    TProgram literal("10 FOR A(2)=1 TO 3: NEXT\n");
    ASSERT_FALSE(literal.HasError()) << literal.alerts.Last();
    EXPECT_EQ(literal.Listing(),
              "vcBLineBegin 10\n" + ForHeader(M + Int(2), "A!", Int(1), Int(3), Int(1)) + kLoopBack + "vcBExit\n");

    // A computed subscript is repeated as written; the loop runs on A(J).
    TProgram computed("10 FOR A(J+1)=1 TO 3: NEXT\n");
    ASSERT_FALSE(computed.HasError()) << computed.alerts.Last();
    EXPECT_EQ(computed.Listing(),
              "vcBLineBegin 10\n" + ForHeader(M + Load("J!") + Int(1) + "vcBAddFloat\n", "A!", Int(1), Int(3), Int(1)) +
                  kLoopBack + "vcBExit\n");
}

TEST(CompilerForTest, BodyBeginsRightAfterTheHeader)
{
    EXPECT_EQ(TProgram("10 FOR I=1 TO 3 X=I: NEXT\n").Listing(), TProgram("10 FOR I=1 TO 3: X=I: NEXT\n").Listing());
}

TEST(CompilerForTest, OneNextClosesSeveralLoops)
{
    TProgram sameLine("10 FOR I=1 TO 2: FOR J=1 TO 2: NEXT J, I: X=5\n20 Y=1\n");
    ASSERT_FALSE(sameLine.HasError()) << sameLine.alerts.Last();
    const std::string listing = sameLine.Listing();
    // X=5 follows the outer loop's exit, on the same line.
    const std::string tail = "vcBPushString \"@L5\"\nvcBJmp\n@L6:\nvcBPushString \"@L2\"\nvcBJmp\n@L3:\n" +
                             Assign("X!", Int(5)) + "vcBLineBegin 20\n" + Assign("Y!", Int(1)) + "vcBExit\n";
    ASSERT_GE(listing.size(), tail.size());
    EXPECT_EQ(listing.substr(listing.size() - tail.size()), tail);

    TProgram endOfLine("10 FOR I=1 TO 2: FOR J=1 TO 2: NEXT J, I\n20 Y=1\n");
    ASSERT_FALSE(endOfLine.HasError()) << endOfLine.alerts.Last();
    const std::string eolTail = "vcBPushString \"@L5\"\nvcBJmp\n@L6:\nvcBPushString \"@L2\"\nvcBJmp\n@L3:\n"
                                "vcBLineBegin 20\n" +
                                Assign("Y!", Int(1)) + "vcBExit\n";
    const std::string eolListing = endOfLine.Listing();
    ASSERT_GE(eolListing.size(), eolTail.size());
    EXPECT_EQ(eolListing.substr(eolListing.size() - eolTail.size()), eolTail);

    // At the end of the text without a line feed.
    TProgram endOfText("10 FOR I=1 TO 2: FOR J=1 TO 2: NEXT J, I");
    ASSERT_FALSE(endOfText.HasError()) << endOfText.alerts.Last();
    EXPECT_TRUE(endOfText.ok);

    // Three loops, closed by NEXT K, J, I on a line of its own.
    TProgram threeOk("10 FOR I=1 TO 2\n20 FOR J=1 TO 2\n30 FOR K=1 TO 2\n40 NEXT K, J, I\n50 X=1\n");
    ASSERT_FALSE(threeOk.HasError()) << threeOk.alerts.Last();
    EXPECT_EQ(threeOk.mid.LabelMap.size(), 9u);
}

TEST(CompilerForTest, NextInsideIfClosesTheLoop)
{
    TProgram p("10 FOR I=1 TO 3: IF I=2 THEN NEXT\n20 X=1\n");
    ASSERT_FALSE(p.HasError()) << p.alerts.Last();
    EXPECT_EQ(p.Listing(), "vcBLineBegin 10\n" + ForHeader(M, "I!", Int(1), Int(3), Int(1)) +
                               "vcBPushString \"@L4\"\n" + Load("I!") + Int(2) + "vcBEqualFloat\nvcBFJmp\n@L4:\n" +
                               kLoopBack + "vcBLineBegin 20\n" + Assign("X!", Int(1)) + "vcBExit\n");

    // Both branches reach the loop-back jump.
    TProgram both("10 FOR I=1 TO 3: IF I=2 THEN X=0 ELSE X=I: NEXT\n");
    ASSERT_FALSE(both.HasError()) << both.alerts.Last();
    const std::string listing = both.Listing();
    EXPECT_NE(listing.find(Assign("X!", Load("I!")) + "@L5:\n" + kLoopBack), std::string::npos) << listing;
}

TEST(CompilerForTest, Errors)
{
    const TErrorCase cases[] = {
        {"10 FOR I=1\n", "@Compile_Err_For_Without_To@", "10"},
        {"10 FOR I=1 STEP 2 TO 3\n", "@Compile_Err_For_Without_To@", "10"},
        {"10 FOR I=1 TO 3\n20 X=1\n30 Y=2\n", "@Compile_Err_For_Without_Next@", "30"},
        {"10 FOR I=1 TO 2: NEXT I, J\n", "@Compile_Err_Next_Without_For@", "10"},
        {"10 X=1\n20 NEXT\n", "@Compile_Err_Next_Without_For@", "20"},
        {"10 FOR I=1 TO 2\n20 WEND\n", "@Compile_Err_For_Without_Next@", "20"},
        {"10 FOR 5 TO 9: NEXT\n", "@Compile_Err_Syntax_Err@", "10"},
        {"10 FOR =1 TO 3: NEXT\n", "@Compile_Err_Syntax_Err@", "10"},
        {"10 FOR I TO 10: NEXT\n", "@Compile_Err_No_Equal@", "10"},
        {"10 FOR I= TO 10: NEXT\n", "@Compile_Err_Missing_Operand@", "10"},
        {"10 FOR I=1 TO\n20 NEXT\n", "@Compile_Err_Missing_Operand@", "10"},
        {"10 FOR I=1 TO 3 STEP\n20 NEXT\n", "@Compile_Err_Missing_Operand@", "10"},
        {"10 FOR A$=\"A\" TO \"Z\": NEXT\n", "@Compile_Err_Type_Mismatch_Calc@", "10"},
        {"10 FOR I=\"A\" TO 3: NEXT\n", "@Compile_Err_Type_Mismatch_Assign@", "10"},
        {"10 FOR I=1 TO \"Z\": NEXT\n", "@Compile_Err_Type_Mismatch_Calc@", "10"},
        {"10 FOR I=1 TO 3 STEP A$: NEXT\n", "@Compile_Err_Type_Mismatch_Calc@", "10"},
        {"10 FOR I=1 TO 3 5\n20 NEXT\n", "@Compile_Err_Syntax_Err@", "10"},
    };
    ExpectErrors(cases, std::size(cases));
}

// ---- WHILE ----------------------------------------------------------------

TEST(CompilerWhileTest, LoopOverThreeLines)
{
    TProgram p("10 WHILE I < 3\n20 I = I + 1\n30 WEND\n40 X = I\n");
    ASSERT_FALSE(p.HasError()) << p.alerts.Last();
    EXPECT_EQ(p.Listing(), "vcBLineBegin 10\n@L1:\nvcBPushString \"@L2\"\n" + Load("I!") + Int(3) +
                               "vcBLtFloat\nvcBFJmp\nvcBLineBegin 20\n" +
                               Assign("I!", Load("I!") + Int(1) + "vcBAddFloat\n") +
                               "vcBLineBegin 30\nvcBPushString \"@L1\"\nvcBJmp\n@L2:\nvcBLineBegin 40\n" +
                               Assign("X!", Load("I!")) + "vcBExit\n");
    EXPECT_EQ(p.mid.StatementBeginSet, (std::set<int32_t>{2, 9, 17, 20}));

    // On one line: the same codes without the line beginnings of lines 20 to 40.
    TProgram oneLine("10 WHILE I < 3: I = I + 1: WEND: X = I\n");
    ASSERT_FALSE(oneLine.HasError()) << oneLine.alerts.Last();
    std::string expected = p.Listing();
    for (const char* line : {"vcBLineBegin 20\n", "vcBLineBegin 30\n", "vcBLineBegin 40\n"})
        expected.erase(expected.find(line), std::string(line).size());
    EXPECT_EQ(oneLine.Listing(), expected);
}

TEST(CompilerWhileTest, EmptyBodyAndNesting)
{
    TProgram empty("10 WHILE X: WEND\n");
    ASSERT_FALSE(empty.HasError()) << empty.alerts.Last();
    EXPECT_EQ(empty.Listing(), "vcBLineBegin 10\n@L1:\nvcBPushString \"@L2\"\n" + Load("X!") +
                                   "vcBFJmp\nvcBPushString \"@L1\"\nvcBJmp\n@L2:\nvcBExit\n");

    // "=" compares.
    TProgram compare("10 WHILE A = 1: WEND\n");
    ASSERT_FALSE(compare.HasError()) << compare.alerts.Last();
    EXPECT_NE(compare.Listing().find("vcBEqualFloat\nvcBFJmp\n"), std::string::npos);

    const std::string outer = "vcBLineBegin 10\n@L1:\nvcBPushString \"@L2\"\n" + Load("A!") + "vcBFJmp\n";
    const std::string inner = "@L3:\nvcBPushString \"@L4\"\n" + Load("B!") + "vcBFJmp\n";
    TProgram lines("10 WHILE A\n20 WHILE B\n30 WEND\n40 WEND\n");
    ASSERT_FALSE(lines.HasError()) << lines.alerts.Last();
    EXPECT_EQ(lines.Listing(), outer + "vcBLineBegin 20\n" + inner +
                                   "vcBLineBegin 30\nvcBPushString \"@L3\"\nvcBJmp\n@L4:\nvcBLineBegin 40\n"
                                   "vcBPushString \"@L1\"\nvcBJmp\n@L2:\nvcBExit\n");

    // Two WENDs on one line close both loops the same way.
    TProgram twoWends("10 WHILE A\n20 WHILE B\n30 WEND: WEND\n");
    ASSERT_FALSE(twoWends.HasError()) << twoWends.alerts.Last();
    EXPECT_EQ(twoWends.Listing(), outer + "vcBLineBegin 20\n" + inner +
                                      "vcBLineBegin 30\nvcBPushString \"@L3\"\nvcBJmp\n@L4:\n"
                                      "vcBPushString \"@L1\"\nvcBJmp\n@L2:\nvcBExit\n");
}

TEST(CompilerWhileTest, Errors)
{
    const TErrorCase cases[] = {
        {"10 WHILE X\n20 Y=1\n", "@Compile_Err_While_Without_Wend@", "20"},
        {"10 WHILE X\n20 NEXT\n30 WEND\n", "@Compile_Err_While_Without_Wend@", "20"},
        {"10 X=1\n20 WEND\n", "@Compile_Err_Wend_Without_While@", "20"},
        {"10 WHILE X\n20 FOR I=1 TO 2\n30 WEND\n", "@Compile_Err_For_Without_Next@", "30"},
        {"10 WHILE: WEND\n", "@Compile_Err_Missing_Operand@", "10"},
        {"10 WHILE A$: WEND\n", "@Compile_Err_Type_Mismatch_Calc@", "10"},
    };
    ExpectErrors(cases, std::size(cases));
}

TEST(CompilerWhileTest, LabelNumbersAreNeverReused)
{
    TProgram first("10 WHILE X: WEND\n");
    TProgram second("10 WHILE X: WEND\n");
    std::set<std::string> labels;
    for (const auto& [label, index] : first.mid.LabelMap) labels.insert(label);
    for (const auto& [label, index] : second.mid.LabelMap) EXPECT_EQ(labels.count(label), 0u) << label;
}

}  // namespace

namespace {

// Blocks nest by recursion; too deep a nesting is a compile error, not a
// stack overflow.
TEST(CompilerBlocksDepthTest, DeepNestingIsAnError)
{
    std::string fors = "10 ";
    std::string ifs = "10 ";
    std::string whiles = "10 ";
    for (int i = 0; i < 1000; ++i) {
        fors += "FOR I=1 TO 2:";
        ifs += "IF 1 THEN ";
        whiles += "WHILE 1:";
    }
    for (const std::string& text : {fors, ifs + "X=1", whiles}) {
        TProgram p(text + "\n");
        EXPECT_FALSE(p.ok);
        EXPECT_EQ(p.Error().message, "@Compile_Err_Syntax_Err@") << text.substr(0, 20);
    }

    // Within the limit, a nesting compiles.
    std::string fine = "10 ";
    for (int i = 0; i < 40; ++i) fine += "FOR I=1 TO 2: WHILE 1: IF 1 THEN ";
    fine += "X=1\n20 ";
    for (int i = 0; i < 40; ++i) fine += "WEND: NEXT: ";
    TProgram p(fine + "\n");
    EXPECT_FALSE(p.HasError()) << p.alerts.Last();
}

}  // namespace
