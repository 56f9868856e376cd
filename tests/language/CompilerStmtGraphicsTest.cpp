// PSET, PRESET, POINT, PAINT, COLOR, COLOR@, SCREEN and CLS.

#include "CompilerStmtTestSupport.h"

#include <gtest/gtest.h>

using namespace compiler_stmt_test;

namespace {

std::string I(long v)
{
    return "vcBPushInt " + std::to_string(v) + "\n";
}
const std::string A = "vcBPushAbbrev\n";

TEST(CompilerStmtGraphicsTest, Points)
{
    const TCase cases[] = {
        {"PSET (10,20)", I(10) + I(20) + A + "vcPSet false\n"},
        {"PSET STEP (10,20),3", I(10) + I(20) + I(3) + "vcPSet true\n"},
        {"pset step(1,2)", I(1) + I(2) + A + "vcPSet true\n"},
        {"PSET (10,20),", I(10) + I(20) + A + "vcPSet false\n"},
        {"PSET (10,20),,", I(10) + I(20) + A + "vcPSet false\n"},
        {"PSET (1.5,2.5)", "vcBPushFloat 1.5\nvcBPushFloat 2.5\n" + A + "vcPSet false\n"},
        {"PRESET (10,20),5", I(10) + I(20) + I(5) + "vcPSet false\n"},
        {"PRESET STEP (1,1)", I(1) + I(1) + "vcPReset true\n"},
        {"POINT (1,2)", I(1) + I(2) + "vcPointProc false\n"},
        {"POINT STEP (1,2):PRINT", I(1) + I(2) + "vcPointProc true\nvcPrint true\nvcBUpdateScreen\n"},
        {"PAINT (1,2)", I(1) + I(2) + A + A + "vcPaint false\n"},
        {"PAINT (1,2),3", I(1) + I(2) + I(3) + A + "vcPaint false\n"},
        {"PAINT (1,2),,4", I(1) + I(2) + A + I(4) + "vcPaint false\n"},
        {"PAINT STEP (1,2),3,4", I(1) + I(2) + I(3) + I(4) + "vcPaint true\n"},
        {"PAINT (1,2),P$", I(1) + I(2) + R + "vcBLoadArray P$\n" + A + "vcPaint false\n"},
    };
    for (const TCase& c : cases) EXPECT_EQ(Compiled(c.source), c.expected) << c.source;
}

TEST(CompilerStmtGraphicsTest, PointErrors)
{
    const TCase cases[] = {
        {"PSET", "@Compile_Err_Missing_Operand@"},
        {"POINT", "@Compile_Err_Missing_Operand@"},
        {"PSET (10,20", "@Compile_Err_Missing_Operand@"},
        {"PRESET (10,20", "@Compile_Err_Missing_Operand@"},
        {"POINT (10,20", "@Compile_Err_Missing_Operand@"},
        {"PAINT (10,20", "@Compile_Err_Missing_Operand@"},
        {"PSET 10,20", "@Compile_Err_Type_Mismatch_Arg@"},
        {"PSET (A$,1)", "@Compile_Err_Type_Mismatch_Arg@"},
        {"PSET (10)", "@Compile_Err_Syntax_Err@"},
        {"PSET (1,2,3)", "@Compile_Err_Type_Mismatch_Arg@"},
        {"PSET (1,2),3,4", "@Compile_Err_Too_Many_Operand@"},
        {"PSET (1,2),\"A\"", "@Compile_Err_Type_Mismatch_Arg@"},
        {"PSET (1,2) STEP", "@Compile_Err_Syntax_Err@"},
        {"PRESET (1,2),,3", "@Compile_Err_Missing_Operand@"},
        {"POINT (1,2),3", "@Compile_Err_Too_Many_Operand@"},
        {"PAINT (1,2),1,P$", "@Compile_Err_Type_Mismatch_Arg@"},
        {"PAINT (1,2),1,2,3", "@Compile_Err_Too_Many_Operand@"},
    };
    for (const TCase& c : cases) EXPECT_EQ(Error(c.source), c.expected) << c.source;
}

TEST(CompilerStmtGraphicsTest, Colours)
{
    const TCase cases[] = {
        {"COLOR", "vcInitColorPalette\n"},
        {"COLOR:PRINT", "vcInitColorPalette\nvcPrint true\nvcBUpdateScreen\n"},
        {"COLOR 7", I(7) + "vcColorProc1 1\n"},
        {"COLOR ,,,,1", A + A + A + A + I(1) + "vcColorProc1 5\n"},
        {"COLOR 1,", I(1) + "vcColorProc1 1\n"},
        {"COLOR 1,2,3,4,5", I(1) + I(2) + I(3) + I(4) + I(5) + "vcColorProc1 5\n"},
        {"COLOR A$", R + "vcBLoadArray A$\nvcColorProc1 1\n"},
        {"COLOR=(3,7)", I(3) + I(7) + "vcColorProc2\n"},
        {"COLOR = (,7)", A + I(7) + "vcColorProc2\n"},
        {"COLOR@ (0,0)-(79,24)", I(0) + I(0) + I(79) + I(24) + "vcColorAt false\n"},
        {"COLOR@ (0,0)-(79,24),7", I(0) + I(0) + I(79) + I(24) + I(7) + "vcColorAt true\n"},
        {"COLOR 1,2,3,4,5,6", "error @Compile_Err_Ill_Func_Call@"},
        {"COLOR=(3)", "error @Compile_Err_Ill_Func_Call@"},
        {"COLOR=(1,2,3)", "error @Compile_Err_Ill_Func_Call@"},
        {"COLOR=3,7", "error @Compile_Err_No_LPar@"},
        {"COLOR=(3,7", "error @Compile_Err_No_RPar@"},
        {"COLOR 1)", "error @Compile_Err_Syntax_Err@"},
        {"COLOR@ (0,0)", "error @Compile_Err_Missing_Operand@"},
        {"COLOR@ (0,0)(1,1)", "error @Compile_Err_No_RPar@"},  // read as the expression (1,1)
        {"COLOR@ (0,0) 5", "error @Compile_Err_Type_Mismatch_Arg@"},
        {"COLOR@ (0,0)-(1,1),\"A\"", "error @Compile_Err_Type_Mismatch_Arg@"},
        {"COLOR@ (0,0)-(1,1),2,3", "error @Compile_Err_Too_Many_Operand@"},
    };
    for (const TCase& c : cases) EXPECT_EQ(Compiled(c.source), c.expected) << c.source;
}

// COLOR 1) appends its record before the line compiler refuses the ")".
TEST(CompilerStmtGraphicsTest, ColourListStopsAtParenthesis)
{
    const TStatement s("COLOR 1)");
    EXPECT_EQ(ListCodes(s.program.mid.Codes, 2), I(1) + "vcColorProc1 1\n");
}

TEST(CompilerStmtGraphicsTest, ScreenAndCls)
{
    const TCase cases[] = {
        {"SCREEN 3", I(3) + "vcScreen 1\n"},
        {"SCREEN ,", A + "vcScreen 1\n"},
        {"SCREEN ,,1", A + A + I(1) + "vcScreen 3\n"},
        {"SCREEN 1,2,3,4", I(1) + I(2) + I(3) + I(4) + "vcScreen 4\n"},
        {"CLS", "vcCls 0\n"},
        {"CLS 2", I(2) + "vcCls 1\n"},
        {"CLS ,", A + "vcCls 1\n"},
        {"SCREEN", "error @Compile_Err_Missing_Operand@"},
        {"SCREEN 1,2,3,4,5", "error @Compile_Err_Too_Many_Operand@"},
        {"CLS 1,2", "error @Compile_Err_Too_Many_Operand@"},
        {"CLS \"A\"", "error @Compile_Err_Type_Mismatch_Arg@"},
    };
    for (const TCase& c : cases) EXPECT_EQ(Compiled(c.source), c.expected) << c.source;
}

// ELSE ends a statement in the THEN branch.
TEST(CompilerStmtGraphicsTest, ElseEndsThePoint)
{
    const TStatement s("IF C THEN PSET (1,2) ELSE PRESET (1,2)");
    ASSERT_EQ(s.error, "");
    EXPECT_NE(s.listing.find(I(1) + I(2) + A + "vcPSet false\n"), std::string::npos) << s.listing;
    EXPECT_NE(s.listing.find(I(1) + I(2) + "vcPReset false\n"), std::string::npos) << s.listing;
}

}  // namespace
