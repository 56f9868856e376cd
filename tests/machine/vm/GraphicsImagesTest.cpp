// GET@ and PUT@ as statements: images kept with array elements (keys 0 and 1 shared),
// the five combining modes, array pictures in the bit-plane format, and full-width
// characters drawn from the glyph interface.

#include "language/VarInfo.h"
#include "tests/machine/vm/GraphicsStatementsSupport.h"

namespace {

using Rows = std::vector<std::string>;

// Every glyph is a frame: the outer ring of the 16 by 16 cell has ink.
class TFrameGlyphs : public TGlyphSource {
public:
    bool GlyphRows(const std::string& utf8, uint16_t rows[16]) const override
    {
        last = utf8;
        for (int i = 0; i < 16; ++i) rows[i] = i == 0 || i == 15 ? 0xFFFF : 0x8001;
        return true;
    }
    mutable std::string last;
};

class Images : public GraphicsStatements {
protected:
    Images()
    {
        array.VarName = "A%";
        array.CreateDefaultNonArray(tkInt);
    }
    // A reference as the compiler pushes it.
    static std::vector<TStackData> Ref(TVarInfo* v, std::initializer_list<int32_t> subscripts = {})
    {
        std::vector<TStackData> r = {S::VarRefStart()};
        for (const int32_t s : subscripts) r.push_back(Int(s));
        r.push_back(S::Var(v));
        return r;
    }
    void Push(const std::vector<TStackData>& operands)
    {
        for (const TStackData& s : operands) machine.Push(s);
    }
    void GetAt(bool step, int32_t x1, int32_t y1, int32_t x2, int32_t y2, const std::vector<TStackData>& ref)
    {
        machine.ValueStack.clear();
        Push({Int(x1), Int(y1), Int(x2), Int(y2)});
        Push(ref);
        machine.Run(MakeCode(vcGetAt, step));
        EXPECT_TRUE(machine.ValueStack.empty());
    }
    // PUT@ (x, y), ref[, mode[, colours]]: `extras` are the mode and colours.
    void PutAt(int32_t x, int32_t y, const std::vector<TStackData>& ref, std::vector<TStackData> extras = {})
    {
        machine.ValueStack.clear();
        Push({Int(x), Int(y)});
        Push(ref);
        Push(extras);
        machine.Run(MakeCode(vcPutAtProc1, static_cast<int32_t>(extras.size())));
        EXPECT_TRUE(machine.ValueStack.empty());
    }
    std::string PutAtError(int32_t x, int32_t y, const std::vector<TStackData>& ref, std::vector<TStackData> extras)
    {
        try {
            PutAt(x, y, ref, extras);
        } catch (const TException&) {
            return machine.ErrorText();
        }
        return "no error";
    }
    void Dim(TVarInfo& v, std::initializer_list<int32_t> sizes)
    {
        const std::vector<int32_t> s(sizes);
        ASSERT_TRUE(v.CreateArray(s));
    }
    // A 3 by 2 picture at (0, 0): indices 0 and 7 in a known pattern.
    void DrawSample()
    {
        PSet(0, 0, 7);
        PSet(2, 0, 7);
        PSet(1, 1, 7);
    }

    TVarInfo array;
};

TEST_F(Images, GetRectangleRules)
{
    try {
        GetAt(false, 10, 10, 10, 20, Ref(&array));
        ADD_FAILURE() << "a rectangle one pixel wide was taken";
    } catch (const TException&) {
        EXPECT_EQ(machine.ErrorText(), std::string(RTE_ILL_FUNC_CALL));
    }
    EXPECT_TRUE(array.Images.empty());
    for (const auto& corners : {std::array<int32_t, 4>{639, 0, 640, 1}, {-1, 0, 1, 1}, {5, 5, 3, 9}}) {
        machine.ValueStack.clear();
        EXPECT_THROW(GetAt(false, corners[0], corners[1], corners[2], corners[3], Ref(&array)), TException);
        EXPECT_TRUE(array.Images.empty());
    }
    GetAt(false, 10, 10, 11, 11, Ref(&array));
    ASSERT_EQ(array.Images.size(), 2u);  // keys 0 and 1, one image
    EXPECT_EQ(array.Images[0], array.Images[1]);
    EXPECT_EQ(array.Images[0]->Width, 2);
    GetAt(true, 100, 50, 15, 7, Ref(&array));
    EXPECT_EQ(array.Images[0]->Width, 16);
    EXPECT_EQ(array.Images[0]->Height, 8);
    EXPECT_EQ(Last(), (TGrphPoint{115, 57}));
}

TEST_F(Images, KeysZeroAndOneNameOneImage)
{
    Dim(array, {11});
    DrawSample();
    GetAt(false, 0, 0, 2, 1, Ref(&array));
    PutAt(20, 20, Ref(&array), {Int(0)});
    PutAt(30, 20, Ref(&array, {0}), {Int(0)});
    EXPECT_EQ(Picture(20, 20, 3, 2), (Rows{"707", "070"}));
    EXPECT_EQ(Picture(30, 20, 3, 2), (Rows{"707", "070"}));
    EXPECT_EQ(Last(), (TGrphPoint{30, 20}));
    // An element of its own has its own image.
    GetAt(false, 1, 0, 2, 1, Ref(&array, {3}));
    PutAt(40, 20, Ref(&array, {3}), {Int(0)});
    EXPECT_EQ(Picture(40, 20, 3, 2), (Rows{"070", "700"}));
}

TEST_F(Images, CombiningModes)
{
    DrawSample();
    GetAt(false, 0, 0, 2, 1, Ref(&array));
    struct Case {
        int32_t mode;
        Rows picture;  // over a background of palette number 3
    };
    const Case cases[] = {
        {0, {"707", "070"}},  // PSET
        {1, {"8F8", "F8F"}},  // PRESET: 15 − v, also for the eight-colour modes
        {2, {"737", "373"}},  // OR
        {3, {"303", "030"}},  // AND
        {4, {"434", "343"}},  // XOR
    };
    for (const Case& c : cases) {
        Run(MakeCode(vcFillRect, int32_t{1}), {Flag(false), Int(50), Int(50), Flag(false), Int(60), Int(60), Int(3)});
        PutAt(50, 50, Ref(&array), {Int(c.mode)});
        EXPECT_EQ(Picture(50, 50, 3, 2), c.picture) << "mode " << c.mode;
        EXPECT_EQ(ColourAt(0, 51, 50), Word(static_cast<int8_t>(Index(0, 51, 50))));
    }
    // Two XORs with the mode left out restore the page; colours have no effect.
    PutAt(50, 50, Ref(&array));
    PutAt(50, 50, Ref(&array), {Int(4), Int(3), Int(5)});
    EXPECT_EQ(Picture(50, 50, 3, 2), (Rows{"434", "343"}));
    EXPECT_EQ(PutAtError(0, 0, Ref(&array), {Int(5)}), std::string(RTE_ILL_FUNC_CALL));
    // Pixels that fall off the page are left out.
    PutAt(638, 399, Ref(&array), {Int(0)});
    EXPECT_EQ(Index(0, 638, 399), 7);
    EXPECT_EQ(Index(0, 639, 399), 0);
    PutAt(-1, 99, Ref(&array), {Int(0)});
    EXPECT_EQ(Picture(0, 99, 2, 2), (Rows{"07", "70"}));
}

TEST_F(Images, ArrayPictures)
{
    Dim(array, {4});  // elements 0 to 3 with OPTION BASE 0
    int32_t* values = array.IntValues();
    // Width 8, height 1; plane 0 0xFF, planes 1 and 2 zero.
    values[1] = 8;
    values[2] = 1;
    values[3] = 0x00FF;
    values[4] = 0;
    PutAt(10, 10, Ref(&array, {0}), {Int(0)});
    EXPECT_EQ(Picture(9, 10, 10, 1), (Rows{"0111111110"}));
    // The built image is kept: changed values draw the first picture again.
    values[3] = 0xFF00;
    PutAt(10, 12, Ref(&array, {0}), {Int(0)});
    EXPECT_EQ(Picture(10, 12, 8, 1), (Rows{"11111111"}));

    // Three elements cannot hold the picture.
    TVarInfo shortArray;
    shortArray.VarName = "B%";
    shortArray.CreateDefaultNonArray(tkInt);
    Dim(shortArray, {3});
    shortArray.IntValues()[1] = 8;
    shortArray.IntValues()[2] = 1;
    EXPECT_EQ(PutAtError(0, 0, Ref(&shortArray, {0}), {Int(0)}), std::string(RTE_SUBSCRIPT_OUT_OF_RANGE));
    EXPECT_TRUE(shortArray.Images.empty());

    // A huge size in a small array is refused before anything is read or allocated.
    shortArray.IntValues()[1] = 0x7FFFFFFF;
    shortArray.IntValues()[2] = 0x7FFFFFFF;
    EXPECT_EQ(PutAtError(0, 0, Ref(&shortArray, {0}), {Int(0)}), std::string(RTE_SUBSCRIPT_OUT_OF_RANGE));

    // Not an integer array: no picture to read.
    TVarInfo singles;
    singles.VarName = "C!";
    singles.CreateDefaultNonArray(tkSingle);
    Dim(singles, {20});
    EXPECT_EQ(PutAtError(0, 0, Ref(&singles, {0}), {Int(0)}), std::string(RTE_PUTAT_BEFORE_GETAT));
    TVarInfo plain;
    plain.VarName = "D%";
    plain.CreateDefaultNonArray(tkInt);
    EXPECT_EQ(PutAtError(0, 0, Ref(&plain), {Int(0)}), std::string(RTE_PUTAT_BEFORE_GETAT));
}

TEST_F(Images, AStoppedPictureBuildKeepsNothing)
{
    Dim(array, {3002});
    int32_t* values = array.IntValues();
    values[1] = 80;  // 80 by 100 pixels, 3 planes: 3000 bytes
    values[2] = 100;
    machine.Terminate();
    PutAt(0, 0, Ref(&array), {Int(1)});  // PRESET would draw the zeros as 15
    EXPECT_TRUE(array.Images.empty());
    EXPECT_EQ(machine.MemoryUsed(), 0u);
    EXPECT_EQ(Picture(0, 0, 2, 1), (Rows{"00"}));
}

TEST_F(Images, TwoDimensionalPicturesStepAlongTheFirstSubscript)
{
    // DIM E%(5, 1): the step between picture elements is 2, the elements E%(k, 0).
    TVarInfo e;
    e.VarName = "E%";
    e.CreateDefaultNonArray(tkInt);
    Dim(e, {2, 6});
    int32_t* values = e.IntValues();
    rsrc.ColMode = 2;    // four planes: 4 bytes a row, in two elements
    values[1] = 2;       // E%(0, 0) width
    values[3] = 1;       // E%(1, 0) height
    values[5] = 0x4080;  // plane 0 0x80, plane 1 0x40
    values[7] = 0xC000;  // plane 2 0x00, plane 3 0xC0
    PutAt(0, 0, Ref(&e, {0, 0}), {Int(0)});
    EXPECT_EQ(Picture(0, 0, 3, 1), (Rows{"9A0"}));
}

TEST_F(Images, KanjiForm)
{
    TFrameGlyphs glyphs;
    TDeviceHost host;
    host.Glyphs = &glyphs;
    rsrc.SetOwner(host);
    rsrc.GrphFgCol = 6;
    rsrc.GrphBgCol = 1;
    auto kanji = [&](int32_t x, int32_t y, std::vector<TStackData> extras) {
        machine.ValueStack.clear();
        Push({Int(x), Int(y), Int(0x2422)});
        Push(extras);
        machine.Run(MakeCode(vcPutAtProc2, static_cast<int32_t>(extras.size())));
        EXPECT_TRUE(machine.ValueStack.empty());
    };
    kanji(100, 100, {Int(0)});
    EXPECT_EQ(glyphs.last, "\xE3\x81\x82");  // the JIS code 0x2422 is あ
    EXPECT_EQ(Index(0, 100, 100), 6);
    EXPECT_EQ(Index(0, 115, 115), 6);
    EXPECT_EQ(Index(0, 108, 108), 1);
    EXPECT_EQ(Index(0, 116, 100), 0);
    EXPECT_EQ(Last(), (TGrphPoint{100, 100}));
    // An omitted foreground keeps the current one; 256 is colour 0.
    kanji(200, 100, {Int(0), Omit(), Int(256)});
    EXPECT_EQ(Index(0, 200, 100), 6);
    EXPECT_EQ(Index(0, 208, 108), 0);
    kanji(300, 100, {Int(0), Int(2)});
    EXPECT_EQ(Index(0, 300, 100), 2);
    EXPECT_EQ(Index(0, 308, 108), 1);
    for (const int32_t bad : {16, -1}) {
        try {
            kanji(0, 0, {Int(0), Int(bad)});
            ADD_FAILURE() << bad << " accepted";
        } catch (const TException&) {
            EXPECT_EQ(machine.ErrorText(), std::string(RTE_ILL_FUNC_CALL));
        }
    }
    try {
        machine.ValueStack.clear();
        Push({Int(0), Int(0), Int(0x41)});
        machine.Run(MakeCode(vcPutAtProc2, int32_t{0}));
        ADD_FAILURE() << "a code that is no character was drawn";
    } catch (const TException&) {
        EXPECT_EQ(machine.ErrorText(), std::string(RTE_ILL_FUNC_CALL));
    }
}

}  // namespace
