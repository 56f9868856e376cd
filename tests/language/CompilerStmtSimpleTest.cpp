// The one-line generators (REM, END, DEFxxx), the statement dispatcher's
// bookkeeping, BEEP, RANDOMIZE, SLEEP, BASE and the ignored statements.

#include "CompilerStmtTestSupport.h"

#include <gtest/gtest.h>

#include <set>

using namespace compiler_stmt_test;
using compiler_test::TProgram;

namespace {

const std::string Print = "vcPrint true\nvcBUpdateScreen\n";

const char* const kIgnored[] = {
    "AUTO",  "BSAVE", "BLOAD", "COPY",  "CONT",   "CLEAR",  "COMMON", "COM",  "DELETE", "DSKO$",  "DRAW",
    "ERASE", "EDIT",  "ERROR", "FIELD", "KILL",   "LPRINT", "LLIST",  "LOAD", "LSET",   "LFILES", "MERGE",
    "NAME",  "NEW",   "OUT",   "POKE",  "RESUME", "RSET",   "RENUM",  "SAVE", "TRON",   "TROFF",  "TERM",
    "WAIT",  "LIST",  "SET",   "CMD",   "KPLOAD", "VOICE",  "PEN",    "VIEW", "WINDOW",
};

TEST(CompilerStmtSimpleTest, IgnoredStatementsCompileToNothing)
{
    for (const char* keyword : kIgnored) {
        const std::string k = keyword;
        EXPECT_EQ(Compiled(k), "") << k;
        EXPECT_EQ(Compiled(k + " 1,(2+(3)),\"A\";X:PRINT"), Print) << k;
        // Any operands, AS included.
        EXPECT_EQ(Compiled(k + " \"A\" AS \"B\""), "") << k;
        EXPECT_EQ(Error(k + " (1"), "@Compile_Err_No_RPar@") << k;
        EXPECT_EQ(Error(k + " 1)"), "@Compile_Err_Syntax_Err@") << k;
    }
}

TEST(CompilerStmtSimpleTest, IgnoredStatementForms)
{
    const TCase cases[] = {
        {"LIST 100-200", ""},
        {"LOAD \"PROG\",R", ""},
        {"CLEAR 1000,&H8000", ""},
        {"NAME \"OLD\" AS \"NEW\":PRINT", Print},
        {"FIELD #1, 20 AS A$, 10 AS B$", ""},
        {"FIELD #1, (20 AS A$)", ""},
        {"POKE 1,2", ""},
        {"TRON:TROFF", ""},
        {"PEN ON", ""},
    };
    for (const TCase& c : cases) EXPECT_EQ(Compiled(c.source), c.expected) << c.source;
    // A parse-only statement after THEN stops at ELSE, whose branch is compiled.
    const TStatement s("IF X THEN TRON ELSE PRINT");
    ASSERT_EQ(s.error, "");
    EXPECT_NE(s.listing.find(Print), std::string::npos) << s.listing;
    // A number touching a letter is still a lexical error inside skipped operands.
    EXPECT_EQ(Error("LIST 10A"), "@Compile_Err_Syntax_Err@");
}

TEST(CompilerStmtSimpleTest, OneNumericOperand)
{
    const TCase cases[] = {
        {"BEEP", "vcBeep false\n"},
        {"BEEP 1", "vcBPushInt 1\nvcBeep true\n"},
        {"BEEP ,", "vcBPushAbbrev\nvcBeep true\n"},
        {"BEEP 0.5", "vcBPushFloat 0.5\nvcBeep true\n"},
        {"RANDOMIZE", "vcRandomize false\n"},
        {"RANDOMIZE A", R + "vcBLoadArray A!\nvcRandomize true\n"},
        {"SLEEP 500", "vcBPushInt 500\nvcXSleep\n"},
        {"SLEEP 1.5", "vcBPushFloat 1.5\nvcXSleep\n"},
        {"BEEP 1,", "vcBPushInt 1\nvcBeep true\n"},
        {"RANDOMIZE 1;", "vcBPushInt 1\nvcRandomize true\n"},
        {"BEEP 1,2", "error @Compile_Err_Too_Many_Operand@"},
        {"BEEP 1,,", "error @Compile_Err_Too_Many_Operand@"},
        {"BEEP 1)", "error @Compile_Err_Syntax_Err@"},
        {"BEEP )", "error @Compile_Err_Syntax_Err@"},
        {"RANDOMIZE 1 STEP", "error @Compile_Err_Syntax_Err@"},
        {"RANDOMIZE STEP", "error @Compile_Err_Syntax_Err@"},
        {"SLEEP 1,", "vcBPushInt 1\nvcXSleep\n"},
        {"SLEEP 1)", "error @Compile_Err_Syntax_Err@"},
        {"BEEP \"A\"", "error @Compile_Err_Type_Mismatch_Arg@"},
        {"SLEEP", "error @Compile_Err_Missing_Operand@"},
        {"SLEEP ,5", "error @Compile_Err_Missing_Operand@"},
        {"SLEEP 1,2", "error @Compile_Err_Too_Many_Operand@"},
        {"SLEEP \"A\"", "error @Compile_Err_Type_Mismatch_Arg@"},
        {"BASE 1", "error @Compile_Err_Syntax_Err@"},
        {"BASE", "error @Compile_Err_Syntax_Err@"},
    };
    for (const TCase& c : cases) EXPECT_EQ(Compiled(c.source), c.expected) << c.source;
}

// The second operand is refused before its code is appended.
TEST(CompilerStmtSimpleTest, TooManyOperandsStopsBeforeTheExtraCode)
{
    const TStatement s("BEEP 1,2");
    EXPECT_EQ(ListCodes(s.program.mid.Codes, 2), "vcBPushInt 1\n");
}

TEST(CompilerStmtSimpleTest, RemEndAndDefaultTypes)
{
    const TCase cases[] = {
        {"REM :PRINT", ""},
        {"REM", ""},
        {"END", "vcBExit\n"},
        {"END:PRINT", "vcBExit\n" + Print},
        {"DEFINT A-C:A=1:D=1",
         R + "vcBPushVar A%\nvcBPushInt 1\nvcBAssignArray\n" + R + "vcBPushVar D!\nvcBPushInt 1\nvcBAssignArray\n"},
        {"DEFSTR S:DEFDBL D,X-Y:S=\"\":D=1:Y=1", R + "vcBPushVar S$\nvcBPushString \"\"\nvcBAssignArray\n" + R +
                                                     "vcBPushVar D#\nvcBPushInt 1\nvcBAssignArray\n" + R +
                                                     "vcBPushVar Y#\nvcBPushInt 1\nvcBAssignArray\n"},
        {"DEFINT C-A:A=1", R + "vcBPushVar A!\nvcBPushInt 1\nvcBAssignArray\n"},
        {"DEFSNG I:DEFINT I:DEFSNG I:I=1", R + "vcBPushVar I!\nvcBPushInt 1\nvcBAssignArray\n"},
        {"DEFINT 1", "error @Compile_Err_Ill_Def_Var_Type@"},
    };
    for (const TCase& c : cases) EXPECT_EQ(Compiled(c.source), c.expected) << c.source;

    // A comment's colon does not start a statement on a following line either.
    TProgram p("10 REM X:PRINT\n20 PRINT\n");
    EXPECT_EQ(p.Listing(), "vcBLineBegin 10\nvcBLineBegin 20\n" + Print + "vcBExit\n");
}

// Every statement records where it begins, also one that appends nothing; two
// such statements in a row record the same index once.
TEST(CompilerStmtSimpleTest, StatementBeginnings)
{
    const TStatement s("TRON:REM");
    EXPECT_EQ(s.program.mid.StatementBeginSet, (std::set<int32_t>{2}));
    const TStatement t("BEEP:TRON:BEEP");
    EXPECT_EQ(t.program.mid.StatementBeginSet, (std::set<int32_t>{2, 3}));
    EXPECT_EQ(t.listing, "vcBeep false\nvcBeep false\n");
}

}  // namespace
