// What the editor's dialogs type turned into what it applies: the go-to-line text,
// the run-from-line text and the Renumber dialog's three fields.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "session/GoToLineText.h"
#include "session/RenumberFields.h"
#include "session/RunLineText.h"

namespace {

TEST(GoToLineText, FindsTheLineTheTextNames)
{
    const std::string list = "10 A\n20 B\n100 C\n  30 PRINT\n0 Z";
    struct Case {
        std::string typed;
        int64_t offset;
        std::string alertKey;
    };
    const Case cases[] = {
        {"10", 0, ""},
        {"20", 5, ""},
        {"100", 10, ""},
        {" 20", 5, ""},       // leading blanks are skipped
        {"20xy", 5, ""},      // the rest after the digits is ignored
        {"letters", 27, ""},  // letters read 0
        {"1", -1, "@Err_Specified_Line_Not_Found@"},
        {"30", -1, "@Err_Specified_Line_Not_Found@"},  // its line begins with blanks
        {"", -1, "@Err_Line_Not_Input@"},
    };
    for (const Case& c : cases) {
        const TGoToLine found = find_line_from_text(list, c.typed);
        EXPECT_EQ(found.Offset, c.offset) << c.typed;
        EXPECT_EQ(found.AlertKey, c.alertKey) << c.typed;
    }
}

TEST(RunLineText, LineNumberOrLabel)
{
    struct Case {
        std::string typed;
        std::optional<int32_t> lineNum;
        std::optional<std::string> label;
    };
    // clang-format off
    const Case cases[] = {
        {"100", 100, std::nullopt},
        {"12ab", 12, std::nullopt},
        {"99999999999", 2147483647, std::nullopt},
        {"loop", std::nullopt, "LOOP"},
        {"*loop", std::nullopt, "LOOP"},
        {"*Loop_2", std::nullopt, "LOOP_2"},
        {" 100", std::nullopt, " 100"},
        {"-5", std::nullopt, "-5"},
    };
    // clang-format on
    for (const Case& c : cases) {
        TRunRequest request;
        EXPECT_EQ(set_run_line_from_text(c.typed, request), "") << c.typed;
        EXPECT_EQ(request.LineNum, c.lineNum) << c.typed;
        EXPECT_EQ(request.Label, c.label) << c.typed;
    }
    TRunRequest request;
    EXPECT_EQ(set_run_line_from_text("", request), "@Err_Line_Not_Input@");
    EXPECT_FALSE(request.LineNum.has_value());
    EXPECT_FALSE(request.Label.has_value());
}

TEST(RenumberFields, ReadAsTheDialogAppliesThem)
{
    struct Case {
        const char* newLine;
        const char* oldLine;
        const char* step;
        int32_t expectedNew, expectedOld, expectedStep;
    };
    // clang-format off
    const Case cases[] = {
        {"", "", "", 10, 1, 10},
        {"0", "0", "0", 1, 1, 1},
        {"-5", "-5", "-5", 1, 1, 1},
        {"abc", "abc", "abc", 1, 1, 1},
        {"100", "20", "3x", 100, 20, 3},
        {" 200", "+30", "5", 200, 30, 5},
    };
    // clang-format on
    for (const Case& c : cases) {
        const TRenumberValues values = read_renumber_fields(c.newLine, c.oldLine, c.step);
        EXPECT_EQ(values.NewLine, c.expectedNew) << c.newLine;
        EXPECT_EQ(values.OldLine, c.expectedOld) << c.oldLine;
        EXPECT_EQ(values.Step, c.expectedStep) << c.step;
    }
}

}  // namespace
