#pragma once
// The text screen as plain text, as the headless driver prints it and the tests
// compare it.

#include <string>

class TBasicRsrc;

// One row a line, each ended by "\n"; trailing blanks of each row and trailing
// empty rows are removed.
std::string shown_screen_text(const TBasicRsrc& rsrc);
