// Built-in function calls: the argument families, the individual generators
// and the generator tables that lead to them.

#include "CompilerTestSupport.h"

#include <gtest/gtest.h>

#include <string>

using namespace compiler_test;

namespace {

const std::string M = "vcBPushSpecial 4\n";

struct TCallCase {
    const char* text;
    std::string listing;
    TTokenKind type;
};

void ExpectCalls(const TCallCase* cases, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        const TCallCase& c = cases[i];
        TExpression e(c.text);
        EXPECT_EQ(e.error, "") << c.text;
        EXPECT_EQ(e.Listing(), c.listing) << c.text;
        EXPECT_EQ(e.type, c.type) << c.text;
        EXPECT_EQ(e.rest.kind, tkEot) << c.text;
    }
}

struct TErrorCase {
    const char* text;
    const char* key;
};

void ExpectErrors(const TErrorCase* cases, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) EXPECT_EQ(TExpression(cases[i].text).error, cases[i].key) << cases[i].text;
}

TEST(CompilerFuncTest, FamiliesCompileArgumentsThenTheCode)
{
    const TCallCase cases[] = {
        {"LEN(A$)", M + "vcBLoadArray A$\nvcLen\n", tkInt},
        {"MID$(A$, 2)", M + "vcBLoadArray A$\nvcBPushInt 2\nvcMidDlFunc false\n", tkString},
        {"MID$(A$,2,3)", M + "vcBLoadArray A$\nvcBPushInt 2\nvcBPushInt 3\nvcMidDlFunc true\n", tkString},
        // A comma before ")" adds nothing.
        {"MID$(A$,2,)", M + "vcBLoadArray A$\nvcBPushInt 2\nvcMidDlFunc false\n", tkString},
        {"KMID$(A$,2,3)", M + "vcBLoadArray A$\nvcBPushInt 2\nvcBPushInt 3\nvcKmidDl true\n", tkString},
        {"INSTR(A$,B$)", M + "vcBLoadArray A$\n" + M + "vcBLoadArray B$\nvcInstr false\n", tkInt},
        {"INSTR(1,A$,B$)", "vcBPushInt 1\n" + M + "vcBLoadArray A$\n" + M + "vcBLoadArray B$\nvcInstr true\n", tkInt},
        {"INSTR(,A$,B$)", "vcBPushAbbrev\n" + M + "vcBLoadArray A$\n" + M + "vcBLoadArray B$\nvcInstr true\n", tkInt},
        {"KINSTR(A$,B$)", M + "vcBLoadArray A$\n" + M + "vcBLoadArray B$\nvcKinstr false\n", tkInt},
        {"ABS(-3)", "vcBPushInt 3\nvcBNegaInt\nvcAbs\n", tkSingle},
        {"SQR(2)", "vcBPushInt 2\nvcSqr\n", tkSingle},
        {"ABS(2#)", "vcBPushDouble 2\nvcAbs\n", tkDouble},
        {"CHR$(65.5)", "vcBPushFloat 65.5\nvcChrDl\n", tkString},
        {"VAL(\"1\")", "vcBPushString \"1\"\nvcVal\n", tkDouble},
        {"CINT(1.5)", "vcBPushFloat 1.5\nvcCint\n", tkInt},
        {"CSNG(1)", "vcBPushInt 1\nvcCsng\n", tkSingle},
        {"CDBL(1)", "vcBPushInt 1\nvcCdbl\n", tkDouble},
        {"SPC(3)", "vcBPushInt 3\nvcSpc\n", tkString},
        {"TAB(3)", "vcBPushInt 3\nvcTab\n", tkString},
        {"DATE$", "vcDateDl\n", tkString},
        {"TIME$", "vcTimeDl\n", tkString},
        {"CSRLIN", "vcCsrlin\n", tkInt},
        {"KIVOVERSION$", "vcXKivoversionDl\n", tkString},
        {"SYSTEMTIME", "vcXSystemtime\n", tkInt},
        {"INKEY$ + \"A\"", "vcInkeyDl\nvcBPushString \"A\"\nvcBAddString\n", tkString},
        {"LEN(STR$(SIN(1)))", "vcBPushInt 1\nvcSin\nvcStrDl\nvcLen\n", tkInt},
    };
    ExpectCalls(cases, std::size(cases));
}

TEST(CompilerFuncTest, FamilyErrors)
{
    const TErrorCase cases[] = {
        {"SIN(A$)", "@Compile_Err_Type_Mismatch_Arg@"},
        {"SIN()", "@Compile_Err_Ill_Func_Call@"},
        {"SIN 1", "@Compile_Err_No_LPar@"},
        {"SIN(1,2)", "@Compile_Err_No_RPar@"},
        {"INKEY$()", "@Compile_Err_Ill_Func_Call@"},
        {"SYSTEMTIME(1)", "@Compile_Err_Ill_Func_Call@"},
        {"CHR$(A$)", "@Compile_Err_Type_Mismatch_Arg@"},
        {"LEN(5)", "@Compile_Err_Type_Mismatch_Arg@"},
        {"CHR$(65,66)", "@Compile_Err_Type_Mismatch_Arg@"},
        {"CHR$()", "@Compile_Err_Syntax_Err@"},
        {"CHR$(65", "@Compile_Err_Missing_Operand@"},
        {"CHR$ 65", "@Compile_Err_No_LPar@"},
        {"MID$(A$,1,2", "@Compile_Err_No_RPar@"},
        {"INSTR(A$,B$", "@Compile_Err_No_RPar@"},
        {"MID$(A$,1", "@Compile_Err_Missing_Operand@"},
        {"INSTR(A$)", "@Compile_Err_Syntax_Err@"},
        {"INSTR(A$,1,B$)", "@Compile_Err_Type_Mismatch_Arg@"},
        {"MID$(A$,,3)", "@Compile_Err_Missing_Operand@"},
        {"LEN(A$ TO)", "@Compile_Err_Syntax_Err@"},
    };
    ExpectErrors(cases, std::size(cases));
}

TEST(CompilerFuncTest, IgnoredFunctionsStandForAConstant)
{
    const TCallCase cases[] = {
        {"FRE(0)", "vcBPushInt 0\n", tkInt},
        {"FRE", "vcBPushInt 0\n", tkInt},
        {"FRE(0) + 1", "vcBPushInt 0\nvcBPushInt 1\nvcBAddInt\n", tkInt},
        {"MKI$(5)", "vcBPushString \"\"\n", tkString},
        {"ATTR$(1,2)", "vcBPushString \"\"\n", tkString},
        {"CVS(A$)", "vcBPushInt 0\n", tkInt},
        {"CVD(A$)", "vcBPushInt 0\n", tkInt},
        {"PEN(0)", "vcBPushInt 0\n", tkInt},
        {"VIEW(1)", "vcBPushInt 0\n", tkInt},
        {"WINDOW(2)", "vcBPushInt 0\n", tkInt},
        {"USR(F(1),(2))", "vcBPushInt 0\n", tkInt},
        // ERL and ERR take no list: the "(" belongs to the expression.
        {"ERR = 5", "vcBPushInt 0\nvcBPushInt 5\nvcBEqualInt\n", tkInt},
    };
    ExpectCalls(cases, std::size(cases));

    // Nothing of the skipped arguments is compiled or recorded.
    TExpression skipped("VARPTR(UNSEEN)");
    EXPECT_EQ(skipped.mid.VarInfoMap.count("UNSEEN!"), 0u);

    const TErrorCase errors[] = {
        {"FRE + 1", "@Compile_Err_No_RPar@"},
        {"LOF(1", "@Compile_Err_No_RPar@"},
    };
    ExpectErrors(errors, std::size(errors));
}

TEST(CompilerFuncTest, IgnoredFunctionBeforeTheStatementEnd)
{
    TProgram p("10 X = FRE: Y = 1\n20 IF DSKF THEN 10\n");
    ASSERT_FALSE(p.HasError()) << p.alerts.Last();
    EXPECT_NE(p.Listing().find(M + "vcBPushVar X!\nvcBPushInt 0\nvcBAssignArray\n" + M + "vcBPushVar Y!"),
              std::string::npos);

    // A "(" after ERR is no argument list; a value followed by "(" ends no statement.
    TProgram err("10 X = ERR(1)\n");
    EXPECT_EQ(err.Error().message, "@Compile_Err_Syntax_Err@");
}

TEST(CompilerFuncTest, OperandListFunctions)
{
    const TCallCase cases[] = {
        {"INPUT$(5)", "vcBPushInt 5\nvcInputDl false\n", tkString},
        {"INPUT$(5, #1)", "vcBPushInt 5\nvcBPushInt 1\nvcInputDl true\n", tkString},
        {"INPUT$(5,)", "vcBPushInt 5\nvcInputDl false\n", tkString},
        {"KLEN(A$)", M + "vcBLoadArray A$\nvcKlen false\n", tkInt},
        {"KLEN(A$,,)", M + "vcBLoadArray A$\nvcBPushAbbrev\nvcKlen true\n", tkInt},
        {"KEXT$(A$,1)", M + "vcBLoadArray A$\nvcBPushInt 1\nvcKextDl\n", tkString},
        {"LEFT$(A$, 1.7)", M + "vcBLoadArray A$\nvcBPushFloat 1.7\nvcLeftDl\n", tkString},
        {"RIGHT$(A$,2)", M + "vcBLoadArray A$\nvcBPushInt 2\nvcRightDl\n", tkString},
        {"POINT(3)", "vcBPushInt 3\nvcPointFunc1\n", tkInt},
        {"POINT(1, 2)", "vcBPushInt 1\nvcBPushInt 2\nvcPointFunc2\n", tkInt},
        {"MOUSE(1)", "vcBPushInt 1\nvcMouseFunc false\n", tkInt},
        {"MOUSE(1, 2)", "vcBPushInt 1\nvcBPushInt 2\nvcMouseFunc true\n", tkInt},
        {"STRING$(3, \"*\")", "vcBPushInt 3\nvcBPushString \"*\"\nvcStringDl\n", tkString},
        {"STRING$(3, 42)", "vcBPushInt 3\nvcBPushInt 42\nvcStringDl\n", tkString},
    };
    ExpectCalls(cases, std::size(cases));

    const TErrorCase errors[] = {
        {"INPUT$(,1)", "@Compile_Err_Missing_Operand@"},
        {"INPUT$ 5", "@Compile_Err_No_LPar@"},
        {"INPUT$(5", "@Compile_Err_Missing_Operand@"},
        {"INPUT$(5, 1", "@Compile_Err_No_RPar@"},
        {"INPUT$(5,1,2)", "@Compile_Err_Type_Mismatch_Arg@"},
        {"LEFT$(A$)", "@Compile_Err_Syntax_Err@"},
        {"LEFT$(A$, 1, 2)", "@Compile_Err_Type_Mismatch_Arg@"},
        {"LEFT$(1, 2)", "@Compile_Err_Type_Mismatch_Arg@"},
        {"LEFT$(A$, 1", "@Compile_Err_Missing_Operand@"},
        {"LEFT$()", "@Compile_Err_Syntax_Err@"},
        {"STRING$(\"*\", 3)", "@Compile_Err_Type_Mismatch_Arg@"},
        {"POINT 1", "@Compile_Err_No_LPar@"},
    };
    ExpectErrors(errors, std::size(errors));
}

TEST(CompilerFuncTest, EveryCompiledMouseFunctionCounts)
{
    TProgram p("10 A = MOUSE(1) + MOUSE(1, 2)\n20 B = 1\n");
    ASSERT_FALSE(p.HasError()) << p.alerts.Last();
    EXPECT_EQ(p.compatMode, TCompiler::COMPAT_DOS_BASIC);

    TProgram plain("10 A = POINT(1)\n20 B = 1\n");
    EXPECT_EQ(plain.compatMode, TCompiler::COMPAT_DISK_BASIC);

    TMidCode mid;
    TCompiler compiler(&mid);
    const std::string text = "MOUSE(1) + MOUSE(2,3) + MOUSE(";
    compiler.SetSource(text.c_str());
    TTokenKind type;
    EXPECT_THROW(compiler.GenExpr(compiler.Token(), false, &type), TException);
    EXPECT_EQ(compiler.DosBasicSigns(), 2);  // the failed call does not count
}

TEST(CompilerFuncTest, Rnd)
{
    const TCallCase cases[] = {
        {"RND", "vcBPushInt 1\nvcRnd\n", tkSingle},
        {"RND(1)", "vcBPushInt 1\nvcRnd\n", tkSingle},
        {"RND(-1)", "vcBPushInt 1\nvcBNegaInt\nvcRnd\n", tkSingle},
        {"RND(X#)", M + "vcBLoadArray X#\nvcRnd\n", tkSingle},
        {"RND*6", "vcBPushInt 1\nvcRnd\nvcBPushInt 6\nvcBMulFloat\n", tkSingle},
    };
    ExpectCalls(cases, std::size(cases));

    const TErrorCase errors[] = {
        {"RND(\"A\")", "@Compile_Err_Type_Mismatch_Arg@"},
        {"RND(1", "@Compile_Err_No_RPar@"},
        {"RND(\"A\"", "@Compile_Err_No_RPar@"},  // the ")" is checked before the type
        {"RND()", "@Compile_Err_Ill_Func_Call@"},
    };
    ExpectErrors(errors, std::size(errors));
}

TEST(CompilerFuncTest, Search)
{
    const std::string ref = M + "vcBPushVar A%\n";
    const TCallCase cases[] = {
        {"SEARCH(A%, 5)", ref + "vcBPushInt 5\nvcBPushAbbrev\nvcBPushAbbrev\nvcSearch\n", tkInt},
        {"SEARCH(A%, 5, 2)", ref + "vcBPushInt 5\nvcBPushInt 2\nvcBPushAbbrev\nvcSearch\n", tkInt},
        {"SEARCH(A%, 5, 2, 1)", ref + "vcBPushInt 5\nvcBPushInt 2\nvcBPushInt 1\nvcSearch\n", tkInt},
        {"SEARCH(A%, , 2)", ref + "vcBPushAbbrev\nvcBPushInt 2\nvcBPushAbbrev\nvcSearch\n", tkInt},
        {"SEARCH(A!, \"X\")", M + "vcBPushVar A!\nvcBPushString \"X\"\nvcBPushAbbrev\nvcBPushAbbrev\nvcSearch\n",
         tkInt},
        {"SEARCH(A%(1), 5) + 1",
         M + "vcBPushInt 1\nvcBPushVar A%\nvcBPushInt 5\nvcBPushAbbrev\nvcBPushAbbrev\nvcSearch\nvcBPushInt 1\n"
             "vcBAddInt\n",
         tkInt},
    };
    ExpectCalls(cases, std::size(cases));

    const TErrorCase errors[] = {
        {"SEARCH(A%, 1, 2, 3, 4)", "@Compile_Err_Ill_Func_Call@"},
        {"SEARCH(A%, )", "@Compile_Err_Ill_Func_Call@"},
        {"SEARCH(A%)", "@Compile_Err_No_Comma@"},
        {"SEARCH(A$, \"X\")", "@Compile_Err_Type_Mismatch_Arg@"},
        {"SEARCH(A$)", "@Compile_Err_Type_Mismatch_Arg@"},  // the type comes before the comma
        {"SEARCH(5, 1)", "@Compile_Err_Syntax_Err@"},
        {"SEARCH A%, 1", "@Compile_Err_No_LPar@"},
        {"SEARCH(A%, 1", "@Compile_Err_No_RPar@"},
    };
    ExpectErrors(errors, std::size(errors));
}

TEST(CompilerFuncTest, SearchOfADefFnParameterIsRefused)
{
    TMidCode mid;
    TCompiler compiler(&mid);
    TUserFuncInfo info;
    info.Params.push_back("P!");
    compiler.EnterUserFuncBody(&info);
    const std::string text = "SEARCH(P, 1)";
    compiler.SetSource(text.c_str());
    TTokenKind type;
    EXPECT_THROW(compiler.GenExpr(compiler.Token(), false, &type), TException);
}

// The keyword maps and the generator tables agree: every function keyword
// leads to a function generator, every statement keyword to a statement
// generator, and the tables hold a row exactly for the codes that the
// instruction list marks for them.
TEST(CompilerFuncTest, GeneratorTablesMatchTheKeywordsAndTheInstructionList)
{
    // Every number of the code space, so that a row at a number without a code shows too.
    for (uint32_t code = 0; code < VM_CODE_SPACE; ++code) {
        EXPECT_EQ(TCompiler::FuncTable().IsSet(code), VMCodeHasEntry(code, vceFunc)) << std::hex << code;
        EXPECT_EQ(TCompiler::ProcTable().IsSet(code), VMCodeHasEntry(code, vceProc)) << std::hex << code;
    }

    TMidCode mid;
    int functions = 0;
    for (const auto& [keyword, kind] : mid.TokenKindMap) {
        const auto code = mid.FuncProcMap.find(keyword);
        if (kind == tkFunc || kind == tkFuncProc) {
            ASSERT_NE(code, mid.FuncProcMap.end()) << keyword;
            EXPECT_TRUE(TCompiler::FuncTable().IsSet(code->second)) << keyword;
            ++functions;
        }
        if (kind == tkProc || kind == tkFuncProc) {
            ASSERT_NE(code, mid.FuncProcMap.end()) << keyword;
            const bool fileForm = keyword == "PRINT#" || keyword == "WRITE#";
            EXPECT_EQ(TCompiler::ProcTable().IsSet(code->second), !fileForm) << keyword;
        }
    }
    EXPECT_EQ(functions, 76);

    // Shared rows.
    EXPECT_EQ(TCompiler::ProcTable()[vcInput], TCompiler::ProcTable()[vcInputSh]);
    EXPECT_EQ(TCompiler::FuncTable()[vcMidDl], &TCompiler::GenFuncMidDl);
    EXPECT_EQ(TCompiler::ProcTable()[vcMidDl], &TCompiler::GenProcMidDl);
    EXPECT_EQ(TCompiler::ProcTable()[vcXSleep], &TCompiler::GenProcXSleep);
    EXPECT_EQ(TCompiler::FuncTable()[vcXSystemtime], &TCompiler::GenFuncXSystemtime);
    EXPECT_EQ(TCompiler::FuncTable()[vcXKivoversionDl], &TCompiler::GenFuncXKivoversionDl);
}

}  // namespace
