// MOUSE (function form, switch, MOUSE =) and CALL MOUSE.

#include "CompilerStmtTestSupport.h"

#include <gtest/gtest.h>

using namespace compiler_stmt_test;
using compiler_test::TProgram;

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

TEST(CompilerStmtMouseTest, FunctionForm)
{
    const TCase cases[] = {
        {"MOUSE 1", I(1) + "vcMouseProc 1\n"},
        {"MOUSE 1,", I(1) + "vcMouseProc 1\n"},
        {"mouse 1", I(1) + "vcMouseProc 1\n"},
        {"MOUSE 4, X, Y", I(4) + Load("X!") + Load("Y!") + "vcMouseProc 3\n"},
        {"MOUSE 2,,5", I(2) + A + I(5) + "vcMouseProc 3\n"},
        {"MOUSE 3, X,", I(3) + Load("X!") + "vcMouseProc 2\n"},
        {"MOUSE 5, 1, 2, A$, B", I(5) + I(1) + I(2) + Load("A$") + Load("B!") + "vcMouseProc 5\n"},
        // A string passes over the numeric places to the first of any type.
        {"MOUSE 1, A$", I(1) + Load("A$") + "vcMouseProc 2\n"},
        {"MOUSE 1, A$, B$", I(1) + Load("A$") + Load("B$") + "vcMouseProc 3\n"},
        {"MOUSE 1, 2, 3, 4, 5", I(1) + I(2) + I(3) + I(4) + I(5) + "vcMouseProc 5\n"},
        {"MOUSE = 1, 2", ""},
        {"MOUSE A$", "error @Compile_Err_Type_Mismatch_Arg@"},
        {"MOUSE", "error @Compile_Err_Type_Mismatch_Arg@"},
        {"MOUSE 1 2", "error @Compile_Err_Type_Mismatch_Arg@"},
        {"MOUSE 1; 2", "error @Compile_Err_Type_Mismatch_Arg@"},
        {"MOUSE 1, A$, B$, C$", "error @Compile_Err_Too_Many_Operand@"},
        {"MOUSE 1, 2, 3, 4, 5, 6", "error @Compile_Err_Too_Many_Operand@"},
        {"MOUSE 1, 2)", "error @Compile_Err_Syntax_Err@"},
        {"MOUSE (1)", "error @Compile_Err_Syntax_Err@"},
        {"MOUSE (1) ON", I(1) + I(0x200000) + "vcBAddInt\n" + I(2) + "vcSetIrState 2097152\n"},
    };
    for (const TCase& c : cases) EXPECT_EQ(Compiled(c.source), c.expected) << c.source;
}

TEST(CompilerStmtMouseTest, CallMouse)
{
    const TCase cases[] = {
        {"CALL MOUSE(F, X, Y, L, R)", Ref("F!") + Ref("X!") + Ref("Y!") + Ref("L!") + Ref("R!") + "vcCallMouse\n"},
        {"CALL MOUSE(A(1), B, C, D, E)",
         R + I(1) + "vcBPushVar A!\n" + Ref("B!") + Ref("C!") + Ref("D!") + Ref("E!") + "vcCallMouse\n"},
        {"CALL FOO(1, 2)", ""},
        {"CALL 1234", ""},
        {"CALL", ""},
        {"CALL MOUSE(A, B, C, D)", "error @Compile_Err_Syntax_Err@"},
        {"CALL MOUSE(A, B, C, D, E, F)", "error @Compile_Err_Syntax_Err@"},
        {"CALL MOUSE(A, 1, C, D, E)", "error @Compile_Err_Syntax_Err@"},
        {"CALL MOUSE A, B, C, D, E", "error @Compile_Err_No_LPar@"},
        {"CALL MOUSE(A, B, C, D, E", "error @Compile_Err_No_RPar@"},
    };
    for (const TCase& c : cases) EXPECT_EQ(Compiled(c.source), c.expected) << c.source;
}

// Each MOUSE statement of the function form is one mark of DOS-BASIC; the
// switch and CALL MOUSE are none.
TEST(CompilerStmtMouseTest, DosBasicMarks)
{
    EXPECT_EQ(TProgram("10 MOUSE 1\n").compatMode, TCompiler::COMPAT_DOS_BASIC);
    EXPECT_EQ(TProgram("10 CALL MOUSE(A,B,C,D,E)\n20 MOUSE(1) OFF\n").compatMode, TCompiler::COMPAT_DISK_BASIC);
    EXPECT_EQ(TProgram("10 MOUSE = 3\n").compatMode, TCompiler::COMPAT_DISK_BASIC);
}

}  // namespace
