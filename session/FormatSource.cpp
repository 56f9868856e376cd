#include "session/FormatSource.h"

#include <string_view>

#include "foundation/ByteOrderMark.h"
#include "foundation/DecimalText.h"
#include "language/ErrorLineText.h"
#include "platform/Locale.h"
#include "session/Renumber.h"

namespace {

const platform::CatalogueText kFormatTexts[] = {
    {"@Compile_Err_Line_Too_Long@", "Line too long"},
};

constexpr size_t MAX_LINE_BYTES = 500;

bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}
bool is_blank(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}
bool is_blank_or_line_feed(char c)
{
    return is_blank(c) || c == '\n';
}

std::string_view digits_after_blanks(std::string_view line)
{
    size_t from = 0;
    while (from < line.size() && is_blank(line[from])) ++from;
    size_t to = from;
    while (to < line.size() && is_digit(line[to])) ++to;
    return line.substr(from, to - from);
}

template <typename Visit>
void for_each_line(std::string_view text, Visit visit)
{
    size_t from = 0;
    while (from <= text.size()) {
        size_t end = text.find('\n', from);
        if (end == std::string_view::npos) end = text.size();
        if (!visit(text.substr(from, end - from))) return;
        from = end + 1;
    }
}

bool counts_as_numbered(std::string_view text)
{
    bool numbered = false;
    bool firstSeen = false;
    for_each_line(text, [&](std::string_view line) {
        const std::string_view digits = digits_after_blanks(line);
        const bool blankLine = line.find_first_not_of(" \t\v\f") == std::string_view::npos;
        if (!firstSeen && !blankLine) {
            firstSeen = true;
            if (!digits.empty()) numbered = true;
        }
        // A leading 0 is no line number: such a line keeps it in a numbered copy.
        if (!digits.empty() && leading_decimal_integer(digits) >= 1) numbered = true;
        return !numbered;
    });
    return numbered;
}

// A line's number, or, for a line without one, its text.
std::string line_name(std::string_view line)
{
    const std::string_view digits = digits_after_blanks(line);
    return digits.empty() ? error_line_text(line) : std::string(digits);
}

// The compile error for the first line longer than the limit, or empty.
std::string long_line_error(std::string_view text)
{
    std::string error;
    for_each_line(text, [&](std::string_view line) {
        if (line.size() <= MAX_LINE_BYTES) return true;
        std::string message = platform::get_string("Compile Error");
        message += "\n\n";
        message += platform::get_string("@Compile_Err_Line_Too_Long@");
        message += "\n\n";
        message += platform::replace_placeholder(platform::get_string("Line: %Num%"), "%Num%", line_name(line));
        message += "\n";
        error = std::move(message);
        return false;
    });
    return error;
}

}  // namespace

TFormattedSource format_source_for_compiler(const std::string& text)
{
    static const bool registered = (platform::add_catalogue_texts(kFormatTexts), true);
    (void)registered;

    TFormattedSource source;
    // A byte-order mark opens no line: the compiler reads the first line's number
    // right at the start.
    const std::string_view whole(text);
    source.Text = after_byte_order_mark(whole.substr(0, whole.find('\0')));
    for (char& c : source.Text) {
        if (c == '\r' || c == '\x1a') c = '\n';
    }
    // The compiler reads a first line that is empty or blank as a line of its own
    // without a number, and the line after it as a statement: such lines go.
    size_t firstLine = 0;
    for (size_t at = 0; at < source.Text.size() && is_blank_or_line_feed(source.Text[at]); ++at)
        if (source.Text[at] == '\n') firstLine = at + 1;
    source.Text.erase(0, firstLine);
    if (!counts_as_numbered(source.Text)) Renumber(source.Text, 1, 1, 1, true);
    source.Error = long_line_error(source.Text);
    return source;
}
