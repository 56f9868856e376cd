#include "ui/guibase/AcceleratorLabels.h"

#include <string_view>

#include "foundation/Common.h"
#include "platform/Locale.h"

namespace {

// The marks that end the text part of a label, in the order they are looked for
// (not the order in which they occur): the first one found anywhere decides.
constexpr std::string_view kLabelEndMarks[] = {
    "...",
    "[",
    "\xEF\xBC\x9A",  // full-width colon
    ":",
    ">>",
    "<<",
    "\xE2\x86\x92",  // rightwards arrow
    "\xE2\x86\x90",  // leftwards arrow
};

constexpr std::string_view kKatakanaMiddleDot = "\xE3\x83\xBB";

constexpr char kPlacementInFront = 1;

// merge_accelerator_key, with the key made the mnemonic of a menu text when `mnemonic`.
std::string merge_key(const std::string& format, const std::string& key, const std::string& label, bool mnemonic)
{
    // Byte 0 is the placement code, not part of the decoration: an "a" there would
    // name a place before the decoration's start, so the search begins at byte 1.
    std::string decorated;
    size_t letter = format.find('a', 1);
    if (letter != std::string::npos) {
        if (mnemonic)
            decorated = menu_escaped(format.substr(1, letter - 1)) + (key.empty() ? "" : "&") + menu_escaped(key) +
                        menu_escaped(format.substr(letter + 1));
        else
            decorated = format.substr(1, letter - 1) + key + format.substr(letter + 1);
    }
    const std::string text = mnemonic ? menu_escaped(label) : label;
    if (decorated.empty()) return text;

    if (format[0] == kPlacementInFront) return decorated + text;

    for (std::string_view mark : kLabelEndMarks) {
        size_t at = text.find(mark);
        if (at == std::string::npos) continue;
        while (at > 0 && text[at - 1] == ' ') --at;
        return text.substr(0, at) + decorated + text.substr(at);
    }
    return text + decorated;
}

}  // namespace

std::string menu_escaped(const std::string& text)
{
    std::string escaped;
    for (char c : text) {
        if (c == '&') escaped += '&';
        escaped += c;
    }
    return escaped;
}

std::string merge_accelerator_key(const std::string& format, const std::string& key, const std::string& label)
{
    return merge_key(format, key, label, false);
}

std::string menu_label_with_mnemonic(const std::string& format, const std::string& key, const std::string& label)
{
    return merge_key(format, key, label, true);
}

char short_cut_from_label(const std::string& label)
{
    char key = 0;
    size_t open = label.rfind('(');
    size_t close = label.rfind(')');
    if (open != std::string::npos && close != std::string::npos && close == open + 2) {
        key = label[open + 1];
    } else if (label.find(')') == 1 || label.find(' ') == 1 || label.find(kKatakanaMiddleDot) == 1) {
        key = label[0];
    } else {
        return 0;
    }
    if (key >= 'A' && key <= 'Z') key = static_cast<char>(key - 'A' + 'a');
    return key;
}

std::string locale_text_with_default(const char* key, const char* defaultText)
{
    std::string text = platform::get_string(key);
    return text == key ? std::string(defaultText) : text;
}

std::string current_accelerator_format()
{
    std::string format;
    if (gIAPs.GetString("AccKeyFormat2", &format) != 0) return kDefaultAccKeyFormat;
    return format;
}
