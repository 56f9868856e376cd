#include "listfiles/BinSaveReader.h"

#include "listfiles/KanjiShift.h"

int BinSaveGetChar(std::string_view bytes, int64_t* pos)
{
    if (*pos < 0 || *pos >= static_cast<int64_t>(bytes.size())) throw -1;
    const auto byte = static_cast<unsigned char>(bytes[static_cast<size_t>(*pos)]);
    ++*pos;
    return byte;
}

int BinSaveGetInt16(std::string_view bytes, int64_t* pos)
{
    int64_t at = *pos;
    const int low = BinSaveGetChar(bytes, &at);
    const int high = BinSaveGetChar(bytes, &at);
    *pos = at;
    return low + 256 * high;
}

void BinSaveJpnCheck(std::string_view bytes, int64_t pos, bool* kanjiMode)
{
    if (pos < 2 || pos > static_cast<int64_t>(bytes.size())) return;
    const std::string_view pair = bytes.substr(static_cast<size_t>(pos - 2), 2);
    if (pair == BAS_KI_CODE)
        *kanjiMode = true;
    else if (pair == BAS_KO_CODE)
        *kanjiMode = false;
}
