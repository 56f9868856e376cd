// LOCATE, CONSOLE and WIDTH.

#include "CompilerStmtTestSupport.h"

#include <gtest/gtest.h>

using namespace compiler_stmt_test;
using compiler_test::TProgram;

namespace {

std::string I(long v)
{
    return "vcBPushInt " + std::to_string(v) + "\n";
}
const std::string A = "vcBPushAbbrev\n";

TEST(CompilerStmtConsoleTest, LocateAndConsole)
{
    const TCase cases[] = {
        {"LOCATE 10,5", I(10) + I(5) + "vcLocate 2\n"},
        {"LOCATE ,5", A + I(5) + "vcLocate 2\n"},
        {"LOCATE 10,5,0", I(10) + I(5) + I(0) + "vcLocate 3\n"},
        {"LOCATE 10,", I(10) + "vcLocate 1\n"},
        {"LOCATE ,,,", A + A + A + "vcLocate 3\n"},
        {"LOCATE 1.5,2:PRINT", "vcBPushFloat 1.5\n" + I(2) + "vcLocate 2\nvcPrint true\nvcBUpdateScreen\n"},
        {"CONSOLE 0,25,0,1", I(0) + I(25) + I(0) + I(1) + "vcConsole 4\n"},
        {"CONSOLE 0,25,0,1,0", I(0) + I(25) + I(0) + I(1) + I(0) + "vcConsole 5\n"},
        {"CONSOLE ,,,,1", A + A + A + A + I(1) + "vcConsole 5\n"},
        {"CONSOLE ,,,,", A + A + A + A + "vcConsole 4\n"},
        {"CONSOLE ,,,,,", A + A + A + A + A + "vcConsole 5\n"},
        {"LOCATE", "error @Compile_Err_Missing_Operand@"},
        {"LOCATE ,,,,", "error @Compile_Err_Too_Many_Operand@"},
        {"LOCATE 1,2,3,4", "error @Compile_Err_Too_Many_Operand@"},
        {"LOCATE A$", "error @Compile_Err_Type_Mismatch_Arg@"},
        {"LOCATE 1)", "error @Compile_Err_Syntax_Err@"},
        {"CONSOLE", "error @Compile_Err_Missing_Operand@"},
        {"CONSOLE 1,2,3,4,5,6", "error @Compile_Err_Too_Many_Operand@"},
        {"CONSOLE ,\"A\"", "error @Compile_Err_Type_Mismatch_Arg@"},
    };
    for (const TCase& c : cases) EXPECT_EQ(Compiled(c.source), c.expected) << c.source;
}

// Only CONSOLE with five places marks the program as written for DOS-BASIC.
TEST(CompilerStmtConsoleTest, ConsoleWithFivePlacesMarksDosBasic)
{
    EXPECT_EQ(TProgram("10 CONSOLE ,,,,\n").compatMode, TCompiler::COMPAT_DISK_BASIC);
    EXPECT_EQ(TProgram("10 CONSOLE ,,,,,\n").compatMode, TCompiler::COMPAT_DOS_BASIC);
    EXPECT_EQ(TProgram("10 CONSOLE 0,25,0,1,0\n20 CONSOLE 0,25\n").compatMode, TCompiler::COMPAT_DOS_BASIC);
    EXPECT_EQ(TProgram("10 CONSOLE 0,25,0,1,0\n", TCompiler::COMPAT_DISK_BASIC).compatMode,
              TCompiler::COMPAT_DISK_BASIC);
}

TEST(CompilerStmtConsoleTest, Width)
{
    const TCase cases[] = {
        {"WIDTH 80", I(80) + "vcWidthProc1 false\n"},
        {"WIDTH 80,25", I(80) + I(25) + "vcWidthProc1 true\n"},
        {"WIDTH 80,,", I(80) + A + "vcWidthProc1 true\n"},
        {"WIDTH 40;", I(40) + "vcWidthProc1 false\n"},
        {"WIDTH A", R + "vcBLoadArray A!\nvcWidthProc1 false\n"},
        {"DEFSTR A:WIDTH A,80", ""},
        {"WIDTH A$,80", ""},
        {"WIDTH \"LPT1:\",80", ""},
        {"WIDTH #1,80", ""},
        {"WIDTH #1,(80:PRINT", "error @Compile_Err_No_RPar@"},
        // A string function takes the screen form; its type is the machine's business.
        {"WIDTH CHR$(65)", "vcBPushInt 65\nvcChrDl\nvcWidthProc1 false\n"},
        {"WIDTH", "error @Compile_Err_Missing_Operand@"},
        {"WIDTH ,25", "error @Compile_Err_Missing_Operand@"},
        {"WIDTH 80,25,1", "error @Compile_Err_Ill_Func_Call@"},
        {"WIDTH 80,,25", "error @Compile_Err_Ill_Func_Call@"},
        {"WIDTH 80 TO 5", "error @Compile_Err_Syntax_Err@"},
    };
    for (const TCase& c : cases) EXPECT_EQ(Compiled(c.source), c.expected) << c.source;
}

}  // namespace
