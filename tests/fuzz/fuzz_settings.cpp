// Feeds arbitrary bytes to the settings reader: the flattened-message reader and the
// preference and exit-state records that read their keys from it. Whatever the bytes,
// nothing may crash; a message that was read must flatten back to the same bytes, and
// the records must keep their limits.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "foundation/Common.h"
#include "platform/Message.h"
#include "tests/fuzz/SealedInput.h"

namespace {

void read_settings(std::string_view bytes)
{
    platform::Message message(platform::fourcc("keep"));
    if (message.Unflatten(bytes) != platform::kOk) {
        if (message.what != platform::fourcc("keep") || !message.IsEmpty()) std::abort();  // rejected whole
        return;
    }

    std::string again;
    if (message.Flatten(&again) != platform::kOk || again != bytes) std::abort();

    TPrefs prefs;
    prefs.Unarchive(message);
    if (prefs.DebugFontFamily().size() > kMaxFontFamilyBytes || prefs.MainFontFamily().size() > kMaxFontFamilyBytes ||
        prefs.RunFontFamily().size() > kMaxFontFamilyBytes)
        std::abort();
    platform::Message archived;
    if (prefs.Archive(&archived, true) != platform::kOk) std::abort();

    TExitStates states;
    states.Unarchive(message);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    read_settings(bytes);
    if (size >= 4) read_settings(sealed(bytes));
    return 0;
}
