// COLOR in its three forms, COLOR@ and SCREEN: what each operand stores, which
// values are refused, and how palette changes reach the pages and the screen.

#include "tests/machine/vm/GraphicsStatementsSupport.h"

namespace {

class ColourStatements : public GraphicsStatements {
protected:
    void ColorList(std::initializer_list<TStackData> operands)
    {
        Run(MakeCode(vcColorProc1, static_cast<int32_t>(operands.size())), operands);
    }
    void SetPalette(int32_t p, int32_t c) { Run(MakeCode(vcColorProc2), {Int(p), Int(c)}); }
    void Screen(std::initializer_list<TStackData> operands)
    {
        Run(MakeCode(vcScreen, static_cast<int32_t>(operands.size())), operands);
    }
};

TEST_F(ColourStatements, ListStoresLowBytesLastOperandFirst)
{
    ColorList({Int(258)});
    EXPECT_EQ(rsrc.TxtCol, 2);
    ColorList({Int(256), Int(15), Text("ignored"), Int(12)});
    EXPECT_EQ(rsrc.TxtCol, 0);
    EXPECT_EQ(rsrc.GrphBgCol, 15);
    EXPECT_EQ(rsrc.GrphFgCol, 12);
    ExpectError(MakeCode(vcColorProc1, int32_t{1}), {Int(-1)}, RTE_ILL_FUNC_CALL);
    // The background colour is stored before the text colour 9 is refused.
    ExpectError(MakeCode(vcColorProc1, int32_t{2}), {Int(9), Int(1)}, RTE_ILL_FUNC_CALL);
    EXPECT_EQ(rsrc.GrphBgCol, 1);
    EXPECT_EQ(rsrc.TxtCol, 0);
    ExpectError(MakeCode(vcColorProc1, int32_t{5}), {Omit(), Omit(), Omit(), Omit(), Int(3)}, RTE_ILL_FUNC_CALL);
    ExpectError(MakeCode(vcColorProc1, int32_t{4}), {Omit(), Omit(), Omit(), Int(16)}, RTE_ILL_FUNC_CALL);
}

TEST_F(ColourStatements, ModeOperandResetsThePaletteButLeavesPicturesAlone)
{
    SetPalette(2, 4);  // entry 2 green
    PSet(5, 5, 2);
    const uint32_t drawn = ColourAt(0, 5, 5);
    const auto dirtyBefore = rsrc.Graphics.PalDirty;
    ColorList({Omit(), Omit(), Omit(), Omit(), Int(1)});
    EXPECT_EQ(rsrc.ColMode, 1);
    EXPECT_EQ(Word(2), colour_word(digital_colour(2)));
    EXPECT_EQ(ColourAt(0, 5, 5), drawn);  // no conversion until the next palette change
    EXPECT_EQ(rsrc.Graphics.PalDirty, dirtyBefore);
}

TEST_F(ColourStatements, PaletteAssignmentByMode)
{
    struct Case {
        int8_t mode;
        int32_t p, c;
        bool ok;
        uint32_t word;  // entry p afterwards
    };
    const Case cases[] = {
        {0, 3, 7, true, 0xFFFFFFFF},
        {1, 3, 7, true, 0xFF000077},
        {0, 0, 8, false, 0},
        {1, 0, 8, true, 0xFF000088},
        {2, 0, 8, true, 0xFF000088},
        {0, 8, 0, false, 0},
        {1, 8, 0, false, 0},
        {2, 8, 0, true, 0xFF000000},
        {2, 15, 0xF00, true, 0xFF00FF00},
        {1, 7, 4096, false, 0},
        {2, 16, 0, false, 0},
        {0, -1, 0, false, 0},
        {2, 1, -1, false, 0},
        {1, 1, 0x0F0, true, 0xFFFF0000},
    };
    for (const Case& c : cases) {
        rsrc.ColMode = c.mode;
        Run(MakeCode(vcInitColorPalette), {});
        if (c.ok) {
            SetPalette(c.p, c.c);
            EXPECT_EQ(Word(static_cast<int8_t>(c.p)), c.word) << int(c.mode) << " " << c.p << " " << c.c;
        } else {
            ExpectError(MakeCode(vcColorProc2), {Int(c.p), Int(c.c)}, RTE_ILL_FUNC_CALL);
            for (int8_t e = 0; e < 16; ++e) {
                TGraphicsPalette initial;
                EXPECT_EQ(Word(e), initial.Word(e)) << "entry " << int(e) << " changed by a refused assignment";
            }
        }
    }
}

TEST_F(ColourStatements, PaletteChangeConvertsTheDisplayedPageAndLaterTheHiddenOnes)
{
    PSet(1, 1, 3);
    Screen({Omit(), Omit(), Int(2)});  // draw on page 2
    PSet(1, 1, 3);
    Screen({Omit(), Omit(), Int(0)});
    SetPalette(3, 6);  // yellow
    const uint32_t yellow = colour_word(digital_colour(6));
    EXPECT_EQ(ColourAt(0, 1, 1), yellow);
    EXPECT_TRUE(rsrc.Graphics.PalDirty[2]);
    EXPECT_NE(ColourAt(2, 1, 1), yellow);
    Screen({Omit(), Omit(), Omit(), Int(17)});  // display page 2 in a 200-line mode
    EXPECT_EQ(rsrc.DisplayPage, 2);
    EXPECT_EQ(ColourAt(2, 1, 1), yellow);
    EXPECT_FALSE(rsrc.Graphics.PalDirty[2]);
    Run(MakeCode(vcInitColorPalette), {});
    EXPECT_EQ(ColourAt(2, 1, 1), colour_word(digital_colour(3)));
}

TEST_F(ColourStatements, PaletteChangeRedrawsTheWholeScreenWhicheverPageIsActive)
{
    Screen({Omit(), Omit(), Int(1)});  // page 1 active, page 0 displayed
    rsrc.TakeScrModified();
    SetPalette(1, 2);
    EXPECT_EQ(rsrc.TakeScrModified(), (TScreenRect{0, 0, 640, 400}));
    // A drawing on the hidden active page marks nothing.
    PSet(10, 10, 1);
    EXPECT_TRUE(rsrc.TakeScrModified().IsEmpty());
}

TEST_F(ColourStatements, ColorAtSetsCellColoursWithinTheScreen)
{
    Run(MakeCode(vcColorAt, true), {Int(10), Int(5), Int(5), Int(10), Int(2)});
    for (int i = 0; i < 2000; ++i) ASSERT_EQ(rsrc.TxtAttr[i], 0) << i;  // reversed corners: nothing
    Run(MakeCode(vcColorAt, true), {Int(3), Int(1), Int(5), Int(2), Int(258)});
    EXPECT_EQ(rsrc.TxtAttr[1 * 80 + 3], 2);
    EXPECT_EQ(rsrc.TxtAttr[2 * 80 + 5], 2);
    EXPECT_EQ(rsrc.TxtAttr[1 * 80 + 6], 0);
    EXPECT_EQ(rsrc.TxtAttr[3 * 80 + 3], 0);
    Run(MakeCode(vcColorAt, false), {Int(0), Int(0), Int(79), Int(0)});
    EXPECT_EQ(rsrc.TxtAttr[0], 7);
    EXPECT_EQ(rsrc.TxtAttr[79], 7);
    ExpectError(MakeCode(vcColorAt, false), {Int(0), Int(25), Int(0), Int(25)}, RTE_ILL_FUNC_CALL);
    ExpectError(MakeCode(vcColorAt, false), {Int(80), Int(0), Int(0), Int(0)}, RTE_ILL_FUNC_CALL);
    ExpectError(MakeCode(vcColorAt, false), {Int(-1), Int(0), Int(0), Int(0)}, RTE_ILL_FUNC_CALL);
    // Coordinates whose low 16 bits alone would lie on the screen are off it all the same.
    for (const int32_t far : {65536, 65536 + 24, -65536, 65536 * 300 + 5}) {
        SCOPED_TRACE(far);
        ExpectError(MakeCode(vcColorAt, false), {Int(far), Int(0), Int(79), Int(24)}, RTE_ILL_FUNC_CALL);
        ExpectError(MakeCode(vcColorAt, false), {Int(0), Int(far), Int(79), Int(24)}, RTE_ILL_FUNC_CALL);
        ExpectError(MakeCode(vcColorAt, false), {Int(0), Int(0), Int(far), Int(24)}, RTE_ILL_FUNC_CALL);
        ExpectError(MakeCode(vcColorAt, false), {Int(0), Int(0), Int(79), Int(far)}, RTE_ILL_FUNC_CALL);
    }
}

TEST_F(ColourStatements, ScreenModesAndPages)
{
    struct Case {
        std::vector<TStackData> operands;
        int8_t vertFactorBefore, activeBefore, displayBefore;
        bool ok;
        int8_t vertFactor, active, display, shown;
    };
    const Case cases[] = {
        {{Int(3)}, 2, 0, GRPH_NO_PAGE, true, 1, 0, 0, 1},  // no page shown: page 0
        {{Int(2)}, 2, 3, 2, true, 1, 0, 0, 1},             // pages above 1 become 0
        {{Int(0)}, 1, 1, 1, true, 2, 1, 1, 1},
        {{Omit(), Omit(), Omit(), Int(2)}, 1, 0, 0, false, 1, 0, 0, 1},
        {{Omit(), Omit(), Omit(), Int(17)}, 1, 0, 0, true, 1, 0, 1, 1},
        {{Omit(), Omit(), Omit(), Int(17)}, 2, 0, 0, true, 2, 0, 2, 1},
        {{Omit(), Omit(), Omit(), Int(34)}, 2, 0, 0, true, 2, 0, 3, 1},
        {{Omit(), Omit(), Omit(), Int(48)}, 2, 0, 1, true, 2, 0, GRPH_NO_PAGE, 1},
        {{Omit(), Omit(), Omit(), Int(-1)}, 2, 0, 1, false, 2, 0, 1, 1},
        {{Omit(), Omit(), Omit(), Int(3)}, 2, 0, 1, false, 2, 0, 1, 1},
        {{Omit(), Int(2)}, 2, 0, 1, true, 2, 0, 1, 0},           // hides graphics, keeps the page
        {{Int(3), Int(5)}, 2, 0, 0, false, 2, 0, 0, 1},          // switch refused before the mode
        {{Int(3), Int(0), Int(2)}, 2, 0, 0, false, 1, 0, 0, 1},  // mode set, page 2 refused
        {{Int(4)}, 2, 0, 0, false, 2, 0, 0, 1},
        {{Omit(), Omit(), Int(3)}, 2, 0, 0, true, 2, 3, 0, 1},
        {{Omit(), Omit(), Int(-1)}, 2, 0, 0, false, 2, 0, 0, 1},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        rsrc.GrphVertFactor = c.vertFactorBefore;
        rsrc.ActivePage = c.activeBefore;
        rsrc.DisplayPage = c.displayBefore;
        rsrc.GrphShown = 1;
        const auto code = MakeCode(vcScreen, static_cast<int32_t>(c.operands.size()));
        machine.ValueStack.clear();
        for (const TStackData& s : c.operands) machine.Push(s);
        try {
            machine.Run(code);
            EXPECT_TRUE(c.ok) << "case " << i << " was accepted";
        } catch (const TException&) {
            EXPECT_FALSE(c.ok) << "case " << i << ": " << machine.ErrorText();
            EXPECT_EQ(machine.ErrorText(), std::string(RTE_ILL_FUNC_CALL));
        }
        EXPECT_EQ(rsrc.GrphVertFactor, c.vertFactor) << "case " << i;
        EXPECT_EQ(rsrc.ActivePage, c.active) << "case " << i;
        EXPECT_EQ(rsrc.DisplayPage, c.display) << "case " << i;
        EXPECT_EQ(rsrc.GrphShown, c.shown) << "case " << i;
    }
}

TEST_F(ColourStatements, ScreenKeepsPicturesAndTheLastPoint)
{
    PSet(7, 300, 5);
    Screen({Int(3)});
    Screen({Int(0)});
    EXPECT_EQ(Index(0, 7, 300), 5);
    EXPECT_EQ(Last(), (TGrphPoint{7, 300}));
}

}  // namespace
