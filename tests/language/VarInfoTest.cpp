// Variable records: shapes, element storage, images and the refused shapes.

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "language/UserFuncInfo.h"
#include "language/VarInfo.h"

namespace {

std::vector<int32_t> Head(const int32_t* values, size_t n)
{
    return std::vector<int32_t>(values, values + n);
}

// The element index of subscripts as written in the program (A(s1, s2, ...)),
// the way the machine pairs them: the last written with Dims[1].
int32_t ElementIndex(const TVarInfo& v, std::vector<int32_t> written)
{
    int32_t index = 1;
    for (size_t k = 0; k < written.size(); ++k) index += written[written.size() - 1 - k] * v.Strides[k];
    return index;
}

TEST(VarInfo, NewRecordHasNoType)
{
    TVarInfo v;
    EXPECT_EQ(v.VarType, tkUntyped);
    EXPECT_FALSE(v.HasValues());
    EXPECT_TRUE(v.VarName.empty());
    EXPECT_TRUE(v.Images.empty());
}

TEST(VarInfo, FreshScalarOfEachType)
{
    for (const TTokenKind type : {tkInt, tkSingle, tkDouble, tkString}) {
        TVarInfo v;
        v.CreateDefaultNonArray(type);
        EXPECT_EQ(v.Dims[0], 0);
        EXPECT_EQ(v.Strides[0], 1);
        EXPECT_EQ(v.ElemCount, 2);
        EXPECT_EQ(v.VarType, type);
        switch (type) {
        case tkInt:
            ASSERT_NE(v.IntValues(), nullptr);
            EXPECT_EQ(v.IntValues()[0], 0);
            break;
        case tkSingle:
            ASSERT_NE(v.SingleValues(), nullptr);
            EXPECT_EQ(v.SingleValues()[0], 0.0f);
            break;
        case tkDouble:
            ASSERT_NE(v.DoubleValues(), nullptr);
            EXPECT_EQ(v.DoubleValues()[0], 0.0);
            break;
        default:
            ASSERT_NE(v.StringValues(), nullptr);
            EXPECT_EQ(v.StringValues()[0], "");
            break;
        }
        // Only the accessor of its own representation gives the block.
        EXPECT_EQ(v.IntValues() != nullptr, type == tkInt);
        EXPECT_EQ(v.StringValues() != nullptr, type == tkString);
    }
}

struct ShapeCase {
    std::vector<int32_t> Sizes;    // in Dims order (last written subscript first)
    std::vector<int32_t> Dims;     // Dims[0..n+1]
    std::vector<int32_t> Strides;  // Strides[0..n]
    int32_t ElemCount;
    std::vector<int32_t> Subscripts;  // as written
    int32_t Element;
};

TEST(VarInfo, DimShapes)
{
    const ShapeCase cases[] = {
        // DIM A(10)
        {{11}, {1, 11, 0}, {1, 11}, 12, {0}, 1},
        {{11}, {1, 11, 0}, {1, 11}, 12, {10}, 11},
        // DIM A(3,5): the machine takes 6 (last bound) first
        {{6, 4}, {2, 6, 4, 0}, {1, 6, 24}, 25, {2, 4}, 17},
        {{6, 4}, {2, 6, 4, 0}, {1, 6, 24}, 25, {3, 5}, 24},
        // DIM A(0)
        {{1}, {1, 1, 0}, {1, 1}, 2, {0}, 1},
    };
    for (const ShapeCase& c : cases) {
        TVarInfo v;
        v.CreateDefaultNonArray(tkInt);
        ASSERT_TRUE(v.CreateArray(c.Sizes));
        EXPECT_EQ(Head(v.Dims, c.Dims.size()), c.Dims);
        EXPECT_EQ(Head(v.Strides, c.Strides.size()), c.Strides);
        EXPECT_EQ(v.ElemCount, c.ElemCount);
        EXPECT_EQ(ElementIndex(v, c.Subscripts), c.Element);
    }
}

TEST(VarInfo, ImplicitDimKeepsTheScalar)
{
    TVarInfo n;
    n.CreateDefaultNonArray(tkInt);
    n.IntValues()[0] = 7;
    ASSERT_TRUE(n.CreateDefaultArray(1));
    EXPECT_EQ(n.ElemCount, 12);
    EXPECT_EQ(n.IntValues()[0], 7);
    for (int32_t i = 1; i < n.ElemCount; ++i) EXPECT_EQ(n.IntValues()[i], 0);

    TVarInfo s;
    s.CreateDefaultNonArray(tkString);
    s.StringValues()[0] = "kept";
    ASSERT_TRUE(s.CreateDefaultArray(2));
    EXPECT_EQ(Head(s.Dims, 4), (std::vector<int32_t>{2, 11, 11, 0}));
    EXPECT_EQ(s.ElemCount, 122);
    EXPECT_EQ(s.StringValues()[0], "kept");
    EXPECT_EQ(s.StringValues()[121], "");
}

// What the scalar's text is known to be goes with the text: kept with it by DIM and by
// a copy, forgotten when element 0 is made anew.
TEST(VarInfo, TheScalarsAsciiMarkStaysOnlyWithItsText)
{
    TVarInfo s;
    s.CreateDefaultNonArray(tkString);
    EXPECT_FALSE(s.ScalarTextAscii);
    s.StringValues()[0] = "kept";
    s.ScalarTextAscii = true;
    ASSERT_TRUE(s.CreateDefaultArray(1));
    EXPECT_TRUE(s.ScalarTextAscii);
    const TVarInfo copy(s);
    EXPECT_TRUE(copy.ScalarTextAscii);

    s.CreateDefaultNonArray(tkString);
    EXPECT_EQ(s.StringValues()[0], "");
    EXPECT_FALSE(s.ScalarTextAscii);
    s.ScalarTextAscii = true;
    s.VarType = tkInt;
    ASSERT_TRUE(s.Create(true));
    EXPECT_FALSE(s.ScalarTextAscii) << "a block of another type keeps no text";
}

TEST(VarInfo, SecondDimStartsOverButKeepsElementZero)
{
    TVarInfo v;
    v.CreateDefaultNonArray(tkDouble);
    v.DoubleValues()[0] = 1.5;
    ASSERT_TRUE(v.CreateArray(std::vector<int32_t>{5}));
    v.DoubleValues()[3] = 9.0;
    v.Images[3] = std::make_shared<TPixelImage>(2, 2);
    ASSERT_TRUE(v.CreateArray(std::vector<int32_t>{5}));
    EXPECT_EQ(v.DoubleValues()[0], 1.5);
    EXPECT_EQ(v.DoubleValues()[3], 0.0);
    EXPECT_TRUE(v.Images.empty());
}

TEST(VarInfo, CreateKeepsElementZeroOnlyForTheSameRepresentation)
{
    TVarInfo v;
    v.CreateDefaultNonArray(tkInt);
    v.IntValues()[0] = 42;
    v.VarType = tkString;  // the block was made for integers
    ASSERT_TRUE(v.Create(true));
    ASSERT_NE(v.StringValues(), nullptr);
    EXPECT_EQ(v.StringValues()[0], "");
    EXPECT_EQ(v.IntValues(), nullptr);
}

TEST(VarInfo, UntypedRecordHasNoBlock)
{
    for (const bool keep : {false, true}) {
        TVarInfo v;
        v.CreateDefaultNonArray(tkInt);
        v.VarType = tkUntyped;
        EXPECT_TRUE(v.Create(keep));
        EXPECT_FALSE(v.HasValues());
        EXPECT_EQ(v.IntValues(), nullptr);
    }
}

TEST(VarInfo, CopyIsIndependent)
{
    TVarInfo source;
    source.VarName = "A$";
    source.CreateDefaultNonArray(tkString);
    ASSERT_TRUE(source.CreateArray(std::vector<int32_t>{3}));
    source.StringValues()[2] = "two";
    auto shared = std::make_shared<TPixelImage>(2, 1);
    shared->Pixels = {0xFF112233u, 0xFF445566u};
    source.Images[0] = shared;
    source.Images[1] = shared;

    TVarInfo copy(source);
    EXPECT_EQ(copy.VarName, "A$");
    EXPECT_EQ(copy.ElemCount, source.ElemCount);
    EXPECT_EQ(copy.StringValues()[2], "two");
    EXPECT_NE(copy.StringValues(), source.StringValues());
    ASSERT_EQ(copy.Images.size(), 2u);
    EXPECT_NE(copy.Images[0], shared);
    EXPECT_NE(copy.Images[0], copy.Images[1]) << "shared source images become separate copies";
    EXPECT_EQ(copy.Images[0]->Pixels, shared->Pixels);

    copy.Images[0]->Pixels[0] = 0;
    copy.StringValues()[2] = "changed";
    EXPECT_EQ(shared->Pixels[0], 0xFF112233u);
    EXPECT_EQ(source.StringValues()[2], "two");

    TVarInfo assigned;
    assigned.CreateDefaultNonArray(tkInt);
    assigned = source;
    EXPECT_EQ(assigned.VarType, tkString);
    EXPECT_EQ(assigned.StringValues()[2], "two");
    TVarInfo& alias = assigned;
    assigned = alias;  // self-assignment leaves it whole
    EXPECT_EQ(assigned.StringValues()[2], "two");
}

TEST(VarInfo, ReplacingOneKeyOfASharedImageLeavesTheOther)
{
    TVarInfo v;
    v.CreateDefaultNonArray(tkInt);
    auto taken = std::make_shared<TPixelImage>(1, 1);
    taken->Pixels[0] = 0xFFABCDEFu;
    std::weak_ptr<TPixelImage> watch = taken;
    v.Images[0] = taken;
    v.Images[1] = taken;
    taken.reset();
    v.Images[0] = std::make_shared<TPixelImage>(1, 1);
    ASSERT_FALSE(watch.expired());
    EXPECT_EQ(v.Images[1]->Pixels[0], 0xFFABCDEFu);
    v.Images.erase(1);
    EXPECT_TRUE(watch.expired());
}

struct RefusedCase {
    const char* What;
    std::vector<int32_t> Sizes;
};

TEST(VarInfo, RefusedShapesLeaveAConsistentScalar)
{
    const RefusedCase cases[] = {
        {"negative size", {3, -1}},
        {"count beyond 32 bits", {65536, 65536}},
        {"count at the 32-bit limit", {std::numeric_limits<int32_t>::max()}},
        {"block too large", {20000, 20000}},
    };
    for (const RefusedCase& c : cases) {
        TVarInfo v;
        v.CreateDefaultNonArray(tkInt);
        v.IntValues()[0] = 5;
        ASSERT_TRUE(v.CreateArray(std::vector<int32_t>{4}));
        v.Images[1] = std::make_shared<TPixelImage>(1, 1);
        EXPECT_FALSE(v.CreateArray(c.Sizes)) << c.What;
        EXPECT_EQ(v.Dims[0], 0) << c.What;
        EXPECT_EQ(v.ElemCount, 2) << c.What;
        ASSERT_NE(v.IntValues(), nullptr);
        EXPECT_EQ(v.IntValues()[0], 5) << c.What;
        EXPECT_TRUE(v.Images.empty());
    }
}

TEST(VarInfo, DimensionLimit)
{
    TVarInfo v;
    v.CreateDefaultNonArray(tkInt);
    EXPECT_TRUE(v.CreateArray(std::vector<int32_t>(TVarInfo::MAX_DIMS, 1)));
    EXPECT_EQ(v.Dims[0], 126);
    EXPECT_EQ(v.Dims[127], 0);
    EXPECT_EQ(v.ElemCount, 2);

    EXPECT_FALSE(v.CreateArray(std::vector<int32_t>(TVarInfo::MAX_DIMS + 1, 1)));
    EXPECT_FALSE(v.CreateDefaultArray(127));
    EXPECT_FALSE(v.CreateDefaultArray(0));
    EXPECT_FALSE(v.CreateDefaultArray(-1));
    EXPECT_FALSE(v.CreateDefaultArray(126)) << "11^126 elements overflow";

    // Dims written directly past the limit are refused, not read past the end.
    v.Dims[0] = 1000;
    EXPECT_FALSE(v.Create(true));
    EXPECT_EQ(v.Dims[0], 0);
    EXPECT_STREQ(TVarInfo::SHAPE_ERROR_KEY, "@Runtime_Err_Subscript_Out_Of_Range@");
}

// A large block of strings is built in steps that ask whether the run is being
// stopped; a stop abandons the block and leaves a scalar with its value.
TEST(VarInfo, StopAbandonsALargeStringArray)
{
    TVarInfo v;
    v.CreateDefaultNonArray(tkString);
    v.StringValues()[0] = "kept";
    const TVarInfo scalar = v;
    int asked = 0;
    const int32_t sizes[] = {1000, 1000};
    EXPECT_FALSE(v.CreateArray(sizes, [&asked] { return ++asked == 3; }));
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(v.Dims[0], 0);
    EXPECT_EQ(v.ElemCount, scalar.ElemCount);
    EXPECT_EQ(v.StringValues()[0], "kept");

    asked = 0;
    ASSERT_TRUE(v.CreateArray(sizes, [&asked] { return ++asked > 1000; }));
    EXPECT_GT(asked, 1);
    EXPECT_EQ(v.ElemCount, 1000 * 1000 + 1);
    EXPECT_EQ(v.StringValues()[0], "kept");
    EXPECT_EQ(v.StringValues()[1000 * 1000], "");
}

TEST(VarInfo, LargeNumericArraysReadAsZeros)
{
    const int32_t sizes[] = {3000, 3000};
    for (TTokenKind type : {tkInt, tkSingle, tkDouble}) {
        TVarInfo v;
        v.CreateDefaultNonArray(type);
        ASSERT_TRUE(v.CreateArray(sizes, [] { return true; })) << "numbers are never built";
        const size_t last = 3000 * 3000;
        switch (type) {
        case tkInt: EXPECT_EQ(v.IntValues()[last], 0); break;
        case tkSingle: EXPECT_EQ(v.SingleValues()[last], 0.0f); break;
        default: EXPECT_EQ(v.DoubleValues()[last], 0.0); break;
        }
    }
}

TEST(UserFuncInfo, CopiesByValue)
{
    TUserFuncInfo f;
    EXPECT_TRUE(f.EntryLabel.empty());
    EXPECT_TRUE(f.Params.empty());
    f.EntryLabel = "@L4";
    f.Params = {"X!", "Y%"};
    f.RetType = tkInt;
    TUserFuncInfo g = f;
    f.Params[0] = "Z#";
    EXPECT_EQ(g.Params, (std::vector<std::string>{"X!", "Y%"}));
    EXPECT_EQ(g.EntryLabel, "@L4");
    EXPECT_EQ(g.RetType, tkInt);
}

}  // namespace
