#pragma once
// Every alert of the program, error alerts included, goes through show_alert. It may
// be called from any thread: off the GUI thread the alert is handed to it, and the
// caller's wait ends when its TThread is told to stop (see platform/qt/AlertService.h).

#include <cstdint>
#include <string>

#include "platform/qt/AlertService.h"

using platform::AlertType;

// Shows `title`, a blank line and `text`, with the buttons in order (button1 and
// button2 count as absent when null or empty) and returns the chosen button's index.
// The button `escapeIndex` (0 to 2; other values: none) answers to Escape; every other
// button answers to the accelerator letter its label shows.
int32_t show_alert(const char* title, const char* text, const char* button0, const char* button1, const char* button2,
                   int32_t escapeIndex, AlertType type);
int32_t show_alert2(const std::string& title, const std::string& text, const std::string& button0,
                    const std::string& button1, const std::string& button2, int32_t escapeIndex, AlertType type);
