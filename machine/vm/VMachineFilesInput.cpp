// Reading sequential files: the item reader of INPUT # and LINE INPUT #, the
// character reader of INPUT$, and the file form of INPUT$.

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/CharColor.h"
#include "machine/devices/BasicRsrc.h"
#include "machine/files/FileReadAhead.h"
#include "machine/text/TextMeasure.h"
#include "machine/vm/KeptText.h"
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
    // The reading stops with the run: a stop is asked for before each new fill of the
    // buffer, so a long line ends within one buffer's worth of bytes.
    TFileReadAhead reader(file, [this] { return StopRequested(); });
    // The items read so far and the growing one are held outside the budget until they
    // are stored: a new block for the item must fit in what the budget has left.
    size_t itemsHeld = 0;
    std::string item;
    const auto add = [&](std::string_view bytes) {
        if (bytes.size() > item.capacity() - item.size()) [[unlikely]] {
            const size_t room = std::max(2 * item.capacity(), item.size() + bytes.size());
            CheckNewBlock(kept_text::HeldFor(room), itemsHeld + kept_text::Held(item));
            item = kept_text::WithRoom(item, room);
        }
        item.append(bytes);
    };
    // The bytes that go into an item as they are, taken in runs.
    const auto plain = [lineMode](char b) { return b != '"' && !is_delim(b, lineMode); };
    const auto quoted = [](char b) { return b != '"'; };
    const auto finish = [&] {
        // A finished item keeps no more room than a variable's text may have.
        if (kept_text::TooRoomy(item)) {
            CheckNewBlock(kept_text::HeldFor(item.size()), itemsHeld + kept_text::Held(item));
            item = kept_text::WithRoom(item, item.size());
        }
        itemsHeld += kept_text::Held(item);
        items.push_back(std::move(item));
        item.clear();
    };
    char c;
    while (static_cast<long>(items.size()) < wanted) {
        if (!reader.Next(&c)) break;
        if (c == ' ' && item.empty()) {
            bool got;
            do {
                got = reader.Next(&c);
            } while (got && c == ' ');
            if (!got) break;
        }
        if (c == '"') {
            bool closed = false;
            while (reader.Next(&c)) {
                if (c == '"') {
                    closed = true;
                    break;
                }
                add({&c, 1});
                add(reader.TakeWhile(quoted));
            }
            if (!closed || !reader.Next(&c)) break;
        }
        if (is_delim(c, lineMode)) {
            finish();
            if (c == '\r') {
                char next;
                if (reader.Next(&next) && next != '\n') reader.Unread();
            }
        } else {
            add({&c, 1});
            add(reader.TakeWhile(plain));
        }
        if (reader.AtEnd()) break;
    }
    if (!item.empty()) finish();
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
