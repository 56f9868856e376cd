#pragma once
// The one drawing of the emulated screen: what the screen shows of one rectangle, as
// a snapshot of the devices holds it, painted in screen coordinates (640 × 400). The
// run view draws its back buffer with it and the Composition copy its picture, each
// with its own rectangle, so a copy never takes an update that the view still owes.

#include <QFont>

#include "machine/host/ScreenRect.h"
#include "machine/screen/ScreenSnapshot.h"

class QPainter;

// Draws `area`: the graphics behind the text (black where none is shown), then the
// text of every cell that the area touches in its palette colour, clipped to the area.
// A two-column character is drawn once, from its left cell. A 40-column screen's text
// is drawn at 8 pixels a column into a 320 × 400 layer, which is laid over the screen
// stretched to twice its width. With `withCursor` the lit cursor is drawn as a block in
// its cell's colour. An empty area draws nothing.
void render_screen(QPainter& painter, const TScreenSnapshot& shot, const TScreenRect& area, const QFont& font,
                   bool withCursor);

// The whole pixels that `area` covers on the screen; empty for an empty area.
QRect screen_pixels_of(const TScreenRect& area);
