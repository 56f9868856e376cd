#include "machine/screen/CircleShape.h"

#include <cmath>
#include <numbers>

float default_circle_aspect(int8_t vertFactor)
{
    return vertFactor == 2 ? 0.5f : 1.0f;
}

TCircleShape circle_shape(float cx, float cy, float radius, float startRad, float endRad, float aspect)
{
    constexpr float DEGREES = 180.0f / std::numbers::pi_v<float>;
    TCircleShape shape;
    shape.StartDeg = std::fabs(startRad) * DEGREES;
    shape.NegativeStart = startRad < 0;
    shape.SpanDeg = std::fabs(endRad * DEGREES) - shape.StartDeg;
    shape.NegativeEnd = endRad < 0;
    if (std::fabs(endRad) < std::fabs(startRad)) shape.SpanDeg += 360;

    float rx = radius;
    float ry = radius * aspect;
    if (aspect > 1) {
        rx = radius / aspect;
        ry = radius;
    }
    shape.Ellipse = {cx, cy, rx, ry};
    return shape;
}

TScreenRect circle_bounds(const TCircleShape& shape)
{
    const TEllipse& e = shape.Ellipse;
    return {static_cast<float>(e.cx - e.rx), static_cast<float>(e.cy - e.ry), static_cast<float>(e.cx + e.rx),
            static_cast<float>(e.cy + e.ry)};
}

float round_off(float v)
{
    return std::floor(v + 0.5f);
}

void raster_circle_arc(TRaster& raster, const TCircleShape& shape)
{
    const float start = round_off(shape.StartDeg);
    const float span = round_off(shape.SpanDeg);
    raster_arc(raster, shape.Ellipse, start, span);
    if (shape.NegativeStart) raster_radius_line(raster, shape.Ellipse, start, span, shape.StartDeg);
    if (shape.NegativeEnd)
        raster_radius_line(raster, shape.Ellipse, start, span, double{shape.StartDeg} + shape.SpanDeg);
}

void raster_circle_sector(TRaster& raster, const TCircleShape& shape)
{
    raster_sector_fill(raster, shape.Ellipse, shape.StartDeg, shape.SpanDeg);
}

void raster_circle_sector_outline(TRaster& raster, const TCircleShape& shape)
{
    raster_arc(raster, shape.Ellipse, shape.StartDeg, shape.SpanDeg);
}
