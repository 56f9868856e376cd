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

namespace {

// The input with its last four bytes replaced by the right checksum, so that the
// fuzzer also reaches the checks behind the checksum.
std::string sealed(std::string_view bytes) {
    std::string out(bytes.substr(0, bytes.size() - 4));
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char c : out) {
        crc ^= c;
        for (int k = 0; k < 8; ++k) crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
    }
    crc ^= 0xFFFFFFFFu;
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((crc >> (8 * i)) & 0xFF));
    return out;
}

void read_settings(std::string_view bytes) {
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

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    read_settings(bytes);
    if (size >= 4) read_settings(sealed(bytes));
    return 0;
}
