#pragma once
// The images of a tool button: one for each drawing state, 32 bits a pixel with
// the bytes in the order blue, green, red, alpha (Qt's ARGB32 in memory). A pixel
// whose alpha is 0 is transparent; any other alpha counts as opaque.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "foundation/CharColor.h"

struct ToolImage {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> bytes;  // width * height * 4

    ToolImage() = default;
    // Every pixel transparent.
    ToolImage(int32_t w, int32_t h) : width(w), height(h), bytes(static_cast<size_t>(w) * h * 4, 0) {}
    friend bool operator==(const ToolImage&, const ToolImage&) = default;
};

// The drawing states, numbered as the images' slots.
enum ToolButtonState : int32_t {
    kStateOff = 0,
    kStateOn = 1,
    kStateDisabledOff = 2,
    kStateDisabledOn = 3,
    kStateHotOff = 4,
};
inline constexpr int32_t kToolButtonStates = 5;

using ToolImageSet = std::array<std::optional<ToolImage>, kToolButtonStates>;

// A copy in which every transparent pixel becomes `color`.
ToolImage ConvertTransparentCopy(const ToolImage& source, const rgb_color& color);
// A copy in which every opaque pixel becomes `color`: the image's silhouette.
ToolImage ConvertFilledCopy(const ToolImage& source, const rgb_color& color);

// Derives every missing image from the normal one (slot 0): the grey silhouette
// for disabled off, the image on the face colour of hot off and on, and disabled
// off on the face colour of the on states for disabled on. Images present stay.
// -1 without a normal image, nothing derived; else 0.
int32_t DeriveMissingImages(ToolImageSet* images);
