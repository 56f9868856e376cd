// PAINT and ROLL as statements: operands, colours chosen, the seed as last point,
// and what each marks for redrawing.

#include "tests/machine/vm/GraphicsStatementsSupport.h"

namespace {

using Rows = std::vector<std::string>;

class PaintRoll : public GraphicsStatements {
protected:
    void Paint(bool step, int32_t x, int32_t y, const TStackData& area, const TStackData& border)
    {
        Run(MakeCode(vcPaint, step), {Int(x), Int(y), area, border});
    }
    void Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t c)
    {
        Run(MakeCode(vcLine, int32_t{1}), {Flag(false), Int(x1), Int(y1), Flag(false), Int(x2), Int(y2), Int(c)});
    }
    void Roll(std::initializer_list<TStackData> operands)
    {
        Run(MakeCode(vcRoll, static_cast<int32_t>(operands.size())), operands);
    }
};

TEST_F(PaintRoll, PaintStaysInsideADiagonalBorder)
{
    // A diamond whose sides touch only at pixel corners.
    Line(20, 10, 30, 20, 4);
    Line(30, 20, 20, 30, 4);
    Line(20, 30, 10, 20, 4);
    Line(10, 20, 20, 10, 4);
    PSet(20, 20, 2);                       // a pixel of another colour inside is painted over
    Paint(false, 20, 15, Int(4), Omit());  // the border is the area colour
    EXPECT_EQ(Index(0, 20, 20), 4);
    EXPECT_EQ(Index(0, 12, 20), 4);
    EXPECT_EQ(Index(0, 9, 20), 0);
    EXPECT_EQ(Index(0, 20, 9), 0);
    EXPECT_EQ(Index(0, 25, 14), 0);  // outside the upper right side
    EXPECT_EQ(Index(0, 0, 0), 0);
    EXPECT_EQ(ColourAt(0, 20, 20), Word(4));
    EXPECT_EQ(Last(), (TGrphPoint{20, 15}));
}

TEST_F(PaintRoll, PaintColoursSeedsAndMarkedArea)
{
    Run(MakeCode(vcStrokeRect, int32_t{1}), {Flag(false), Int(100), Int(100), Flag(false), Int(110), Int(105), Int(4)});
    rsrc.TakeScrModified();
    Paint(false, 105, 102, Int(2), Int(4));
    EXPECT_EQ(Index(0, 101, 101), 2);
    EXPECT_EQ(Index(0, 100, 100), 4);
    // The painted rows 101 to 104 are screen rows 202 to 209 in a 200-line mode.
    EXPECT_EQ(rsrc.TakeScrModified(), (TScreenRect{101, 202, 110, 209}));
    // A tile pattern paints in the foreground colour; STEP moves from the last point.
    Paint(true, -2, 0, Text("tile"), Int(4));
    EXPECT_EQ(Index(0, 101, 101), 7);
    EXPECT_EQ(Last(), (TGrphPoint{103, 102}));
    // A seed on the border paints nothing, and so does one off the page.
    Paint(false, 100, 100, Int(1), Int(4));
    EXPECT_EQ(Index(0, 101, 101), 7);
    Paint(false, 700, -3, Int(1), Int(4));
    EXPECT_EQ(Index(0, 0, 0), 0);
    EXPECT_EQ(Last(), (TGrphPoint{700, -3}));
    // An open region is painted to the page's edges, hidden rows included.
    Paint(false, 0, 0, Int(3), Int(4));
    EXPECT_EQ(Index(0, 639, 399), 3);
    EXPECT_EQ(Index(0, 101, 101), 7);
}

TEST_F(PaintRoll, RollShiftsAndFills)
{
    rsrc.GrphBgCol = 5;
    PSet(100, 50, 2);
    Roll({Int(10)});  // up 10 rows, the bottom filled with 0
    EXPECT_EQ(Index(0, 100, 40), 2);
    EXPECT_EQ(Index(0, 100, 50), 0);
    EXPECT_EQ(Index(0, 0, 399), 0);
    Roll({Int(-10), Int(8), Int('Y')});  // down 10, left 8, filled with the background
    EXPECT_EQ(Index(0, 92, 50), 2);
    EXPECT_EQ(Index(0, 0, 5), 5);
    EXPECT_EQ(Index(0, 635, 200), 5);
    EXPECT_EQ(ColourAt(0, 635, 200), Word(5));
    Roll({Omit(), Int(-2), Int('N')});  // right 2, filled with 0
    EXPECT_EQ(Index(0, 94, 50), 2);
    EXPECT_EQ(Index(0, 1, 200), 0);
    rsrc.TakeScrModified();
    Roll({Int(0)});
    EXPECT_EQ(Index(0, 94, 50), 2);
    EXPECT_EQ(rsrc.TakeScrModified(), (TScreenRect{0, 0, 640, 400}));
    Roll({Int(-100000), Int(3), Int('Y')});  // beyond the page: cleared
    EXPECT_EQ(Index(0, 94, 50), 5);
    EXPECT_EQ(Index(0, 639, 399), 5);
}

}  // namespace
