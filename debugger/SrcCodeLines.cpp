#include "debugger/SrcCodeLines.h"

#include <charconv>

#include "foundation/ByteOrderMark.h"

std::optional<int32_t> leading_line_number(std::string_view text)
{
    size_t start = 0;
    while (start < text.size() && (text[start] == ' ' || text[start] == '\t')) ++start;
    int32_t number = 0;
    const auto result = std::from_chars(text.data() + start, text.data() + text.size(), number);
    if (result.ec != std::errc() || result.ptr == text.data() + start) return std::nullopt;
    return number;
}

void TSrcCodeLines::Set(std::string_view source)
{
    mLines.clear();
    // A byte-order mark opens no line: the first line's number follows it.
    source = after_byte_order_mark(source);
    while (!source.empty()) {
        const size_t end = source.find('\n');
        const std::string_view line = source.substr(0, end);
        TSrcLine entry;
        entry.Text = std::string(line);
        entry.LineNum = leading_line_number(line).value_or(-1);
        mLines.push_back(std::move(entry));
        if (end == std::string_view::npos) break;
        source.remove_prefix(end + 1);
    }
}

// The later of two lines of one number: the one that a jump to the number reaches.
int TSrcCodeLines::Row(int32_t lineNum) const
{
    if (lineNum < 0) return -1;
    for (size_t i = mLines.size(); i > 0; --i)
        if (mLines[i - 1].LineNum == lineNum) return static_cast<int>(i - 1);
    return -1;
}

std::string TSrcCodeLines::Line(int32_t lineNum) const
{
    const int row = Row(lineNum);
    return row < 0 ? std::string() : mLines[static_cast<size_t>(row)].Text;
}

int TSrcCodeLines::FirstNumberedRow() const
{
    for (size_t i = 0; i < mLines.size(); ++i)
        if (mLines[i].LineNum >= 0) return static_cast<int>(i);
    return -1;
}
