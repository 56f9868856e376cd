#pragma once
// The text typed into the go-to-line dialog, turned into the place of the line it
// names: the number is read the way strtol reads base 10 (leading blanks skipped,
// the rest after the digits ignored, letters read 0), and the line is the one whose
// head is exactly that number (see OffsetFromLineNum).

#include <cstdint>
#include <string>
#include <string_view>

struct TGoToLine {
    int64_t Offset = -1;   // where the line begins in the list text
    std::string AlertKey;  // the alert to show instead, or empty
};

TGoToLine find_line_from_text(std::string_view listText, const std::string& typed);
