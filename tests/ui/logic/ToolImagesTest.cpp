#include "ui/widgets/logic/ToolImages.h"

#include <gtest/gtest.h>

#include "ui/widgets/logic/ToolButtonLook.h"

namespace {

// A 3 by 1 image: transparent, alpha 1 (dark red), opaque blue; bytes B, G, R, A.
ToolImage Sample()
{
    ToolImage image(3, 1);
    image.bytes = {9, 9, 9, 0, 0, 0, 80, 1, 255, 0, 0, 255};
    return image;
}

std::vector<uint8_t> Pixel(const ToolImage& image, int index)
{
    return {image.bytes.begin() + index * 4, image.bytes.begin() + index * 4 + 4};
}

std::vector<uint8_t> Bgra(const rgb_color& c)
{
    return {c.blue, c.green, c.red, c.alpha};
}

}  // namespace

TEST(ToolImagesTest, TransparentPixelsTakeTheColourAndOthersStay)
{
    const ToolImage source = Sample();
    const rgb_color colour{10, 20, 30, 40};
    ToolImage copy = ConvertTransparentCopy(source, colour);
    EXPECT_EQ(copy.width, 3);
    EXPECT_EQ(Pixel(copy, 0), Bgra(colour));
    EXPECT_EQ(Pixel(copy, 1), Pixel(source, 1));  // alpha 1 is opaque
    EXPECT_EQ(Pixel(copy, 2), Pixel(source, 2));
}

TEST(ToolImagesTest, FilledCopyIsTheSilhouette)
{
    const ToolImage source = Sample();
    ToolImage copy = ConvertFilledCopy(source, COLOR_DISABLED_FILLED);
    EXPECT_EQ(Pixel(copy, 0), Pixel(source, 0));
    EXPECT_EQ(Pixel(copy, 1), Bgra(COLOR_DISABLED_FILLED));
    EXPECT_EQ(Pixel(copy, 2), Bgra(COLOR_DISABLED_FILLED));
}

TEST(ToolImagesTest, MissingImagesAreDerivedOnTheirFaceColours)
{
    ToolImageSet set;
    set[kStateOff] = Sample();
    ASSERT_EQ(DeriveMissingImages(&set), 0);
    // The background of each derived image is its state's face colour.
    struct Case {
        ToolButtonState state;
        std::vector<uint8_t> background;
        std::vector<uint8_t> opaque;
    };
    const auto grey = Bgra(COLOR_DISABLED_FILLED);
    for (const Case& c : {Case{kStateOn, Bgra(COLOR_ENABLED_DISABLED_ON_BG), Pixel(Sample(), 2)},
                          Case{kStateHotOff, Bgra(COLOR_HOT_OFF_BG), Pixel(Sample(), 2)},
                          Case{kStateDisabledOff, Pixel(Sample(), 0), grey},
                          Case{kStateDisabledOn, Bgra(COLOR_ENABLED_DISABLED_ON_BG), grey}}) {
        SCOPED_TRACE(c.state);
        ASSERT_TRUE(set[c.state].has_value());
        EXPECT_EQ(Pixel(*set[c.state], 0), c.background);
        EXPECT_EQ(Pixel(*set[c.state], 2), c.opaque);
        EXPECT_EQ(Pixel(*set[c.state], 1), c.state == kStateOn || c.state == kStateHotOff ? Pixel(Sample(), 1) : grey);
    }
}

TEST(ToolImagesTest, SuppliedImagesStayAndDisabledOnFollowsTheSuppliedDisabledOff)
{
    ToolImageSet set;
    set[kStateOff] = Sample();
    ToolImage ownDisabled(3, 1);
    ownDisabled.bytes = {1, 2, 3, 4, 0, 0, 0, 0, 5, 6, 7, 8};
    set[kStateDisabledOff] = ownDisabled;
    ASSERT_EQ(DeriveMissingImages(&set), 0);
    EXPECT_EQ(*set[kStateDisabledOff], ownDisabled);
    EXPECT_EQ(Pixel(*set[kStateDisabledOn], 0), (std::vector<uint8_t>{1, 2, 3, 4}));
    EXPECT_EQ(Pixel(*set[kStateDisabledOn], 1), Bgra(COLOR_ENABLED_DISABLED_ON_BG));
}

TEST(ToolImagesTest, NothingIsDerivedWithoutANormalImage)
{
    ToolImageSet set;
    EXPECT_EQ(DeriveMissingImages(&set), -1);
    for (const auto& image : set) EXPECT_FALSE(image.has_value());
}

TEST(ToolButtonLookTest, StatesComeFromDisabledOnAndHot)
{
    struct Case {
        bool disabled, on, hot;
        ToolButtonState state;
    };
    for (Case c : {Case{false, false, false, kStateOff}, Case{false, false, true, kStateHotOff},
                   Case{false, true, false, kStateOn}, Case{false, true, true, kStateOn},
                   Case{true, false, false, kStateDisabledOff}, Case{true, false, true, kStateDisabledOff},
                   Case{true, true, false, kStateDisabledOn}, Case{true, true, true, kStateDisabledOn}}) {
        EXPECT_EQ(tool_button_state(c.disabled, c.on, c.hot), c.state) << c.disabled << c.on << c.hot;
    }
}

TEST(ToolButtonLookTest, FlatBarsDrawEdgesOnlyForOnAndHotStates)
{
    struct Case {
        ToolButtonState state;
        bool flatEdges;
    };
    for (Case c : {Case{kStateOff, false}, Case{kStateOn, true}, Case{kStateDisabledOff, false},
                   Case{kStateDisabledOn, true}, Case{kStateHotOff, true}}) {
        SCOPED_TRACE(c.state);
        EXPECT_EQ(tool_button_draws_edges(c.state, true), c.flatEdges);
        EXPECT_TRUE(tool_button_draws_edges(c.state, false));
    }
}
