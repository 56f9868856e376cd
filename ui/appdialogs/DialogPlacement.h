#pragma once
// Where the windows that the application opens on demand go: made with the main
// window's frame moved 20 pixels down, then moved to the main window's left edge,
// 20 pixels below its top, and kept at least 5 pixels inside the main screen.

#include "platform/Geometry.h"

class TBasicWindow;

platform::Rect dialog_frame_below(const platform::Rect& mainFrame);

// Moves a dialog just made to its place below the main window.
void place_dialog(TBasicWindow* dialog, const platform::Rect& mainFrame);
