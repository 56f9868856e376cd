// INPUT, LINE INPUT (through LINE) and KINPUT: prompt records, the input
// record and its count, and the errors.

#include "CompilerStmtTestSupport.h"

#include <gtest/gtest.h>

using namespace compiler_stmt_test;

namespace {

const std::string Q = "vcBPushString \"? \"\n";
const std::string P = "vcPrint false\n";
const std::string U = "vcBUpdateScreen\n";
const std::string S = "vcBPushString \"NAME\"\n";

std::string V(const std::string& name)
{
    return R + "vcBPushVar " + name + "\n";
}

TEST(CompilerStmtInputTest, Listings)
{
    const TCase cases[] = {
        {"INPUT A", Q + P + U + V("A!") + "vcInput 1\n"},
        {"INPUT \"NAME\";A,B", S + P + Q + P + U + V("A!") + V("B!") + "vcInput 2\n"},
        {"INPUT \"NAME\",A", S + P + U + V("A!") + "vcInput 1\n"},
        {"INPUT WAIT 50,A$", "vcBPushInt 50\n" + Q + P + U + V("A$") + "vcInputWait 1\n"},
        {"INPUT WAIT T,\"NAME\";N$", R + "vcBLoadArray T!\n" + S + P + Q + P + U + V("N$") + "vcInputWait 1\n"},
        {"INPUT #1,A,B$", "vcBPushInt 1\n" + V("A!") + V("B$") + "vcInputSh 2\n"},
        {"INPUT A B", Q + P + U + V("A!") + V("B!") + "vcInput 2\n"},
        {"INPUT A,", Q + P + U + V("A!") + "vcInput 1\n"},
        {"INPUT A(I)", Q + P + U + R + R + "vcBLoadArray I!\nvcBPushVar A!\n" + "vcInput 1\n"},
        {"INPUT \"A\"+\"B\";X",
         "vcBPushString \"A\"\nvcBPushString \"B\"\nvcBAddString\n" + P + Q + P + U + V("X!") + "vcInput 1\n"},
        // A string that reads WAIT is a prompt, not the word.
        {"INPUT \"WAIT\";A", "vcBPushString \"WAIT\"\n" + P + Q + P + U + V("A!") + "vcInput 1\n"},
        // The keyword INPUT# is INPUT.
        {"INPUT# A", Q + P + U + V("A!") + "vcInput 1\n"},
        {"LINE INPUT L$", Q + P + U + V("L$") + "vcLineInput\n"},
        {"LINE INPUT \"NAME\";L$", S + P + Q + P + U + V("L$") + "vcLineInput\n"},
        {"LINE INPUT \"NAME\",L$", S + P + U + V("L$") + "vcLineInput\n"},
        {"LINE INPUT WAIT 30,L$", "vcBPushInt 30\n" + Q + P + U + V("L$") + "vcLineInputWait\n"},
        {"LINE INPUT #2,L$", "vcBPushInt 2\n" + V("L$") + "vcLineInputSh\n"},
        {"KINPUT K$", V("K$") + "vcKinput\n"},
        {"INPUT A:PRINT", Q + P + U + V("A!") + "vcInput 1\nvcPrint true\n" + U},
    };
    for (const TCase& c : cases) EXPECT_EQ(Compiled(c.source), c.expected) << c.source;
}

TEST(CompilerStmtInputTest, Errors)
{
    const TCase cases[] = {
        {"INPUT", "@Compile_Err_Syntax_Err@"},
        {"INPUT \"NAME\";", "@Compile_Err_Missing_Operand@"},
        {"INPUT #1,", "@Compile_Err_Missing_Operand@"},
        {"INPUT \"NAME\" A", "@Compile_Err_Syntax_Err@"},
        {"INPUT P$;A", "@Compile_Err_Syntax_Err@"},
        {"INPUT 5", "@Compile_Err_Syntax_Err@"},
        {"INPUT WAIT 10,#1,A", "@Compile_Err_Syntax_Err@"},
        {"INPUT #1 A", "@Compile_Err_No_Comma@"},
        {"INPUT #1,\"NAME\";A", "@Compile_Err_Syntax_Err@"},
        {"INPUT WAIT", "@Compile_Err_No_Comma@"},
        {"INPUT WAIT \"X\",A", "@Compile_Err_Type_Mismatch_Arg@"},
        {"INPUT WAIT 10 A", "@Compile_Err_No_Comma@"},
        // No time before the comma: the record would take a value never pushed.
        {"INPUT WAIT ,A", "@Compile_Err_Missing_Operand@"},
        {"LINE INPUT WAIT ,L$", "@Compile_Err_Missing_Operand@"},
        {"LINE INPUT A$,B$", "@Compile_Err_Too_Many_Operand@"},
        {"LINE INPUT", "@Compile_Err_Syntax_Err@"},
        {"LINE INPUT \"X\";", "@Compile_Err_Missing_Operand@"},
        {"LINE \"INPUT\"", "@Compile_Err_Syntax_Err@"},
        {"KINPUT", "@Compile_Err_Syntax_Err@"},
        {"KINPUT A$,B$", "@Compile_Err_Syntax_Err@"},
        {"INPUT A)", "@Compile_Err_Syntax_Err@"},
    };
    for (const TCase& c : cases) EXPECT_EQ(Error(c.source), c.expected) << c.source;
}

}  // namespace
