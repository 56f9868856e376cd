// GOTO, GO TO, GOSUB and RETURN: the target pushed as a value, then the jump
// record; nothing is resolved at compile time.

#include "CompilerStmtTestSupport.h"

#include <gtest/gtest.h>

using namespace compiler_stmt_test;

namespace {

TEST(CompilerStmtJumpsTest, Targets)
{
    const TCase cases[] = {
        {"GOTO 100", "vcBPushInt 100\nvcBJmp\n"},
        {"GO TO 100", "vcBPushInt 100\nvcBJmp\n"},
        {"GOTO *L1", "vcBPushString \"L1\"\nvcBJmp\n"},
        {"GOTO A$", R + "vcBLoadArray A$\nvcBJmp\n"},
        {"GOTO N*10", R + "vcBLoadArray N!\nvcBPushInt 10\nvcBMulFloat\nvcBJmp\n"},
        {"GOSUB 200", "vcBPushInt 200\nvcBCall\n"},
        {"GOSUB *SUB", "vcBPushString \"SUB\"\nvcBCall\n"},
        {"RETURN", "vcBRet true\n"},
        {"RETURN 200", "vcBPushInt 200\nvcBRet false\n"},
        {"RETURN *L", "vcBPushString \"L\"\nvcBRet false\n"},
        {"GOTO 100:PRINT", "vcBPushInt 100\nvcBJmp\nvcPrint true\nvcBUpdateScreen\n"},
    };
    for (const TCase& c : cases) EXPECT_EQ(Compiled(c.source), c.expected) << c.source;
}

TEST(CompilerStmtJumpsTest, Errors)
{
    const TCase cases[] = {
        {"GOTO", "@Compile_Err_Syntax_Err@"},
        {"GOSUB", "@Compile_Err_Syntax_Err@"},
        {"GOTO )", "@Compile_Err_Syntax_Err@"},
        {"GOTO GOTO 10", "@Compile_Err_Syntax_Err@"},
        {"GOTO *", "@Compile_Err_Syntax_Err@"},
        // One target is one value: a second one after it would stay on the stack.
        {"GOTO 100 200", "@Compile_Err_Syntax_Err@"},
        {"GOSUB 100 A", "@Compile_Err_Syntax_Err@"},
        {"GOTO *L 200", "@Compile_Err_Syntax_Err@"},
        {"RETURN 100 (2)", "@Compile_Err_Syntax_Err@"},
        {"RETURN ,", "@Compile_Err_Syntax_Err@"},
    };
    for (const TCase& c : cases) EXPECT_EQ(Error(c.source), c.expected) << c.source;
}

TEST(CompilerStmtJumpsTest, GosubInsideIfStopsAtElse)
{
    const TStatement s("IF A THEN GOSUB 100 ELSE 200");
    ASSERT_EQ(s.error, "");
    EXPECT_NE(s.listing.find("vcBPushInt 100\nvcBCall\n"), std::string::npos) << s.listing;
    EXPECT_NE(s.listing.find("vcBPushInt 200\nvcBJmp\n"), std::string::npos) << s.listing;
}

}  // namespace
