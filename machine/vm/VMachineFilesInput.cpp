// Reading sequential files: the item reader of INPUT # and LINE INPUT #, the
// character reader of INPUT$, and the file form of INPUT$.

#include <cstring>
#include <string>
#include <vector>

#include "foundation/CharColor.h"
#include "machine/screen/BasicRsrc.h"
#include "machine/text/TextMeasure.h"
#include "machine/vm/RuntimeErrorKeys.h"
#include "machine/vm/VMachine.h"

namespace {

// Item delimiters: space ; , CR LF, or in line mode CR LF only.
constexpr const char ITEM_DELIMS[] = " ;,\r\n";
constexpr const char LINE_DELIMS[] = "\r\n";

bool is_delim(char c, bool lineMode)
{
    const char* delims = lineMode ? LINE_DELIMS : ITEM_DELIMS;
    return c != '\0' && std::strchr(delims, c) != nullptr;
}

}  // namespace

int32_t TVMachine::FileTextLength(const std::string& text) const
{
    // File bytes may hold NULs, so the measure goes by the text's own size.
    return static_cast<int32_t>(text_measure::utf8_pos_to_jis_pos(text, text.size(), 2, DiskBasicMode()));
}

void TVMachine::InputFromFile(int32_t n, long wanted, std::vector<std::string>& items, bool lineMode)
{
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

std::string TVMachine::InputDlFromFile(int32_t n, int32_t count)
{
    TKivoFile& file = OpenFileOfNumber(n);
    std::string text;
    char c;
    while (FileTextLength(text) < count) {
        if (!file.ReadByte(&c)) break;
        text += c;
        // The rest of a multi-byte character; a byte that cannot continue it is left
        // for the next character.
        const int more = char_bytes(c) - 1;
        for (int i = 0; i < more && file.ReadByte(&c); ++i) {
            if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
                file.UnreadByte();
                break;
            }
            text += c;
        }
    }
    return text;
}

void TVMachine::InputDlFromFileForm()
{
    const int32_t n = PopInt();
    OpenFileOfNumber(n);
    Rsrc->SetFDDAccessLampByFileDesc(n);
    const int32_t count = PopInt();
    std::string text = InputDlFromFile(n, count);
    if (FileTextLength(text) < count) throw RuntimeException2(RTE_INPUT_PAST_END);
    PushOwnedString(std::move(text));
}

std::vector<std::string> TVMachine::ReadFileItems(int32_t n, long wanted, bool lineMode)
{
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

void TVMachine::ExeBasicInputSh(const TVMCode* code)
{
    const long count = code->Operand.Long;
    std::vector<TStackData> vars;
    std::vector<int32_t> counts;
    SheltVar(count, &vars, &counts);
    const int32_t n = PopInt();
    AssignInputDatas(ReadFileItems(n, count, false), &vars, &counts);
}

void TVMachine::ExeBasicLineInputSh(const TVMCode*)
{
    std::vector<TStackData> vars;
    std::vector<int32_t> counts;
    SheltVar(1, &vars, &counts);
    const int32_t n = PopInt();
    AssignInputDatas(ReadFileItems(n, 1, true), &vars, &counts);
}
