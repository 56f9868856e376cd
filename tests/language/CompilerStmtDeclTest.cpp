// DEF SEG, DEF USR, OPTION BASE and DEF FN: listings, the function records
// and the errors.

#include "CompilerStmtTestSupport.h"

#include "language/UserFuncInfo.h"

#include <gtest/gtest.h>

using namespace compiler_stmt_test;
using compiler_test::TProgram;

namespace {

const std::string Print = "vcPrint true\nvcBUpdateScreen\n";

TEST(CompilerStmtDeclTest, DefSegUsrAndOptionBase)
{
    const TCase cases[] = {
        {"DEF SEG = &HA800", "vcBPushInt 43008\nvcDefSeg\n"},
        {"DEF SEG = S% + 1", R + "vcBLoadArray S%\nvcBPushInt 1\nvcBAddInt\nvcDefSeg\n"},
        {"def seg=-1", "vcBPushInt 1\nvcBNegaInt\nvcDefSeg\n"},
        {"OPTION BASE 1", "vcBPushInt 1\nvcOptionBase\n"},
        {"OPTION BASE 1.5", "vcBPushFloat 1.5\nvcOptionBase\n"},
        {"OPTION BASE 1 : PRINT", "vcBPushInt 1\nvcOptionBase\n" + Print},
        {"DEF USR = &HC000", ""},
        {"DEF USR1 = &HC000", "error @Compile_Err_Syntax_Err@"},
        {"DEF SEG &HA800", "error @Compile_Err_No_Equal@"},
        {"DEF SEG% = 0", "error @Compile_Err_Syntax_Err@"},
        {"DEF SEG = \"A\"", "error @Compile_Err_Type_Mismatch_Arg@"},
        {"OPTION BASE A$", "error @Compile_Err_Type_Mismatch_Arg@"},
        {"DEF", "error @Compile_Err_Syntax_Err@"},
        {"DEF X", "error @Compile_Err_Syntax_Err@"},
        {"OPTION", "error @Compile_Err_Syntax_Err@"},
        {"OPTION SEG 1", "error @Compile_Err_Syntax_Err@"},
        // An empty value would leave the record nothing to take.
        {"DEF SEG =", "error @Compile_Err_Missing_Operand@"},
        {"OPTION BASE", "error @Compile_Err_Missing_Operand@"},
        {"OPTION BASE :PRINT", "error @Compile_Err_Missing_Operand@"},
        // One value only.
        {"OPTION BASE 1 2", "error @Compile_Err_Syntax_Err@"},
    };
    for (const TCase& c : cases) EXPECT_EQ(Compiled(c.source), c.expected) << c.source;
}

// The skip label (first made) jumps over the body; the entry label is bound to
// the body's first code.
TEST(CompilerStmtDeclTest, DefFnListings)
{
    const std::string head = "vcBPushString \"@L1\"\nvcBJmp\n@L2:\n";
    const std::string tail = "vcBRetFromUserFunc\n@L1:\n";
    const TCase cases[] = {
        {"DEF FNA = 5", head + "vcBPushInt 5\nvcCsng\n" + tail},
        {"DEF FNA%(X) = X * 2", head + "vcBLoadUserFuncParam 0\nvcBPushInt 2\nvcBMulFloat\nvcCint\n" + tail},
        {"DEF FNB$(S$, N) = LEFT$(S$, N)", head + "vcBLoadUserFuncParam 0\nvcBLoadUserFuncParam 1\nvcLeftDl\n" + tail},
        {"DEF FNC#(X) = X + Y",
         head + "vcBLoadUserFuncParam 0\n" + R + "vcBLoadArray Y!\nvcBAddFloat\nvcCdbl\n" + tail},
        {"DEF FNA%(X%) = X%", head + "vcBLoadUserFuncParam 0\nvcCint\n" + tail},
        {"DEF FNB$(S$) = S$ + S$", head + "vcBLoadUserFuncParam 0\nvcBLoadUserFuncParam 0\nvcBAddString\n" + tail},
        // Parameters match by canonical name: X% is not the parameter X!.
        {"DEF FNA(X%) = X", head + R + "vcBLoadArray X!\nvcCsng\n" + tail},
        {"DEF FNA(X, X) = X", head + "vcBLoadUserFuncParam 0\nvcCsng\n" + tail},
        {"DEFSTR F:DEF FNA(X) = A$", head + R + "vcBLoadArray A$\n" + tail},
        {"DEF FNA(X) = X : PRINT", head + "vcBLoadUserFuncParam 0\nvcCsng\n" + tail + Print},
    };
    for (const TCase& c : cases) EXPECT_EQ(Compiled(c.source), c.expected) << c.source;
}

TEST(CompilerStmtDeclTest, DefFnRecords)
{
    const TStatement s("DEF FNB$(S$, N) = LEFT$(S$, N)");
    ASSERT_EQ(s.error, "");
    const auto& map = s.program.mid.UserFuncInfoMap;
    ASSERT_EQ(map.count("FNB$"), 1u);
    const TUserFuncInfo& info = map.at("FNB$");
    EXPECT_EQ(info.Params, (std::vector<std::string>{"S$", "N!"}));
    EXPECT_EQ(info.RetType, tkString);
    // The entry label is the index of the body's first code, just after the jump.
    ASSERT_EQ(s.program.mid.LabelMap.count(info.EntryLabel), 1u);
    EXPECT_EQ(s.program.mid.LabelMap.at(info.EntryLabel), 4);

    const TStatement t("DEF FNA = 5");
    EXPECT_TRUE(t.program.mid.UserFuncInfoMap.at("FNA").Params.empty());
    EXPECT_EQ(t.program.mid.UserFuncInfoMap.at("FNA").RetType, tkSingle);
    const TStatement u("DEFINT F:DEF FN X = 1");
    ASSERT_EQ(u.error, "");
    EXPECT_EQ(u.program.mid.UserFuncInfoMap.at("FN X").RetType, tkInt);
}

// A second definition replaces the record; the first body stays in the code
// but no longer holds the entry.
TEST(CompilerStmtDeclTest, DefFnRedefinition)
{
    TProgram p("10 DEF FNA(X) = X\n20 DEF FNA(X, Y) = X + Y\n30 PRINT FNA(1, 2)\n");
    ASSERT_FALSE(p.HasError()) << p.Error().message;
    const TUserFuncInfo& info = p.mid.UserFuncInfoMap.at("FNA");
    EXPECT_EQ(info.Params.size(), 2u);
    const int32_t entry = p.mid.LabelMap.at(info.EntryLabel);
    // The entry of the second body is after line 20's begin.
    EXPECT_GT(entry, p.mid.LineNumMap.at(20));
    EXPECT_NE(p.Listing().find("vcBCallUserFunc \"FNA\""), std::string::npos);
}

// The label counter runs for the whole process: a second compile makes new
// labels, and each definition takes two of them, skip label first.
TEST(CompilerStmtDeclTest, DefFnLabelsKeepCounting)
{
    auto labelNumber = [](const std::string& label) { return std::stol(label.substr(2)); };
    const TStatement first("DEF FNA = 1");
    const TStatement second("DEF FNA = 1");
    const long firstEntry = labelNumber(first.program.mid.UserFuncInfoMap.at("FNA").EntryLabel);
    const long secondEntry = labelNumber(second.program.mid.UserFuncInfoMap.at("FNA").EntryLabel);
    EXPECT_EQ(secondEntry, firstEntry + 2);
    // The skip label, made just before the entry label, is bound past the return.
    const std::string skip = "@L" + std::to_string(secondEntry - 1);
    ASSERT_EQ(second.program.mid.LabelMap.count(skip), 1u);
    EXPECT_EQ(second.program.mid.LabelMap.at(skip), static_cast<int32_t>(second.program.mid.Codes.size()) - 1);
}

TEST(CompilerStmtDeclTest, DefFnErrors)
{
    const TCase cases[] = {
        {"DEF FNA$(X) = X + 1", "@Compile_Err_Type_Mismatch_Assign@"},
        {"DEF FNA(X) = A$", "@Compile_Err_Type_Mismatch_Assign@"},
        {"DEF FNA() = 1", "@Compile_Err_Syntax_Err@"},
        {"DEF FNA(1) = 1", "@Compile_Err_Syntax_Err@"},
        {"DEF FNA(X,) = 1", "@Compile_Err_Syntax_Err@"},
        {"DEF FNA(FNB) = 1", "@Compile_Err_Syntax_Err@"},
        {"DEF FNA(X Y) = X", "@Compile_Err_No_Comma@"},
        {"DEF FNA(X) X", "@Compile_Err_No_Equal@"},
        {"DEF FNA", "@Compile_Err_No_Equal@"},
        // An empty body computes no value for the return to take.
        {"DEF FNA(X) =", "@Compile_Err_Missing_Operand@"},
        {"DEF FNA(X) = :PRINT", "@Compile_Err_Missing_Operand@"},
        {"DEF FNA(X) = X 1", "@Compile_Err_Syntax_Err@"},
    };
    for (const TCase& c : cases) EXPECT_EQ(Error(c.source), c.expected) << c.source;
}

// Parameters are only parameters inside their body.
TEST(CompilerStmtDeclTest, ParametersEndWithTheBody)
{
    EXPECT_EQ(Compiled("DEF FNA(X) = X : X = 1"),
              "vcBPushString \"@L1\"\nvcBJmp\n@L2:\nvcBLoadUserFuncParam 0\nvcCsng\nvcBRetFromUserFunc\n@L1:\n" + R +
                  "vcBPushVar X!\nvcBPushInt 1\nvcBAssignArray\n");
}

}  // namespace
