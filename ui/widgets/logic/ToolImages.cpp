#include "ui/widgets/logic/ToolImages.h"

#include "ui/widgets/logic/ToolButtonLook.h"

namespace {

// The colour in the pixel's channels of the same names (blue, green, red, alpha bytes).
void paint(uint8_t* pixel, const rgb_color& color)
{
    pixel[0] = color.blue;
    pixel[1] = color.green;
    pixel[2] = color.red;
    pixel[3] = color.alpha;
}

ToolImage recolour(const ToolImage& source, const rgb_color& color, bool transparentOnes)
{
    ToolImage copy = source;
    for (size_t i = 0; i + 3 < copy.bytes.size(); i += 4) {
        bool transparent = copy.bytes[i + 3] == 0;
        if (transparent == transparentOnes) paint(&copy.bytes[i], color);
    }
    return copy;
}

}  // namespace

ToolImage ConvertTransparentCopy(const ToolImage& source, const rgb_color& color)
{
    return recolour(source, color, true);
}

ToolImage ConvertFilledCopy(const ToolImage& source, const rgb_color& color)
{
    return recolour(source, color, false);
}

int32_t DeriveMissingImages(ToolImageSet* images)
{
    auto& set = *images;
    if (!set[kStateOff]) return -1;
    const ToolImage& normal = *set[kStateOff];
    if (!set[kStateDisabledOff]) set[kStateDisabledOff] = ConvertFilledCopy(normal, COLOR_DISABLED_FILLED);
    if (!set[kStateHotOff]) set[kStateHotOff] = ConvertTransparentCopy(normal, COLOR_HOT_OFF_BG);
    if (!set[kStateOn]) set[kStateOn] = ConvertTransparentCopy(normal, COLOR_ENABLED_DISABLED_ON_BG);
    if (!set[kStateDisabledOn])
        set[kStateDisabledOn] = ConvertTransparentCopy(*set[kStateDisabledOff], COLOR_ENABLED_DISABLED_ON_BG);
    return 0;
}
