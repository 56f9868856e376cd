// The operand-list parser: an operand pattern in, the operand codes, the list
// of operand tokens and the first unconsumed token out.

#include "CompilerTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace compiler_test;

namespace {

const std::string M = "vcBPushSpecial 4\n";

// One run of DealToken over `text` with a pattern and bounds.
struct TOperands {
    TMidCode mid;
    std::string source;
    std::vector<TToken> tokens;
    TToken rest;
    std::string error;  // the message of the compile error, empty when none

    TOperands(const std::string& text, const TCompiler::TOperandSpec& pattern, int32_t min, int32_t max) : source(text)
    {
        platform::use_key_identity_catalogue(true);
        TCompiler compiler(&mid);
        compiler.SetSource(source.c_str());
        try {
            rest = compiler.DealToken(compiler.Token(), min, max, pattern, &tokens);
        } catch (const TException& e) {
            error = SplitErrorText(e.String()).message;
        }
    }

    std::string Listing() const { return ListCodes(mid.Codes, 0); }
    // The operand tokens as their texts, "_" for a placeholder, joined by blanks.
    std::string Tokens() const
    {
        std::string out;
        for (const TToken& t : tokens) {
            if (!out.empty()) out += ' ';
            out += t.kind == tkOmitted ? "_" : t.text;
        }
        return out;
    }
};

// (x1,y1)-(x2,y2)[,c]
const TCompiler::TOperandSpec kBox = {{tkLpar, false},  {tkInt, false},  {tkInt, false}, {tkRpar, false},
                                      {tkMinus, false}, {tkLpar, false}, {tkInt, false}, {tkInt, false},
                                      {tkRpar, false},  {tkInt, true}};
// [x][,y][,z]
const TCompiler::TOperandSpec kThreeOptional = {{tkInt, true}, {tkInt, true}, {tkInt, true}};
// [STEP](x,y)[,a][,b]
const TCompiler::TOperandSpec kPaint = {{tkStep, true},  {tkLpar, false},   {tkInt, false}, {tkInt, false},
                                        {tkRpar, false}, {tkAnyType, true}, {tkInt, true}};

TEST(CompilerOperandsTest, CoordinateGroupsWithOptionalColour)
{
    TOperands full("(1,2)-(3,4),5", kBox, 9, 10);
    ASSERT_EQ(full.error, "");
    EXPECT_EQ(full.Listing(), "vcBPushInt 1\nvcBPushInt 2\nvcBPushInt 3\nvcBPushInt 4\nvcBPushInt 5\n");
    EXPECT_EQ(full.Tokens(), "( 1 2 ) - ( 3 4 ) 5");
    EXPECT_EQ(full.rest.kind, tkEot);

    // Without the colour the list ends with ")": no code and no placeholder.
    TOperands plain("(1,2)-(3,4)", kBox, 9, 10);
    ASSERT_EQ(plain.error, "");
    EXPECT_EQ(plain.Listing(), "vcBPushInt 1\nvcBPushInt 2\nvcBPushInt 3\nvcBPushInt 4\n");
    EXPECT_EQ(plain.Tokens(), "( 1 2 ) - ( 3 4 )");

    // A trailing comma is consumed and adds nothing.
    TOperands comma("(1,2)-(3,4),", kBox, 9, 10);
    ASSERT_EQ(comma.error, "");
    EXPECT_EQ(comma.Tokens(), "( 1 2 ) - ( 3 4 )");

    EXPECT_EQ(TOperands("(1,2)-5", kBox, 9, 10).error, "@Compile_Err_Type_Mismatch_Arg@");
}

TEST(CompilerOperandsTest, OptionalOperandsAndBounds)
{
    TOperands leading(",,1", kThreeOptional, 1, 3);
    ASSERT_EQ(leading.error, "");
    EXPECT_EQ(leading.Listing(), "vcBPushAbbrev\nvcBPushAbbrev\nvcBPushInt 1\n");
    EXPECT_EQ(leading.Tokens(), "_ _ 1");

    // Omitted trailing operands emit nothing; the list's length tells.
    TOperands trailing("1", kThreeOptional, 1, 3);
    EXPECT_EQ(trailing.Listing(), "vcBPushInt 1\n");
    EXPECT_EQ(trailing.Tokens(), "1");

    // A semicolon separates like a comma; two values need no separator.
    EXPECT_EQ(TOperands("X;Y", kThreeOptional, 1, 3).Listing(), TOperands("X,Y", kThreeOptional, 1, 3).Listing());
    TOperands juxtaposed("X Y", kThreeOptional, 1, 3);
    EXPECT_EQ(juxtaposed.Listing(), M + "vcBLoadArray X!\n" + M + "vcBLoadArray Y!\n");
    EXPECT_EQ(juxtaposed.Tokens(), "X Y");

    EXPECT_EQ(TOperands("1,2,3,4", kThreeOptional, 1, 3).error, "@Compile_Err_Too_Many_Operand@");
    EXPECT_EQ(TOperands("1,2,3,", kThreeOptional, 1, 3).error, "");
    EXPECT_EQ(TOperands("1,2,3,", kThreeOptional, 1, 3).Tokens(), "1 2 3");
    EXPECT_EQ(TOperands("1,2,3,,", kThreeOptional, 1, 3).error, "@Compile_Err_Too_Many_Operand@");
    EXPECT_EQ(TOperands("", kThreeOptional, 1, 3).error, "@Compile_Err_Missing_Operand@");
    EXPECT_EQ(TOperands(":", kThreeOptional, 0, 3).error, "");
    EXPECT_EQ(TOperands("1,2", kThreeOptional, 0, 1).error, "@Compile_Err_Too_Many_Operand@");
}

// Once every entry is used, the token that follows decides: a separator after an
// operand is consumed, an empty operand or a further value is one too many, and a
// ")" or STEP that fits nothing is a syntax error, as it is before the end.
TEST(CompilerOperandsTest, WhatFollowsAUsedUpPattern)
{
    const TCompiler::TOperandSpec kOneOptional = {{tkInt, true}};
    struct TCase {
        const char* text;
        const char* error;
    };
    const TCase cases[] = {
        {"1,", ""},
        {"1;", ""},
        {"1,,", "@Compile_Err_Too_Many_Operand@"},
        {"1,2", "@Compile_Err_Too_Many_Operand@"},
        {"1 2", "@Compile_Err_Too_Many_Operand@"},
        {"1,(2)", "@Compile_Err_Too_Many_Operand@"},
        {"1)", "@Compile_Err_Syntax_Err@"},
        {"1,)", "@Compile_Err_Syntax_Err@"},
        {"1 STEP", "@Compile_Err_Syntax_Err@"},
        {"1, STEP", "@Compile_Err_Syntax_Err@"},
    };
    for (const TCase& c : cases) EXPECT_EQ(TOperands(c.text, kOneOptional, 0, 1).error, c.error) << c.text;

    // The surplus value's code is never appended.
    EXPECT_EQ(TOperands("1,2", kOneOptional, 0, 1).Listing(), "vcBPushInt 1\n");
    // The same holds after a closing punctuation entry.
    EXPECT_EQ(TOperands("(1,2)-(3,4),5,", kBox, 9, 10).error, "");
    EXPECT_EQ(TOperands("(1,2)-(3,4),5)", kBox, 9, 10).error, "@Compile_Err_Syntax_Err@");
}

TEST(CompilerOperandsTest, StepAndAbsentOptionalPlaces)
{
    TOperands p("(10,10),,3", kPaint, 5, 7);
    ASSERT_EQ(p.error, "");
    EXPECT_EQ(p.Listing(), "vcBPushInt 10\nvcBPushInt 10\nvcBPushAbbrev\nvcBPushInt 3\n");
    EXPECT_EQ(p.Tokens(), "_ ( 10 10 ) _ 3");

    TOperands step("STEP(1,2),\"X\"", kPaint, 5, 7);
    ASSERT_EQ(step.error, "");
    EXPECT_EQ(step.Listing(), "vcBPushInt 1\nvcBPushInt 2\nvcBPushString \"X\"\n");
    EXPECT_EQ(step.Tokens(), "STEP ( 1 2 ) X");

    // STEP where no STEP entry can be reached.
    EXPECT_EQ(TOperands("(1,2) STEP", kPaint, 5, 7).error, "@Compile_Err_Syntax_Err@");
}

TEST(CompilerOperandsTest, PunctuationOnlyWhereTheSpecWantsIt)
{
    // "(" at a value entry opens a parenthesised operand, "-" a negation.
    TOperands grouped("(A+1)*2,-3", kThreeOptional, 1, 3);
    ASSERT_EQ(grouped.error, "");
    EXPECT_EQ(grouped.Tokens(), "( -");
    EXPECT_EQ(grouped.Listing(), M + "vcBLoadArray A!\nvcBPushInt 1\nvcBAddFloat\nvcBPushInt 2\nvcBMulFloat\n"
                                     "vcBPushInt 3\nvcBNegaInt\n");
}

TEST(CompilerOperandsTest, ValueBindsToTheNextEntryThatFits)
{
    const TCompiler::TOperandSpec pattern = {{tkInt, true}, {tkInt, true}, {tkAnyType, true}, {tkAnyType, true}};
    TOperands p("1,A$", pattern, 0, 4);
    ASSERT_EQ(p.error, "");
    EXPECT_EQ(p.Tokens(), "1 A$");
    EXPECT_EQ(p.Listing(), "vcBPushInt 1\n" + M + "vcBLoadArray A$\n");

    const TCompiler::TOperandSpec required = {{tkInt, false}, {tkString, false}};
    EXPECT_EQ(TOperands("\"A\",\"B\"", required, 2, 2).error, "@Compile_Err_Type_Mismatch_Arg@");
    EXPECT_EQ(TOperands("1,2", required, 2, 2).error, "@Compile_Err_Type_Mismatch_Arg@");
    EXPECT_EQ(TOperands(",\"B\"", required, 2, 2).error, "@Compile_Err_Missing_Operand@");
}

TEST(CompilerOperandsTest, UnmatchedClosingParenthesisEndsTheList)
{
    const TCompiler::TOperandSpec pattern = {{tkInt, false}, {tkInt, true}, {tkRpar, false}};
    TOperands p("7) + 1", pattern, 2, 3);
    ASSERT_EQ(p.error, "");
    EXPECT_EQ(p.Tokens(), "7 )");
    EXPECT_EQ(p.rest.kind, tkPlus);
}

TEST(CompilerOperandsTest, TokensThatBeginNoOperandStopTheList)
{
    // Each would otherwise leave the parser without progress.
    for (const char* text : {"1 TO 2", "*", "[1]", "1,GOTO", "1 NEXT"}) {
        TOperands p(text, kThreeOptional, 0, 3);
        EXPECT_EQ(p.error, "@Compile_Err_Syntax_Err@") << text;
    }
}

}  // namespace
