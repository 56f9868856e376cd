// PSET, PRESET, POINT, LINE and CIRCLE: shapes drawn into the active page in a
// palette number, the graphics last point that STEP and POINT use, and the page
// rectangle each statement reports for redrawing.

#include <utility>

#include "machine/devices/BasicRsrc.h"
#include "machine/screen/GraphicsCoords.h"
#include "machine/vm/RuntimeErrorKeys.h"
#include "machine/vm/VMachine.h"

namespace {

struct TPixelPoint {
    int64_t x;
    int64_t y;
};

TPixelPoint pixel_of(const TGrphPoint& p)
{
    return {page_pixel_of(p.x), page_pixel_of(p.y)};
}

TScreenRect rect_of(const TGrphPoint& a, const TGrphPoint& b)
{
    const TPixelPoint p = pixel_of(a);
    const TPixelPoint q = pixel_of(b);
    return TScreenRect{static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(q.x),
                       static_cast<float>(q.y)};
}

TScreenRect ordered(TScreenRect r)
{
    if (r.right < r.left) std::swap(r.left, r.right);
    if (r.bottom < r.top) std::swap(r.top, r.bottom);
    return r;
}

constexpr int32_t NO_FILL = -1;

}  // namespace

void TVMachine::DrawOnActivePage(const TRaster& raster, int8_t colour)
{
    draw_raster(Rsrc->Graphics.Page(Rsrc->ActivePage), Rsrc->Graphics.GrphColPal, raster, colour);
}

void TVMachine::GrphChanged(const TScreenRect& pageRect)
{
    Rsrc->SetScrModifiedByGrph2(pageRect);
    Rsrc->UpdateScreen();
}

int8_t TVMachine::PopColour(int8_t fallback)
{
    const TStackData s = Pop();
    if (s.type == sdOmitted) return fallback;
    return static_cast<int8_t>(StackInt(s) & 0xFF);
}

// --- PSET, PRESET, POINT ---

namespace {

// (x, y), plus the last point with STEP, in the floats of a point.
TGrphPoint stepped(double x, double y, bool step, const TGrphPoint& last)
{
    if (step) {
        x += last.x;
        y += last.y;
    }
    return TGrphPoint{static_cast<float>(x), static_cast<float>(y)};
}

}  // namespace

void TVMachine::ExeBasicPSet(const TVMCode* code)
{
    const int8_t colour = PopColour(Rsrc->GrphFgCol);
    const int32_t y = PopInt();
    const int32_t x = PopInt();
    TGraphicsPages& g = Rsrc->Graphics;
    const TGrphPoint p = stepped(x, y, OperandFlag(code), g.LastPoint);
    const TPixelPoint px = pixel_of(p);
    TRaster r;
    raster_point(r, px.x, px.y);
    DrawOnActivePage(r, colour);
    g.LastPoint = p;
    GrphChanged(rect_of(p, p));
}

void TVMachine::ExeBasicPReset(const TVMCode* code)
{
    const int32_t y = PopInt();
    const int32_t x = PopInt();
    TGraphicsPages& g = Rsrc->Graphics;
    const TGrphPoint p = stepped(x, y, OperandFlag(code), g.LastPoint);
    const TPixelPoint px = pixel_of(p);
    TRaster r;
    raster_point(r, px.x, px.y);
    DrawOnActivePage(r, Rsrc->GrphBgCol);
    g.LastPoint = p;
    GrphChanged(rect_of(p, p));
}

void TVMachine::ExeBasicPointFunc1(const TVMCode*)
{
    const auto n = static_cast<uint32_t>(PopInt());
    if (n > 3) throw RuntimeException2(RTE_ILL_FUNC_CALL);
    const TGrphPoint& last = Rsrc->Graphics.LastPoint;
    PushInt(TMouseState::Truncate(n % 2 == 0 ? last.x : last.y));
}

void TVMachine::ExeBasicPointFunc2(const TVMCode*)
{
    const int32_t y = PopInt();
    const int32_t x = PopInt();
    PushInt(Rsrc->Graphics.PointIndex(Rsrc->ActivePage, x, y));
}

void TVMachine::ExeBasicPointProc(const TVMCode* code)
{
    const int32_t y = PopInt();
    const int32_t x = PopInt();
    TGraphicsPages& g = Rsrc->Graphics;
    g.LastPoint = stepped(x, y, OperandFlag(code), g.LastPoint);
}

// --- LINE ---

void TVMachine::GetLineOption(long count, TGrphPoint* first, TGrphPoint* second, int8_t* colour, int32_t* fill)
{
    if (count < 0 || count > 2) throw RuntimeException2(RTE_INTERNAL_ERROR);
    *fill = NO_FILL;
    if (count == 2) {
        const TStackData style = Pop();
        // A tile pattern (a string) means no fill colour, as does a number above 15.
        if (style.type != sdOmitted && style.type != sdString) {
            const int32_t v = StackInt(style);
            *fill = v > 15 ? NO_FILL : v;
        }
    }
    *colour = count >= 1 ? PopColour(Rsrc->GrphFgCol) : Rsrc->GrphFgCol;
    const int32_t y2 = PopInt();
    const int32_t x2 = PopInt();
    const bool step2 = StackBool(Pop());
    const TGrphPoint last = Rsrc->Graphics.LastPoint;
    const TStackData next = Pop();
    if (next.type == sdOmitted) {
        *first = last;
    } else {
        const int32_t y1 = StackInt(next);
        const int32_t x1 = PopInt();
        const bool step1 = StackBool(Pop());
        *first = stepped(x1, y1, step1, last);
    }
    *second = stepped(x2, y2, step2, *first);
}

void TVMachine::DrawLineShape(const TVMCode* code, TCornerRaster raster)
{
    TGrphPoint a, b;
    int8_t colour;
    int32_t fill;
    GetLineOption(code->Operand.Long, &a, &b, &colour, &fill);
    const TPixelPoint p = pixel_of(a);
    const TPixelPoint q = pixel_of(b);
    TRaster r;
    raster(r, p.x, p.y, q.x, q.y);
    DrawOnActivePage(r, colour);
    Rsrc->Graphics.LastPoint = b;
    GrphChanged(rect_of(a, b));
}

void TVMachine::ExeBasicLine(const TVMCode* code)
{
    DrawLineShape(code, raster_line);
}

void TVMachine::ExeBasicStrokeRect(const TVMCode* code)
{
    DrawLineShape(code, raster_rect_outline);
}

void TVMachine::ExeBasicFillRect(const TVMCode* code)
{
    TGrphPoint a, b;
    int8_t colour;
    int32_t fill;
    GetLineOption(code->Operand.Long, &a, &b, &colour, &fill);
    const TPixelPoint p = pixel_of(a);
    const TPixelPoint q = pixel_of(b);
    // With a fill colour: filled in it and outlined in the line colour; otherwise
    // filled in the line colour alone.
    TRaster body;
    raster_rect_fill(body, p.x, p.y, q.x, q.y);
    DrawOnActivePage(body, fill != NO_FILL ? static_cast<int8_t>(fill) : colour);
    if (fill != NO_FILL) {
        TRaster outline;
        raster_rect_outline(outline, p.x, p.y, q.x, q.y);
        DrawOnActivePage(outline, colour);
    }
    Rsrc->Graphics.LastPoint = b;
    GrphChanged(ordered(rect_of(a, b)));
}

// --- CIRCLE ---

void TVMachine::GetCircleOption(long count, TCircleShape* shape, int8_t* colour, int32_t* fill)
{
    if (count < 0 || count > 5) throw RuntimeException2(RTE_INTERNAL_ERROR);
    int32_t fillColour = NO_FILL;
    if (count == 5) {
        const TStackData f = Pop();
        if (f.type != sdOmitted && f.type != sdString) {
            const int32_t v = StackInt(f);
            fillColour = v < 16 ? v : NO_FILL;
        }
    }
    if (fill != nullptr) *fill = fillColour;
    // The slots x, y, radius, colour, start, end, aspect; slot i is on the stack
    // when i − 2 ≤ count.
    float slots[7] = {
        0, 0, 0, static_cast<float>(Rsrc->GrphFgCol), 0, CIRCLE_FULL_TURN, default_circle_aspect(Rsrc->GrphVertFactor)};
    for (int i = 6; i >= 0; --i) {
        if (i - 2 > count) continue;
        const TStackData s = Pop();
        if (s.type != sdOmitted) slots[i] = StackFloat(s);
    }
    *colour = static_cast<int8_t>(TMouseState::Truncate(slots[3]) & 0xFF);
    const bool step = StackBool(Pop());
    const TGrphPoint centre = stepped(slots[0], slots[1], step, Rsrc->Graphics.LastPoint);
    *shape = circle_shape(centre.x, centre.y, slots[2], slots[4], slots[5], slots[6]);
}

void TVMachine::DrawCircle(const TCircleShape& shape, const TRaster& body, const TRaster* outline, int8_t colour,
                           int32_t fill)
{
    DrawOnActivePage(body, fill != NO_FILL ? static_cast<int8_t>(fill) : colour);
    if (outline != nullptr && fill != NO_FILL) DrawOnActivePage(*outline, colour);
    Rsrc->Graphics.LastPoint = TGrphPoint{static_cast<float>(shape.Ellipse.cx), static_cast<float>(shape.Ellipse.cy)};
    GrphChanged(circle_bounds(shape));
}

// The four CIRCLE forms differ only in the shapes they rasterise: an outline alone, or
// a body whose outline is drawn over it in the line colour when a fill colour is given.
void TVMachine::StrokeCircleForm(const TVMCode* code, void (*outlineOf)(TRaster&, const TCircleShape&))
{
    TCircleShape shape;
    int8_t colour;
    GetCircleOption(code->Operand.Long, &shape, &colour, nullptr);
    TRaster r;
    outlineOf(r, shape);
    DrawCircle(shape, r, nullptr, colour, NO_FILL);
}

void TVMachine::FillCircleForm(const TVMCode* code, void (*bodyOf)(TRaster&, const TCircleShape&),
                               void (*outlineOf)(TRaster&, const TCircleShape&))
{
    TCircleShape shape;
    int8_t colour;
    int32_t fill;
    GetCircleOption(code->Operand.Long, &shape, &colour, &fill);
    TRaster body, outline;
    bodyOf(body, shape);
    if (fill != NO_FILL) outlineOf(outline, shape);
    DrawCircle(shape, body, &outline, colour, fill);
}

namespace {
void ellipse_outline_of(TRaster& r, const TCircleShape& shape)
{
    raster_ellipse_outline(r, shape.Ellipse);
}
void ellipse_fill_of(TRaster& r, const TCircleShape& shape)
{
    raster_ellipse_fill(r, shape.Ellipse);
}
}  // namespace

void TVMachine::ExeBasicStrokeEllipse(const TVMCode* code)
{
    StrokeCircleForm(code, ellipse_outline_of);
}
void TVMachine::ExeBasicFillEllipse(const TVMCode* code)
{
    FillCircleForm(code, ellipse_fill_of, ellipse_outline_of);
}
void TVMachine::ExeBasicStrokeArc(const TVMCode* code)
{
    StrokeCircleForm(code, raster_circle_arc);
}
void TVMachine::ExeBasicFillArc(const TVMCode* code)
{
    FillCircleForm(code, raster_circle_sector, raster_circle_sector_outline);
}
