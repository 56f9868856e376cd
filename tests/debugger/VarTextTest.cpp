// The texts of the variable list: values by type, the cut of long strings, and the
// subscripts of array elements.

#include <gtest/gtest.h>

#include "debugger/VarText.h"
#include "language/VarInfo.h"

namespace {

TVarInfo Scalar(const char* name, TTokenKind type)
{
    TVarInfo v;
    v.VarName = name;
    v.CreateDefaultNonArray(type);
    return v;
}

TEST(VarText, NumbersAsTheGConversionWritesThem)
{
    struct {
        double value;
        const char* text;
    } const cases[] = {
        {0.1, "0.1"},   {2e6, "2e+06"}, {1.0 / 3, "0.333333"},      {1e5, "100000"}, {1e-5, "1e-05"},
        {-2.5, "-2.5"}, {0, "0"},       {123456789, "1.23457e+08"},
    };
    for (const auto& c : cases) EXPECT_EQ(var_number_text(c.value), c.text) << c.value;
}

TEST(VarText, ValueOfEachType)
{
    TVarInfo a = Scalar("A%", tkInt);
    a.IntValues()[0] = -5;
    EXPECT_EQ(var_value_text(a, 0), "-5");
    TVarInfo b = Scalar("B!", tkSingle);
    b.SingleValues()[0] = 0.1f;  // widened to double, still six digits
    EXPECT_EQ(var_value_text(b, 0), "0.1");
    TVarInfo c = Scalar("C#", tkDouble);
    c.DoubleValues()[0] = 2e6;
    EXPECT_EQ(var_value_text(c, 0), "2e+06");
    TVarInfo s = Scalar("S$", tkString);
    EXPECT_EQ(var_value_text(s, 0), "");
    s.StringValues()[0] = "HELLO";
    EXPECT_EQ(var_value_text(s, 0), "HELLO");
    EXPECT_EQ(var_value_text(s, 1), "");  // beyond the record
    EXPECT_EQ(var_value_text(s, -1), "");
}

TEST(VarText, LongStringsAreCutAtACharacterBoundary)
{
    EXPECT_EQ(var_cut_text(std::string(600, 'x')).size(), VAR_TEXT_MAX);
    EXPECT_EQ(var_cut_text(std::string(VAR_TEXT_MAX, 'x')).size(), VAR_TEXT_MAX);
    // 498 bytes, then a three-byte character across the limit: it goes whole.
    const std::string text = std::string(498, 'x') + "\xE3\x81\x82" + "yy";
    EXPECT_EQ(var_cut_text(text), std::string(498, 'x'));
}

TEST(VarText, ElementLabelsCountTheLastSubscriptFastest)
{
    TVarInfo x = Scalar("X!", tkSingle);
    const int32_t sizes[] = {4, 3};  // DIM X(2,3)
    ASSERT_TRUE(x.CreateArray(sizes));
    const std::vector<int32_t> kept = var_dim_sizes(x);
    EXPECT_EQ(kept, (std::vector<int32_t>{4, 3}));
    EXPECT_EQ(var_element_count(kept), 12);
    EXPECT_EQ(x.ElemCount, 13);
    EXPECT_EQ(var_element_label("X!", kept, 1), "X!(0,0)");
    EXPECT_EQ(var_element_label("X!", kept, 2), "X!(0,1)");
    EXPECT_EQ(var_element_label("X!", kept, 5), "X!(1,0)");
    EXPECT_EQ(var_element_label("X!", kept, 12), "X!(2,3)");
    EXPECT_EQ(var_element_label("X!", kept, 0), "X!");
}

TEST(VarText, DefaultTextsAndShapesWithoutElements)
{
    EXPECT_EQ(var_default_text(tkInt), "0");
    EXPECT_EQ(var_default_text(tkString), "");
    EXPECT_EQ(var_element_count({}), 0);
    const int32_t bad[] = {0, 3};
    EXPECT_EQ(var_element_count(bad), 0);
    const TVarInfo plain = Scalar("P!", tkSingle);
    EXPECT_TRUE(var_dim_sizes(plain).empty());
}

}  // namespace

#include "debugger/SrcCodeLines.h"

namespace {

TEST(SrcCodeLines, LinesKnowTheirNumbersAndTheFirstNumberedOne)
{
    TSrcCodeLines lines;
    lines.Set("\n  \n10 A=1\n20 GOSUB 100\nREM\n100 RETURN");
    ASSERT_EQ(lines.Lines().size(), 6u);
    EXPECT_EQ(lines.FirstNumberedRow(), 2);  // not the empty first line
    EXPECT_EQ(lines.Row(20), 3);
    EXPECT_EQ(lines.Row(30), -1);
    EXPECT_EQ(lines.Row(-1), -1);  // unnumbered lines are never found by number
    EXPECT_EQ(lines.Line(100), "100 RETURN");
    EXPECT_EQ(lines.Line(5), "");
    EXPECT_EQ(leading_line_number(" 42 PRINT"), 42);
    EXPECT_EQ(leading_line_number("PRINT 42"), std::nullopt);
    EXPECT_EQ(leading_line_number("99999999999 X"), std::nullopt);
}

// The compiler accepts two lines of one number, and a jump to it reaches the later.
TEST(SrcCodeLines, TwoLinesOfOneNumberFindTheLaterOne)
{
    TSrcCodeLines lines;
    lines.Set("10 A=1\n20 B=1\n10 C=1\n30 END\n");
    EXPECT_EQ(lines.Row(10), 2);
    EXPECT_EQ(lines.Line(10), "10 C=1");
    EXPECT_EQ(lines.Row(20), 1);
}

}  // namespace
