#include "listfiles/Utf8Repair.h"

namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD

bool is_continuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The length of the well-formed sequence at `at`, or 0 when none begins there.
size_t sequence_length(const std::string& text, size_t at)
{
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    size_t length = 0;
    // The second byte's range rules out overlong forms, surrogates and values past U+10FFFF.
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (text.size() - at < length) return 0;
    if (byte(1) < low || byte(1) > high) return 0;
    for (size_t i = 2; i < length; ++i)
        if (!is_continuation(byte(i))) return 0;
    return length;
}

}  // namespace

int64_t repair_utf8(std::string& text)
{
    int64_t replaced = 0;
    std::string repaired;
    size_t copiedUpTo = 0;  // bytes before this are already in `repaired`
    for (size_t at = 0; at < text.size();) {
        const size_t length = sequence_length(text, at);
        if (length > 0) {
            at += length;
            continue;
        }
        repaired.append(text, copiedUpTo, at - copiedUpTo);
        repaired += kReplacement;
        ++replaced;
        copiedUpTo = ++at;
    }
    if (replaced > 0) {
        repaired.append(text, copiedUpTo, std::string::npos);
        text = std::move(repaired);
    }
    return replaced;
}
