#pragma once
// CIRCLE's operands as shapes of the rasteriser: the ellipse that the radius and the
// aspect give, the arc's angles in degrees, and the pixels of its four forms.
//
// Angles of the program are radians; a negative angle stands for the same angle with a
// radius line drawn from the centre to that end of the arc.

#include <cstdint>

#include "machine/host/ScreenRect.h"
#include "machine/screen/Raster.h"

struct TCircleShape {
    TEllipse Ellipse;
    float StartDeg = 0;   // where the arc starts, degrees, not rounded
    float SpanDeg = 360;  // how far it runs counter-clockwise, degrees, not rounded
    bool NegativeStart = false;
    bool NegativeEnd = false;
};

// The single-precision 2π, the default end angle.
constexpr float CIRCLE_FULL_TURN = 6.2831855f;

// The default aspect: 1 divided by the vertical factor (0.5 in the 200-line modes).
float default_circle_aspect(int8_t vertFactor);

// The shape of CIRCLE (cx, cy), radius, , start, end, aspect. With an aspect above 1
// the horizontal radius is radius / aspect and the vertical one the radius; otherwise
// the horizontal radius is the radius and the vertical one radius × aspect. The start
// in degrees is |start| × 180 / π, the span |end × 180 / π| minus the start, plus 360
// when |end| < |start|; all in single precision.
TCircleShape circle_shape(float cx, float cy, float radius, float startRad, float endRad, float aspect);

// The rectangle CIRCLE reports as changed: centre minus radii to centre plus radii.
TScreenRect circle_bounds(const TCircleShape& shape);

// floor(v + 0.5): angles of the stroked arc are rounded to whole degrees this way.
float round_off(float v);

// CIRCLE with angles, without F: the arc with its start and span rounded to whole
// degrees, and a radius line to each end whose angle was negative (at the angle as
// computed, not rounded), joined to the arc.
void raster_circle_arc(TRaster& raster, const TCircleShape& shape);

// CIRCLE with angles and F: the sector with the angles as computed (its sides belong to
// the fill), and the arc alone that outlines it when a fill colour is given.
void raster_circle_sector(TRaster& raster, const TCircleShape& shape);
void raster_circle_sector_outline(TRaster& raster, const TCircleShape& shape);
