#include "language/ErrorLineText.h"

#include "foundation/HeaderConstants.h"

namespace {

// As much of a line as an error alert names it by.
constexpr std::size_t NAMED_LINE_BYTES = 40;

bool is_continuation_byte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

std::string error_line_text(std::string_view line)
{
    if (line.size() <= NAMED_LINE_BYTES) return std::string(line);
    std::size_t cut = NAMED_LINE_BYTES;
    while (cut > 0 && is_continuation_byte(line[cut])) --cut;
    return std::string(line.substr(0, cut)) + FUC_ELLIPSIS;
}
