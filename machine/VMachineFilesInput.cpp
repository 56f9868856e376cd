// Reading sequential files: the item reader of INPUT # and LINE INPUT #, the
// character reader of INPUT$, and the file form of INPUT$.

#include <cstring>
#include <string>
#include <vector>

#include "foundation/CharColor.h"
#include "machine/BasicRsrc.h"
#include "machine/RuntimeErrorKeys.h"
#include "machine/VMachine.h"

namespace {

// Item delimiters: space ; , CR LF, or in line mode CR LF only.
constexpr const char ITEM_DELIMS[] = " ;,\r\n";
constexpr const char LINE_DELIMS[] = "\r\n";

bool is_delim(char c, bool lineMode) {
    const char* delims = lineMode ? LINE_DELIMS : ITEM_DELIMS;
    return c != '\0' && std::strchr(delims, c) != nullptr;
}

}  // namespace

int32_t TVMachine::FileTextLength(const std::string& text) const {
    // The length as the machine stored the text: two for a full-width character, one
    // for anything else, and in DISK-BASIC mode one more for the shift code at each
    // entry into and exit from a run of full-width characters.
    const bool shiftCodes = RuntimeCompatiMode == 2;
    int32_t length = 0;
    bool inKanji = false;
    for (size_t i = 0; i < text.size();) {
        size_t len = static_cast<size_t>(char_bytes(text[i]));
        if (i + len > text.size()) len = text.size() - i;
        const bool kanji = is_kanji(text.substr(i, len).c_str());
        if (shiftCodes && kanji != inKanji) ++length;
        inKanji = kanji;
        length += kanji ? 2 : 1;
        i += len;
    }
    if (shiftCodes && inKanji) ++length;
    return length;
}

void TVMachine::InputFromFile(int32_t n, long wanted, std::vector<std::string>& items, bool lineMode) {
    items.clear();
    TKivoFile& file = OpenFileOfNumber(n);
    std::string item;
    char c;
    while (static_cast<long>(items.size()) < wanted) {
        if (!file.ReadByte(&c)) break;
        if (c == ' ' && item.empty()) {
            bool got;
            do {
                got = file.ReadByte(&c);
            } while (got && c == ' ');
            if (!got) break;
        }
        if (c == '"') {
            bool closed = false;
            while (file.ReadByte(&c)) {
                if (c == '"') {
                    closed = true;
                    break;
                }
                item += c;
            }
            if (!closed || !file.ReadByte(&c)) break;
        }
        if (is_delim(c, lineMode)) {
            items.push_back(item);
            item.clear();
            if (c == '\r') {
                char next;
                if (file.ReadByte(&next) && next != '\n') file.UnreadByte();
            }
        } else {
            item += c;
        }
        if (file.Eof()) break;
    }
    if (!item.empty()) items.push_back(item);
}

std::string TVMachine::InputDlFromFile(int32_t n, int32_t count) {
    TKivoFile& file = OpenFileOfNumber(n);
    std::string text;
    char c;
    while (FileTextLength(text) < count) {
        if (!file.ReadByte(&c)) break;
        text += c;
        const int more = char_bytes(c) - 1;
        for (int i = 0; i < more && file.ReadByte(&c); ++i) text += c;
    }
    return text;
}

void TVMachine::InputDlFromFileForm() {
    const int32_t n = PopInt();
    OpenFileOfNumber(n);
    Rsrc->SetFDDAccessLampByFileDesc(n);
    const int32_t count = PopInt();
    std::string text = InputDlFromFile(n, count);
    if (FileTextLength(text) < count) throw RuntimeException2(RTE_INPUT_PAST_END);
    PushOwnedString(std::move(text));
}

std::vector<std::string> TVMachine::ReadFileItems(int32_t n, long wanted, bool lineMode) {
    OpenFileOfNumber(n);
    Rsrc->SetFDDAccessLampByFileDesc(n);
    std::vector<std::string> items;
    InputFromFile(n, wanted, items, lineMode);
    // When the machine has been told to stop, the items read are taken as they are and
    // the run ends after the statement.
    const bool complete = lineMode ? !items.empty() : static_cast<long>(items.size()) >= wanted;
    if (!complete && !StopRequested()) throw RuntimeException2(RTE_INPUT_PAST_END);
    return items;
}

void TVMachine::ExeBasicInputSh(const TVMCode* code) {
    const long count = code->Operand.Long;
    std::vector<TStackData> vars;
    std::vector<int32_t> counts;
    SheltVar(count, &vars, &counts);
    const int32_t n = PopInt();
    AssignInputDatas(ReadFileItems(n, count, false), &vars, &counts);
}

void TVMachine::ExeBasicLineInputSh(const TVMCode*) {
    std::vector<TStackData> vars;
    std::vector<int32_t> counts;
    SheltVar(1, &vars, &counts);
    const int32_t n = PopInt();
    AssignInputDatas(ReadFileItems(n, 1, true), &vars, &counts);
}
