#include "session/FormatSource.h"

namespace {

constexpr size_t MAX_LINE_BYTES = 500;

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Numbers the non-empty lines 1, 2, 3...: a leading number of 1 or more is replaced,
// a leading 0 stays with the rest of its line.
std::string number_lines(const std::string& text) {
    std::string out;
    long next = 1;
    size_t from = 0;
    while (from <= text.size()) {
        size_t end = text.find('\n', from);
        const bool last = end == std::string::npos;
        if (last) end = text.size();
        std::string line = text.substr(from, end - from);
        if (!line.empty()) {
            size_t digits = 0;
            while (digits < line.size() && is_digit(line[digits])) ++digits;
            bool aboveZero = false;
            for (size_t i = 0; i < digits; ++i) aboveZero = aboveZero || line[i] != '0';
            std::string rest = digits > 0 && aboveZero ? line.substr(digits) : line;
            out += std::to_string(next++);
            if (rest.empty() || rest[0] != ' ') out += ' ';
            out += rest;
        }
        if (last) break;
        out += '\n';
        from = end + 1;
    }
    return out;
}

}  // namespace

std::string format_source_for_compiler(const std::string& text) {
    std::string copy = text.substr(0, text.find('\0'));
    for (char& c : copy) {
        if (c == '\r' || c == '\x1a') c = '\n';
    }
    if (!copy.empty() && !is_digit(copy[0])) copy = number_lines(copy);
    // Bytes of the line so far; a byte turned into a line feed does not end the line.
    size_t column = 0;
    for (char& c : copy) {
        if (c == '\n')
            column = 0;
        else if (column >= MAX_LINE_BYTES)
            c = '\n';
        else
            ++column;
    }
    return copy;
}
