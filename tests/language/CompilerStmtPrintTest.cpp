// PRINT, WRITE, their file forms and PRINT USING: source in, code listing or
// compile-error key out.

#include "CompilerStmtTestSupport.h"

#include <gtest/gtest.h>

using namespace compiler_stmt_test;

namespace {

const std::string U = "vcBUpdateScreen\n";
const std::string A = "vcBPushSpecial 4\nvcBLoadArray A!\n";
const std::string B = "vcBPushSpecial 4\nvcBLoadArray B!\n";
const std::string F1 = "vcBPushInt 1\n";
const std::string F2 = "vcBPushInt 2\n";
const std::string P = "vcPrint false\n";
const std::string PEnd = "vcPrint true\n";
const std::string W = "vcWrite false\n";
const std::string WEnd = "vcWrite true\n";
const std::string PS = "vcPrintSh false\n";
const std::string PSEnd = "vcPrintSh true\n";
const std::string WS = "vcWriteSh false\n";
const std::string WSEnd = "vcWriteSh true\n";
const std::string Comma = "vcBPushSpecial 17\n";
const std::string Semi = "vcBPushSpecial 18\n";

TEST(CompilerStmtPrintTest, ScreenAndFileForms)
{
    const TCase cases[] = {
        {"PRINT", PEnd + U},
        {"PRINT A;B", A + P + B + P + PEnd + U},
        {"PRINT A,B", A + P + Comma + P + B + P + PEnd + U},
        {"PRINT A;", A + P + U},
        {"PRINT A,", A + P + Comma + P + U},
        {"PRINT A B", A + P + B + P + PEnd + U},
        {"PRINT \"X\"A", "vcBPushString \"X\"\n" + P + A + P + PEnd + U},
        {"PRINT ;", U},
        {"PRINT ,A", Comma + P + A + P + PEnd + U},
        {"WRITE", WEnd + U},
        {"WRITE A;B", A + W + Semi + W + B + W + WEnd + U},
        {"WRITE A,B", A + W + Comma + W + B + W + WEnd + U},
        {"PRINT #1,A;B", F1 + A + PS + F1 + B + PS + F1 + PSEnd},
        {"PRINT #1,", F1 + PSEnd},
        {"PRINT #1,;", ""},
        {"PRINT #1.5,A", F1 + A + PS + F1 + PSEnd},
        {"WRITE #2,A,B", F2 + A + WS + F2 + Comma + WS + F2 + B + WS + F2 + WSEnd},
        {"PRINT TAB(5);A", "vcBPushInt 5\nvcTab\n" + P + A + P + PEnd + U},
        {"PRINT -A", A + "vcBNegaFloat\n" + P + PEnd + U},
        // A string that reads USING is printed, not taken for the word.
        {"PRINT \"USING\"", "vcBPushString \"USING\"\n" + P + PEnd + U},
        {"PRINT A:PRINT B", A + P + PEnd + U + B + P + PEnd + U},
    };
    for (const TCase& c : cases) EXPECT_EQ(Compiled(c.source), c.expected) << c.source;
}

TEST(CompilerStmtPrintTest, UsingForm)
{
    const std::string fmt = "vcBPushSpecial 4\nvcBLoadArray F$\n";
    const TCase cases[] = {
        {"PRINT USING F$;A", fmt + A + "vcBPushBool true\nvcPrintUsing 1\n"},
        {"PRINT USING F$;A;", fmt + A + "vcBPushBool false\nvcPrintUsing 1\n"},
        {"PRINT USING F$;A,", fmt + A + "vcBPushBool true\nvcPrintUsing 1\n"},
        {"PRINT USING F$;,A", fmt + "vcBPushAbbrev\n" + A + "vcBPushBool true\nvcPrintUsing 2\n"},
        {"PRINT USING \"##\";A;B", "vcBPushString \"##\"\n" + A + B + "vcBPushBool true\nvcPrintUsing 2\n"},
        {"print using F$;A", fmt + A + "vcBPushBool true\nvcPrintUsing 1\n"},
    };
    for (const TCase& c : cases) EXPECT_EQ(Compiled(c.source), c.expected) << c.source;
}

TEST(CompilerStmtPrintTest, Errors)
{
    const TCase cases[] = {
        {"WRITE USING F$;A", "@Compile_Err_Syntax_Err@"},
        {"WRITE A;", "@Compile_Err_Syntax_Err@"},
        {"WRITE #1,A,", "@Compile_Err_Syntax_Err@"},
        {"PRINT #1", "@Compile_Err_No_Comma@"},
        {"PRINT #1 A", "@Compile_Err_No_Comma@"},
        {"PRINT A,#1", "@Compile_Err_Syntax_Err@"},
        {"PRINT #F,A", "@Compile_Err_Syntax_Err@"},
        {"PRINT A)", "@Compile_Err_Syntax_Err@"},
        {"PRINT USING", "@Compile_Err_Type_Mismatch_Arg@"},
        {"PRINT USING 5;A", "@Compile_Err_Type_Mismatch_Arg@"},
        {"PRINT USING F$,A", "@Compile_Err_No_Semi_Colon@"},
        {"PRINT USING F$;", "@Compile_Err_Ill_Func_Call@"},
        {"PRINT USING F$;A TO", "@Compile_Err_Syntax_Err@"},
        // USING is never a variable, and PRINT USING has no file form.
        {"PRINT #1,USING F$;A", "@Compile_Err_Syntax_Err@"},
        {"PRINT A;USING", "@Compile_Err_Syntax_Err@"},
        // The joined keywords PRINT# and WRITE# have no generator of their own.
        {"PRINT# 1,A", "@Compile_Err_Syntax_Err@"},
        {"WRITE# 1,A", "@Compile_Err_Syntax_Err@"},
    };
    for (const TCase& c : cases) EXPECT_EQ(Error(c.source), c.expected) << c.source;
}

TEST(CompilerStmtPrintTest, StopsAtElseInsideIf)
{
    const TStatement s("IF X THEN PRINT A ELSE PRINT B");
    ASSERT_EQ(s.error, "");
    // Both branches print: the first PRINT ended at ELSE.
    EXPECT_NE(s.listing.find(A + P + PEnd + U), std::string::npos) << s.listing;
    EXPECT_NE(s.listing.find(B + P + PEnd + U), std::string::npos) << s.listing;
}

}  // namespace
