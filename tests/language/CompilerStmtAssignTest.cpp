// LET, DIM, SWAP and the MID$ statement.

#include "CompilerStmtTestSupport.h"

#include <gtest/gtest.h>

using namespace compiler_stmt_test;

namespace {

const std::string RefA = R + "vcBPushVar A!\n";
const std::string RefAs = R + "vcBPushVar A$\n";
const std::string LoadBs = R + "vcBLoadArray B$\n";

TEST(CompilerStmtAssignTest, Listings)
{
    const TCase cases[] = {
        {"LET A = X + 1", RefA + R + "vcBLoadArray X!\nvcBPushInt 1\nvcBAddFloat\nvcBAssignArray\n"},
        {"LET A(I, J) = X", R + R + "vcBLoadArray I!\n" + R + "vcBLoadArray J!\nvcBPushVar A!\n" + R +
                                "vcBLoadArray X!\nvcBAssignArray\n"},
        {"DIM A(10), B$(3, 4)",
         R + "vcBPushInt 10\nvcBPushVar A!\n" + R + "vcBPushInt 3\nvcBPushInt 4\nvcBPushVar B$\nvcDim 2\n"},
        {"DIM C", R + "vcBPushVar C!\nvcDim 1\n"},
        {"DIM A(3) B(4)", R + "vcBPushInt 3\nvcBPushVar A!\n" + R + "vcBPushInt 4\nvcBPushVar B!\nvcDim 2\n"},
        {"DIM A(,)", R + "vcBPushAbbrev\nvcBPushVar A!\nvcDim 1\n"},
        {"SWAP A, B(1)", RefA + R + "vcBPushInt 1\nvcBPushVar B!\nvcSwap\n"},
        {"SWAP A B", RefA + R + "vcBPushVar B!\nvcSwap\n"},
        {"SWAP A$, B", RefAs + R + "vcBPushVar B!\nvcSwap\n"},
        {"MID$(A$, 2) = B$", RefAs + "vcBPushInt 2\n" + LoadBs + "vcMidDlProc false\n"},
        {"MID$(A$, 2, 3) = B$", RefAs + "vcBPushInt 2\nvcBPushInt 3\n" + LoadBs + "vcMidDlProc true\n"},
        {"MID$(A$, , 3) = B$", RefAs + "vcBPushAbbrev\nvcBPushInt 3\n" + LoadBs + "vcMidDlProc true\n"},
        {"MID$(S$(K), 1) = B$",
         R + R + "vcBLoadArray K!\nvcBPushVar S$\nvcBPushInt 1\n" + LoadBs + "vcMidDlProc false\n"},
        {"MID$(A$, 2, ) = B$", RefAs + "vcBPushInt 2\n" + LoadBs + "vcMidDlProc false\n"},
        {"MID$(A$, 2; 3) = B$", RefAs + "vcBPushInt 2\nvcBPushInt 3\n" + LoadBs + "vcMidDlProc true\n"},
    };
    for (const TCase& c : cases) EXPECT_EQ(Compiled(c.source), c.expected) << c.source;
}

TEST(CompilerStmtAssignTest, Errors)
{
    const TCase cases[] = {
        {"LET", "@Compile_Err_Syntax_Err@"},
        {"LET = 5", "@Compile_Err_Syntax_Err@"},
        {"LET A$ = 1", "@Compile_Err_Type_Mismatch_Assign@"},
        // A number before "=" is compared, and nothing is stored.
        {"LET 1 = 2", "@Compile_Err_Syntax_Err@"},
        // Without "=" nothing is stored and the value would stay on the stack.
        {"LET A", "@Compile_Err_Syntax_Err@"},
        {"DIM", "@Compile_Err_Syntax_Err@"},
        {"DIM 5", "@Compile_Err_Syntax_Err@"},
        {"DIM FNA", "@Compile_Err_Syntax_Err@"},
        {"DIM A(2", "@Compile_Err_No_RPar@"},
        {"DIM A(2))", "@Compile_Err_Syntax_Err@"},
        {"SWAP", "@Compile_Err_Syntax_Err@"},
        {"SWAP A", "@Compile_Err_Syntax_Err@"},
        {"SWAP A, B, C", "@Compile_Err_Syntax_Err@"},
        {"MID$ A$, 1) = B$", "@Compile_Err_No_LPar@"},
        {"MID$(A, 1) = B$", "@Compile_Err_Type_Mismatch_Arg@"},
        {"MID$(A$) = B$", "@Compile_Err_No_Comma@"},
        {"MID$(A$, ) = B$", "@Compile_Err_Ill_Func_Call@"},
        {"MID$(A$, 1, 2, 3) = B$", "@Compile_Err_Ill_Func_Call@"},
        {"MID$(A$, 1", "@Compile_Err_No_RPar@"},
        {"MID$(A$, 1) B$", "@Compile_Err_No_Equal@"},
        {"MID$(A$, 1) = 5", "@Compile_Err_Type_Mismatch_Assign@"},
        {"MID$(A$, 1) =", "@Compile_Err_Type_Mismatch_Assign@"},
        {"MID$(A$, 1) = B$ C$", "@Compile_Err_Syntax_Err@"},
    };
    for (const TCase& c : cases) EXPECT_EQ(Error(c.source), c.expected) << c.source;
}

// The references of a failing SWAP are left in place: the compile is over anyway.
TEST(CompilerStmtAssignTest, ErrorsLeaveTheCodesAppendedSoFar)
{
    const TStatement s("SWAP A, B, C");
    ASSERT_EQ(s.error, "@Compile_Err_Syntax_Err@");
    EXPECT_EQ(ListCodes(s.program.mid.Codes, 2), RefA + R + "vcBPushVar B!\n" + R + "vcBPushVar C!\n");
}

// MID$ inside an expression stays the string function.
TEST(CompilerStmtAssignTest, MidFunctionInAnAssignment)
{
    const TStatement s("A$ = MID$(B$, 2)");
    ASSERT_EQ(s.error, "");
    EXPECT_EQ(s.listing.find("vcMidDlProc"), std::string::npos) << s.listing;
}

}  // namespace
