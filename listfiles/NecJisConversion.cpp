#include "listfiles/NecJisConversion.h"

#include <string_view>

#include "listfiles/KanjiShift.h"
#include "listfiles/Pc98CharTables.h"

namespace {

bool shift_at(std::string_view bytes, size_t pos, std::string_view shift)
{
    return bytes.substr(pos, shift.size()) == shift;
}

}  // namespace

int64_t ConvertJisToJis(std::string& list, bool convertPc98)
{
    Pc98OneByteTable oneByte;
    Pc98TwoByteTable twoByte;
    ConvertJisToJisInit98CharTable1(&oneByte, convertPc98);
    ConvertJisToJisInit98CharTable2(&twoByte, convertPc98);

    const std::string_view bytes(list);
    std::string result;
    result.reserve(bytes.size() + bytes.size() / 4);
    int64_t replaced = 0;
    bool twoByteMode = false;
    size_t pos = 0;
    while (pos < bytes.size()) {
        const auto byte = static_cast<unsigned char>(bytes[pos]);
        if (!twoByteMode) {
            if (shift_at(bytes, pos, BAS_KI_CODE)) {
                result += ZARO_KI_CODE;
                twoByteMode = true;
                pos += BAS_KI_CODE.size();
                continue;
            }
            const std::string& text = oneByte[byte];
            if (static_cast<unsigned char>(text[0]) != byte) ++replaced;
            result += text;
            ++pos;
        } else if (shift_at(bytes, pos, BAS_KO_CODE)) {
            result += ZARO_KO_CODE;
            twoByteMode = false;
            pos += BAS_KO_CODE.size();
        } else if (pos + 1 == bytes.size()) {
            result += static_cast<char>(byte);  // a lone last byte has no partner
            ++pos;
        } else {
            const auto second = static_cast<unsigned char>(bytes[pos + 1]);
            const auto found = twoByte.find(static_cast<uint16_t>(byte << 8 | second));
            if (found != twoByte.end()) {
                result += found->second;
                ++replaced;
            } else {
                result += bytes.substr(pos, 2);
            }
            pos += 2;
        }
    }
    list = std::move(result);
    return replaced;
}
