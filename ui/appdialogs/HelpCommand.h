#pragma once
// Help: the read-me beside the executable, opened with the desktop's viewer.

#include <string>

#include "platform/Status.h"

// The read-me's file name: the locale's "$FileNameHelp$", else "ReadMe_enUS.txt".
std::string help_file_name();

// Opens `exeFolder` (ending in "/") followed by the read-me's name; the status of
// show_help.
platform::status_t open_help_file(const std::string& exeFolder);
