#include "machine/screen/Paint.h"

#include <algorithm>
#include <deque>
#include <vector>

namespace {

struct TFillPoint {
    int16_t x;
    int16_t y;
};

// The working state of one PAINT: the visited map, the queue of points still to be
// filled from, and which points have been queued. A point is queued only while it is
// not yet visited, so "queued once" stands for "still in the queue" for points that
// are not visited.
class TFloodFill {
public:
    TFloodFill(TGraphicsPage& page, const TGraphicsPalette& palette, uint8_t area, uint8_t border)
        : mIndex(page.IndexBits()), mColour(page.ColourBits()), mAreaIndex(area),
          mAreaWord(palette.Word(static_cast<int8_t>(area))), mBorder(border), mVisited(GRPH_PIXELS, 0),
          mQueued(GRPH_PIXELS, 0)
    {}

    TScreenRect Run(int16_t seedX, int16_t seedY)
    {
        if (IsBorder(seedX, seedY)) return mModified;
        Append(seedX, seedY);
        while (!mQueue.empty()) {
            const TFillPoint p = mQueue.front();
            mQueue.pop_front();
            if (!mVisited[Pos(p.x, p.y)]) FillRun(p.x, p.y);
        }
        return mModified;
    }

private:
    static int32_t Pos(int32_t x, int32_t y) { return y * GRPH_WIDTH + x; }
    bool IsBorder(int32_t x, int32_t y) const { return mIndex[Pos(x, y)] == mBorder; }

    void Append(int32_t x, int32_t y)
    {
        mQueue.push_back({static_cast<int16_t>(x), static_cast<int16_t>(y)});
        mQueued[Pos(x, y)] = 1;
    }

    // A point of the row above or below that may start a run still to be filled.
    bool Open(int32_t x, int32_t y) const { return !mVisited[Pos(x, y)] && !IsBorder(x, y); }

    void FillRun(int32_t x, int32_t y)
    {
        mModified.top = std::min<float>(mModified.top, y);
        mModified.bottom = std::max<float>(mModified.bottom, y);
        while (x > 0 && !IsBorder(x - 1, y)) --x;
        mModified.left = std::min<float>(mModified.left, x);

        if (y > 0 && Open(x, y - 1)) Append(x, y - 1);
        if (y < GRPH_HEIGHT - 1 && Open(x, y + 1)) Append(x, y + 1);

        for (; x < GRPH_WIDTH && !IsBorder(x, y); ++x) {
            const int32_t pos = Pos(x, y);
            mIndex[pos] = mAreaIndex;
            mColour[pos] = mAreaWord;
            mVisited[pos] = 1;
            for (const int32_t ny : {y - 1, y + 1}) {
                if (ny < 0 || ny >= GRPH_HEIGHT) continue;
                // The start of a run in the neighbouring row, unless already queued.
                if (x > 0 && Open(x, ny) && IsBorder(x - 1, ny) && !mQueued[Pos(x, ny)]) Append(x, ny);
            }
        }
        mModified.right = std::max<float>(mModified.right, x);
    }

    uint8_t* mIndex;
    uint32_t* mColour;
    uint8_t mAreaIndex;
    uint32_t mAreaWord;
    uint8_t mBorder;
    std::vector<uint8_t> mVisited;
    std::vector<uint8_t> mQueued;
    std::deque<TFillPoint> mQueue;
    TScreenRect mModified = PAINT_NOTHING_RECT;
};

// Shifts one plane. Rows first, then columns within each row.
template <typename Word>
void roll_plane(Word* bits, int64_t dy, int64_t dx, Word fill)
{
    constexpr int64_t W = GRPH_WIDTH;
    constexpr int64_t H = GRPH_HEIGHT;
    if (dy >= H || dy <= -H || dx >= W || dx <= -W) {
        std::fill_n(bits, W * H, fill);
        return;
    }
    if (dy > 0) {
        std::copy(bits + dy * W, bits + H * W, bits);
        std::fill(bits + (H - dy) * W, bits + H * W, fill);
    } else if (dy < 0) {
        std::copy_backward(bits, bits + (H + dy) * W, bits + H * W);
        std::fill(bits, bits + (-dy) * W, fill);
    }
    if (dx == 0) return;
    for (int64_t y = 0; y < H; ++y) {
        Word* row = bits + y * W;
        if (dx > 0) {
            std::copy(row + dx, row + W, row);
            std::fill(row + W - dx, row + W, fill);
        } else {
            std::copy_backward(row, row + W + dx, row + W);
            std::fill(row, row - dx, fill);
        }
    }
}

}  // namespace

TScreenRect paint_area(TGraphicsPage& page, const TGraphicsPalette& palette, int64_t seedX, int64_t seedY, int8_t area,
                       int8_t border)
{
    if (!on_page(seedX, seedY)) return PAINT_NOTHING_RECT;
    std::lock_guard<std::mutex> indexLock(page.IndexLock());
    std::lock_guard<std::mutex> colourLock(page.ColourLock());
    TFloodFill fill(page, palette, static_cast<uint8_t>(area), static_cast<uint8_t>(border));
    return fill.Run(static_cast<int16_t>(seedX), static_cast<int16_t>(seedY));
}

void roll_page(TGraphicsPage& page, const TGraphicsPalette& palette, int64_t dy, int64_t dx, int8_t fill)
{
    std::lock_guard<std::mutex> indexLock(page.IndexLock());
    std::lock_guard<std::mutex> colourLock(page.ColourLock());
    roll_plane<uint8_t>(page.IndexBits(), dy, dx, static_cast<uint8_t>(fill));
    roll_plane<uint32_t>(page.ColourBits(), dy, dx, palette.Word(fill));
}
