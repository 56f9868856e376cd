#pragma once
// The source list's lines: the compiler's copy of the program split at line feeds,
// each with the BASIC line number its text begins with (−1 when it begins with none),
// its break-point mark and whether the machine stands on it. A byte-order mark at
// the start of the source belongs to no line and is left out.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct TSrcLine {
    int32_t LineNum = -1;
    std::string Text;
    bool BreakPoint = false;
    bool Breaking = false;
};

class TSrcCodeLines {
public:
    void Set(std::string_view source);
    void Clear() { mLines.clear(); }

    const std::vector<TSrcLine>& Lines() const { return mLines; }
    std::vector<TSrcLine>& Lines() { return mLines; }
    // The row of a line number (the later one of two lines of one number), or −1.
    int Row(int32_t lineNum) const;
    // The text of the line of that number, empty without one.
    std::string Line(int32_t lineNum) const;
    // The row of the first line that begins with a number, or −1: a list may begin
    // with empty lines.
    int FirstNumberedRow() const;

private:
    std::vector<TSrcLine> mLines;
};

// The decimal number at the start of `text` (after blanks), when there is one.
std::optional<int32_t> leading_line_number(std::string_view text);
