#include "ui/widgets/logic/ToolButtonLook.h"

namespace {

// One row a state, in the order of the state numbers.
const ToolButtonLook kLooks[kToolButtonStates] = {
    // panel  face                          sunken offset label
    {true, {0, 0, 0, 0}, false, 0, COLOR_ENABLED_LABEL},                   // off
    {false, COLOR_ENABLED_DISABLED_ON_BG, true, 1, COLOR_ENABLED_LABEL},   // on
    {true, {0, 0, 0, 0}, false, 0, COLOR_DISABLED_LABEL},                  // disabled off
    {false, COLOR_ENABLED_DISABLED_ON_BG, true, 1, COLOR_DISABLED_LABEL},  // disabled on
    {false, COLOR_HOT_OFF_BG, false, 0, COLOR_ENABLED_LABEL},              // hot off
};

}  // namespace

ToolButtonState tool_button_state(bool disabled, bool on, bool hot)
{
    if (disabled) return on ? kStateDisabledOn : kStateDisabledOff;
    if (on) return kStateOn;
    return hot ? kStateHotOff : kStateOff;
}

ToolButtonLook tool_button_look(ToolButtonState state)
{
    return kLooks[state];
}

bool tool_button_draws_edges(ToolButtonState state, bool flatBar)
{
    return !flatBar || state == kStateOn || state == kStateDisabledOn || state == kStateHotOff;
}
