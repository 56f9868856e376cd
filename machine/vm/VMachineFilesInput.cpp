// Reading sequential files: the item reader of INPUT # and LINE INPUT #, the
// character reader of INPUT$, and the file form of INPUT$. All of them read through
// the read-ahead buffer, ask for the stop request before each new fill of it and hold
// what they read within the run's memory budget.

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

void TVMachine::MoveReadText(std::string& text, size_t room)
{
    // A piece is copied in well under a millisecond.
    constexpr size_t PIECE = size_t{1} << 20;
    std::string moved;
    moved.reserve(std::max(room, text.size()));
    for (size_t done = 0; done < text.size(); done += PIECE) {
        if (done != 0 && StopRequested()) {
            text = std::string();
            throw TReadDropped{};
        }
        moved.append(text, done, PIECE);
    }
    text.swap(moved);
}

void TVMachine::AppendReadText(std::string& text, std::string_view bytes, size_t alsoHeld)
{
    if (bytes.size() > text.capacity() - text.size()) [[unlikely]] {
        const size_t room = std::max(2 * text.capacity(), text.size() + bytes.size());
        CheckNewBlock(kept_text::HeldFor(room), alsoHeld + kept_text::Held(text));
        MoveReadText(text, room);
    }
    text.append(bytes);
}

void TVMachine::TrimReadText(std::string& text, size_t alsoHeld)
{
    if (!kept_text::TooRoomy(text)) return;
    CheckNewBlock(kept_text::HeldFor(text.size()), alsoHeld + kept_text::Held(text));
    MoveReadText(text, text.size());
}

void TVMachine::InputFromFile(int32_t n, long wanted, std::vector<std::string>& items, bool lineMode)
{
    items.clear();
    TKivoFile& file = OpenFileOfNumber(n);
    // The reading stops with the run: a stop is asked for before each new fill of the
    // buffer, so a long line ends within one buffer's worth of bytes. A statement most
    // often reads one short line: the first read is small and the reads double after
    // it, so a file of short lines is not read a whole buffer a line.
    constexpr size_t FIRST_READ = 512;
    TFileReadAhead reader(
        file, [this] { return StopRequested(); }, FIRST_READ);
    // The items read so far and the growing one are held outside the budget until they
    // are stored: a new block for the item must fit in what the budget has left.
    size_t itemsHeld = 0;
    std::string item;
    const auto add = [&](std::string_view bytes) { AppendReadText(item, bytes, itemsHeld); };
    // The bytes that go into an item as they are, taken in runs.
    const auto plain = [lineMode](char b) { return b != '"' && !is_delim(b, lineMode); };
    const auto quoted = [](char b) { return b != '"'; };
    const auto finish = [&] {
        TrimReadText(item, itemsHeld);
        itemsHeld += kept_text::Held(item);
        items.push_back(std::move(item));
        item.clear();
    };
    try {
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
        // A stop drops the item being read.
        if (!reader.Stopped() && !item.empty()) finish();
    } catch (const TReadDropped&) {}
}

TVMachine::TFileChars TVMachine::InputDlFromFile(int32_t n, int32_t count)
{
    TKivoFile& file = OpenFileOfNumber(n);
    TFileChars got;
    if (count <= 0) return got;
    const auto wanted = static_cast<size_t>(count);
    // A count of a few characters reads not much more than it needs.
    TFileReadAhead reader(
        file, [this] { return StopRequested(); }, wanted);
    // The text's measure as LEN counts it is kept as the text grows: in DISK-BASIC mode
    // a shift code counts on entering and leaving each run of full-width characters,
    // and `units` leaves out the closing one of a run the text ends in.
    constexpr size_t UNIT = 2;
    const bool diskMode = DiskBasicMode();
    size_t units = 0;
    bool run = false;
    const auto measure = [&] { return units + (diskMode && run ? UNIT : 0); };
    try {
        std::string& text = got.text;
        char c;
        while (measure() < wanted) {
            if (!reader.Next(&c)) break;
            if (static_cast<unsigned char>(c) < 0x80) {
                // A run of ASCII bytes, one unit each, taken while the count wants more.
                if (run && diskMode) units += UNIT;
                run = false;
                size_t more = wanted - units - 1;
                const std::string_view rest = reader.TakeWhile([&more](char b) {
                    if (more == 0 || static_cast<unsigned char>(b) >= 0x80) return false;
                    --more;
                    return true;
                });
                AppendReadText(text, {&c, 1}, 0);
                AppendReadText(text, rest, 0);
                units += 1 + rest.size();
                continue;
            }
            // A character of several bytes: its lead and the bytes that can continue it,
            // as many as the lead calls for; a byte that cannot is left for the next one.
            char character[8];
            size_t length = 0;
            character[length++] = c;
            const int more = char_bytes(c) - 1;
            for (int i = 0; i < more && reader.Next(&c); ++i) {
                if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
                    reader.Unread();
                    break;
                }
                character[length++] = c;
            }
            // What LEN makes of these bytes: a byte that starts no valid sequence is a
            // character of one unit, the rest after it too.
            const std::string_view bytes(character, length);
            for (size_t k = 0; k < length;) {
                const text_measure::TCharStep step = text_measure::char_step(bytes, k);
                const bool full = step.cls == text_measure::TCharClass::FullWidth;
                if (full != run && diskMode) units += UNIT;
                run = full;
                units += full ? UNIT : 1;
                k += step.bytes;
            }
            AppendReadText(text, bytes, 0);
        }
        if (reader.Stopped()) return {std::string(), 0, true};
        TrimReadText(text, 0);
    } catch (const TReadDropped&) {
        return {std::string(), 0, true};
    }
    got.units = measure();
    return got;
}

void TVMachine::InputDlFromFileForm()
{
    const int32_t n = PopInt();
    OpenFileOfNumber(n);
    Rsrc->SetFDDAccessLampByFileDesc(n);
    const int32_t count = PopInt();
    TFileChars got = InputDlFromFile(n, count);
    // A stopped read gives an empty text and the run ends at the next code.
    if (!got.stopped && got.units < static_cast<size_t>(std::max(count, 0)))
        throw RuntimeException2(RTE_INPUT_PAST_END);
    PushOwnedString(std::move(got.text));
}

std::vector<std::string> TVMachine::ReadFileItems(int32_t n, long wanted, bool lineMode)
{
    OpenFileOfNumber(n);
    Rsrc->SetFDDAccessLampByFileDesc(n);
    std::vector<std::string> items;
    InputFromFile(n, wanted, items, lineMode);
    // When the machine has been told to stop, the items read whole are taken as they
    // are and the run ends after the statement.
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
