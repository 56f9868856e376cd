// PSET, PRESET, POINT, LINE and CIRCLE on the active page: the pixels drawn, the
// colours chosen, the last point that STEP uses and the area marked for redrawing.

#include <cmath>

#include "tests/machine/vm/GraphicsStatementsSupport.h"

namespace {

using Rows = std::vector<std::string>;

class Drawing : public GraphicsStatements {
protected:
    // LINE's operands: first point (or none), second point, then the counted extras.
    void Line(TVMCodeCmd cmd, std::vector<TStackData> operands, int32_t count)
    {
        machine.ValueStack.clear();
        for (const TStackData& s : operands) machine.Push(s);
        machine.Run(MakeCode(cmd, count));
        EXPECT_TRUE(machine.ValueStack.empty());
    }
    void Circle(TVMCodeCmd cmd, std::vector<TStackData> operands)
    {
        // STEP flag, x, y, radius, then the counted operands.
        machine.ValueStack.clear();
        for (const TStackData& s : operands) machine.Push(s);
        machine.Run(MakeCode(cmd, static_cast<int32_t>(operands.size()) - 4));
        EXPECT_TRUE(machine.ValueStack.empty());
    }
    int32_t Point(int32_t x, int32_t y) { return Function(MakeCode(vcPointFunc2), {Int(x), Int(y)}); }
    int32_t PointOf(int32_t n) { return Function(MakeCode(vcPointFunc1), {Int(n)}); }
};

TEST_F(Drawing, PsetPresetStepAndPoint)
{
    PSet(10, 10, 3);
    Run(MakeCode(vcPSet, true), {Int(5), Int(-2), Omit()});
    EXPECT_EQ(Index(0, 10, 10), 3);
    EXPECT_EQ(Index(0, 15, 8), 7);  // the foreground colour
    EXPECT_EQ(ColourAt(0, 15, 8), Word(7));
    EXPECT_EQ(PointOf(0), 15);
    EXPECT_EQ(PointOf(1), 8);
    EXPECT_EQ(PointOf(2), 15);
    EXPECT_EQ(PointOf(3), 8);
    ExpectError(MakeCode(vcPointFunc1), {Int(4)}, RTE_ILL_FUNC_CALL);
    ExpectError(MakeCode(vcPointFunc1), {Int(-1)}, RTE_ILL_FUNC_CALL);

    rsrc.GrphBgCol = 4;
    PSet(20, 20, 1);
    Run(MakeCode(vcPReset, false), {Int(20), Int(20)});
    EXPECT_EQ(Index(0, 20, 20), 4);
    Run(MakeCode(vcPReset, true), {Int(1), Int(1)});
    EXPECT_EQ(Index(0, 21, 21), 4);

    // POINT reads the palette number whatever the palette holds; off the page −1.
    PSet(100, 50, 5);
    Run(MakeCode(vcColorProc2), {Int(5), Int(0)});
    EXPECT_EQ(Point(100, 50), 5);
    EXPECT_EQ(Point(640, 0), -1);
    EXPECT_EQ(Point(-1, 0), -1);
    EXPECT_EQ(Point(0, 400), -1);
    EXPECT_EQ(Point(639, 399), 0);

    // The POINT statement only moves the last point.
    Run(MakeCode(vcPointProc, false), {Int(30), Int(40)});
    Run(MakeCode(vcPointProc, true), {Int(1), Int(2)});
    EXPECT_EQ(Last(), (TGrphPoint{31, 42}));
    EXPECT_EQ(Point(31, 42), 0);
}

TEST_F(Drawing, PixelsOffThePageAreCutAndTheRectangleMarked)
{
    rsrc.TakeScrModified();
    PSet(-5, 3, 2);
    PSet(700, 1000, 2);
    EXPECT_EQ(Last(), (TGrphPoint{700, 1000}));
    EXPECT_TRUE(rsrc.TakeScrModified().IsEmpty());
    PSet(10, 20, 2);
    // 200-line mode: page row 20 is screen rows 40 and 41.
    EXPECT_EQ(rsrc.TakeScrModified(), (TScreenRect{10, 40, 10, 41}));
    // A centre that is no number leaves a last point from which STEP draws nothing.
    Circle(vcStrokeEllipse, {Flag(false), Single(std::nanf("")), Int(0), Int(5)});
    Run(MakeCode(vcPSet, true), {Int(0), Int(0), Int(2)});
    Run(MakeCode(vcPaint, true), {Int(0), Int(0), Int(2), Omit()});
    EXPECT_EQ(Index(0, 0, 0), 0);
    EXPECT_EQ(Index(0, 0, 399), 0);
}

TEST_F(Drawing, LineForms)
{
    // LINE (2, 1)-(6, 3), 2
    Line(vcLine, {Flag(false), Int(2), Int(1), Flag(false), Int(6), Int(3), Int(2)}, 1);
    EXPECT_EQ(Picture(0, 0, 8, 5), (Rows{"00000000", "00200000", "00022000", "00000220", "00000000"}))
        << ::testing::PrintToString(Picture(0, 0, 8, 5));
    EXPECT_EQ(Last(), (TGrphPoint{6, 3}));
    // LINE -STEP(0, 2): from the last point, in the foreground colour.
    Line(vcLine, {Omit(), Flag(true), Int(0), Int(2)}, 0);
    EXPECT_EQ(Index(0, 6, 4), 7);
    EXPECT_EQ(Index(0, 6, 5), 7);
    EXPECT_EQ(Last(), (TGrphPoint{6, 5}));
    // LINE (10, 10)-STEP(5, 5): the second point is relative to the first.
    Line(vcLine, {Flag(false), Int(10), Int(10), Flag(true), Int(5), Int(5), Int(1), Int(5)}, 2);
    EXPECT_EQ(Index(0, 15, 15), 1);
    EXPECT_EQ(Last(), (TGrphPoint{15, 15}));
    // B ignores a style number.
    Line(vcStrokeRect, {Flag(false), Int(20), Int(20), Flag(false), Int(24), Int(22), Int(3), Int(5)}, 2);
    EXPECT_EQ(Picture(20, 20, 5, 3), (Rows{"33333", "30003", "33333"}));
}

TEST_F(Drawing, FilledBoxes)
{
    struct Case {
        std::vector<TStackData> extras;
        int32_t count;
        Rows picture;
    };
    const Case cases[] = {
        {{Int(2), Int(5)}, 2, {"22222", "25552", "22222"}},        // fill 5, outline 2
        {{Int(2), Int(16)}, 2, {"22222", "22222", "22222"}},       // no fill colour above 15
        {{Int(2), Text("tile")}, 2, {"22222", "22222", "22222"}},  // a tile pattern: none
        {{Int(2)}, 1, {"22222", "22222", "22222"}},
        {{}, 0, {"77777", "77777", "77777"}},
    };
    for (const Case& c : cases) {
        Run(MakeCode(vcFillRect, int32_t{0}), {Flag(false), Int(0), Int(0), Flag(false), Int(10), Int(10)});
        std::vector<TStackData> operands = {Flag(false), Int(4), Int(3), Flag(false), Int(0), Int(1)};
        operands.insert(operands.end(), c.extras.begin(), c.extras.end());
        Line(vcFillRect, operands, c.count);
        EXPECT_EQ(Picture(0, 1, 5, 3), c.picture) << ::testing::PrintToString(Picture(0, 1, 5, 3));
        EXPECT_EQ(Index(0, 5, 2), 7);
        // The last point is the second point as given; the box is ordered.
        EXPECT_EQ(Last(), (TGrphPoint{0, 1}));
    }
}

TEST_F(Drawing, CircleRadiiFollowTheAspect)
{
    struct Case {
        int8_t vertFactor;
        std::vector<TStackData> operands;  // after the radius
        int32_t rx, ry;
    };
    const Case cases[] = {
        {2, {}, 100, 50},
        {1, {}, 100, 100},
        {2, {Omit(), Omit(), Omit(), Single(2.0f)}, 50, 100},
        {1, {Omit(), Omit(), Omit(), Single(0.25f)}, 100, 25},
    };
    for (const Case& c : cases) {
        rsrc.GrphVertFactor = c.vertFactor;
        Run(MakeCode(vcFillRect, int32_t{1}), {Flag(false), Int(0), Int(0), Flag(false), Int(639), Int(399), Int(0)});
        std::vector<TStackData> operands = {Flag(false), Int(320), Int(200), Int(100)};
        operands.insert(operands.end(), c.operands.begin(), c.operands.end());
        Circle(vcStrokeEllipse, operands);
        EXPECT_EQ(Index(0, 320 + c.rx, 200), 7);
        EXPECT_EQ(Index(0, 320 - c.rx, 200), 7);
        EXPECT_EQ(Index(0, 320, 200 - c.ry), 7);
        EXPECT_EQ(Index(0, 320, 200 + c.ry), 7);
        EXPECT_EQ(Index(0, 320 + c.rx + 1, 200), 0);
        EXPECT_EQ(Index(0, 320, 200 - c.ry - 1), 0);
        EXPECT_EQ(Index(0, 320, 200), 0);
    }
}

TEST_F(Drawing, CircleFormsAndColours)
{
    // CIRCLE (50, 50), 10, 2, , , 1, F, 5: filled in 5, outlined in 2.
    Circle(vcFillEllipse, {Flag(false), Int(50), Int(50), Int(10), Int(2), Omit(), Omit(), Int(1), Int(5)});
    EXPECT_EQ(Index(0, 50, 50), 5);
    EXPECT_EQ(Index(0, 60, 50), 2);
    EXPECT_EQ(Index(0, 50, 40), 2);
    // A fill value of 16 or a string: filled in the circle's colour.
    Circle(vcFillEllipse, {Flag(false), Int(150), Int(50), Int(10), Int(3), Omit(), Omit(), Int(1), Int(16)});
    EXPECT_EQ(Index(0, 150, 50), 3);
    EXPECT_EQ(Index(0, 160, 50), 3);
    // The upper half: CIRCLE (320, 200), 40, 4, 0, 3.14159, 1.
    Circle(vcStrokeArc, {Flag(false), Int(320), Int(200), Int(40), Int(4), Int(0), Single(3.14159f), Int(1)});
    EXPECT_EQ(Index(0, 320, 160), 4);
    EXPECT_EQ(Index(0, 320, 240), 0);
    EXPECT_EQ(Index(0, 360, 200), 4);
    EXPECT_EQ(Index(0, 320, 200), 0);  // no radius lines without negative angles
    // Negative angles draw radius lines from the centre.
    Circle(vcStrokeArc, {Flag(false), Int(100), Int(300), Int(40), Int(6), Single(-0.0001f), Single(-1.5708f), Int(1)});
    EXPECT_EQ(Index(0, 100, 300), 6);
    EXPECT_EQ(Index(0, 120, 300), 6);  // along the start line (angle 0)
    EXPECT_EQ(Index(0, 100, 280), 6);  // along the end line (90 degrees, up)
    // A filled sector: its sides are part of the fill.
    Circle(vcFillArc, {Flag(false), Int(500), Int(300), Int(40), Int(1), Int(0), Single(1.5708f), Int(1)});
    EXPECT_EQ(Index(0, 510, 290), 1);
    EXPECT_EQ(Index(0, 490, 310), 0);
    // The last point is the centre; STEP moves from it.
    Circle(vcStrokeEllipse, {Flag(true), Int(10), Int(0), Int(5)});
    Circle(vcStrokeEllipse, {Flag(true), Int(10), Int(0), Int(5)});
    EXPECT_EQ(Last(), (TGrphPoint{520, 300}));
}

}  // namespace
