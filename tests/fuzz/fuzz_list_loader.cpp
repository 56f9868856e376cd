// Feeds arbitrary list files to the list loader under every encoding request,
// with and without the PC-98 character replacements: it must give well-formed
// UTF-8 without NUL bytes and one of the known conversions, or refuse a malformed
// binary-saved list, and never read outside the bytes.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "listfiles/ListLoader.h"
#include "listfiles/Utf8Repair.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const bool binarySaved = size > 0 && data[0] == 0xFE;
    for (const int32_t encoding : {0, 1, 2, 3, 4, 99}) {
        for (const bool convertPc98 : {false, true}) {
            const TLoadedList loaded = LoadListText(input, encoding, convertPc98);
            if (loaded.BadBinSave) {
                if (!binarySaved || !loaded.Text.empty())
                    std::abort();  // only a binary-saved list can be refused, and then nothing is read
                continue;
            }
            if (loaded.Text.find('\0') != std::string::npos) std::abort();
            if (loaded.LoadedConversion != LIST_CONVERSION_NONE &&
                loaded.LoadedConversion != LIST_CONVERSION_SHIFT_JIS &&
                loaded.LoadedConversion != LIST_CONVERSION_JIS &&
                loaded.LoadedConversion != LIST_CONVERSION_REPAIRED_UTF8)
                std::abort();
            std::string again = loaded.Text;
            if (repair_utf8(again) != 0) std::abort();  // the editor holds only well-formed UTF-8
            if (binarySaved && loaded.LoadedConversion == LIST_CONVERSION_NONE)
                std::abort();  // a binary-saved list is never saved back in place
            if (!binarySaved &&
                (loaded.LoadedConversion == LIST_CONVERSION_NONE ||
                 loaded.LoadedConversion == LIST_CONVERSION_REPAIRED_UTF8) &&
                loaded.Text.find_first_of("\r\x1A") != std::string::npos)
                std::abort();  // CR and Control-Z are gone from a text list
        }
    }
    return 0;
}
