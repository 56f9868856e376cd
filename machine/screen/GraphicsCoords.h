#pragma once
// Coordinates of the graphics statements as page pixels.

#include <cmath>
#include <cstdint>

// The page pixel of a coordinate: rounded half up. Values far off the page (infinities
// and not-a-number included) become a coordinate far off the page, so nothing is drawn
// there and sums stay far inside 64 bits.
inline int64_t page_pixel_of(double v)
{
    constexpr double FAR = 1e15;
    if (std::isnan(v)) return static_cast<int64_t>(FAR);
    const double r = std::floor(v + 0.5);
    if (r > FAR) return static_cast<int64_t>(FAR);
    if (r < -FAR) return static_cast<int64_t>(-FAR);
    return static_cast<int64_t>(r);
}
