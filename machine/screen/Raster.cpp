#include "machine/screen/Raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <numbers>
#include <utility>

namespace {

__extension__ typedef __int128 int128_t;

// The quotient rounded toward minus infinity (den > 0).
int128_t floor_div(int128_t num, int128_t den)
{
    int128_t q = num / den;
    if (num % den != 0 && num < 0) --q;
    return q;
}

// round(k * num / den) (den > 0, halves upward) for k = k0, k0 + 1, ..., as a line
// walks its columns or rows: one division for the first value and for the step, then
// an addition and a comparison for each next value, which equals the rounded ratio
// of its own k exactly. The products reach 2^66 for page coordinates; the quotients,
// remainders and steps fit 64 bits.
class TRoundedRatioSteps {
public:
    TRoundedRatioSteps(int64_t k0, int64_t num, int64_t den) : mDen2(2 * den)
    {
        // round(k * num / den) = floor((2 * k * num + den) / (2 * den)).
        const int128_t first = 2 * int128_t{k0} * num + den;
        const int128_t q = floor_div(first, mDen2);
        mValue = static_cast<int64_t>(q);
        mRemainder = static_cast<int64_t>(first - q * mDen2);
        const int128_t step = 2 * int128_t{num};
        const int128_t stepQ = floor_div(step, mDen2);
        mStep = static_cast<int64_t>(stepQ);
        mStepRemainder = static_cast<int64_t>(step - stepQ * mDen2);
    }
    int64_t Value() const { return mValue; }
    void Next()
    {
        mValue += mStep;
        mRemainder += mStepRemainder;
        if (mRemainder >= mDen2) {
            mRemainder -= mDen2;
            ++mValue;
        }
    }

private:
    int64_t mDen2;
    int64_t mValue;
    int64_t mRemainder;  // 0 <= mRemainder < mDen2
    int64_t mStep;
    int64_t mStepRemainder;  // 0 <= mStepRemainder < mDen2
};

// Columns and rows of the ellipse code are held in this range: anything beyond the
// page is off it by at least one pixel, and neighbouring rows compare the same.
constexpr double CLAMP_LOW = -2;
constexpr double CLAMP_HIGH = GRPH_WIDTH + 2;

int64_t clamped(double v)
{
    return static_cast<int64_t>(std::clamp(v, CLAMP_LOW, CLAMP_HIGH));
}

bool drawable(const TEllipse& e)
{
    return std::isfinite(e.cx) && std::isfinite(e.cy) && std::isfinite(e.rx) && std::isfinite(e.ry) && e.rx >= 0 &&
           e.ry >= 0;
}

// The rows the ellipse covers, rounding away from the centre, before clipping.
struct TRows {
    int64_t top;
    int64_t bottom;
};

TRows ellipse_rows(const TEllipse& e)
{
    return {clamped(std::ceil(e.cy - e.ry - 0.5)), clamped(std::floor(e.cy + e.ry + 0.5))};
}

// Left and right ends of the ellipse's row y, rounded away from the centre (so the ends
// of a whole-pixel centre mirror each other).
struct TRowEnds {
    int64_t left;
    int64_t right;
};

TRowEnds row_ends(const TEllipse& e, int64_t y)
{
    double w = e.rx;
    if (e.ry > 0) {
        const double t = std::clamp((static_cast<double>(y) - e.cy) / e.ry, -1.0, 1.0);
        w = e.rx * std::sqrt(1.0 - t * t);
    }
    return {clamped(std::ceil(e.cx - w - 0.5)), clamped(std::floor(e.cx + w + 0.5))};
}

// The outline's pixels of row y: from each end inward far enough to touch the next
// row's end at least at a corner; the first and last rows are drawn whole.
void add_outline_row(TRaster& raster, const TEllipse& e, const TRows& rows, int64_t y)
{
    const TRowEnds ends = row_ends(e, y);
    int64_t leftInner = ends.left;
    int64_t rightInner = ends.right;
    if (y == rows.top || y == rows.bottom) {
        leftInner = ends.right;
        rightInner = ends.left;
    } else {
        for (const int64_t n : {y - 1, y + 1}) {
            const TRowEnds other = row_ends(e, n);
            leftInner = std::max(leftInner, other.left - 1);
            rightInner = std::min(rightInner, other.right + 1);
        }
    }
    if (leftInner + 1 >= rightInner) {
        raster.AddSpan(y, ends.left, ends.right);
    } else {
        raster.AddSpan(y, ends.left, leftInner);
        raster.AddSpan(y, rightInner, ends.right);
    }
}

// An angular range in degrees: start in [0, 360), span in [0, 360], or whole.
class TAngleRange {
public:
    TAngleRange(double startDeg, double spanDeg)
    {
        mValid = std::isfinite(startDeg) && std::isfinite(spanDeg);
        if (!mValid) return;
        if (spanDeg < 0) {
            startDeg += spanDeg;
            spanDeg = -spanDeg;
        }
        mWhole = spanDeg >= 360;
        mStart = std::fmod(startDeg, 360.0);
        if (mStart < 0) mStart += 360;
        mSpan = spanDeg;
    }

    bool Valid() const { return mValid; }

    bool Contains(double angleDeg) const
    {
        if (mWhole) return true;
        constexpr double EPS = 1e-9;
        double d = angleDeg - mStart;
        if (d < 0) d += 360;
        return d <= mSpan + EPS || d >= 360 - EPS;
    }

private:
    bool mValid = false;
    bool mWhole = false;
    double mStart = 0;
    double mSpan = 0;
};

// The parametric angle of pixel (x, y) on the ellipse, in [0, 360).
double pixel_angle(const TEllipse& e, int64_t x, int64_t y)
{
    double ux = static_cast<double>(x) - e.cx;
    double uy = e.cy - static_cast<double>(y);
    if (e.rx > 0 && e.ry > 0) {
        ux *= e.ry;
        uy *= e.rx;
    }
    double a = std::atan2(uy, ux) * 180.0 / std::numbers::pi;
    if (a < 0) a += 360;
    return a;
}

// The pixels of `source` whose angle lies in the range.
void add_in_range(TRaster& raster, const TRaster& source, const TEllipse& e, const TAngleRange& range)
{
    for (const TSpan& s : source.Spans())
        for (int64_t x = s.left; x <= s.right; ++x)
            if (range.Contains(pixel_angle(e, x, s.y))) raster.AddPixel(x, s.y);
}

int64_t round_half_up(double v)
{
    return static_cast<int64_t>(std::floor(std::clamp(v, -1e15, 1e15) + 0.5));
}

}  // namespace

void TRaster::AddSpan(int64_t y, int64_t left, int64_t right)
{
    if (y < 0 || y >= GRPH_HEIGHT) return;
    if (right < left) std::swap(left, right);
    left = std::max<int64_t>(left, 0);
    right = std::min<int64_t>(right, GRPH_WIDTH - 1);
    if (left > right) return;
    mSpans.push_back({static_cast<int16_t>(y), static_cast<int16_t>(left), static_cast<int16_t>(right)});
}

void TRaster::AddPixel(int64_t x, int64_t y)
{
    if (!on_page(x, y)) return;
    if (!mSpans.empty()) {
        TSpan& last = mSpans.back();
        if (last.y == y && last.right + 1 == x) {
            last.right = static_cast<int16_t>(x);
            return;
        }
    }
    mSpans.push_back({static_cast<int16_t>(y), static_cast<int16_t>(x), static_cast<int16_t>(x)});
}

bool TRaster::Contains(int64_t x, int64_t y) const
{
    return std::any_of(mSpans.begin(), mSpans.end(),
                       [x, y](const TSpan& s) { return s.y == y && s.left <= x && x <= s.right; });
}

void raster_point(TRaster& raster, int64_t x, int64_t y)
{
    raster.AddPixel(x, y);
}

void raster_line(TRaster& raster, int64_t x0, int64_t y0, int64_t x1, int64_t y1)
{
    if (std::llabs(x1 - x0) >= std::llabs(y1 - y0)) {
        // One pixel in every column: walk the columns that lie on the page.
        if (x1 < x0) {
            std::swap(x0, x1);
            std::swap(y0, y1);
        }
        const int64_t dx = x1 - x0;
        if (dx == 0) {
            raster.AddPixel(x0, y0);
            return;
        }
        const int64_t first = std::max<int64_t>(x0, 0);
        const int64_t last = std::min<int64_t>(x1, GRPH_WIDTH - 1);
        TRoundedRatioSteps rise(first - x0, y1 - y0, dx);
        for (int64_t x = first; x <= last; ++x, rise.Next()) raster.AddPixel(x, y0 + rise.Value());
    } else {
        // One pixel in every row.
        if (y1 < y0) {
            std::swap(x0, x1);
            std::swap(y0, y1);
        }
        const int64_t dy = y1 - y0;
        const int64_t first = std::max<int64_t>(y0, 0);
        const int64_t last = std::min<int64_t>(y1, GRPH_HEIGHT - 1);
        TRoundedRatioSteps run(first - y0, x1 - x0, dy);
        for (int64_t y = first; y <= last; ++y, run.Next()) raster.AddPixel(x0 + run.Value(), y);
    }
}

void raster_rect_outline(TRaster& raster, int64_t x0, int64_t y0, int64_t x1, int64_t y1)
{
    if (x1 < x0) std::swap(x0, x1);
    if (y1 < y0) std::swap(y0, y1);
    raster.AddSpan(y0, x0, x1);
    if (y1 != y0) raster.AddSpan(y1, x0, x1);
    const int64_t first = std::max<int64_t>(y0 + 1, 0);
    const int64_t last = std::min<int64_t>(y1 - 1, GRPH_HEIGHT - 1);
    for (int64_t y = first; y <= last; ++y) {
        raster.AddPixel(x0, y);
        if (x1 != x0) raster.AddPixel(x1, y);
    }
}

void raster_rect_fill(TRaster& raster, int64_t x0, int64_t y0, int64_t x1, int64_t y1)
{
    if (y1 < y0) std::swap(y0, y1);
    const int64_t first = std::max<int64_t>(y0, 0);
    const int64_t last = std::min<int64_t>(y1, GRPH_HEIGHT - 1);
    for (int64_t y = first; y <= last; ++y) raster.AddSpan(y, x0, x1);
}

void raster_ellipse_outline(TRaster& raster, const TEllipse& e)
{
    if (!drawable(e)) return;
    const TRows rows = ellipse_rows(e);
    const int64_t first = std::max<int64_t>(rows.top, 0);
    const int64_t last = std::min<int64_t>(rows.bottom, GRPH_HEIGHT - 1);
    for (int64_t y = first; y <= last; ++y) add_outline_row(raster, e, rows, y);
}

void raster_ellipse_fill(TRaster& raster, const TEllipse& e)
{
    if (!drawable(e)) return;
    const TRows rows = ellipse_rows(e);
    const int64_t first = std::max<int64_t>(rows.top, 0);
    const int64_t last = std::min<int64_t>(rows.bottom, GRPH_HEIGHT - 1);
    for (int64_t y = first; y <= last; ++y) {
        const TRowEnds ends = row_ends(e, y);
        raster.AddSpan(y, ends.left, ends.right);
    }
}

void raster_arc(TRaster& raster, const TEllipse& e, double startDeg, double spanDeg)
{
    const TAngleRange range(startDeg, spanDeg);
    if (!range.Valid()) return;
    TRaster outline;
    raster_ellipse_outline(outline, e);
    add_in_range(raster, outline, e, range);
}

void raster_sector_fill(TRaster& raster, const TEllipse& e, double startDeg, double spanDeg)
{
    const TAngleRange range(startDeg, spanDeg);
    if (!range.Valid()) return;
    TRaster area;
    raster_ellipse_fill(area, e);
    add_in_range(raster, area, e, range);
}

TGrphPoint ellipse_point(const TEllipse& e, double angleDeg)
{
    const double t = angleDeg * std::numbers::pi / 180.0;
    return {static_cast<float>(e.cx + std::cos(t) * e.rx), static_cast<float>(e.cy - std::sin(t) * e.ry)};
}

void raster_radius_line(TRaster& raster, const TEllipse& e, double startDeg, double spanDeg, double angleDeg)
{
    if (!drawable(e) || !std::isfinite(angleDeg)) return;
    const double t = angleDeg * std::numbers::pi / 180.0;
    const int64_t cx = round_half_up(e.cx);
    const int64_t cy = round_half_up(e.cy);
    const int64_t ex = round_half_up(e.cx + std::cos(t) * e.rx);
    const int64_t ey = round_half_up(e.cy - std::sin(t) * e.ry);
    raster_line(raster, cx, cy, ex, ey);

    // The arc's angles may differ from the line's by up to half a degree, plus the
    // pixel rounding of both.
    TRaster arc;
    raster_arc(arc, e, startDeg, spanDeg);
    const double reach = 2.0 + std::max(e.rx, e.ry) * std::numbers::pi / 180.0;
    int64_t best = std::numeric_limits<int64_t>::max();
    int64_t bx = 0;
    int64_t by = 0;
    for (const TSpan& s : arc.Spans()) {
        for (int64_t x = s.left; x <= s.right; ++x) {
            const int64_t d = std::max(std::llabs(x - ex), std::llabs(s.y - ey));
            if (d < best) {
                best = d;
                bx = x;
                by = s.y;
            }
        }
    }
    if (best > 1 && static_cast<double>(best) <= reach) raster_line(raster, ex, ey, bx, by);
}

void draw_raster(TGraphicsPage& page, const TGraphicsPalette& palette, const TRaster& raster, int8_t colour)
{
    {
        std::lock_guard<std::mutex> lock(page.IndexLock());
        uint8_t* bits = page.IndexBits();
        for (const TSpan& s : raster.Spans())
            std::fill(bits + s.y * GRPH_WIDTH + s.left, bits + s.y * GRPH_WIDTH + s.right + 1,
                      static_cast<uint8_t>(colour));
    }
    const uint32_t word = palette.Word(colour);
    std::lock_guard<std::mutex> lock(page.ColourLock());
    uint32_t* bits = page.ColourBits();
    for (const TSpan& s : raster.Spans())
        std::fill(bits + s.y * GRPH_WIDTH + s.left, bits + s.y * GRPH_WIDTH + s.right + 1, word);
}
