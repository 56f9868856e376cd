#include "session/Renumber.h"

#include <algorithm>
#include <limits>
#include <map>
#include <set>
#include <vector>

#include "foundation/ByteOrderMark.h"
#include "foundation/DecimalText.h"
#include "platform/Locale.h"
#include "session/LineReferences.h"

namespace {

const platform::CatalogueText kRenumberTexts[] = {
    {"@Err_Renumber_Breaks_Order@",
     "The new numbers would put the lines out of order or give a line the number of another. "
     "The list is left as it was."},
    {"@Err_Renumber_Past_Largest@",
     "The new numbers would pass 2147483647, the largest line number. The list is left as it was."},
    {"@Note_Computed_Jumps %Lines%@", "Jumps to computed lines left as they are in %Lines%"},
};

constexpr int64_t LARGEST_LINE_NUMBER = std::numeric_limits<int32_t>::max();

bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

// One text line of the part that is renumbered.
struct TListLine {
    size_t Start = 0;
    size_t Length = 0;
    size_t Digits = 0;      // the digit run at its head
    int32_t OldNumber = 0;  // its value, when there is one
    bool Renumbered = false;
    int64_t NewNumber = 0;
    bool HasNumber() const { return Digits > 0; }
    int64_t FinalNumber() const { return Renumbered ? NewNumber : OldNumber; }
};

std::vector<TListLine> split_lines(std::string_view part)
{
    std::vector<TListLine> lines;
    size_t from = 0;
    while (from < part.size()) {
        size_t end = part.find('\n', from);
        if (end == std::string_view::npos) end = part.size();
        TListLine line;
        line.Start = from;
        line.Length = end - from;
        while (line.Digits < line.Length && is_digit(part[from + line.Digits])) ++line.Digits;
        if (line.HasNumber()) line.OldNumber = leading_decimal_integer(part.substr(from, line.Digits));
        lines.push_back(line);
        from = end + 1;
    }
    return lines;
}

// Why the new numbers cannot stand, or empty.
std::string check_new_numbers(const std::vector<TListLine>& lines)
{
    std::set<int64_t> kept;
    for (const TListLine& line : lines)
        if (line.HasNumber() && !line.Renumbered) kept.insert(line.OldNumber);
    const TListLine* previous = nullptr;
    for (const TListLine& line : lines) {
        if (line.Length == 0 || (!line.Renumbered && !line.HasNumber())) continue;
        if (line.Renumbered) {
            if (line.NewNumber > LARGEST_LINE_NUMBER) return platform::get_string("@Err_Renumber_Past_Largest@");
            if (line.NewNumber < 1 || kept.count(line.NewNumber) > 0)
                return platform::get_string("@Err_Renumber_Breaks_Order@");
        }
        // Lines that keep their numbers may stand as they stood; a renumbered line
        // must come after the line before it.
        if (previous != nullptr && (previous->Renumbered || line.Renumbered) &&
            previous->FinalNumber() >= line.FinalNumber())
            return platform::get_string("@Err_Renumber_Breaks_Order@");
        previous = &line;
    }
    return std::string();
}

// The statements with their jumps to renumbered lines rewritten; `computed` is set
// when a jump's target is an expression.
std::string rewrite_jumps(std::string statements, const std::map<int32_t, int64_t>& moved, bool& computed)
{
    const TLineReferences found = find_line_references(statements);
    computed = found.Computed;
    for (auto it = found.Literal.rbegin(); it != found.Literal.rend(); ++it) {
        const auto target = moved.find(it->Number);
        if (target != moved.end()) statements.replace(it->Offset, it->Length, std::to_string(target->second));
    }
    return statements;
}

}  // namespace

TRenumbered Renumber(std::string& text, int32_t newLine, int32_t oldLine, int32_t step, bool onlyIfUnnumbered)
{
    static const bool registered = (platform::add_catalogue_texts(kRenumberTexts), true);
    (void)registered;

    TRenumbered result;
    // A byte-order mark stays where it is, before the first line's number.
    const size_t mark = leading_byte_order_mark(text);
    if (onlyIfUnnumbered && text.size() > mark && is_digit(text[mark])) return result;

    // A Control-Z ends the part that is renumbered; it and what follows stay.
    const size_t partEnd = std::min(text.find('\x1a'), text.size());
    const std::string_view part = std::string_view(text).substr(mark, partEnd - mark);
    std::vector<TListLine> lines = split_lines(part);

    int64_t next = newLine;
    std::map<int32_t, int64_t> moved;  // old number -> new; the last line of a number is the one jumps reach
    for (TListLine& line : lines) {
        if (line.Length == 0 || (line.HasNumber() && line.OldNumber < oldLine)) continue;
        line.Renumbered = true;
        line.NewNumber = next;
        next += step;
        if (line.HasNumber()) moved[line.OldNumber] = line.NewNumber;
    }

    const bool rewriteJumps = !onlyIfUnnumbered;
    if (rewriteJumps) {
        result.Refusal = check_new_numbers(lines);
        if (!result.Refusal.empty()) return result;
    }

    std::string out(text, 0, mark);
    out.reserve(text.size() + lines.size() * 4);
    std::string computedLines;
    for (size_t i = 0; i < lines.size(); ++i) {
        const TListLine& line = lines[i];
        if (i > 0) out += '\n';
        std::string rest(part.substr(line.Start + line.Digits, line.Length - line.Digits));
        if (rewriteJumps) {
            bool computed = false;
            rest = rewrite_jumps(std::move(rest), moved, computed);
            if (computed) {
                if (!computedLines.empty()) computedLines += ", ";
                computedLines += std::to_string(line.FinalNumber());
            }
        }
        if (line.Renumbered) {
            out += std::to_string(line.NewNumber);
            if (rest.empty() || rest[0] != ' ') out += ' ';
        } else {
            out.append(part.substr(line.Start, line.Digits));
        }
        out += rest;
    }
    // The line feed that ends the last line before the end or the Control-Z.
    if (!part.empty() && part.back() == '\n') out += '\n';
    out.append(text, partEnd, std::string::npos);
    text = std::move(out);

    if (!computedLines.empty())
        result.Note = platform::replace_placeholder(platform::get_string("@Note_Computed_Jumps %Lines%@"), "%Lines%",
                                                    computedLines);
    result.Done = true;
    return result;
}

int64_t OffsetFromLineNum(std::string_view text, int64_t lineNum)
{
    text = text.substr(0, text.find('\0'));
    const size_t firstLine = leading_byte_order_mark(text);
    const std::string digits = std::to_string(lineNum);
    for (size_t at = text.find(digits); at != std::string_view::npos; at = text.find(digits, at + 1)) {
        const bool atLineStart = at == firstLine || (at > 0 && text[at - 1] == '\n');
        const size_t after = at + digits.size();
        const bool wholeNumber = after == text.size() || !is_digit(text[after]);
        if (atLineStart && wholeNumber) return static_cast<int64_t>(at);
    }
    return -1;
}
