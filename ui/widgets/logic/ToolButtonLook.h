#pragma once
// How a tool button looks in each drawing state, and the interface colours of
// tool bars.

#include "foundation/CharColor.h"
#include "ui/widgets/logic/ToolImages.h"

inline constexpr rgb_color COLOR_BRIGHT_BORDER{255, 255, 255, 255};
inline constexpr rgb_color COLOR_DARK_BORDER{128, 128, 128, 255};
inline constexpr rgb_color COLOR_ENABLED_DISABLED_ON_BG{192, 192, 192, 255};
inline constexpr rgb_color COLOR_HOT_OFF_BG{240, 240, 240, 255};
inline constexpr rgb_color COLOR_DISABLED_FILLED{128, 128, 128, 255};
inline constexpr rgb_color COLOR_ENABLED_LABEL{0, 0, 0, 255};
inline constexpr rgb_color COLOR_DISABLED_LABEL{128, 128, 128, 255};
inline constexpr rgb_color FUC_COLOR_TOOL_TIP_WIN_BG{255, 255, 225, 255};

// The state a button draws in. Disabled: the button or its bar is not enabled.
// On: the value is set, or the button is pressed with the pointer over it.
ToolButtonState tool_button_state(bool disabled, bool on, bool hot);

struct ToolButtonLook {
    bool panelFace;  // the face is the platform's panel colour, not `face`
    rgb_color face;
    bool sunken;  // the light edge at the bottom right
    int offset;   // how far the image and label move right and down
    rgb_color label;
};

ToolButtonLook tool_button_look(ToolButtonState state);

// A raised bar draws every button's edges; a flat one only those that are on or hot.
bool tool_button_draws_edges(ToolButtonState state, bool flatBar);
