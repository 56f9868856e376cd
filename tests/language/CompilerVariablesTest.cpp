// Variables: canonical names and records, references, variable lists, default
// types and DEF FN parameters.

#include "CompilerTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace compiler_test;

namespace {

const std::string M = "vcBPushSpecial 4\n";

TEST(CompilerVariablesTest, SuffixesNameDifferentVariables)
{
    TProgram p("10 A=1:A!=2:A%=3:A#=4:A$=\"\":a=6\n");
    ASSERT_FALSE(p.HasError()) << p.alerts.Last();
    std::vector<std::string> names;
    for (const auto& [name, var] : p.mid.VarInfoMap) {
        names.push_back(name);
        EXPECT_EQ(var.VarName, name);
        EXPECT_EQ(p.mid.TokenKindMap.at(name), tkVar);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"A!", "A#", "A$", "A%"}));
    EXPECT_EQ(p.mid.VarInfoMap.at("A%").VarType, tkInt);
    EXPECT_EQ(p.mid.VarInfoMap.at("A!").VarType, tkSingle);
    EXPECT_EQ(p.mid.VarInfoMap.at("A#").VarType, tkDouble);
    EXPECT_EQ(p.mid.VarInfoMap.at("A$").VarType, tkString);
    // Every reference names the one record of its canonical name.
    EXPECT_EQ(p.mid.Codes[3].Operand.Var, &p.mid.VarInfoMap.at("A!"));
}

TEST(CompilerVariablesTest, TypeRule)
{
    TBench b("");
    // clang-format off
    const std::pair<const char*, TTokenKind> cases[] = {
        {"12", tkInt},     {"1.5", tkSingle}, {".5", tkSingle},  {"12#", tkDouble}, {"12!", tkSingle},
        {"1.5%", tkInt},   {"A", tkSingle},   {"A$", tkString},  {"A%B", tkSingle}, {"A_", tkSingle},
        {"A.", tkSingle},  {"_X", tkSingle},  {"", tkSingle},    {"?", tkSingle},
    };
    // clang-format on
    for (const auto& [text, type] : cases) EXPECT_EQ(b.compiler.DistinctVarType(text), type) << text;
    EXPECT_EQ(b.compiler.FindVarInfo("A_")->VarName, "A_!");
    EXPECT_EQ(b.compiler.FindVarInfo("A.")->VarName, "A.!");
}

struct TDefCase {
    const char* letters;
    const char* intLetters;  // the letters that end up integer
    TTokenKind rest;
};

TEST(CompilerVariablesTest, DefaultTypesByLetterRanges)
{
    // clang-format off
    const TDefCase cases[] = {
        {"A-C", "ABC", tkEot},
        {"A - C", "ABC", tkEot},
        {"Z-A", "", tkEot},
        {"AB, CD", "AC", tkEot},
        {"X,Y-Z:", "XYZ", tkColon},
        {"A-Z", "ABCDEFGHIJKLMNOPQRSTUVWXYZ", tkEot},
        {"C ELSE", "C", tkElse},
    };
    // clang-format on
    for (const auto& c : cases) {
        TBench b(c.letters);
        EXPECT_EQ(b.compiler.SetDefVarType(tkInt).kind, c.rest) << c.letters;
        for (char letter = 'A'; letter <= 'Z'; ++letter) {
            const bool isInt = std::string(c.intLetters).find(letter) != std::string::npos;
            EXPECT_EQ(b.compiler.DistinctVarType(std::string(1, letter)), isInt ? tkInt : tkSingle)
                << c.letters << " " << letter;
        }
        // Names beginning with "_" keep single precision whatever the letters say.
        EXPECT_EQ(b.compiler.DistinctVarType("_A"), tkSingle);
    }
}

TEST(CompilerVariablesTest, DefaultTypeListsMustHoldLetters)
{
    for (const char* letters : {"", "A,", "A-", "1", "A-1", "_X", "A-_B", "\"A\"", ":"}) {
        TBench b(letters);
        EXPECT_EQ(b.ErrorOf([&] { b.compiler.SetDefVarType(tkString); }), "@Compile_Err_Ill_Def_Var_Type@") << letters;
    }
}

TEST(CompilerVariablesTest, DefaultTypeActsInTextOrder)
{
    TBench b("A-C");
    TVarInfo* before = b.compiler.FindVarInfo("A");
    b.compiler.SetDefVarType(tkInt);
    TVarInfo* after = b.compiler.FindVarInfo("A");
    EXPECT_EQ(before->VarName, "A!");
    EXPECT_EQ(after->VarName, "A%");
    EXPECT_NE(before, after);
    // A name met with its suffix finds the same record.
    EXPECT_EQ(b.compiler.FindVarInfo("A!"), before);
    EXPECT_EQ(b.compiler.FindVarInfo("A%"), after);
}

struct TRefCase {
    const char* text;
    bool statement;
    std::string listing;
    TTokenKind rest;
};

TEST(CompilerVariablesTest, ReferenceShapes)
{
    const TRefCase cases[] = {
        {"A", false, M + "vcBLoadArray A!\n", tkEot},
        {"A()", false, M + "vcBLoadArray A!\n", tkEot},
        {"B(I, 2)", false, M + M + "vcBLoadArray I!\nvcBPushInt 2\nvcBLoadArray B!\n", tkEot},
        {"B(1;2)", false, M + "vcBPushInt 1\nvcBPushInt 2\nvcBLoadArray B!\n", tkEot},
        {"B(,2)", false, M + "vcBPushAbbrev\nvcBPushInt 2\nvcBLoadArray B!\n", tkEot},
        {"B(1]", false, M + "vcBPushInt 1\nvcBLoadArray B!\n", tkEot},
        {"B[1)", false, M + "vcBPushInt 1\nvcBLoadArray B!\n", tkEot},
        {"B(-1)", false, M + "vcBPushInt 1\nvcBNegaInt\nvcBLoadArray B!\n", tkEot},
        {"A(1)(2)", false, M + "vcBPushInt 1\nvcBLoadArray A!\n", tkLpar},
        {"C$(1) = S$", true, M + "vcBPushInt 1\nvcBPushVar C$\n" + M + "vcBLoadArray S$\nvcBAssignArray\n", tkEot},
        {"N = 5", true, M + "vcBPushVar N!\nvcBPushInt 5\nvcBAssignArray\n", tkEot},
        {"A(B=1) = 2", true,
         M + M + "vcBLoadArray B!\nvcBPushInt 1\nvcBEqualFloat\nvcBPushVar A!\nvcBPushInt 2\nvcBAssignArray\n", tkEot},
    };
    for (const auto& c : cases) {
        TExpression e(c.text, c.statement);
        EXPECT_EQ(e.error, "") << c.text;
        EXPECT_EQ(e.Listing(), c.listing) << c.text;
        EXPECT_EQ(e.rest.kind, c.rest) << c.text;
    }
    EXPECT_EQ(TExpression("A(1").error, "@Compile_Err_No_RPar@");
    EXPECT_EQ(TExpression("A(1:").error, "@Compile_Err_No_RPar@");
}

TEST(CompilerVariablesTest, ReferenceNeedsAVariableToken)
{
    for (const char* text : {"5", "\"X\"", "", "(", "PRINT"}) {
        TBench b(text);
        EXPECT_EQ(b.ErrorOf([&] {
            TToken token = b.compiler.Token();
            bool lvalue = true, keep = false;
            TTokenKind type = tkUntyped;
            b.compiler.GenVar(&token, &lvalue, &keep, true, true, &type);
        }),
                  "@Compile_Err_Syntax_Err@")
            << text;
        EXPECT_TRUE(b.mid.VarInfoMap.empty()) << text;
    }
}

TEST(CompilerVariablesTest, VariableLists)
{
    struct TCase {
        const char* text;
        int32_t count;
        std::string listing;
        TTokenKind rest;
    };
    const TCase cases[] = {
        {"A, B(3)", 2, M + "vcBPushVar A!\n" + M + "vcBPushInt 3\nvcBPushVar B!\n", tkEot},
        {"A B", 2, M + "vcBPushVar A!\n" + M + "vcBPushVar B!\n", tkEot},
        {"", 0, "", tkEot},
        {"X,Y)", 2, M + "vcBPushVar X!\n" + M + "vcBPushVar Y!\n", tkRpar},
        {"A$:", 1, M + "vcBPushVar A$\n", tkColon},
    };
    for (const auto& c : cases) {
        TBench b(c.text);
        TToken token = b.compiler.Token();
        int32_t count = -1;
        b.compiler.GenMultiVar(&token, &count);
        EXPECT_EQ(count, c.count) << c.text;
        EXPECT_EQ(b.Listing(), c.listing) << c.text;
        EXPECT_EQ(token.kind, c.rest) << c.text;
    }
    for (const char* text : {"A, 5", "A,,B", "A +"}) {
        TBench b(text);
        EXPECT_EQ(b.ErrorOf([&] {
            TToken token = b.compiler.Token();
            int32_t count;
            b.compiler.GenMultiVar(&token, &count);
        }),
                  "@Compile_Err_Syntax_Err@")
            << text;
    }
}

// Compiles `body` as the body of a DEF FN whose parameters are `params`.
std::string BodyListing(const std::vector<std::string>& params, const std::string& body)
{
    TBench b(body);
    TUserFuncInfo info;
    info.Params = params;
    b.compiler.EnterUserFuncBody(&info);
    TTokenKind type;
    b.compiler.GenExpr(b.compiler.Token(), false, &type);
    b.compiler.LeaveUserFuncBody();
    return b.Listing();
}

TEST(CompilerVariablesTest, ParametersInsideAUserFunctionBody)
{
    EXPECT_EQ(BodyListing({"X!", "Y!"}, "X + Z"), "vcBLoadUserFuncParam 0\n" + M + "vcBLoadArray Z!\nvcBAddFloat\n");
    EXPECT_EQ(BodyListing({"X!"}, "X + X! + X%"),
              "vcBLoadUserFuncParam 0\nvcBLoadUserFuncParam 0\nvcBAddFloat\n" + M + "vcBLoadArray X%\nvcBAddFloat\n");
    EXPECT_EQ(BodyListing({"X!", "X!"}, "X"), "vcBLoadUserFuncParam 0\n");
    EXPECT_EQ(BodyListing({"A$", "N%"}, "N"), M + "vcBLoadArray N!\n");
    EXPECT_EQ(BodyListing({"A$", "N%"}, "N%"), "vcBLoadUserFuncParam 1\n");

    // Outside the body the same name is the global variable.
    TBench b("X");
    TUserFuncInfo info;
    info.Params = {"X!"};
    b.compiler.EnterUserFuncBody(&info);
    b.compiler.LeaveUserFuncBody();
    TTokenKind type;
    b.compiler.GenExpr(b.compiler.Token(), false, &type);
    EXPECT_EQ(b.Listing(), M + "vcBLoadArray X!\n");
}

TEST(CompilerVariablesTest, ParameterTypeJoinsTheExpression)
{
    TBench b("S + \"!\"");
    TUserFuncInfo info;
    info.Params = {"S$"};
    b.compiler.SetSource("S$ + \"!\"");
    b.compiler.EnterUserFuncBody(&info);
    TTokenKind type;
    b.compiler.GenExpr(b.compiler.Token(), false, &type);
    EXPECT_EQ(type, tkString);
    EXPECT_EQ(b.Listing(), "vcBLoadUserFuncParam 0\nvcBPushString \"!\"\nvcBAddString\n");
}

}  // namespace
