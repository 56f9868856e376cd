// Console input: INPUT, INPUT WAIT, LINE INPUT, LINE INPUT WAIT, KINPUT, INKEY$,
// INPUT$ from the keyboard and KEY n, s$; with the line editor that the INPUT-like
// statements share. The typed line is edited in the text cells of the screen, and
// what the screen shows between the input's start and end is what the program gets.
//
// Every wait for a key also watches the machine's stop flag, so a Kill or a Quit
// ends an input even when the line feed that the run view pushes cannot get in.

#include <algorithm>
#include <string>
#include <vector>

#include "language/MidCode.h"
#include "machine/devices/BasicRsrc.h"
#include "machine/vm/RuntimeErrorKeys.h"
#include "machine/vm/VMachine.h"

namespace {

constexpr char KEY_CR = 0x0D;
constexpr char KEY_RIGHT = 0x1C;
constexpr char KEY_LEFT = 0x1D;
constexpr char KEY_UP = 0x1E;
constexpr char KEY_DOWN = 0x1F;
constexpr char KEY_BACKSPACE = 0x08;
constexpr char KEY_DELETE = 0x7F;

// When the console window scrolled up `rows` rows while a line was being typed in it,
// the line's start and end cells move up with its text; a start scrolled off the
// window's top goes to the window's first cell, as what went with it is gone.
void follow_scroll(const TBasicRsrc& r, uint64_t rows, int& start, int& end)
{
    const int cols = r.TxtCols;
    const int first = r.ConsoleTop * cols;
    const int bottom = r.ConsoleBottom * cols;
    if (rows == 0 || start < first || start >= bottom) return;
    const int64_t shift = static_cast<int64_t>(std::min<uint64_t>(rows, static_cast<uint64_t>(r.TxtRows))) * cols;
    start = static_cast<int>(std::max<int64_t>(first, start - shift));
    end = static_cast<int>(std::max<int64_t>(start, end - shift));
}

// The items of an INPUT line: split at every comma, quotes giving no protection.
std::vector<std::string> split_at_commas(const std::string& line)
{
    std::vector<std::string> items;
    std::size_t from = 0;
    for (;;) {
        const std::size_t comma = line.find(',', from);
        if (comma == std::string::npos) {
            items.push_back(line.substr(from));
            return items;
        }
        items.push_back(line.substr(from, comma - from));
        from = comma + 1;
    }
}

}  // namespace

void TVMachine::InitFuncTableInput(TFuncTable& t)
{
    using M = TVMachine;
    t.Set({
        {vcInput, &M::ExeBasicInput},
        {vcInputWait, &M::ExeBasicInputWait},
        {vcLineInput, &M::ExeBasicLineInput},
        {vcLineInputWait, &M::ExeBasicLineInputWait},
        {vcKinput, &M::ExeBasicKinput},
        {vcInkeyDl, &M::ExeBasicInkeyDl},
        {vcInputDl, &M::ExeBasicInputDl},
        {vcKey, &M::ExeBasicKey},
    });
}

void TVMachine::DoDelete()
{
    std::lock_guard<std::recursive_mutex> lock(Rsrc->ScrLock);
    if (Rsrc->CsrIdx < Rsrc->TxtRows * Rsrc->TxtCols - 1) Rsrc->SlideTxtToLeft(static_cast<short>(Rsrc->CsrIdx + 1));
}

namespace {

// Tells the machine when a keyboard read first has to wait for a key, and when that
// read is over, however it ends.
class TKeyboardWaitNote {
public:
    explicit TKeyboardWaitNote(TVMachine& machine, const TBasicRsrc& rsrc) : mMachine(machine), mRsrc(rsrc) {}
    ~TKeyboardWaitNote()
    {
        if (mWaiting) mMachine.KeyboardWaitChanged(false);
    }
    TKeyboardWaitNote(const TKeyboardWaitNote&) = delete;
    TKeyboardWaitNote& operator=(const TKeyboardWaitNote&) = delete;

    // Before each key is taken.
    void BeforeKey()
    {
        if (mWaiting || mRsrc.KeyBuffer.Size() != 0) return;
        mWaiting = true;
        mMachine.KeyboardWaitChanged(true);
    }

private:
    TVMachine& mMachine;
    const TBasicRsrc& mRsrc;
    bool mWaiting = false;
};

}  // namespace

void TVMachine::InputFromUser(std::vector<std::string>* items, bool wholeLine, int32_t* wait)
{
    TBasicRsrc& r = *Rsrc;
    TKeyboardWaitNote waitNote(*this, r);
    items->clear();
    int start, end;
    {
        std::lock_guard<std::recursive_mutex> lock(r.ScrLock);
        start = end = r.CsrIdx;
    }
    r.CsrShown = 1;
    bool timedOut = false;
    for (;;) {
        waitNote.BeforeKey();
        const std::string key =
            wait == nullptr ? r.PopFromKeyBuf(&mStopFlag, Clock)
                            : r.PopFromKeyBufWithTimeout(static_cast<long long>(*wait) * 100000, &mStopFlag, Clock);
        if (key.empty()) {
            timedOut = true;
            *wait = -1;
            break;
        }
        if (key[0] == KEY_CR) break;
        {
            std::lock_guard<std::recursive_mutex> lock(r.ScrLock);
            const int cols = r.TxtCols;
            const int cells = r.TxtRows * cols;
            const int csr = r.CsrIdx;
            const int row = csr / cols;
            const bool outside = row < r.ConsoleTop || row >= r.ConsoleBottom;
            const uint64_t scrolledBefore = r.TxtRowsScrolled;
            bool typed = false;
            switch (key[0]) {
            case KEY_LEFT:
                if (csr > 0 && (csr > r.ConsoleTop * cols || outside)) {
                    r.CsrIdx = static_cast<int16_t>(csr - 1);
                    start = std::min(start, static_cast<int>(r.CsrIdx));
                }
                break;
            case KEY_RIGHT:
                if (csr < cells - 1 && (csr < r.ConsoleBottom * cols - 1 || outside))
                    r.CsrIdx = static_cast<int16_t>(csr + 1);
                break;
            case KEY_UP:
                if (csr >= cols && (csr >= (r.ConsoleTop + 1) * cols || outside)) {
                    r.CsrIdx = static_cast<int16_t>(csr - cols);
                    start = end = r.CsrIdx;
                }
                break;
            case KEY_DOWN:
                if (csr <= (r.TxtRows - 1) * cols - 1 && (csr <= (r.ConsoleBottom - 1) * cols - 1 || outside)) {
                    r.CsrIdx = static_cast<int16_t>(csr + cols);
                    start = end = r.CsrIdx;
                }
                break;
            case KEY_BACKSPACE:
                if (csr == 0 || csr == r.ConsoleTop * cols || (csr % cols == 0 && r.CellIsEmpty(csr - 1))) {
                    DoDelete();
                } else {
                    r.SlideTxtToLeft(static_cast<short>(csr));
                    r.CsrIdx = static_cast<int16_t>(csr - 1);
                }
                --end;
                break;
            case KEY_DELETE:
                if (csr < cells - 1) r.SlideTxtToLeft(static_cast<short>(csr + 1));
                --end;
                break;
            default:
                r.Print(key.c_str());
                typed = true;
                break;
            }
            follow_scroll(r, r.TxtRowsScrolled - scrolledBefore, start, end);
            if (typed) end = std::max(end, static_cast<int>(r.CsrIdx));
            const int after = std::min(static_cast<int>(r.CsrIdx) + 1, r.TxtRows * cols - 1);
            r.SetScrModifiedByTxt2(static_cast<short>(row * cols), static_cast<short>(after));
        }
        r.UpdateScreen();
        if (StopRequested()) break;
    }

    std::string line;
    {
        std::lock_guard<std::recursive_mutex> lock(r.ScrLock);
        line = r.DisplayedTxt(static_cast<short>(start),
                              static_cast<short>(std::max(end, static_cast<int>(r.CsrIdx)) - 1));
        r.CsrShown = 0;
        r.SetScrModifiedByTxt2(r.CsrIdx, r.CsrIdx);
        r.DoCRLF();
    }
    r.UpdateScreen();

    if (timedOut) return;
    if (wholeLine)
        items->push_back(line);
    else
        *items = split_at_commas(line);
}

std::string TVMachine::InputDlFromUser(long count)
{
    std::string text;
    if (count <= 0) return text;
    Rsrc->CsrShown = 1;
    TKeyboardWaitNote waitNote(*this, *Rsrc);
    long total = 0;
    while (total < count) {
        waitNote.BeforeKey();
        const std::string key = Rsrc->PopFromKeyBuf(&mStopFlag, Clock);
        if (StopRequested()) break;
        text += key;
        total += key.size() == 1 ? 1 : 2;
    }
    Rsrc->CsrShown = 0;
    return text;
}

// Moves the program counter so that execution goes on at the next line's beginning
// (or the program's end code).
void TVMachine::SkipRestOfLine()
{
    const TVMCode* end = MidCode->Codes.data() + MidCode->Codes.size();
    const TVMCode* p = PC + 1;
    while (p < end && p->Cmd != vcBLineBegin && p->Cmd != vcBExit) ++p;
    PC = p - 1;
}

// INPUT and INPUT WAIT: ask again until the line has as many items as variables.
// False when the time of INPUT WAIT ran out.
bool TVMachine::InputItems(long n, std::vector<std::string>* items, int32_t* wait)
{
    for (;;) {
        InputFromUser(items, false, wait);
        if (wait != nullptr && *wait == -1) return false;
        if (StopRequested()) return true;
        if (static_cast<long>(items->size()) == n) return true;
        Rsrc->Print("?Redo from start");
        Rsrc->DoCRLF();
        Rsrc->Print("? ");
        Rsrc->UpdateScreen();
    }
}

void TVMachine::ExeBasicInput(const TVMCode* code)
{
    const long n = code->Operand.Long;
    std::vector<TStackData> vars;
    std::vector<int32_t> counts;
    SheltVar(n, &vars, &counts);
    std::vector<std::string> items;
    InputItems(n, &items, nullptr);
    if (StopRequested()) return;
    AssignInputDatas(items, &vars, &counts);
}

void TVMachine::ExeBasicInputWait(const TVMCode* code)
{
    const long n = code->Operand.Long;
    std::vector<TStackData> vars;
    std::vector<int32_t> counts;
    SheltVar(n, &vars, &counts);
    int32_t wait = PopInt();
    std::vector<std::string> items;
    if (!InputItems(n, &items, &wait)) {
        SkipRestOfLine();
        return;
    }
    if (StopRequested()) return;
    AssignInputDatas(items, &vars, &counts);
}

void TVMachine::ExeBasicLineInput(const TVMCode*)
{
    std::vector<TStackData> vars;
    std::vector<int32_t> counts;
    SheltVar(1, &vars, &counts);
    std::vector<std::string> items;
    InputFromUser(&items, true, nullptr);
    AssignInputDatas(items, &vars, &counts);
}

void TVMachine::ExeBasicLineInputWait(const TVMCode*)
{
    std::vector<TStackData> vars;
    std::vector<int32_t> counts;
    SheltVar(1, &vars, &counts);
    int32_t wait = PopInt();
    std::vector<std::string> items;
    InputFromUser(&items, true, &wait);
    if (wait == -1) {
        SkipRestOfLine();
        return;
    }
    AssignInputDatas(items, &vars, &counts);
}

void TVMachine::ExeBasicKinput(const TVMCode*)
{
    std::vector<TStackData> vars;
    std::vector<int32_t> counts;
    SheltVar(1, &vars, &counts);
    int column;
    {
        std::lock_guard<std::recursive_mutex> lock(Rsrc->ScrLock);
        column = Rsrc->CsrIdx % Rsrc->TxtCols;
    }
    if (column % 2 != 0) Rsrc->Print(" ");
    if (DiskBasicMode()) Rsrc->Print("\xEF\xBC\x9F\xE3\x80\x80");  // ？　
    Rsrc->UpdateScreen();
    std::vector<std::string> items;
    InputFromUser(&items, true, nullptr);
    for (std::string& item : items) item = AkcnvDl(item);
    AssignInputDatas(items, &vars, &counts);
}

void TVMachine::ExeBasicInkeyDl(const TVMCode*)
{
    PushOwnedString(Rsrc->PopFromKeyBufWithTimeout(0, &mStopFlag, Clock));
}

void TVMachine::ExeBasicInputDl(const TVMCode* code)
{
    if (OperandFlag(code)) {
        InputDlFromFileForm();
        return;
    }
    const int32_t count = PopInt();
    PushOwnedString(InputDlFromUser(count));
}

void TVMachine::ExeBasicKey(const TVMCode*)
{
    const std::string text = PopStringArg();
    const int32_t n = PopInt();
    if (n < 1 || n > 10) throw RuntimeException2(RTE_ILL_FUNC_CALL);
    Rsrc->SetFuncKeyStr(n, text);
}
