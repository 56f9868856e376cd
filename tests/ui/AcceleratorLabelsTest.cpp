#include "ui/guibase/AcceleratorLabels.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/Locale.h"

namespace {

struct MergeCase {
    std::string format;
    std::string key;
    std::string label;
    std::string merged;
};

const std::string kInFront = "\x01";
const std::string kMiddleDot = "\xE3\x83\xBB";

const MergeCase kMergeCases[] = {
    // The default format puts the key behind the text part of the label.
    {kDefaultAccKeyFormat, "O", "Open", "Open(O)"},
    {kDefaultAccKeyFormat, "O", "Open...", "Open(O)..."},
    {kDefaultAccKeyFormat, "A", "Save As...", "Save As(A)..."},
    {kDefaultAccKeyFormat, "F", "Font:", "Font(F):"},
    {kDefaultAccKeyFormat, "S", "Speed [ms]", "Speed(S) [ms]"},
    {kDefaultAccKeyFormat, "N", "Next >>", "Next(N) >>"},
    {kDefaultAccKeyFormat, "P", "<< Prev", "(P)<< Prev"},
    {kDefaultAccKeyFormat, "G", "Go to: Line...", "Go to: Line(G)..."},
    {kDefaultAccKeyFormat, "W", "\xE5\xB9\x85\xEF\xBC\x9A", "\xE5\xB9\x85(W)\xEF\xBC\x9A"},
    {kDefaultAccKeyFormat, "R", "Run \xE2\x86\x92", "Run(R) \xE2\x86\x92"},
    {kDefaultAccKeyFormat, "B", " :", "(B) :"},
    {kDefaultAccKeyFormat, "Esc", "Cancel", "Cancel(Esc)"},
    {kDefaultAccKeyFormat, "U", "Understand", "Understand(U)"},
    // Placement code 1 puts it in front.
    {kInFront + "a) ", "O", "Open", "O) Open"},
    {kInFront + "a" + kMiddleDot, "O", "Open", "O" + kMiddleDot + "Open"},
    {kInFront + "a - ", "O", "Open", "O - Open"},
    // Formats that name no key leave the label alone.
    {"", "O", "Open...", "Open..."},
    {"\x02(x)", "O", "Open...", "Open..."},
    {kInFront, "O", "Open", "Open"},
    // An "a" in byte 0 is the placement code, not the key's place.
    {"a(x)", "O", "Open", "Open"},
    {"a", "O", "Open", "Open"},
    {"a(a)", "O", "Open", "Open(O)"},
};

TEST(AcceleratorLabels, MergeTheKeyAsTheFormatSays)
{
    for (const MergeCase& c : kMergeCases)
        EXPECT_EQ(merge_accelerator_key(c.format, c.key, c.label), c.merged) << "label \"" << c.label << "\"";
}

TEST(AcceleratorLabels, MenuLabelsMakeTheShownKeyTheirMnemonic)
{
    const MergeCase cases[] = {
        {kDefaultAccKeyFormat, "F", "File", "File(&F)"},
        {kDefaultAccKeyFormat, "A", "Save As...", "Save As(&A)..."},
        {kDefaultAccKeyFormat, "0", "a&b.bas", "a&&b.bas(&0)"},
        {kInFront + "a) ", "O", "Open", "&O) Open"},
        {"\x02[&a]", "R", "Run", "Run[&&&R]"},
        // No key shown, no mnemonic: the label as it stands.
        {"", "O", "Tom & Jerry", "Tom && Jerry"},
        {"\x02(x)", "O", "Open...", "Open..."},
    };
    for (const MergeCase& c : cases)
        EXPECT_EQ(menu_label_with_mnemonic(c.format, c.key, c.label), c.merged) << "label \"" << c.label << "\"";
}

struct ShortCutCase {
    std::string label;
    char key;
};

const ShortCutCase kShortCutCases[] = {
    {"Wrap (W)", 'w'},  {"Open(O)...", 'o'},
    {"Page(s) x", 's'}, {"Save (As)", 0},
    {"A file", 'a'},    {"O) Open", 'o'},
    {"O - Open", 'o'},  {"O" + kMiddleDot + "Open", 'o'},
    {"Cancel(Esc)", 0}, {"(9)", '9'},
    {"Open", 0},        {"", 0},
    {"(", 0},           {")", 0},
};

TEST(AcceleratorLabels, ShortCutIsReadBackFromEveryOfferedFormat)
{
    for (const ShortCutCase& c : kShortCutCases)
        EXPECT_EQ(short_cut_from_label(c.label), c.key) << "label \"" << c.label << "\"";
    for (const std::string& format :
         {kDefaultAccKeyFormat, kInFront + "a) ", kInFront + "a" + kMiddleDot, kInFront + "a - "})
        EXPECT_EQ(short_cut_from_label(merge_accelerator_key(format, "Q", "Quit...")), 'q');
}

TEST(AcceleratorLabels, TextWithDefaultFallsBackOnlyForUnknownKeys)
{
    EXPECT_EQ(locale_text_with_default("$NoSuchKey$", "fallback"), "fallback");
    // A key the catalogue knows gives its text even when the text is the default.
    std::string known = platform::get_string("@Compile_Err_Syntax_Err@");
    ASSERT_NE(known, "@Compile_Err_Syntax_Err@");
    EXPECT_EQ(locale_text_with_default("@Compile_Err_Syntax_Err@", known.c_str()), known);
    EXPECT_EQ(locale_text_with_default("@Compile_Err_Syntax_Err@", "other"), known);
}

TEST(AcceleratorLabels, FormatFallsBackToTheDefaultWithoutSharedPreference)
{
    EXPECT_EQ(current_accelerator_format(), kDefaultAccKeyFormat);
}

}  // namespace
