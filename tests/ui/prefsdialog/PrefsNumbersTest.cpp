// Reading the number fields' texts and the speed slider's scale.

#include "ui/prefsdialog/PrefsNumbers.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(PrefsNumbers, IntegersReadAsStrtolReadsThem)
{
    struct Case {
        const char* text;
        int32_t value;
    };
    const Case cases[] = {
        {"12", 12},
        {"  -5", -5},
        {"+7x", 7},
        {"abc", 0},
        {"", 0},
        {"- 5", 0},
        {"3001", 3001},
        {"1e3", 1},
        {"٣", 0},  // no Arabic-Indic digits
        {"99999999999", 2147483647},
        {"-99999999999999999999999", -2147483647 - 1},
    };
    for (const Case& c : cases) EXPECT_EQ(read_decimal_integer(c.text), c.value) << c.text;
}

TEST(PrefsNumbers, RealsReadWithAPointWhateverTheLocaleAndNothingForNoNumber)
{
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"12", 12.0}, {" 12.5pt", 12.5}, {"-3", -3.0}, {"+4", 4.0}, {".5", 0.5}, {"1e2", 100.0}, {"1e-999", 0.0},
    };
    for (const Case& c : cases) {
        std::optional<double> value = read_decimal_real(c.text);
        ASSERT_TRUE(value.has_value()) << c.text;
        EXPECT_DOUBLE_EQ(*value, c.value) << c.text;
    }
    EXPECT_TRUE(std::isinf(read_decimal_real("1e999").value()));
    EXPECT_TRUE(std::isinf(read_decimal_real("-inf").value()));
    for (const char* none : {"nan", "-NaN", "abc", "", "+-1"})
        EXPECT_FALSE(read_decimal_real(none).has_value()) << none;
    EXPECT_DOUBLE_EQ(read_decimal_real("12,5").value(), 12.0);  // a comma ends the number
}

TEST(PrefsNumbers, SizesShowTheirShortestText)
{
    EXPECT_EQ(float_text(11.0f), "11");
    EXPECT_EQ(float_text(12.5f), "12.5");
}

TEST(PrefsNumbers, SliderPositionsAndIntervalsMeetAtEveryDecade)
{
    struct Case {
        int position;
        int64_t interval;
    };
    const Case cases[] = {{1, 100},    {9, 900},     {10, 1000},    {19, 10000},
                          {20, 20000}, {28, 100000}, {37, 1000000}, {46, 10000000}};
    for (const Case& c : cases) {
        EXPECT_EQ(speed_interval_of_position(c.position), c.interval) << c.position;
        EXPECT_EQ(speed_position_of_interval(c.interval), c.position) << c.interval;
    }
}

TEST(PrefsNumbers, AnIntervalSitsAtItsLeadingDigitAndOutOfRangeAtTheEnds)
{
    EXPECT_EQ(speed_position_of_interval(150), 1);
    EXPECT_EQ(speed_position_of_interval(290), 2);
    EXPECT_EQ(speed_position_of_interval(999999), 36);
    EXPECT_EQ(speed_position_of_interval(50), 1);
    EXPECT_EQ(speed_position_of_interval(99999999), 46);
    EXPECT_EQ(speed_interval_of_position(0), 100);
    EXPECT_EQ(speed_interval_of_position(47), 10000000);
    for (int position = 1; position <= 46; ++position)
        EXPECT_EQ(speed_position_of_interval(speed_interval_of_position(position)), position);
}

}  // namespace
