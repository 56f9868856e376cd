// The text screen of the emulated machine: printing, line feeds, the console window,
// scrolling, clearing and deleting.

#include <gtest/gtest.h>

#include <string>

#include "machine/devices/BasicRsrc.h"
#include "machine/host/HeadlessHost.h"

namespace {

class TextScreen : public ::testing::Test {
protected:
    // The shown text of one row, trailing blanks removed.
    std::string Row(int row) const
    {
        std::string text =
            rsrc.DisplayedTxt(static_cast<short>(row * rsrc.TxtCols), static_cast<short>((row + 1) * rsrc.TxtCols - 1));
        text.erase(text.find_last_not_of(' ') + 1);
        return text;
    }
    void MoveTo(int row, int col) { rsrc.CsrIdx = static_cast<int16_t>(row * rsrc.TxtCols + col); }
    // Writes a row's cells directly, without the scrolling that printing a full
    // last row would cause.
    void PutRow(int row, char c)
    {
        for (int col = 0; col < rsrc.TxtCols; ++col) {
            rsrc.TxtBuf[row * rsrc.TxtCols + col][0] = c;
            rsrc.TxtBuf[row * rsrc.TxtCols + col][1] = 0;
        }
    }
    void FillRow(int row, char c)
    {
        MoveTo(row, 0);
        rsrc.Print(std::string(rsrc.TxtCols, c).c_str());
    }

    TBasicRsrc rsrc;
};

TEST_F(TextScreen, StartsEmptyWithDefaults)
{
    EXPECT_EQ(rsrc.TxtCols, 80);
    EXPECT_EQ(rsrc.TxtRows, 25);
    EXPECT_EQ(rsrc.CellWidth, 8);
    EXPECT_EQ(rsrc.CellHeight, 16);
    EXPECT_EQ(rsrc.CsrIdx, 0);
    for (int row = 0; row < 25; ++row) EXPECT_EQ(Row(row), "");
    EXPECT_EQ(rsrc.TxtColPal[2], make_rgb(255, 0, 0, 255));  // red
    EXPECT_EQ(rsrc.TxtColPal[4], make_rgb(0, 255, 0, 255));  // green
    EXPECT_EQ(rsrc.TxtColPal[1], make_rgb(0, 0, 255, 255));  // blue
}

TEST_F(TextScreen, PrintWritesCharactersWithTheTextColour)
{
    rsrc.TxtCol = 3;
    rsrc.Print("AB");
    EXPECT_EQ(Row(0), "AB");
    EXPECT_EQ(rsrc.CsrIdx, 2);
    EXPECT_EQ(rsrc.TxtAttr[0], 3);
    EXPECT_EQ(rsrc.TxtAttr[1], 3);
}

TEST_F(TextScreen, FullLineAtTheBottomScrollsFirst)
{
    MoveTo(0, 0);
    rsrc.Print("TOP");
    MoveTo(24, 0);
    rsrc.Print(std::string(80, 'X').c_str());
    EXPECT_EQ(Row(23), std::string(80, 'X'));
    EXPECT_EQ(Row(24), "");
    EXPECT_EQ(rsrc.CsrIdx, 24 * 80);
    EXPECT_EQ(Row(0), "");  // "TOP" scrolled away
    rsrc.DoCRLF();
    EXPECT_EQ(Row(22), std::string(80, 'X'));
    EXPECT_EQ(Row(23), "");
    EXPECT_EQ(rsrc.CsrIdx, 24 * 80);
}

TEST_F(TextScreen, LongTextShowsOnlyItsLastPartInsideTheWindow)
{
    FillRow(8, '8');
    FillRow(9, '9');
    rsrc.ConsoleTop = 10;
    rsrc.ConsoleBottom = 15;
    MoveTo(14, 0);
    std::string text;
    for (int i = 0; i < 480; ++i) text += static_cast<char>('a' + (i / 80));
    rsrc.Print(text.c_str());
    EXPECT_EQ(Row(8), std::string(80, '8'));
    EXPECT_EQ(Row(9), std::string(80, '9'));
    EXPECT_EQ(Row(10), std::string(80, 'c'));
    EXPECT_EQ(Row(13), std::string(80, 'f'));
    EXPECT_EQ(Row(14), "");
    EXPECT_EQ(rsrc.CsrIdx, 14 * 80);
}

TEST_F(TextScreen, TwoColumnCharacters)
{
    MoveTo(0, 79);
    rsrc.Print("\xE6\xBC\xA2");  // a kanji in the last column
    EXPECT_STREQ(rsrc.TxtBuf[79], "\xE6\xBC\xA2");
    EXPECT_EQ(rsrc.TxtBuf[80][0], TBasicRsrc::CELL_RIGHT_HALF);
    EXPECT_EQ(rsrc.CsrIdx, 81);

    MoveTo(2, 0);
    rsrc.Print("\xEF\xBD\xB1"
               "A");  // a half-width katakana takes one column
    EXPECT_EQ(rsrc.CsrIdx, 2 * 80 + 2);
    EXPECT_EQ(Row(2), "\xEF\xBD\xB1"
                      "A");
}

TEST_F(TextScreen, UnstorableAndCutCharactersAreSafe)
{
    rsrc.Print("\xF0\x9F\x98\x80"
               "Z");  // four bytes: stored as a two-column mark
    EXPECT_STREQ(rsrc.TxtBuf[0], "\xE3\x80\x93");
    EXPECT_EQ(rsrc.TxtBuf[1][0], TBasicRsrc::CELL_RIGHT_HALF);
    EXPECT_STREQ(rsrc.TxtBuf[2], "Z");
    MoveTo(1, 0);
    rsrc.Print("Q\xE6");  // a lead byte at the end of the text
    EXPECT_EQ(rsrc.CsrIdx, 82);
}

TEST_F(TextScreen, ControlCodes)
{
    struct Case {
        const char* name;
        int startRow, startCol;
        std::string text;
        int cursor;
        std::string row24;
    };
    const Case cases[] = {
        {"CR is not counted by the pre-scroll", 24, 0, "A\rB", 24 * 80 + 1, "B"},
        {"BS moves right and writes nothing", 24, 0, "\x08", 24 * 80 + 1, ""},
        {"right", 24, 3,
         "\x1C"
         "X",
         24 * 80 + 5, "    X"},
        {"left", 24, 3,
         "\x1D"
         "X",
         24 * 80 + 3, "  X"},
        {"up from row 24", 24, 0, "\x1E", 23 * 80, ""},
        {"down from the last row stays on it", 24, 0, "\x1F", 24 * 80, ""},
        {"left at cell 0 stays", 0, 0, "\x1D", 0, ""},
        {"up on row 0 stays", 0, 5, "\x1E", 5, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        rsrc.ClearTxtBuf(0, 25);
        MoveTo(c.startRow, c.startCol);
        rsrc.Print(c.text.c_str());
        EXPECT_EQ(rsrc.CsrIdx, c.cursor);
        EXPECT_EQ(Row(24), c.row24);
    }
}

TEST_F(TextScreen, DoCrLfBelowTheWindowStaysOnTheLastRow)
{
    FillRow(0, 'A');
    rsrc.ConsoleTop = 0;
    rsrc.ConsoleBottom = 20;
    MoveTo(24, 5);
    rsrc.DoCRLF();
    EXPECT_EQ(rsrc.CsrIdx, 24 * 80);
    EXPECT_EQ(Row(0), std::string(80, 'A'));
}

TEST_F(TextScreen, ScrollByMoreThanTheWindowEmptiesOnlyTheWindow)
{
    for (int row = 0; row < 25; ++row) PutRow(row, static_cast<char>('A' + row));
    rsrc.ConsoleTop = 5;
    rsrc.ConsoleBottom = 10;
    rsrc.ScrollTxt2(7);
    EXPECT_EQ(Row(4), std::string(80, 'E'));
    for (int row = 5; row < 10; ++row) EXPECT_EQ(Row(row), "");
    EXPECT_EQ(Row(10), std::string(80, 'K'));
}

TEST_F(TextScreen, ScrollMovesTheCursorUpWithTheTextAndStopsAtTheTop)
{
    struct Case {
        int row;
        short rows;
        int cursor;
    };
    const Case cases[] = {{10, 3, 7 * 80 + 4}, {10, 10, 4}, {10, 11, 0}, {24, 1000, 0}, {24, 32767, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rows);
        MoveTo(c.row, 4);
        rsrc.ScrollTxt2(c.rows);
        EXPECT_EQ(rsrc.CsrIdx, c.cursor);
    }
}

TEST_F(TextScreen, ScrollMovesRowsWithTheirColours)
{
    rsrc.ConsoleTop = 2;
    rsrc.ConsoleBottom = 5;
    rsrc.TxtCol = 2;
    MoveTo(3, 0);
    rsrc.Print("R");
    rsrc.TxtAttr[4 * 80] = 5;
    rsrc.ScrollTxt2(1);
    EXPECT_EQ(Row(2), "R");
    EXPECT_EQ(rsrc.TxtAttr[2 * 80], 2);
    EXPECT_EQ(Row(4), "");
    EXPECT_EQ(rsrc.TxtAttr[4 * 80], 5);  // freed cells keep their old colour
    MoveTo(4, 0);
    rsrc.Print("N");
    EXPECT_EQ(rsrc.TxtAttr[4 * 80], 2);  // a new character takes TxtCol again
}

TEST_F(TextScreen, ClearInFortyColumnsEmptiesExactlyTheWindow)
{
    rsrc.TxtCols = 40;
    rsrc.CalcTxtSize();
    for (int row = 0; row < 25; ++row) PutRow(row, 'x');
    rsrc.ClearTxtBuf(5, 15);
    EXPECT_EQ(Row(4), std::string(40, 'x'));
    for (int row = 5; row < 15; ++row) EXPECT_EQ(Row(row), "");
    EXPECT_EQ(Row(15), std::string(40, 'x'));
    EXPECT_EQ(rsrc.CsrIdx, 5 * 40);
}

TEST_F(TextScreen, SlideToLeftDeletesTheCellBefore)
{
    MoveTo(3, 0);
    rsrc.Print("WXYZ");
    const int i = 3 * 80 + 1;
    rsrc.TxtAttr[i - 1] = 1;
    rsrc.TxtAttr[i] = 2;
    rsrc.SlideTxtToLeft(static_cast<short>(i));
    EXPECT_EQ(Row(3), "XYZ");
    EXPECT_TRUE(rsrc.CellIsEmpty(i + 2));
    EXPECT_EQ(rsrc.TxtAttr[i - 1], 1);  // colours stay with the cells
    EXPECT_EQ(rsrc.TxtAttr[i], 2);
}

TEST_F(TextScreen, DisplayedTextOfEmptyAndTwoColumnCells)
{
    rsrc.Print("AB");
    MoveTo(0, 3);
    rsrc.Print("\xE6\xBC\xA2");
    EXPECT_EQ(rsrc.DisplayedTxt(0, 4), "AB \xE6\xBC\xA2");
    EXPECT_EQ(rsrc.DisplayedTxt(4, 3), "");
}

TEST_F(TextScreen, ChangedAreaCoversTheCells)
{
    rsrc.TakeScrModified();
    MoveTo(2, 10);
    rsrc.Print("abc");
    EXPECT_EQ(rsrc.TakeScrModified(), (TScreenRect{80, 32, 112, 48}));
    rsrc.SetScrModifiedByTxt2(5 * 80 + 3, 3 * 80 + 70);  // either order, two rows
    EXPECT_EQ(rsrc.TakeScrModified(), (TScreenRect{0, 48, 640, 96}));
    EXPECT_TRUE(rsrc.TakeScrModified().IsEmpty());
}

TEST_F(TextScreen, UpdateScreenPostsTheChangedArea)
{
    THeadlessScreenUpdates updates;
    TDeviceHost host;
    host.Screen = &updates;
    rsrc.SetOwner(host);
    rsrc.TakeScrModified();
    rsrc.UpdateScreen();
    EXPECT_EQ(updates.Count(), 0);  // nothing changed, nothing asked
    rsrc.Print("x");
    rsrc.UpdateScreen();
    EXPECT_EQ(updates.Count(), 1);
    EXPECT_EQ(updates.Requested(), (TScreenRect{0, 0, 16, 16}));
}

}  // namespace
