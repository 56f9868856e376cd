#pragma once
// One graphics page of the emulated screen: two 640 by 400 pixel planes that always
// hold the same picture.
//   - the colour-index plane: one byte per pixel, the palette number last drawn there
//     (POINT, PAINT, GET@ and the palette conversion read it back);
//   - the true-colour plane: one 32-bit word 0xAARRGGBB per pixel in the palette's
//     colour at the time of drawing, the layout the run view shows without a copy.
// Pixel (x, y) is element y × 640 + x of either plane.
//
// A plane's storage is made the first time its bits are asked for; until then the
// plane is all one value, which Fill sets and IndexAt and ColourAt read. Most runs
// never draw on most pages, and making 5 MB of planes at every start costs more than
// a short program's whole run.
//
// Each plane has its own lock. Whoever changes a plane holds its lock; the drawing
// side holds the true-colour plane's lock while it copies it. An operation that needs
// both takes the colour-index lock first and releases it last. The operations in
// GraphicsPages.h, Raster.h, Paint.h and PageImage.h take the locks themselves; no
// caller needs to hold them.

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

constexpr int32_t GRPH_WIDTH = 640;
constexpr int32_t GRPH_HEIGHT = 400;
constexpr int32_t GRPH_PIXELS = GRPH_WIDTH * GRPH_HEIGHT;

// True when (x, y) is a pixel of a page.
constexpr bool on_page(int64_t x, int64_t y)
{
    return x >= 0 && x < GRPH_WIDTH && y >= 0 && y < GRPH_HEIGHT;
}

class TGraphicsPage {
public:
    TGraphicsPage();

    TGraphicsPage(const TGraphicsPage&) = delete;
    TGraphicsPage& operator=(const TGraphicsPage&) = delete;

    // The planes' bits; the caller holds the plane's lock, as for any use of them.
    uint8_t* IndexBits() { return IndexPlane(); }
    const uint8_t* IndexBits() const { return IndexPlane(); }
    uint32_t* ColourBits() { return ColourPlane(); }
    const uint32_t* ColourBits() const { return ColourPlane(); }

    std::mutex& IndexLock() const { return mIndexLock; }
    std::mutex& ColourLock() const { return mColourLock; }

    // Reads of single pixels for tests and for POINT; (x, y) must lie on the page.
    // They take the plane's lock.
    uint8_t IndexAt(int32_t x, int32_t y) const;
    uint32_t ColourAt(int32_t x, int32_t y) const;

    // Sets every pixel: the index plane to `index`, the colour plane to `word`.
    void Fill(uint8_t index, uint32_t word);

private:
    // Each makes its plane once, filled with the plane's value so far.
    uint8_t* IndexPlane() const;
    uint32_t* ColourPlane() const;

    mutable std::unique_ptr<uint8_t[]> mIndex;
    mutable std::unique_ptr<uint32_t[]> mColour;
    mutable std::once_flag mIndexMade;
    mutable std::once_flag mColourMade;
    // Set once the plane exists; until then the value of all its pixels.
    mutable std::atomic<bool> mIndexExists{false};
    mutable std::atomic<bool> mColourExists{false};
    std::atomic<uint8_t> mIndexValue{0};
    std::atomic<uint32_t> mColourValue{0xFF000000u};
    mutable std::mutex mIndexLock;
    mutable std::mutex mColourLock;
};
