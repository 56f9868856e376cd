#include "listfiles/ListLoader.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "foundation/MiscUtils.h"
#include "listfiles/BinSaveList.h"
#include "listfiles/NecJisConversion.h"
#include "listfiles/Utf8Repair.h"
#include "platform/Locale.h"
#include "platform/TextEncoding.h"

namespace {

constexpr unsigned char BIN_SAVE_HEADER = 0xFE;
constexpr char SUBSTITUTE = '\x1A';  // what the conversion writes for a character without a UTF-8 form

int32_t conversion_for(int32_t encoding, const std::string& text)
{
    switch (encoding) {
    case LIST_ENCODING_AUTO_DETECT: return detect_char_set(text.c_str());
    case LIST_ENCODING_SHIFT_JIS: return LIST_CONVERSION_SHIFT_JIS;
    case LIST_ENCODING_JIS: return LIST_CONVERSION_JIS;
    default: return LIST_CONVERSION_NONE;
    }
}

std::string count_note(std::string_view key, int64_t count)
{
    return platform::replace_placeholder(platform::get_string(key), "%Num%", std::to_string(count));
}

// Adds a sentence to the load notes, a blank after the one before.
void add_note(std::string& note, const std::string& sentence)
{
    if (!note.empty()) note += ' ';
    note += sentence;
}

// A NUL byte would end the editor's text there, and a save would then cut the file:
// it becomes a space, counted in the note. Returns how many were replaced.
int64_t replace_nuls(std::string& text, std::string& note)
{
    int64_t nuls = 0;
    for (char& c : text) {
        if (c == '\0') {
            c = ' ';
            ++nuls;
        }
    }
    if (nuls > 0) add_note(note, count_note("Converted invalid %Num% characters to spaces.", nuls));
    return nuls;
}

// The substitutes of the conversion become a visible mark; a Control-Z would turn
// into a line break in the compiler's copy and vanish at the next save and reopen.
void mark_unconvertible(std::string& text, std::size_t substitutions, std::string& note)
{
    if (substitutions == 0) return;
    std::string marked;
    marked.reserve(text.size() + 2 * substitutions);
    for (const char c : text) {
        if (c == SUBSTITUTE)
            marked += kUnconvertibleMark;
        else
            marked += c;
    }
    text = std::move(marked);
    add_note(note, count_note("Replaced %Num% characters that have no Unicode form with \u3013.",
                              static_cast<int64_t>(substitutions)));
}

}  // namespace

TLoadedList LoadListText(std::string bytes, int32_t encoding, bool convertPc98)
{
    TLoadedList result;
    const bool binarySaved = !bytes.empty() && static_cast<unsigned char>(bytes[0]) == BIN_SAVE_HEADER;
    if (binarySaved) {
        if (BinSaveToAsciiSave(bytes) != 0) {
            result.BadBinSave = true;
            return result;
        }
    } else {
        // CR LF line ends become LF, and a Control-Z end-of-file mark disappears.
        std::erase_if(bytes, [](char c) { return c == '\r' || c == '\x1A'; });
    }

    int32_t conversion = conversion_for(encoding, bytes);
    if (conversion == LIST_CONVERSION_NONE) {
        result.Text = std::move(bytes);
        const int64_t blanked = replace_nuls(result.Text, result.Note);
        const int64_t repaired = repair_utf8(result.Text);
        if (repaired > 0)
            add_note(result.Note, count_note("Replaced %Num% bytes that are not UTF-8 with \uFFFD.", repaired));
        // The repaired text is not the file's: Save must not write it over the file.
        if ((blanked > 0 || repaired > 0) && !binarySaved) conversion = LIST_CONVERSION_REPAIRED_UTF8;
    } else {
        if (conversion == LIST_CONVERSION_JIS) {
            const int64_t replaced = ConvertJisToJis(bytes, convertPc98);
            if (replaced > 0)
                add_note(result.Note, count_note("Converted PC-98 peculiar %Num% characters to standbies.", replaced));
        }
        const platform::TextEncoding from =
            conversion == LIST_CONVERSION_JIS ? platform::TextEncoding::JIS : platform::TextEncoding::ShiftJIS;
        // Our conversion never stops early, so the whole list always converts; there
        // is no output limit past which it would be left unconverted.
        std::size_t substitutions = 0;
        result.Text = platform::convert_to_utf8(from, bytes, SUBSTITUTE, &substitutions);
        replace_nuls(result.Text, result.Note);
        mark_unconvertible(result.Text, substitutions, result.Note);
        // The conversion's output is UTF-8 already; this only guards the editor.
        repair_utf8(result.Text);
    }
    result.LoadedConversion = binarySaved && conversion == LIST_CONVERSION_NONE ? LIST_CONVERSION_JIS : conversion;
    return result;
}
