#include "listfiles/ListLoader.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "foundation/MiscUtils.h"
#include "listfiles/BinSaveList.h"
#include "listfiles/NecJisConversion.h"
#include "platform/Locale.h"
#include "platform/TextEncoding.h"

namespace {

constexpr unsigned char BIN_SAVE_HEADER = 0xFE;
constexpr char SUBSTITUTE = '\x1A';  // stands for a character that has no UTF-8 form

int32_t conversion_for(int32_t encoding, const std::string& text)
{
    switch (encoding) {
    case LIST_ENCODING_AUTO_DETECT:
        return detect_char_set(text.c_str());
    case LIST_ENCODING_SHIFT_JIS:
        return LIST_CONVERSION_SHIFT_JIS;
    case LIST_ENCODING_JIS:
        return LIST_CONVERSION_JIS;
    default:
        return LIST_CONVERSION_NONE;
    }
}

std::string count_note(std::string_view key, int64_t count)
{
    return platform::replace_placeholder(platform::get_string(key), "%Num%", std::to_string(count));
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

    const int32_t conversion = conversion_for(encoding, bytes);
    if (conversion == LIST_CONVERSION_NONE) {
        // The editor's text ends at its first NUL byte.
        bytes.resize(std::min(bytes.size(), bytes.find('\0')));
        result.Text = std::move(bytes);
    } else {
        if (conversion == LIST_CONVERSION_JIS) {
            const int64_t replaced = ConvertJisToJis(bytes, convertPc98);
            if (replaced > 0)
                result.Note = count_note("Converted PC-98 peculiar %Num% characters to standbies.", replaced);
        }
        const platform::TextEncoding from =
            conversion == LIST_CONVERSION_JIS ? platform::TextEncoding::JIS : platform::TextEncoding::ShiftJIS;
        // Our conversion never stops early, so the whole list always converts; there
        // is no output limit past which it would be left unconverted.
        result.Text = platform::convert_to_utf8(from, bytes, SUBSTITUTE);
        int64_t nuls = 0;
        for (char& c : result.Text) {
            if (c == '\0') {
                c = ' ';
                ++nuls;
            }
        }
        if (nuls > 0)
            result.Note += count_note("Converted invalid %Num% characters to spaces.", nuls);
    }
    result.LoadedConversion = binarySaved && conversion == LIST_CONVERSION_NONE ? LIST_CONVERSION_JIS : conversion;
    return result;
}
