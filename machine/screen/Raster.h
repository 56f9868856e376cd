#pragma once
// The rasteriser of the graphics statements: shapes become sets of page pixels, held
// as horizontal runs, which are then written into both planes of a page, so that the
// colour-index plane and the true-colour plane always get exactly the same pixels.
//
// Every shape is clipped to the page before any loop runs, so coordinates and radii of
// any size cost no more than the page's own pixels. Integer coordinates may be anything
// whose size stays below 2^62 (32-bit values, with STEP offsets added, are far inside). There is no anti-aliasing.
// Outlines are closed curves whose pixels touch at least at their corners, so a fill
// that spreads between side-by-side and stacked pixels (PAINT) cannot leak through.
//
// Angles are in degrees, counter-clockwise from the positive x axis, 90 pointing up
// the page. On an ellipse the angle of a point is its parametric angle t, the point
// being (cx + rx cos t, cy − ry sin t).

#include <cstdint>
#include <vector>

#include "machine/screen/GraphicsPage.h"
#include "machine/screen/GraphicsPages.h"
#include "machine/screen/GraphicsPalette.h"

// A run of page pixels: row y, columns left to right inclusive, all on the page.
struct TSpan {
    int16_t y;
    int16_t left;
    int16_t right;
    friend bool operator==(const TSpan&, const TSpan&) = default;
};

// The pixels of one or more shapes. Runs may overlap.
class TRaster {
public:
    // Adds the pixels of row y from left to right (either order), clipped to the page.
    void AddSpan(int64_t y, int64_t left, int64_t right);
    // Adds one pixel when it lies on the page; it joins the last run when it extends it.
    void AddPixel(int64_t x, int64_t y);

    const std::vector<TSpan>& Spans() const { return mSpans; }
    bool Empty() const { return mSpans.empty(); }
    bool Contains(int64_t x, int64_t y) const;

private:
    std::vector<TSpan> mSpans;
};

// An ellipse by centre and radii (horizontal, vertical). A radius that is negative or
// not a finite number, or a centre that is not finite, makes an ellipse of no pixels.
struct TEllipse {
    double cx = 0;
    double cy = 0;
    double rx = 0;
    double ry = 0;
};

// A pixel.
void raster_point(TRaster& raster, int64_t x, int64_t y);

// The straight line between two pixels, both ends included. The same two ends give the
// same pixels whichever is given first.
void raster_line(TRaster& raster, int64_t x0, int64_t y0, int64_t x1, int64_t y1);

// The outline and the filled area of the rectangle with corners (x0, y0) and (x1, y1),
// in any order, edges included.
void raster_rect_outline(TRaster& raster, int64_t x0, int64_t y0, int64_t x1, int64_t y1);
void raster_rect_fill(TRaster& raster, int64_t x0, int64_t y0, int64_t x1, int64_t y1);

// The outline of an ellipse: a closed curve, symmetric about the centre's row and
// column when the centre is a whole pixel.
void raster_ellipse_outline(TRaster& raster, const TEllipse& e);
// The ellipse with its inside: every pixel on or within the outline.
void raster_ellipse_fill(TRaster& raster, const TEllipse& e);

// The part of the outline whose angles run from startDeg over spanDeg counter-clockwise
// (a negative span runs clockwise; 360 or more is the whole ellipse).
void raster_arc(TRaster& raster, const TEllipse& e, double startDeg, double spanDeg);
// The pixels of the filled ellipse whose angles lie in the same range, the centre
// included: a sector, its two sides part of the fill.
void raster_sector_fill(TRaster& raster, const TEllipse& e, double startDeg, double spanDeg);

// The point of the ellipse at angleDeg (not rounded).
TGrphPoint ellipse_point(const TEllipse& e, double angleDeg);

// A line from the centre to the ellipse's point at angleDeg, both rounded to whole pixels.
// When the arc (startDeg, spanDeg) drawn beside it ends within a pixel or two of that
// point, as it does when the arc's angles were rounded and the line's were not, the
// line's end is joined to the arc's nearest pixel, so arc and lines make one closed
// outline.
void raster_radius_line(TRaster& raster, const TEllipse& e, double startDeg, double spanDeg, double angleDeg);

// Writes the pixels of `raster` into the page in palette number `colour`: the
// colour-index plane under its lock, then the true-colour plane under its lock.
void draw_raster(TGraphicsPage& page, const TGraphicsPalette& palette, const TRaster& raster, int8_t colour);
