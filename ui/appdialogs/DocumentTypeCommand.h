#pragma once
// What the application gives for its program-list document type: its executable,
// its name and its icons as PNG files.

#include <string>

#include "ui/appdialogs/logic/DocumentTypeFiles.h"

// `executable`: the running program's absolute path. An icon that cannot be read is
// left out.
TBasicListApp basic_list_app(const std::string& executable, const std::string& appName);
