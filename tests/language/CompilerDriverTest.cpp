// The compile driver: whole programs in, code listing, line and label maps,
// compile errors with their line, and the compatibility mode out.

#include "CompilerTestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

using namespace compiler_test;

namespace {

const std::string M = "vcBPushSpecial 4\n";

TEST(CompilerDriverTest, TwoLinesOfAssignments)
{
    TProgram p("10 A=1\n20 B$=\"X\"\n");
    ASSERT_FALSE(p.HasError()) << p.alerts.Last();
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.Listing(), "vcBLineBegin 10\n" + M + "vcBPushVar A!\nvcBPushInt 1\nvcBAssignArray\n" +
                               "vcBLineBegin 20\n" + M + "vcBPushVar B$\nvcBPushString \"X\"\nvcBAssignArray\n" +
                               "vcBExit\n");
    EXPECT_EQ(p.mid.Codes[0].Cmd, VM_CODE_PLACEHOLDER);
    EXPECT_EQ(p.mid.LineNumMap, (std::map<int32_t, int32_t>{{10, 1}, {20, 6}}));
    EXPECT_EQ(p.mid.StatementBeginSet, (std::set<int32_t>{2, 7}));
}

TEST(CompilerDriverTest, ProgramSizeDecidesTheResult)
{
    TProgram empty("");
    EXPECT_FALSE(empty.HasError());
    EXPECT_FALSE(empty.ok);
    EXPECT_EQ(empty.Listing(), "vcBLineBegin 0\nvcBExit\n");
    EXPECT_EQ(empty.mid.LineNumMap, (std::map<int32_t, int32_t>{{0, 1}}));

    TProgram oneLine("10\n");
    EXPECT_FALSE(oneLine.HasError());
    EXPECT_FALSE(oneLine.ok);
    EXPECT_EQ(oneLine.mid.Codes.size(), 3u);

    TProgram twoLines("10\n20\n");
    EXPECT_TRUE(twoLines.ok);
    EXPECT_EQ(twoLines.mid.Codes.size(), 4u);
}

TEST(CompilerDriverTest, SeparatorsAndEmptyLinesAddNoCode)
{
    const std::string plain = TProgram("10 A=1:B=2\n20 C=3\n").Listing();
    EXPECT_EQ(TProgram("10 A=1:::B=2\n20 C=3\n").Listing(), plain);
    EXPECT_EQ(TProgram("10 A=1 B=2\n20 C=3\n").Listing(), plain);
    EXPECT_EQ(TProgram("10 A=1:B=2\n\n  \n20 C=3").Listing(), plain);
    EXPECT_EQ(TProgram("10 A=1:B=2 ' note\n 'only a comment\n20 C=3").Listing(), plain);
}

TEST(CompilerDriverTest, LineNumbersAsWritten)
{
    TProgram p("10% A=1\n10.5 B=1\n5\tC=1\n");
    ASSERT_FALSE(p.HasError()) << p.alerts.Last();
    // Line 10 twice: the later one wins; lines need not ascend.
    EXPECT_EQ(p.mid.LineNumMap, (std::map<int32_t, int32_t>{{5, 11}, {10, 6}}));

    TProgram shown("10% A=\n");
    EXPECT_EQ(shown.Error().line, "10%");
}

// A label that opens its line marks the line's beginning, so a jump to it enters the
// line; after a statement it marks the code that follows.
TEST(CompilerDriverTest, LabelsMarkTheirLinesBeginning)
{
    TProgram p("10 *LOOP\n20 * done : A=1\n30 *100\n40 *loop\n50 A=2:*AFTER:B=3\n");
    ASSERT_FALSE(p.HasError()) << p.alerts.Last();
    EXPECT_EQ(p.mid.LineNumMap.at(20), 2);
    EXPECT_EQ(p.mid.LabelMap.at("DONE"), 2);
    EXPECT_EQ(p.mid.LineNumMap.at(30), 7);
    EXPECT_EQ(p.mid.LabelMap.at("100"), 7);   // a label of digits, unrelated to line 100
    EXPECT_EQ(p.mid.LabelMap.at("LOOP"), 8);  // defined twice: the later one
    EXPECT_EQ(p.mid.LineNumMap.at(50), 9);
    EXPECT_EQ(p.mid.LabelMap.at("AFTER"), 14);  // past line 50's A=2

    TProgram first("10 *START\n");
    EXPECT_EQ(first.mid.LabelMap.at("START"), 1);
    TProgram two("10 *ONE:*TWO:PRINT\n");
    EXPECT_EQ(two.mid.LabelMap.at("ONE"), 1);
    EXPECT_EQ(two.mid.LabelMap.at("TWO"), 1);
}

struct TErrorCase {
    const char* text;
    const char* key;
    const char* line;
};

TEST(CompilerDriverTest, ErrorsNameTheirLine)
{
    const TErrorCase cases[] = {
        {"A=1\n", "@Compile_Err_Direct_Statement@", "A=1"},
        {"PRINT 1\n", "@Compile_Err_Direct_Statement@", "PRINT 1"},
        {"0 A=1\n", "@Compile_Err_Direct_Statement@", "0 A=1"},
        {"10:A=1\n", "@Compile_Err_Direct_Statement@", "10:A=1"},
        {"10\"X\"\n", "@Compile_Err_Direct_Statement@", "10\"X\""},
        {"10", "@Compile_Err_Direct_Statement@", "10"},
        {"10A=1\n", "@Compile_Err_Syntax_Err@", "10A=1"},
        // Before a line number is accepted the line is named by its text, a long one by
        // its first 40 bytes, cut before a character.
        {"PRINT 1234567890123456789012345678901234567890\n", "@Compile_Err_Direct_Statement@",
         "PRINT 1234567890123456789012345678901234..."},
        {"REM xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx\u3042\u3044\n", "@Compile_Err_Direct_Statement@",
         "REM xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx..."},
        {"\nA=\n", "@Compile_Err_Missing_Operand@", "A="},
        {"10 A=1\n0 B=1\n", "@Compile_Err_Direct_Statement@", "10"},
        {"10 A=1\nB=1\n", "@Compile_Err_Direct_Statement@", "10"},
        {"10 100\n", "@Compile_Err_Syntax_Err@", "10"},
        {"10 NEXT\n", "@Compile_Err_Next_Without_For@", "10"},
        {"10 WEND\n", "@Compile_Err_Wend_Without_While@", "10"},
        {"10 ELSE\n", "@Compile_Err_Direct_Statement@", "10"},
        {"10 THEN\n", "@Compile_Err_Syntax_Err@", "10"},
        {"10 \"X\"\n", "@Compile_Err_Syntax_Err@", "10"},
        {"10 SIN(1)\n", "@Compile_Err_Syntax_Err@", "10"},
        {"10 FNA\n", "@Compile_Err_Syntax_Err@", "10"},
        {"10 )\n", "@Compile_Err_Syntax_Err@", "10"},
        {"10 #1\n", "@Compile_Err_Syntax_Err@", "10"},
        {"10 ?\n", "@Compile_Err_Syntax_Err@", "10"},
        {"10 A\n", "@Compile_Err_Syntax_Err@", "10"},
        {"10 A+1=5\n", "@Compile_Err_Syntax_Err@", "10"},
        {"10 A=1\n20 B=\n", "@Compile_Err_Missing_Operand@", "20"},
        {"10 LET =5\n", "@Compile_Err_Syntax_Err@", "10"},
        {"10 *\n20 A=1\n", "@Compile_Err_Syntax_Err@", "10"},
        {"10 A=1\x02\n", "@Compile_Err_Unknown_Symbol &H02@", "10"},
    };
    for (const auto& c : cases) {
        TProgram p(c.text);
        EXPECT_FALSE(p.ok) << c.text;
        ASSERT_TRUE(p.HasError()) << c.text;
        EXPECT_EQ(p.Error().message, c.key) << c.text;
        EXPECT_EQ(p.Error().line, c.line) << c.text;
    }
}

TEST(CompilerDriverTest, OnlyTheFirstErrorIsShownAndEarlierCodeStays)
{
    platform::use_key_identity_catalogue(true);
    TMidCode mid;
    TRecordingAlertSink alerts;
    TCompiler compiler(&mid, &alerts);
    int32_t mode = 0;
    EXPECT_FALSE(compiler.Compile("10 A=1\n20 B=\n30 C=\n", &mode));
    ASSERT_EQ(alerts.Count(), 1u);
    EXPECT_EQ(alerts.Last(), "Compile Error\n\n@Compile_Err_Missing_Operand@\n\nLine: 20\n");
    EXPECT_EQ(compiler.LastErrorText(), alerts.Last());
    EXPECT_EQ(ListCodes(mid), "vcBLineBegin 10\n" + M + "vcBPushVar A!\nvcBPushInt 1\nvcBAssignArray\n" +
                                  "vcBLineBegin 20\n" + M + "vcBPushVar B!\n");
}

TEST(CompilerDriverTest, ErrorWithoutASinkStillFailsTheCompile)
{
    platform::use_key_identity_catalogue(true);
    TMidCode mid;
    TCompiler compiler(&mid);
    int32_t mode = 0;
    EXPECT_FALSE(compiler.Compile("10 A=(\n", &mode));
    EXPECT_EQ(SplitErrorText(compiler.LastErrorText()).message, "@Compile_Err_No_RPar@");
    EXPECT_EQ(mode, TCompiler::COMPAT_DISK_BASIC);
}

// A list whose program would hold more than the memory limit stops in the line where
// it passes it; the same list compiles under the default limit, and a short one under
// the small limit.
TEST(CompilerDriverTest, AListPastTheMemoryLimitIsACompileError)
{
    std::string list;
    for (int line = 1; line <= 2000; ++line) list += std::to_string(line) + " A=A+1:B$=\"XY\"\n";
    constexpr size_t kLimit = 64 * 1024;
    const auto compile = [](const std::string& text, size_t limit, TRecordingAlertSink& alerts) {
        TMidCode mid;
        TCompiler compiler(&mid, &alerts);
        compiler.SetMemoryLimit(limit);
        int32_t mode = 0;
        return compiler.Compile(text.c_str(), &mode);
    };
    platform::use_key_identity_catalogue(true);
    TRecordingAlertSink small;
    EXPECT_FALSE(compile(list, kLimit, small));
    const TErrorParts error = SplitErrorText(small.Last());
    EXPECT_EQ(error.message, CE_LIST_TOO_LARGE);
    EXPECT_GT(std::stoi(error.line), 1);
    EXPECT_LT(std::stoi(error.line), 2000);

    TRecordingAlertSink usual;
    EXPECT_TRUE(compile(list, TCompiler::DEFAULT_MEMORY_LIMIT, usual)) << usual.Last();
    TRecordingAlertSink shortList;
    EXPECT_TRUE(compile("10 A=A+1\n20 PRINT A\n", kLimit, shortList)) << shortList.Last();
}

TEST(CompilerDriverTest, CompatibilityModeIsAlwaysReported)
{
    struct TCase {
        const char* text;
        int32_t preference;
        int32_t mode;
    };
    const TCase cases[] = {
        {"10 A=1\n", 0, 2}, {"10 A=1\n", 2, 2}, {"10 A=1\n", 3, 3}, {"10 A=1\n", 7, 7},
        {"10 A=\n", 0, 2},  {"10 A=\n", 3, 3},  {"", 0, 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TProgram(c.text, c.preference).compatMode, c.mode) << c.text << " " << c.preference;
}

// Directly after THEN or ELSE a number, a label or a value is a jump target.
TEST(CompilerDriverTest, JumpTargetsAfterThen)
{
    struct TCase {
        const char* text;
        std::string listing;
    };
    const TCase cases[] = {
        {"100", "vcBPushInt 100\nvcBJmp\n"},
        {"*done", "vcBPushString \"DONE\"\nvcBJmp\n"},
        {"B=1", M + "vcBPushVar B!\nvcBPushInt 1\nvcBAssignArray\n"},
        {"N+10", M + "vcBLoadArray N!\nvcBPushInt 10\nvcBAddFloat\nvcBJmp\n"},
        {"100:B=1", "vcBPushInt 100\nvcBJmp\n" + M + "vcBPushVar B!\nvcBPushInt 1\nvcBAssignArray\n"},
    };
    for (const auto& c : cases) {
        platform::use_key_identity_catalogue(true);
        TMidCode mid;
        TCompiler compiler(&mid);
        compiler.SetSource(c.text);
        const TToken rest = compiler.CompileLine(compiler.Token(), true);
        EXPECT_EQ(rest.kind, tkEot) << c.text;
        EXPECT_EQ(ListCodes(mid.Codes, 0), c.listing) << c.text;
    }

    // The flag holds for the first statement only.
    platform::use_key_identity_catalogue(true);
    TMidCode mid;
    TCompiler compiler(&mid);
    compiler.SetSource("B=1:100");
    EXPECT_THROW(compiler.CompileLine(compiler.Token(), true), TException);
}

TEST(CompilerDriverTest, KeywordWithoutGeneratorIsASyntaxError)
{
    platform::use_key_identity_catalogue(true);
    TMidCode mid;
    TCompiler compiler(&mid);
    compiler.SetSource("");
    try {
        compiler.GenProc(TToken(tkProc, "NO SUCH KEYWORD"));
        ADD_FAILURE() << "no error";
    } catch (const TException& e) {
        EXPECT_EQ(SplitErrorText(e.String()).message, "@Compile_Err_Syntax_Err@");
    }
    EXPECT_EQ(mid.StatementBeginSet, (std::set<int32_t>{0}));
    EXPECT_EQ(mid.FuncProcMap.count("NO SUCH KEYWORD"), 0u);
}

TEST(CompilerDriverTest, DeeplyNestedProgramIsAnError)
{
    const std::string text = "10 A=" + std::string(3000, '(') + "1" + std::string(3000, ')') + "\n";
    TProgram p(text);
    EXPECT_FALSE(p.ok);
    EXPECT_EQ(p.Error().message, "@Compile_Err_Syntax_Err@");
}

TEST(CompilerDriverTest, ErrorTextUsesTheCatalogue)
{
    platform::use_key_identity_catalogue(false);
    TMidCode mid;
    TRecordingAlertSink alerts;
    int32_t mode;
    {
        TCompiler compiler(&mid, &alerts);
        compiler.Compile("10 A=1\n20 B=\n", &mode);
    }
    const std::string message = platform::get_string("@Compile_Err_Missing_Operand@");
    const std::string expected = platform::get_string("Compile Error") + "\n\n" + message + "\n\n" +
                                 platform::replace_placeholder(platform::get_string("Line: %Num%"), "%Num%", "20") +
                                 "\n";
    platform::use_key_identity_catalogue(true);
    EXPECT_NE(message.front(), '@');  // the catalogue has a wording for the key
    EXPECT_EQ(alerts.Last(), expected);
}

}  // namespace
