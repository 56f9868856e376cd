// Feeds arbitrary bytes to the preferred-application edit as a user's mimeapps.list
// would hold them: whatever the bytes, nothing may crash, the result names our
// application for the type exactly once in its [Default Applications] section, and
// making the same edit again changes nothing.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ui/appdialogs/logic/BasicListType.h"

namespace {

// How often `line` stands as a whole line in `text`, and whether the last such line
// is in the [Default Applications] section.
size_t count_lines(const std::string& text, const std::string& line, bool* inDefaults)
{
    size_t count = 0;
    bool defaults = false;
    size_t from = 0;
    while (from < text.size()) {
        size_t end = text.find('\n', from);
        if (end == std::string::npos) end = text.size();
        const std::string current = text.substr(from, end - from);
        if (!current.empty() && current[0] == '[') defaults = current == "[Default Applications]";
        if (current == line) {
            ++count;
            *inDefaults = defaults;
        }
        from = end + 1;
    }
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string list(reinterpret_cast<const char*>(data), size);
    const std::string edited = with_default_application(list, kBasicListType, kDesktopEntryName);
    const std::string ours = std::string(kBasicListType) + "=" + kDesktopEntryName + ";";
    bool inDefaults = false;
    // Our line may also stand, as it was, in another section of the input.
    if (count_lines(edited, ours, &inDefaults) == 0) std::abort();
    if (with_default_application(edited, kBasicListType, kDesktopEntryName) != edited) std::abort();
    return 0;
}
