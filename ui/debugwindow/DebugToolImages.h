#pragma once
// The images of the debugging tool bar's buttons, drawn here: "TBRun", "TBPause",
// "TBStepOver", "TBStepIn", "TBStepOut" and "TBKill".

#include <optional>
#include <string>

#include "ui/widgets/logic/ToolImages.h"

std::optional<ToolImage> debug_tool_image(const std::string& name);
