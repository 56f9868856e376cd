// GET@, PUT@ (and GET/PUT), ROLL, PLAY and PLAY ALLOC.

#include "CompilerStmtTestSupport.h"

#include "language/VMCodeCmd.h"

#include <gtest/gtest.h>

using namespace compiler_stmt_test;

namespace {

std::string I(long v)
{
    return "vcBPushInt " + std::to_string(v) + "\n";
}
std::string Load(const char* name)
{
    return R + "vcBLoadArray " + name + "\n";
}
std::string Ref(const char* name)
{
    return R + "vcBPushVar " + name + "\n";
}
const std::string A = "vcBPushAbbrev\n";

TEST(CompilerStmtImageRollPlayTest, GetAt)
{
    const TCase cases[] = {
        {"GET@(0,0)-(31,15),A", I(0) + I(0) + I(31) + I(15) + Ref("A!") + "vcGetAt false\n"},
        {"GET (10,10)-STEP(16,16),B(3)", I(10) + I(10) + I(16) + I(16) + R + I(3) + "vcBPushVar B!\nvcGetAt true\n"},
        {"GET@(,0)-(9,9),A%", A + I(0) + I(9) + I(9) + Ref("A%") + "vcGetAt false\n"},
        {"GET@(A$,0)-(9,9),A", Load("A$") + I(0) + I(9) + I(9) + Ref("A!") + "vcGetAt false\n"},
        {"GET #1,5", ""},
        {"PUT #1,5", ""},
        {"GET", ""},
        {"PUT", ""},
        {"GET STEP(0,0)-(9,9),A", ""},
        {"GET@ STEP(0,0)-(9,9),A", "error @Compile_Err_No_LPar@"},
        {"GET@(0,0,0)-(9,9),A", "error @Compile_Err_Ill_Func_Call@"},
        {"GET@(0,0)-(9,9,9),A", "error @Compile_Err_Ill_Func_Call@"},
        {"GET@(0,0)(9,9),A", "error @Compile_Err_No_Minus@"},
        {"GET@(0,0)-9,A", "error @Compile_Err_Syntax_Err@"},
        {"GET@(0,0)-(9,9)", "error @Compile_Err_No_Comma@"},
        {"GET@(0,0)-(9,9),A$", "error @Compile_Err_Type_Mismatch_Arg@"},
        {"GET@(0,0)-(9,9),1", "error @Compile_Err_Syntax_Err@"},
        {"GET@(0,0)-(9,9", "error @Compile_Err_No_RPar@"},
    };
    for (const TCase& c : cases) EXPECT_EQ(Compiled(c.source), c.expected) << c.source;
}

TEST(CompilerStmtImageRollPlayTest, PutAt)
{
    const TCase cases[] = {
        {"PUT@(100,50),A", I(100) + I(50) + Ref("A!") + "vcPutAtProc1 0\n"},
        {"PUT@(100,50),A,PSET", I(100) + I(50) + Ref("A!") + I(0) + "vcPutAtProc1 1\n"},
        {"PUT (100,50),A,OR,3,4", I(100) + I(50) + Ref("A!") + I(2) + I(3) + I(4) + "vcPutAtProc1 3\n"},
        {"PUT@(0,0),KANJI(C),,7", I(0) + I(0) + Load("C!") + I(4) + I(7) + "vcPutAtProc2 2\n"},
        {"PUT@(0,0),A,,,5", I(0) + I(0) + Ref("A!") + I(4) + A + I(5) + "vcPutAtProc1 3\n"},
        {"PUT@(0,0),A,,", I(0) + I(0) + Ref("A!") + I(4) + "vcPutAtProc1 1\n"},
        {"PUT@(0,0),A,pset", I(0) + I(0) + Ref("A!") + I(0) + "vcPutAtProc1 1\n"},
        {"PUT@(0,0),A,PRESET", I(0) + I(0) + Ref("A!") + I(1) + "vcPutAtProc1 1\n"},
        {"PUT@(0,0),A,AND", I(0) + I(0) + Ref("A!") + I(3) + "vcPutAtProc1 1\n"},
        {"PUT@(0,0),A,XOR", I(0) + I(0) + Ref("A!") + I(4) + "vcPutAtProc1 1\n"},
        {"PUT@(0,0),A,PSET,,5", I(0) + I(0) + Ref("A!") + I(0) + A + I(5) + "vcPutAtProc1 3\n"},
        {"PUT@(0,0),kanji(5)", I(0) + I(0) + I(5) + "vcPutAtProc2 0\n"},
        {"PUT@(0,0),A:PRINT", I(0) + I(0) + Ref("A!") + "vcPutAtProc1 0\nvcPrint true\nvcBUpdateScreen\n"},
        {"PUT@(0,0),A,", "error @Compile_Err_Syntax_Err@"},
        {"PUT@(0,0),A,5", "error @Compile_Err_Syntax_Err@"},
        {"PUT@(0,0),A,FOO", "error @Compile_Err_Syntax_Err@"},
        {"PUT@(0,0),A,\"PSET\"", "error @Compile_Err_Syntax_Err@"},
        {"PUT@(0,0),A,PSET,1,2,3", "error @Compile_Err_Ill_Func_Call@"},
        {"PUT@(0,0),KANJI", "error @Compile_Err_No_LPar@"},
        {"PUT@(0,0),KANJI(5", "error @Compile_Err_No_RPar@"},
        {"PUT@(0,0),KANJI(A$)", "error @Compile_Err_Type_Mismatch_Arg@"},
        {"PUT@(0,0),KANJI()", "error @Compile_Err_Missing_Operand@"},
        {"PUT@(0,0),A$", "error @Compile_Err_Type_Mismatch_Arg@"},
        {"PUT@ STEP(0,0),A", "error @Compile_Err_No_LPar@"},
        {"PUT@(0,0) A", "error @Compile_Err_No_Comma@"},
        {"PUT@(0,0),A B", "error @Compile_Err_No_Comma@"},
        {"PUT@(0,0,0),A", "error @Compile_Err_Ill_Func_Call@"},
        // A value after the mode without its comma is refused, not dropped.
        {"PUT@ (0,0),A,PSET 5", "error @Compile_Err_Syntax_Err@"},
    };
    for (const TCase& c : cases) EXPECT_EQ(Compiled(c.source), c.expected) << c.source;
}

TEST(CompilerStmtImageRollPlayTest, Roll)
{
    const TCase cases[] = {
        {"ROLL 8", I(8) + "vcRoll 1\n"},
        {"ROLL ,-4", A + I(4) + "vcBNegaInt\nvcRoll 2\n"},
        {"ROLL 8,", I(8) + A + "vcRoll 2\n"},
        {"ROLL 8,,Y", I(8) + A + I(89) + "vcRoll 3\n"},
        {"ROLL ,,N", A + A + I(78) + "vcRoll 3\n"},
        {"ROLL ,", A + A + "vcRoll 2\n"},
        {"ROLL 8,8,y", I(8) + I(8) + I(89) + "vcRoll 3\n"},
        {"ROLL 8,8:PRINT", I(8) + I(8) + "vcRoll 2\nvcPrint true\nvcBUpdateScreen\n"},
        {"ROLL", "error @Compile_Err_Ill_Func_Call@"},
        {"ROLL:PRINT", "error @Compile_Err_Ill_Func_Call@"},
        {"ROLL 8,8,", "error @Compile_Err_Ill_Func_Call@"},
        {"ROLL 8,,", "error @Compile_Err_Ill_Func_Call@"},
        {"ROLL 8,8,\"Y\"", "error @Compile_Err_Ill_Func_Call@"},
        {"ROLL 8,8,YES", "error @Compile_Err_Ill_Func_Call@"},
        {"ROLL 8,8,Y,1", "error @Compile_Err_Ill_Func_Call@"},
        {"ROLL 8 9", "error @Compile_Err_No_Comma@"},
        {"ROLL 8,8 9", "error @Compile_Err_No_Comma@"},
        {"ROLL A$", "error @Compile_Err_Type_Mismatch_Arg@"},
        {"ROLL 1,A$", "error @Compile_Err_Type_Mismatch_Arg@"},
        {"ROLL )", "error @Compile_Err_No_Comma@"},
    };
    for (const TCase& c : cases) EXPECT_EQ(Compiled(c.source), c.expected) << c.source;
}

TEST(CompilerStmtImageRollPlayTest, Play)
{
    const TCase cases[] = {
        {"PLAY M$", Load("M$") + "vcPlay 1\n"},
        {"PLAY A$,B$,C$", Load("A$") + Load("B$") + Load("C$") + "vcPlay 3\n"},
        {"PLAY ,B$", A + Load("B$") + "vcPlay 2\n"},
        {"PLAY A$,", Load("A$") + "vcPlay 1\n"},
        {"PLAY", "vcPlay 0\n"},
        {"PLAY 5", I(5) + "vcPlay 1\n"},
        {"PLAY 1,2,3,4,5,6", I(1) + I(2) + I(3) + I(4) + I(5) + I(6) + "vcPlay 6\n"},
        {"PLAY #2, A$", Load("A$") + "vcPlay 1\n"},
        {"PLAY #2", "vcPlay 0\n"},
        {"PLAY #2:BEEP", "vcPlay 0\nvcBeep false\n"},
        {"play on", I(0x40000) + I(2) + "vcSetIrState 0\n"},
        {"PLAY OFF", I(0x40000) + I(0) + "vcSetIrState 0\n"},
        {"PLAY STOP", I(0x40000) + I(1) + "vcSetIrState 0\n"},
        {"PLAY ALLOC", "vcPlayAlloc 0\n"},
        {"PLAY ALLOC 1,2,3", I(1) + I(2) + I(3) + "vcPlayAlloc 3\n"},
        {"PLAY 1,2,3,4,5,6,7", "error @Compile_Err_Ill_Func_Call@"},
        {"PLAY ALLOC 1,2,3,4,5,6,7", "error @Compile_Err_Ill_Func_Call@"},
        {"PLAY A$)", "error @Compile_Err_Syntax_Err@"},
        {"PLAY ON 1", "error @Compile_Err_Syntax_Err@"},
    };
    for (const TCase& c : cases) EXPECT_EQ(Compiled(c.source), c.expected) << c.source;
}

// The machine takes PLAY ALLOC's values off its stack by the record's count.
TEST(CompilerStmtImageRollPlayTest, PlayAllocCarriesItsCount)
{
    EXPECT_EQ(VMOperandKind(vcPlayAlloc), TVMOperandKind::Long);
}

}  // namespace
