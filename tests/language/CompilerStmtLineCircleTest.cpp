// LINE and CIRCLE: the flagged points, the optional values and their count,
// the record chosen by B/BF, F and the angles.

#include "CompilerStmtTestSupport.h"

#include <gtest/gtest.h>

using namespace compiler_stmt_test;

namespace {

std::string I(long v)
{
    return "vcBPushInt " + std::to_string(v) + "\n";
}
const std::string A = "vcBPushAbbrev\n";
const std::string T = "vcBPushBool true\n";
const std::string F = "vcBPushBool false\n";
// A point without STEP: the flag and the two coordinates.
std::string P(long x, long y)
{
    return F + I(x) + I(y);
}

TEST(CompilerStmtLineCircleTest, Line)
{
    const TCase cases[] = {
        {"LINE (0,0)-(100,50)", P(0, 0) + P(100, 50) + "vcLine 0\n"},
        {"LINE -STEP(10,10),5,BF", A + T + I(10) + I(10) + I(5) + "vcFillRect 1\n"},
        {"LINE (0,0)-(9,9),,B,2", P(0, 0) + P(9, 9) + A + I(2) + "vcStrokeRect 2\n"},
        {"LINE (0,0)-(9,9),1,,3", P(0, 0) + P(9, 9) + I(1) + I(3) + "vcLine 2\n"},
        {"LINE -(10,10)", A + P(10, 10) + "vcLine 0\n"},
        {"LINE STEP(1,2)-STEP(3,4)", T + I(1) + I(2) + T + I(3) + I(4) + "vcLine 0\n"},
        {"LINE (0,0)-(1,1),,B", P(0, 0) + P(1, 1) + A + "vcStrokeRect 1\n"},
        {"LINE (0,0)-(1,1),,,5", P(0, 0) + P(1, 1) + A + I(5) + "vcLine 2\n"},
        {"LINE (0,0)-(1,1),1,BOX", P(0, 0) + P(1, 1) + I(1) + "vcStrokeRect 1\n"},
        {"LINE (0,0)-(1,1),1,BFX", P(0, 0) + P(1, 1) + I(1) + "vcFillRect 1\n"},
        {"line (0,0)-(1,1),1,bf", P(0, 0) + P(1, 1) + I(1) + "vcFillRect 1\n"},
        {"LINE (0,0)-(1,1),1,B,S$", P(0, 0) + P(1, 1) + I(1) + R + "vcBLoadArray S$\nvcStrokeRect 2\n"},
        {"LINE (0,0)-(1,1):PRINT", P(0, 0) + P(1, 1) + "vcLine 0\nvcPrint true\nvcBUpdateScreen\n"},
    };
    for (const TCase& c : cases) EXPECT_EQ(Compiled(c.source), c.expected) << c.source;
}

// LINE INPUT is the INPUT generator's: no point, no LINE record.
TEST(CompilerStmtLineCircleTest, LineInputIsHandedOver)
{
    const TStatement s("LINE INPUT A$");
    ASSERT_EQ(s.error, "");
    EXPECT_EQ(s.listing.find("vcBPushBool"), std::string::npos) << s.listing;
    EXPECT_EQ(s.listing.find("vcLine "), std::string::npos) << s.listing;
    EXPECT_NE(s.listing.find("vcLineInput"), std::string::npos) << s.listing;
}

TEST(CompilerStmtLineCircleTest, LineErrors)
{
    const TCase cases[] = {
        {"LINE", "@Compile_Err_Syntax_Err@"},
        {"LINE 1", "@Compile_Err_Syntax_Err@"},
        {"LINE STEP -(1,1)", "@Compile_Err_No_LPar@"},
        {"LINE (0,0)-STEP 1", "@Compile_Err_No_LPar@"},
        {"LINE (0,0)(1,1)", "@Compile_Err_No_Minus@"},
        {"LINE (0,0)-1,1", "@Compile_Err_Syntax_Err@"},
        {"LINE (0,0,0)-(1,1)", "@Compile_Err_Ill_Func_Call@"},
        {"LINE (0)-(1,1)", "@Compile_Err_Ill_Func_Call@"},
        {"LINE (0,0)-(1,1", "@Compile_Err_No_RPar@"},
        {"LINE (0,0)-(1,1),", "@Compile_Err_Syntax_Err@"},
        {"LINE (0,0)-(1,1),1,", "@Compile_Err_Syntax_Err@"},
        {"LINE (0,0)-(1,1),1,B,", "@Compile_Err_Syntax_Err@"},
        {"LINE (0,0)-(1,1),1,B,,", "@Compile_Err_Syntax_Err@"},
        {"LINE (0,0)-(1,1) 5", "@Compile_Err_No_Comma@"},
        {"LINE (0,0)-(1,1),1 B", "@Compile_Err_No_Comma@"},
        {"LINE (0,0)-(1,1),1,B 2", "@Compile_Err_No_Comma@"},
        {"LINE (0,0)-(1,1),1,X", "@Compile_Err_Syntax_Err@"},
        {"LINE (0,0)-(1,1),1,2", "@Compile_Err_Syntax_Err@"},
        {"LINE (0,0)-(1,1),1,\"B\"", "@Compile_Err_Syntax_Err@"},
        {"LINE (0,0)-(1,1),A$", "@Compile_Err_Type_Mismatch_Arg@"},
        {"LINE (0,0)-(1,1),1,B,2,3", "@Compile_Err_Ill_Func_Call@"},
        {"LINE INPUT# 1,A$", "@Compile_Err_Syntax_Err@"},
    };
    for (const TCase& c : cases) EXPECT_EQ(Error(c.source), c.expected) << c.source;
}

TEST(CompilerStmtLineCircleTest, Circle)
{
    const TCase cases[] = {
        {"CIRCLE (100,100),50", P(100, 100) + I(50) + "vcStrokeEllipse 0\n"},
        {"CIRCLE STEP(0,0),30,2,0,3.14", T + I(0) + I(0) + I(30) + I(2) + I(0) + "vcBPushFloat 3.14\nvcStrokeArc 3\n"},
        {"CIRCLE (50,50),20,,,,0.5", P(50, 50) + I(20) + A + A + A + "vcBPushFloat 0.5\nvcStrokeEllipse 4\n"},
        {"CIRCLE (50,50),20,1,,,,F,3", P(50, 50) + I(20) + I(1) + A + A + A + I(3) + "vcFillEllipse 5\n"},
        {"CIRCLE (0,0),5,1,,,0.5", P(0, 0) + I(5) + I(1) + A + A + "vcBPushFloat 0.5\nvcStrokeEllipse 4\n"},
        {"CIRCLE (0,0),5,1,0", P(0, 0) + I(5) + I(1) + I(0) + "vcStrokeArc 2\n"},
        {"CIRCLE (0,0),5,1,,1", P(0, 0) + I(5) + I(1) + A + I(1) + "vcStrokeArc 3\n"},
        // F in the start position is the variable F.
        {"CIRCLE (0,0),5,1,F", P(0, 0) + I(5) + I(1) + R + "vcBLoadArray F!\nvcStrokeArc 2\n"},
        {"CIRCLE (0,0),5,1,,,,F", P(0, 0) + I(5) + I(1) + A + A + A + "vcFillEllipse 4\n"},
        {"circle (0,0),5,1,2,3,,f", P(0, 0) + I(5) + I(1) + I(2) + I(3) + A + "vcFillArc 4\n"},
        {"CIRCLE (0,0),5,1,,,,,2", P(0, 0) + I(5) + I(1) + A + A + A + I(2) + "vcStrokeEllipse 5\n"},
        {"CIRCLE (0,0),5,1,,,,F,S$", P(0, 0) + I(5) + I(1) + A + A + A + R + "vcBLoadArray S$\nvcFillEllipse 5\n"},
    };
    for (const TCase& c : cases) EXPECT_EQ(Compiled(c.source), c.expected) << c.source;
}

TEST(CompilerStmtLineCircleTest, CircleErrors)
{
    const TCase cases[] = {
        {"CIRCLE", "@Compile_Err_Syntax_Err@"},
        {"CIRCLE -(1,1)", "@Compile_Err_Syntax_Err@"},
        {"CIRCLE STEP 1", "@Compile_Err_No_LPar@"},
        {"CIRCLE (10,10)", "@Compile_Err_No_Comma@"},
        {"CIRCLE (10)", "@Compile_Err_Ill_Func_Call@"},
        {"CIRCLE (10,10,10),5", "@Compile_Err_Ill_Func_Call@"},
        {"CIRCLE (10,10,5", "@Compile_Err_Ill_Func_Call@"},
        {"CIRCLE (10,10", "@Compile_Err_No_RPar@"},
        {"CIRCLE (10,10),5,", "@Compile_Err_Syntax_Err@"},
        {"CIRCLE (10,10),5,1,2,3,4,", "@Compile_Err_Syntax_Err@"},
        {"CIRCLE (10,10),5,1,2,3,4,F,", "@Compile_Err_Syntax_Err@"},
        {"CIRCLE (10,10),5,1,2,3,4,F,,", "@Compile_Err_Syntax_Err@"},
        {"CIRCLE (10,10),R$", "@Compile_Err_Type_Mismatch_Arg@"},
        {"CIRCLE (10,10),5,C$", "@Compile_Err_Type_Mismatch_Arg@"},
        {"CIRCLE (10,10),5 6", "@Compile_Err_No_Comma@"},
        {"CIRCLE (0,0),5,1,,,,FF", "@Compile_Err_Syntax_Err@"},
        {"CIRCLE (0,0),5,1,,,,1", "@Compile_Err_Syntax_Err@"},
        {"CIRCLE (0,0),5,1,,,,F 2", "@Compile_Err_No_Comma@"},
        {"CIRCLE (0,0),5,1,,,,F,2,3", "@Compile_Err_Ill_Func_Call@"},
        // The radius is due: an empty one would leave the record short of a value.
        {"CIRCLE (0,0),,5", "@Compile_Err_Missing_Operand@"},
        {"CIRCLE (0,0),", "@Compile_Err_Missing_Operand@"},
    };
    for (const TCase& c : cases) EXPECT_EQ(Error(c.source), c.expected) << c.source;
}

}  // namespace
