// PRINT of a text far longer than the console window: the window scrolls by every
// row the text fills, however many, and what is left is the text's last part. A text
// that scrolls by tens of thousands of rows must leave the same screen, and the same
// cursor, as a shorter text with the same last part does.

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "language/Compiler.h"
#include "tests/machine/vm/ProgramFixture.h"

namespace {

// The screen of a run: the text of its rows and the cursor.
struct TScreenAfter {
    std::string text;
    int cursor;
};

class LongPrint : public ProgramFixture {
protected:
    // A fresh machine's screen after the list has run to its end.
    static TScreenAfter RunList(const std::string& list)
    {
        TMidCode mid;
        int32_t mode = 0;
        {
            TCompiler compiler(&mid, nullptr, 0);
            EXPECT_TRUE(compiler.Compile(list.c_str(), &mode)) << list;
        }
        TBasicRsrc screen;
        TVMachine machine("Virtual Machine", &mid, &screen, nullptr, nullptr, nullptr);
        machine.SetRuntimeCompatiMode(mode);
        EXPECT_TRUE(machine.SetStartPos(TRunRequest{}));
        machine.Resume();
        machine.Wait(nullptr);
        EXPECT_EQ(machine.ErrorText(), "") << list;
        return {ScreenLines(screen), screen.CsrIdx};
    }
};

// A list that sets up the screen, builds `count` copies of `unit` in A$ by doubling,
// and prints A$ at the cursor without a line end.
std::string print_list(const std::string& setup, const std::string& unit, int count)
{
    int bit = 30;
    while ((count >> bit) == 0) --bit;
    std::string list = "10 " + setup + "\n20 U$=\"" + unit + "\":A$=U$\n";
    int line = 30;
    for (--bit; bit >= 0; --bit, line += 10)
        list += std::to_string(line) + " A$=A$+A$" + ((count >> bit) & 1 ? ":A$=A$+U$" : "") + "\n";
    return list + std::to_string(line) + " PRINT A$;\n";
}

TEST_F(LongPrint, LeavesTheScreenOfItsLastPart)
{
    struct Layout {
        const char* name;
        int top;     // the console window's first row
        int bottom;  // the row after its last
    };
    const Layout layouts[] = {{"whole screen", 0, 25}, {"rows 5 to 14", 5, 15}};
    struct Unit {
        const char* text;
        int width;  // in columns
    };
    const Unit units[] = {{"A", 1}, {"\xE6\xBC\xA2", 2}, {"A\xE6\xBC\xA2", 3}};
    constexpr int COLS = 80;
    constexpr int COLUMN = 37;

    for (const Layout& layout : layouts) {
        const int h = layout.bottom - layout.top;
        const std::string setup = "CONSOLE " + std::to_string(layout.top) + "," + std::to_string(h) + ":CLS";
        for (const int row : {layout.top, layout.top + h / 2, layout.bottom - 1}) {
            const int cursor = row * COLS + COLUMN;
            // A text of width w scrolls the window by about w − (the cells left below
            // the cursor's row); these widths put that distance on both sides of 32768
            // and at 65536, besides the 40960 of ten letters doubled twelve times.
            const int below = (layout.bottom - 1) * COLS - cursor;
            const std::vector<int> widths = {40960,         32768 + below - COLS, 32768 + below - 1,
                                             32768 + below, 32768 + below + COLS, 65536 + below};
            for (const Unit& unit : units) {
                // Dropping a multiple of `period` copies drops whole rows from the front.
                const int period = COLS / std::gcd(unit.width, COLS);
                const int shortCount = (2 * TBasicRsrc::TXT_BUF_CELLS) / unit.width;
                for (const int width : widths) {
                    const int count = width / unit.width;
                    const int dropped = (count - shortCount) / period * period;
                    const std::string place = setup + ":LOCATE " + std::to_string(COLUMN) + "," + std::to_string(row);
                    SCOPED_TRACE(std::string(layout.name) + ", row " + std::to_string(row) + ", unit " + unit.text +
                                 ", " + std::to_string(count) + " copies");
                    const TScreenAfter expected = RunList(print_list(place, unit.text, count - dropped));
                    const TScreenAfter actual = RunList(print_list(place, unit.text, count));
                    EXPECT_EQ(actual.text, expected.text);
                    EXPECT_EQ(actual.cursor, expected.cursor);
                }
            }
        }
    }
}

}  // namespace
