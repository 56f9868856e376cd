// Expressions: postfix code, the gathered value type and the type errors.

#include "CompilerTestSupport.h"

#include <gtest/gtest.h>

#include <string>

using namespace compiler_test;

namespace {

// Every variable reference opens with the marker "vcBPushSpecial 4".
const std::string M = "vcBPushSpecial 4\n";

TEST(CompilerExprTest, AssignmentWithMixedTypes)
{
    TExpression e("A%=B+2*C", true);
    ASSERT_EQ(e.error, "");
    EXPECT_EQ(e.Listing(), M + "vcBPushVar A%\n" + M + "vcBLoadArray B!\nvcBPushInt 2\n" + M +
                               "vcBLoadArray C!\nvcBMulFloat\nvcBAddFloat\nvcBAssignArray\n");
    EXPECT_EQ(e.type, tkSingle);  // (integer target, single value)
    EXPECT_EQ(e.rest.kind, tkEot);
}

TEST(CompilerExprTest, StringComparisonOnBothSidesOfAnd)
{
    TExpression e("A$ = \"s\" AND B < 3 THEN");
    ASSERT_EQ(e.error, "");
    EXPECT_EQ(e.Listing(), M + "vcBLoadArray A$\nvcBPushString \"s\"\nvcBEqualString\n" + M +
                               "vcBLoadArray B!\nvcBPushInt 3\nvcBLtFloat\nvcBAndInt\n");
    EXPECT_EQ(e.type, tkInt);
    EXPECT_EQ(e.rest.kind, tkThen);
}

TEST(CompilerExprTest, PowerAndParenthesisStartTheirOwnTypes)
{
    TExpression e("Y# = 2 ^ 3 / (1 + N%)", true);
    ASSERT_EQ(e.error, "");
    EXPECT_EQ(e.Listing(), M + "vcBPushVar Y#\nvcBPushInt 2\nvcBPushInt 3\nvcBPowFloat\nvcBPushInt 1\n" + M +
                               "vcBLoadArray N%\nvcBAddInt\nvcBDivFloat\nvcBAssignArray\n");
    EXPECT_EQ(e.type, tkDouble);
}

struct TCodeCase {
    const char* text;
    const char* listing;
    TTokenKind type;
};

TEST(CompilerExprTest, OperatorCodesFollowTheGatheredType)
{
    const TCodeCase cases[] = {
        {"NOT 7 \\ 2 > 1", "vcBPushInt 7\nvcBPushInt 2\nvcBIdivInt\nvcBPushInt 1\nvcBGtInt\nvcBNotInt\n", tkInt},
        {"7 / 2", "vcBPushInt 7\nvcBPushInt 2\nvcBDivFloat\n", tkSingle},
        {"7 \\ 2", "vcBPushInt 7\nvcBPushInt 2\nvcBIdivInt\n", tkInt},
        {"7.5 \\ 2", "vcBPushFloat 7.5\nvcBPushInt 2\nvcBIdivFloat\n", tkSingle},
        {"2 ^ 2", "vcBPushInt 2\nvcBPushInt 2\nvcBPowFloat\n", tkSingle},
        {"2# ^ 2", "vcBPushDouble 2\nvcBPushInt 2\nvcBPowDouble\n", tkDouble},
        {"7 MOD 2", "vcBPushInt 7\nvcBPushInt 2\nvcBModInt\n", tkInt},
        {"2 * 3 + 1.5", "vcBPushInt 2\nvcBPushInt 3\nvcBMulInt\nvcBPushFloat 1.5\nvcBAddFloat\n", tkSingle},
        {"1.5 + 2 * 3", "vcBPushFloat 1.5\nvcBPushInt 2\nvcBPushInt 3\nvcBMulFloat\nvcBAddFloat\n", tkSingle},
        {"8 - 2 - 1", "vcBPushInt 8\nvcBPushInt 2\nvcBSubInt\nvcBPushInt 1\nvcBSubInt\n", tkInt},
        {"--1", "vcBPushInt 1\nvcBNegaInt\nvcBNegaInt\n", tkInt},
        {"+1", "vcBPushInt 1\n", tkInt},
        {"NOT NOT 1", "vcBPushInt 1\nvcBNotInt\nvcBNotInt\n", tkInt},
        {"NOT 1.5", "vcBPushFloat 1.5\nvcBNotFloat\n", tkSingle},
        {"-2 ^ 2", "vcBPushInt 2\nvcBPushInt 2\nvcBPowFloat\nvcBNegaFloat\n", tkSingle},
        {"2 ^ -1", "vcBPushInt 2\nvcBPushInt 1\nvcBNegaInt\nvcBPowFloat\n", tkSingle},
        {"1 + NOT 2 * 3 = 6",
         "vcBPushInt 1\nvcBPushInt 2\nvcBPushInt 3\nvcBMulInt\nvcBPushInt 6\nvcBEqualInt\nvcBNotInt\nvcBAddInt\n",
         tkInt},
        {"1 EQV 2 IMP 3 XOR 4 OR 5",
         "vcBPushInt 1\nvcBPushInt 2\nvcBPushInt 3\nvcBPushInt 4\nvcBPushInt "
         "5\nvcBOrInt\nvcBXorInt\nvcBImpInt\nvcBEqvInt\n",
         tkInt},
        {"1 <> 2 <= 3", "vcBPushInt 1\nvcBPushInt 2\nvcBNoteqInt\nvcBPushInt 3\nvcBLeInt\n", tkInt},
        {"\"A\" + \"B\" >= \"C\"",
         "vcBPushString \"A\"\nvcBPushString \"B\"\nvcBAddString\nvcBPushString \"C\"\nvcBGeString\n", tkInt},
        {"((1))", "vcBPushInt 1\n", tkInt},
        {"1.5%", "vcBPushInt 1\n", tkInt},
        {"&HFFFF", "vcBPushInt 65535\n", tkInt},
        {"&HFFFFFFFF", "vcBPushInt -1\n", tkInt},
        {"40000", "vcBPushInt 40000\n", tkInt},
        {"99999999999", "vcBPushInt 2147483647\n", tkInt},
        {"#1", "vcBPushInt 1\n", tkInt},
        {"\"\"", "vcBPushString \"\"\n", tkString},
        {".5 + 12!", "vcBPushFloat 0.5\nvcBPushFloat 12\nvcBAddFloat\n", tkSingle},
        {"1.2.3", "vcBPushFloat 1.2\n", tkSingle},
        {"0.1#", "vcBPushDouble 0.1\n", tkDouble},
        {"1 = 1 AND 2.5", "vcBPushInt 1\nvcBPushInt 1\nvcBEqualInt\nvcBPushFloat 2.5\nvcBAndFloat\n", tkSingle},
    };
    for (const auto& c : cases) {
        TExpression e(c.text);
        EXPECT_EQ(e.error, "") << c.text;
        EXPECT_EQ(e.Listing(), c.listing) << c.text;
        EXPECT_EQ(e.type, c.type) << c.text;
        EXPECT_EQ(e.rest.kind, tkEot) << c.text;
    }
}

TEST(CompilerExprTest, HugeNumbersStayDefined)
{
    TExpression single(std::string(60, '9') + ".5");
    EXPECT_EQ(single.Listing(), "vcBPushFloat inf\n");
    TExpression dbl(std::string(400, '9') + "#");
    EXPECT_EQ(dbl.Listing(), "vcBPushDouble inf\n");
    TExpression tiny("." + std::string(400, '0') + "1#");
    EXPECT_EQ(tiny.Listing(), "vcBPushDouble 0\n");
}

TEST(CompilerExprTest, StringsCombineOnlyWithStrings)
{
    TExpression join("A$ + B$");
    EXPECT_EQ(join.Listing(), M + "vcBLoadArray A$\n" + M + "vcBLoadArray B$\nvcBAddString\n");
    EXPECT_EQ(join.type, tkString);

    TExpression less("A$ < B$");
    EXPECT_EQ(less.Listing(), M + "vcBLoadArray A$\n" + M + "vcBLoadArray B$\nvcBLtString\n");
    EXPECT_EQ(less.type, tkInt);

    TExpression group("A$ = B$ AND (C$) = D$");
    EXPECT_EQ(group.error, "");
    EXPECT_EQ(group.type, tkInt);
}

struct TErrorCase {
    const char* text;
    bool statement;
    const char* key;
};

TEST(CompilerExprTest, TypeAndShapeErrors)
{
    const TErrorCase cases[] = {
        {"A$ + 1", false, "@Compile_Err_Type_Mismatch_Calc@"},
        {"1 < A$", false, "@Compile_Err_Type_Mismatch_Calc@"},
        {"A$ * 2", false, "@Compile_Err_Type_Mismatch_Calc@"},
        {"1 + (A$)", false, "@Compile_Err_Type_Mismatch_Calc@"},
        {"A$ - B$", false, "@Compile_Err_Cannot_Sub_String@"},
        {"-A$", false, "@Compile_Err_Cannot_Nega_String@"},
        {"A$ ^ -B$", false, "@Compile_Err_Cannot_Nega_String@"},
        {"A$ ^ B$", false, "@Compile_Err_Cannot_Hat_String@"},
        {"A$ * B$", false, "@Compile_Err_Cannot_Mul_Div_String@"},
        {"A$ / B$", false, "@Compile_Err_Cannot_Mul_Div_String@"},
        {"A$ \\ B$", false, "@Compile_Err_Cannot_Mul_Div_String@"},
        {"A$ MOD B$", false, "@Compile_Err_Cannot_Mul_Div_String@"},
        {"NOT A$", false, "@Compile_Err_Cannot_Logic_String@"},
        {"1 AND A$", false, "@Compile_Err_Cannot_Logic_String@"},
        {"A$ AND 1", false, "@Compile_Err_Cannot_Logic_String@"},
        {"A$ OR B$", false, "@Compile_Err_Cannot_Logic_String@"},
        {"(A$) XOR 1", false, "@Compile_Err_Cannot_Logic_String@"},
        {"1 EQV A$ + B$", false, "@Compile_Err_Cannot_Logic_String@"},
        {"A AND B = 1", true, "@Compile_Err_Assign_Unlvalue@"},
        {"NOT A = 1", true, "@Compile_Err_Assign_Unlvalue@"},
        {"A$ = 5", true, "@Compile_Err_Type_Mismatch_Assign@"},
        {"A = \"X\"", true, "@Compile_Err_Type_Mismatch_Assign@"},
        {"(1 + 2", false, "@Compile_Err_No_RPar@"},
        {"(1 + 2]", false, "@Compile_Err_No_RPar@"},
        {"A PRINT", false, "@Compile_Err_Syntax_Err@"},
        {"PRINT", false, "@Compile_Err_Syntax_Err@"},
        {"1 + END", false, "@Compile_Err_Syntax_Err@"},
    };
    for (const auto& c : cases) EXPECT_EQ(TExpression(c.text, c.statement).error, c.key) << c.text;
}

// An operand position that compiles nothing never reaches the machine.
TEST(CompilerExprTest, EveryOperandPositionMustHoldAValue)
{
    const TErrorCase cases[] = {
        {"A =", true, "@Compile_Err_Missing_Operand@"},    {"A = :", true, "@Compile_Err_Missing_Operand@"},
        {"=5", true, "@Compile_Err_Syntax_Err@"},          {"1 +", false, "@Compile_Err_Missing_Operand@"},
        {"1 + )", false, "@Compile_Err_Missing_Operand@"}, {"A *", false, "@Compile_Err_Missing_Operand@"},
        {"* 2", false, "@Compile_Err_Syntax_Err@"},        {"/ 2", false, "@Compile_Err_Syntax_Err@"},
        {"AND 1", false, "@Compile_Err_Syntax_Err@"},      {"< 1", false, "@Compile_Err_Syntax_Err@"},
        {"^ 1", false, "@Compile_Err_Syntax_Err@"},        {"-", false, "@Compile_Err_Missing_Operand@"},
        {"+ ,", false, "@Compile_Err_Missing_Operand@"},   {"NOT", false, "@Compile_Err_Missing_Operand@"},
        {"2 ^", false, "@Compile_Err_Missing_Operand@"},   {"2 ^ -", false, "@Compile_Err_Missing_Operand@"},
        {"()", false, "@Compile_Err_Missing_Operand@"},    {"1 = ", false, "@Compile_Err_Missing_Operand@"},
        {"1 OR", false, "@Compile_Err_Missing_Operand@"},
    };
    for (const auto& c : cases) EXPECT_EQ(TExpression(c.text, c.statement).error, c.key) << c.text;
}

TEST(CompilerExprTest, StatementModeAssignsOnce)
{
    TExpression chain("A = B = C", true);
    EXPECT_EQ(chain.Listing(),
              M + "vcBPushVar A!\n" + M + "vcBLoadArray B!\n" + M + "vcBLoadArray C!\nvcBEqualFloat\nvcBAssignArray\n");
    EXPECT_EQ(chain.type, tkSingle);

    // Outside statement mode "=" compares.
    TExpression compare("A = 1");
    EXPECT_EQ(compare.Listing(), M + "vcBLoadArray A!\nvcBPushInt 1\nvcBEqualFloat\n");

    TExpression sum("A + 1 = 5", true);
    EXPECT_EQ(sum.error, "");
    EXPECT_EQ(sum.Listing(), M + "vcBLoadArray A!\nvcBPushInt 1\nvcBAddFloat\nvcBPushInt 5\nvcBEqualFloat\n");

    EXPECT_EQ(TExpression("A% = 1.5", true).type, tkSingle);
    EXPECT_EQ(TExpression("A# = 1", true).type, tkDouble);
    EXPECT_EQ(TExpression("A$ = \"X\" + B$", true).type, tkString);
}

TEST(CompilerExprTest, ExpressionStopsAtTheFirstTokenItCannotUse)
{
    TExpression empty(")");
    EXPECT_EQ(empty.error, "");
    EXPECT_EQ(empty.Listing(), "");
    EXPECT_EQ(empty.type, tkUntyped);
    EXPECT_EQ(empty.rest.kind, tkRpar);

    // An operand right after an operand belongs to the caller (PRINT "X" A).
    TExpression two("\"X\" A");
    EXPECT_EQ(two.Listing(), "vcBPushString \"X\"\n");
    EXPECT_EQ(two.rest.kind, tkVar);
    EXPECT_EQ(two.rest.text, "A");

    // GOTO and GOSUB end a condition (IF A GOTO 100, ON N GOSUB 100).
    TExpression jump("A GOTO 100");
    EXPECT_EQ(jump.error, "");
    EXPECT_EQ(jump.rest.text, "GOTO");
    EXPECT_EQ(TExpression("N GOSUB 100").rest.text, "GOSUB");
    EXPECT_EQ(TExpression("N GO TO 100").rest.text, "GO TO");
}

TEST(CompilerExprTest, DeepNestingIsAnErrorNotACrash)
{
    const std::string ok = std::string(150, '(') + "1" + std::string(150, ')');
    EXPECT_EQ(TExpression(ok).error, "");

    const std::string deep = std::string(5000, '(') + "1" + std::string(5000, ')');
    EXPECT_EQ(TExpression(deep).error, "@Compile_Err_Syntax_Err@");
    EXPECT_EQ(TExpression(std::string(5000, '-') + "1").error, "@Compile_Err_Syntax_Err@");
    std::string nots;
    for (int i = 0; i < 5000; ++i) nots += "NOT ";
    EXPECT_EQ(TExpression(nots + "1").error, "@Compile_Err_Syntax_Err@");
}

struct TListCase {
    const char* text;
    int32_t count;
    TTokenKind separator;
    const char* listing;
};

TEST(CompilerExprTest, ExpressionListsCountEmptyEntries)
{
    const TListCase cases[] = {
        {"", 0, tkComma, ""},
        {"1", 1, tkNone, "vcBPushInt 1\n"},
        {"1,", 1, tkComma, "vcBPushInt 1\n"},
        {"1;", 1, tkSemiColon, "vcBPushInt 1\n"},
        {",1", 2, tkNone, "vcBPushAbbrev\nvcBPushInt 1\n"},
        {"1,,2", 3, tkNone, "vcBPushInt 1\nvcBPushAbbrev\nvcBPushInt 2\n"},
        {",,", 2, tkComma, "vcBPushAbbrev\nvcBPushAbbrev\n"},
        {"1;2)", 2, tkNone, "vcBPushInt 1\nvcBPushInt 2\n"},
        {"1 2", 2, tkNone, "vcBPushInt 1\nvcBPushInt 2\n"},
    };
    for (const auto& c : cases) {
        platform::use_key_identity_catalogue(true);
        TMidCode mid;
        TCompiler compiler(&mid);
        compiler.SetSource(c.text);
        int32_t count = -1;
        TTokenKind separator = tkEot;
        compiler.GenMultiExpr(compiler.Token(), &count, &separator);
        EXPECT_EQ(count, c.count) << c.text;
        EXPECT_EQ(separator, c.separator) << c.text;
        EXPECT_EQ(ListCodes(mid.Codes, 0), c.listing) << c.text;
    }
}

TEST(CompilerExprTest, ExpressionListStopsAtATokenThatBeginsNoEntry)
{
    for (const char* text : {"1, TO", "1 WEND", "[", "1, GOTO", "1 ?", "\xC2\xA5"}) {
        platform::use_key_identity_catalogue(true);
        TMidCode mid;
        TCompiler compiler(&mid);
        compiler.SetSource(text);
        int32_t count;
        try {
            compiler.GenMultiExpr(compiler.Token(), &count, nullptr);
            ADD_FAILURE() << "no error for " << text;
        } catch (const TException& e) {
            EXPECT_EQ(SplitErrorText(e.String()).message, "@Compile_Err_Syntax_Err@") << text;
        }
    }
}

TEST(CompilerExprTest, ResultTypeTable)
{
    platform::use_key_identity_catalogue(true);
    TMidCode mid;
    TCompiler compiler(&mid);
    const TTokenKind U = tkUntyped, I = tkInt, S = tkSingle, D = tkDouble, T = tkString, X = tkTypeMismatch;
    const TTokenKind expected[5][5] = {
        {U, I, S, D, T}, {I, I, S, D, X}, {S, S, S, D, X}, {D, D, D, D, X}, {T, X, X, X, T},
    };
    for (int a = 0; a < 5; ++a)
        for (int b = 0; b < 5; ++b) {
            const auto ka = static_cast<TTokenKind>(tkUntyped + a);
            const auto kb = static_cast<TTokenKind>(tkUntyped + b);
            EXPECT_EQ(compiler.SelectVarType(ka, kb, false), expected[a][b]) << a << "," << b;
            EXPECT_EQ(compiler.SelectVarType(ka, kb, true), kb);
        }
    EXPECT_EQ(TCompiler::AddOffsetToCode(vcBAddInt, tkUntyped), vcBAddInt);
    EXPECT_EQ(TCompiler::AddOffsetToCode(vcBAddInt, tkInt), vcBAddInt);
    EXPECT_EQ(TCompiler::AddOffsetToCode(vcBAddInt, tkString), vcBAddString);
    EXPECT_EQ(TCompiler::AddOffsetToCode(vcBEqualInt, tkDouble), vcBEqualDouble);
}

}  // namespace
