// FN calls, the check family, labels, and the skipping of comments, ignored
// operands and ignored function arguments.

#include "CompilerTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace compiler_test;

namespace {

TEST(CompilerUserFuncCallTest, CallShapes)
{
    struct TCase {
        const char* text;
        std::string listing;
        TTokenKind type;
        TTokenKind rest;
    };
    const std::string C = "vcBPushSpecial 17\n";
    const TCase cases[] = {
        {"FNA+1", C + "vcBCallUserFunc \"FNA\"\nvcBPushInt 1\nvcBAddFloat\n", tkSingle, tkEot},
        {"FNA()", C + "vcBCallUserFunc \"FNA\"\n", tkSingle, tkEot},
        {"FNA(1,,2)", C + "vcBPushInt 1\nvcBPushAbbrev\nvcBPushInt 2\nvcBCallUserFunc \"FNA\"\n", tkSingle, tkEot},
        {"FNA(1,)", C + "vcBPushInt 1\nvcBCallUserFunc \"FNA\"\n", tkSingle, tkEot},
        {"FNA(,1)", C + "vcBPushAbbrev\nvcBPushInt 1\nvcBCallUserFunc \"FNA\"\n", tkSingle, tkEot},
        {"FNA$(\"X\")", C + "vcBPushString \"X\"\nvcBCallUserFunc \"FNA$\"\n", tkString, tkEot},
        {"FNA%", C + "vcBCallUserFunc \"FNA%\"\n", tkInt, tkEot},
        {"FN A(1)", C + "vcBPushInt 1\nvcBCallUserFunc \"FN A\"\n", tkSingle, tkEot},
        {"FNA(FNB)", C + C + "vcBCallUserFunc \"FNB\"\nvcBCallUserFunc \"FNA\"\n", tkSingle, tkEot},
    };
    for (const auto& c : cases) {
        TExpression e(c.text);
        EXPECT_EQ(e.error, "") << c.text;
        EXPECT_EQ(e.Listing(), c.listing) << c.text;
        EXPECT_EQ(e.type, c.type) << c.text;
        EXPECT_EQ(e.rest.kind, c.rest) << c.text;
    }
    EXPECT_EQ(TExpression("FNA(1").error, "@Compile_Err_No_RPar@");
    EXPECT_EQ(TExpression("FNA(1]").error, "@Compile_Err_No_RPar@");
    EXPECT_EQ(TExpression("FNA$ + 1").error, "@Compile_Err_Type_Mismatch_Calc@");
}

TEST(CompilerUserFuncCallTest, ResultTypeFollowsTheDefaultTypeOfF)
{
    TBench b("F FNA");
    b.compiler.SetDefVarType(tkInt);  // reads "F", returns FNA
    TTokenKind type = tkNone;
    b.compiler.GenExpr(TToken(tkUserFunc, "FNA"), false, &type);
    EXPECT_EQ(type, tkInt);
}

TEST(CompilerChecksTest, RequireOrForbidOneToken)
{
    using TCheck = TToken (TCompiler::*)(const TToken&);
    struct TCase {
        TCheck check;
        const char* text;  // the token checked, then the token after it
        const char* error;
        TTokenKind result;
    };
    const TCase cases[] = {
        {&TCompiler::CheckComma, ", X", "", tkVar},
        {&TCompiler::CheckComma, "; X", "@Compile_Err_No_Comma@", tkNone},
        {&TCompiler::CheckEqual, "= X", "", tkVar},
        {&TCompiler::CheckEqual, "== X", "", tkEqual},
        {&TCompiler::CheckEqual, "X", "@Compile_Err_No_Equal@", tkNone},
        {&TCompiler::CheckLpar, "( X", "", tkVar},
        {&TCompiler::CheckLpar, "[ X", "@Compile_Err_No_LPar@", tkNone},
        {&TCompiler::CheckMinus, "- X", "", tkVar},
        {&TCompiler::CheckMinus, "+ X", "@Compile_Err_No_Minus@", tkNone},
        {&TCompiler::CheckRpar, ") X", "", tkVar},
        {&TCompiler::CheckRpar, "] X", "@Compile_Err_No_RPar@", tkNone},
        {&TCompiler::CheckSemiColon, "; X", "", tkVar},
        {&TCompiler::CheckSemiColon, ", X", "@Compile_Err_No_Semi_Colon@", tkNone},
        {&TCompiler::CheckNotMultiExprEnd, "X", "", tkVar},
        {&TCompiler::CheckNotMultiExprEnd, ":", "@Compile_Err_Syntax_Err@", tkNone},
        {&TCompiler::CheckNotMultiExprEnd, "ELSE", "@Compile_Err_Syntax_Err@", tkNone},
        {&TCompiler::CheckNotMultiExprEnd, "", "@Compile_Err_Syntax_Err@", tkNone},
        {&TCompiler::CheckNotLpar, "X", "", tkVar},
        {&TCompiler::CheckNotLpar, ")", "", tkRpar},
        {&TCompiler::CheckNotLpar, "(", "@Compile_Err_Ill_Func_Call@", tkNone},
        {&TCompiler::CheckNotRpar, "(", "", tkLpar},
        {&TCompiler::CheckNotRpar, ")", "@Compile_Err_Ill_Func_Call@", tkNone},
    };
    for (const auto& c : cases) {
        TBench b(c.text);
        TToken result;
        const std::string error = b.ErrorOf([&] { result = (b.compiler.*c.check)(b.compiler.Token()); });
        EXPECT_EQ(error, c.error) << c.text;
        if (error.empty()) {
            EXPECT_EQ(result.kind, c.result) << c.text;
        }
    }
}

TEST(CompilerLabelsTest, JumpTargetsAndInternalLabels)
{
    TBench b("*Loop: *");
    EXPECT_EQ(b.compiler.GenLabel(b.compiler.Token()).kind, tkColon);
    EXPECT_EQ(b.Listing(), "vcBPushString \"LOOP\"\n");
    EXPECT_EQ(b.ErrorOf([&] { b.compiler.GenLabel(b.compiler.Token()); }), "@Compile_Err_Syntax_Err@");

    const std::string first = TCompiler::NextInternalLabel();
    const std::string second = TCompiler::NextInternalLabel();
    ASSERT_EQ(first.rfind("@L", 0), 0u);
    EXPECT_EQ(std::stol(second.substr(2)), std::stol(first.substr(2)) + 1);

    b.compiler.RegistInternalLabel(first);
    EXPECT_EQ(b.mid.LabelMap.at(first), 1);
    b.compiler.AddCode(vcBExit);
    b.compiler.RegistInternalLabel(first);
    EXPECT_EQ(b.mid.LabelMap.at(first), 2);
}

TEST(CompilerEmissionTest, StatementBeginsAndFlags)
{
    TBench b("");
    b.compiler.AddStatementBegin();
    b.compiler.AddStatementBegin();
    EXPECT_EQ(b.mid.StatementBeginSet.size(), 1u);
    b.compiler.AddCode(vcBPushBool, true);
    b.compiler.AddCode(vcBPushBool, false);
    EXPECT_EQ(b.Listing(), "vcBPushBool true\nvcBPushBool false\n");
    EXPECT_EQ(b.compiler.NextCodeIndex(), 2);
}

struct TSkipCase {
    const char* text;
    TTokenKind rest;
    const char* error;
};

TEST(CompilerSkipTest, IgnoredStatementOperands)
{
    const TSkipCase cases[] = {
        {"NEW\nX", tkEol, ""},
        {"LIST 10-20:PRINT 1", tkColon, ""},
        {"POKE (A+1),2", tkEot, ""},
        {"POKE ((A)+(B)) C", tkEot, ""},
        {"SAVE \"A:B\"", tkEot, ""},
        {"TRON ELSE PRINT 1", tkElse, ""},
        {"NAME \"A\" AS \"B\"", tkAs, ""},
        {"LIST 10)", tkRpar, ""},
        {"LIST (10", tkNone, "@Compile_Err_No_RPar@"},
        {"LIST (10:", tkNone, "@Compile_Err_No_RPar@"},
    };
    for (const auto& c : cases) {
        TBench b(c.text);
        TToken rest;
        EXPECT_EQ(b.ErrorOf([&] { rest = b.compiler.SkipMultiExpr(b.compiler.Token()); }), c.error) << c.text;
        if (*c.error == '\0') {
            EXPECT_EQ(rest.kind, c.rest) << c.text;
        }
        EXPECT_EQ(b.Listing(), "") << c.text;
    }

    TBench deep("LIST " + std::string(5000, '('));
    EXPECT_EQ(deep.ErrorOf([&] { deep.compiler.SkipMultiExpr(deep.compiler.Token()); }), "@Compile_Err_Syntax_Err@");
}

TEST(CompilerSkipTest, IgnoredFunctionArguments)
{
    const TSkipCase cases[] = {
        {"FRE(0)+1", tkPlus, ""},
        {"FRE(A(1))*2", tkMul, ""},
        {"FRE\n", tkEol, ""},
        {"FRE:", tkColon, ""},
        {"FRE+(1)*2", tkMul, ""},
        {"FRE+1", tkNone, "@Compile_Err_No_RPar@"},
        {"FRE,1", tkNone, "@Compile_Err_No_RPar@"},
        {"FRE(0", tkNone, "@Compile_Err_No_RPar@"},
        {"FRE(((0))", tkNone, "@Compile_Err_No_RPar@"},
    };
    for (const auto& c : cases) {
        TBench b(c.text);
        TToken rest;
        EXPECT_EQ(b.ErrorOf([&] { rest = b.compiler.SkipFuncOption(b.compiler.Token()); }), c.error) << c.text;
        if (*c.error == '\0') {
            EXPECT_EQ(rest.kind, c.rest) << c.text;
        }
        EXPECT_EQ(b.Listing(), "") << c.text;
    }
}

TEST(CompilerSkipTest, CommentsEndTheLine)
{
    TBench b("REM A:PRINT 1 'x\n10 REM last");
    EXPECT_EQ(b.compiler.Token().text, "REM");
    const TToken end = b.compiler.SkipComment();
    EXPECT_EQ(end.kind, tkEol);
    EXPECT_EQ(end.text, "");
    EXPECT_EQ(b.compiler.Token().text, "10");
    EXPECT_EQ(b.compiler.Token().text, "REM");
    EXPECT_EQ(b.compiler.SkipComment().kind, tkEot);
    EXPECT_EQ(b.compiler.Token().kind, tkEot);

    // A program whose last line ends in a comment without a line feed.
    TProgram p("10 A=1 ' done");
    EXPECT_FALSE(p.HasError());
    EXPECT_TRUE(p.ok);
}

}  // namespace
