#include "ui/appdialogs/DialogPlacement.h"

#include "ui/guibase/GUIBase.h"

namespace {

constexpr float kBelowMainTop = 20;

}  // namespace

platform::Rect dialog_frame_below(const platform::Rect& mainFrame)
{
    return platform::Rect{mainFrame.left, mainFrame.top + kBelowMainTop, mainFrame.right, mainFrame.bottom};
}

void place_dialog(TBasicWindow* dialog, const platform::Rect& mainFrame)
{
    dialog->IntelligentMoveTo(platform::Point{mainFrame.left, mainFrame.top + kBelowMainTop});
}
