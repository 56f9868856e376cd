// OPEN, CLOSE and FILES.

#include "CompilerStmtTestSupport.h"

#include <gtest/gtest.h>

using namespace compiler_stmt_test;

namespace {

std::string I(long v)
{
    return "vcBPushInt " + std::to_string(v) + "\n";
}
const std::string F = R + "vcBLoadArray F$\n";

TEST(CompilerStmtFilesTest, Open)
{
    const TCase cases[] = {
        {"OPEN F$ FOR INPUT AS #1", F + I(1) + "vcOpen 10\n"},
        {"OPEN F$ FOR OUTPUT AS #1", F + I(1) + "vcOpen 11\n"},
        {"OPEN F$ FOR APPEND AS #1", F + I(1) + "vcOpen 12\n"},
        {"OPEN F$ AS #1", F + I(1) + "vcOpen 13\n"},
        {"open f$ for output as #2", F + I(2) + "vcOpen 11\n"},
        {"OPEN F$ AS N+1", F + R + "vcBLoadArray N!\n" + I(1) + "vcBAddFloat\nvcOpen 13\n"},
        {"OPEN \"A\" AS 1:PRINT", "vcBPushString \"A\"\n" + I(1) + "vcOpen 13\nvcPrint true\nvcBUpdateScreen\n"},
        {"OPEN 1 AS #1", "error @Compile_Err_Type_Mismatch_Arg@"},
        {"OPEN AS #1", "error @Compile_Err_Type_Mismatch_Arg@"},
        {"OPEN F$ AS G$", "error @Compile_Err_Type_Mismatch_Arg@"},
        {"OPEN F$ FOR RANDOM AS #1", "error @Compile_Err_Syntax_Err@"},
        {"OPEN F$ FOR \"INPUT\" AS #1", "error @Compile_Err_Syntax_Err@"},
        {"OPEN F$ FOR INPUT #1", "error @Compile_Err_Syntax_Err@"},
        {"OPEN M$,#1,F$", "error @Compile_Err_Syntax_Err@"},
        {"OPEN F$ AS #1 LEN=128", "error @Compile_Err_Syntax_Err@"},
        {"OPEN F$ FOR", "error @Compile_Err_Syntax_Err@"},
        // The machine takes a file number off the stack: it is due.
        {"OPEN F$ AS", "error @Compile_Err_Missing_Operand@"},
    };
    for (const TCase& c : cases) EXPECT_EQ(Compiled(c.source), c.expected) << c.source;
}

TEST(CompilerStmtFilesTest, CloseAndFiles)
{
    std::string fifteen = "CLOSE 1";
    std::string fifteenCodes = I(1);
    for (int n = 2; n <= 15; ++n) {
        fifteen += "," + std::to_string(n);
        fifteenCodes += I(n);
    }
    const TCase cases[] = {
        {"CLOSE", "vcClose 0\n"},
        {"CLOSE #1,#3", I(1) + I(3) + "vcClose 2\n"},
        {"CLOSE ,2", "vcBPushAbbrev\n" + I(2) + "vcClose 2\n"},
        {fifteen.c_str(), fifteenCodes + "vcClose 15\n"},
        {"FILES", "vcFiles false\n"},
        {"FILES 2", I(2) + "vcFiles true\n"},
        {"CLOSE A$", "error @Compile_Err_Type_Mismatch_Arg@"},
        {"FILES D$", "error @Compile_Err_Type_Mismatch_Arg@"},
        {"FILES 1,2", "error @Compile_Err_Too_Many_Operand@"},
        {"CLOSE 1)", "error @Compile_Err_Syntax_Err@"},
    };
    for (const TCase& c : cases) EXPECT_EQ(Compiled(c.source), c.expected) << c.source;
    EXPECT_EQ(Error(fifteen + ",16"), "@Compile_Err_Too_Many_Operand@");
}

}  // namespace
