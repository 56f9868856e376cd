// Renumbers arbitrary list text with values taken from the input's first bytes:
// whatever the text, nothing may crash; a refused renumbering leaves the text as it
// was, and one that is done keeps the count of lines.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "session/FormatSource.h"
#include "session/Renumber.h"

namespace {

int32_t read_value(const uint8_t* data, size_t size, size_t at)
{
    int32_t value = 0;
    for (size_t i = 0; i < 2 && at + i < size; ++i) value = value * 256 + data[at + i];
    return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const int32_t newLine = read_value(data, size, 0) * 1000;
    const int32_t oldLine = read_value(data, size, 2);
    const int32_t step = read_value(data, size, 4);
    const size_t skip = std::min<size_t>(size, 6);
    const std::string list(reinterpret_cast<const char*>(data) + skip, size - skip);

    for (bool onlyIfUnnumbered : {false, true}) {
        std::string text = list;
        const TRenumbered result = Renumber(text, newLine, oldLine, step, onlyIfUnnumbered);
        if (!result.Done && text != list) std::abort();
        if (result.Done && std::count(text.begin(), text.end(), '\n') != std::count(list.begin(), list.end(), '\n'))
            std::abort();
    }
    (void)OffsetFromLineNum(list, oldLine);
    (void)format_source_for_compiler(list);
    return 0;
}
