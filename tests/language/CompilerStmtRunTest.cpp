// RUN and CHAIN: the run-request records and their errors.

#include "CompilerStmtTestSupport.h"

#include <gtest/gtest.h>

using namespace compiler_stmt_test;

namespace {

const std::string F = "vcBPushString \"F\"\n";
const std::string NoMerge = "vcBPushBool false\n";

TEST(CompilerStmtRunTest, Run)
{
    const TCase cases[] = {
        {"RUN", "vcRunCur false\n"},
        {"RUN:PRINT", "vcRunCur false\nvcPrint true\nvcBUpdateScreen\n"},
        {"RUN 100", "vcBPushInt 100\nvcRunCur true\n"},
        {"RUN *START", "vcBPushString \"START\"\nvcRunCur true\n"},
        {"RUN N", R + "vcBLoadArray N!\nvcRunCur true\n"},
        {"RUN \"F\"", F + "vcRunSpecify false\n"},
        {"RUN A$", R + "vcBLoadArray A$\nvcRunSpecify false\n"},
        {"RUN \"F\",R", F + "vcRunSpecify true\n"},
        {"run \"F\",r", F + "vcRunSpecify true\n"},
        {"RUN \"F\",X", "error @Compile_Err_Syntax_Err@"},
        {"RUN \"F\",", "error @Compile_Err_Syntax_Err@"},
        {"RUN \"F\",\"R\"", "error @Compile_Err_Syntax_Err@"},
        {"RUN \"F\";R", "error @Compile_Err_No_Comma@"},
        {"RUN GOTO", "error @Compile_Err_Syntax_Err@"},
        {"RUN 100 200", "error @Compile_Err_Syntax_Err@"},
        {"RUN *A 200", "error @Compile_Err_Syntax_Err@"},
    };
    for (const TCase& c : cases) EXPECT_EQ(Compiled(c.source), c.expected) << c.source;
}

TEST(CompilerStmtRunTest, Chain)
{
    const TCase cases[] = {
        {"CHAIN \"F\"", NoMerge + F + "vcChain 2\n"},
        {"CHAIN MERGE \"F\"", "vcBPushBool true\n" + F + "vcChain 2\n"},
        {"chain merge \"F\"", "vcBPushBool true\n" + F + "vcChain 2\n"},
        {"CHAIN \"F\",100", NoMerge + F + "vcBPushInt 100\nvcChain 3\n"},
        {"CHAIN \"F\",*L", NoMerge + F + "vcBPushString \"L\"\nvcChain 3\n"},
        {"CHAIN \"F\",100,ALL", NoMerge + F + "vcBPushInt 100\nvcBPushBool true\nvcChain 4\n"},
        {"CHAIN \"F\",100,", NoMerge + F + "vcBPushInt 100\nvcBPushBool false\nvcChain 4\n"},
        {"CHAIN \"F\",100,ALL,DELETE 10-20", NoMerge + F + "vcBPushInt 100\nvcBPushBool true\nvcChain 4\n"},
        {"CHAIN \"F\",100,,DELETE 10-20:PRINT",
         NoMerge + F + "vcBPushInt 100\nvcBPushBool false\nvcChain 4\nvcPrint true\nvcBUpdateScreen\n"},
        {"CHAIN 100", "error @Compile_Err_Type_Mismatch_Arg@"},
        {"CHAIN", "error @Compile_Err_Ill_Func_Call@"},
        {"CHAIN MERGE", "error @Compile_Err_Ill_Func_Call@"},
        {"CHAIN MERGE ,", "error @Compile_Err_Type_Mismatch_Arg@"},
        {"CHAIN \"F\";100", "error @Compile_Err_No_Comma@"},
        {"CHAIN \"F\",100 ALL", "error @Compile_Err_Syntax_Err@"},
        {"CHAIN \"F\",100,ALL X", "error @Compile_Err_No_Comma@"},
        {"CHAIN \"F\",100,X", "error @Compile_Err_No_Comma@"},
        // The count says a start position lies on the stack once its comma is
        // written: an empty one is refused.
        {"CHAIN \"F\",,ALL", "error @Compile_Err_Missing_Operand@"},
        {"CHAIN \"F\",", "error @Compile_Err_Missing_Operand@"},
    };
    for (const TCase& c : cases) EXPECT_EQ(Compiled(c.source), c.expected) << c.source;
}

}  // namespace
