// Console output: PRINT, WRITE, PRINT USING, TAB, SPC, POS, CSRLIN, CLS, LOCATE,
// CONSOLE and WIDTH.

#include <algorithm>
#include <string>

#include "machine/devices/BasicRsrc.h"
#include "machine/vm/PrintText.h"
#include "machine/vm/RuntimeErrorKeys.h"
#include "machine/vm/VMachine.h"

namespace {

using Lock = std::lock_guard<std::recursive_mutex>;

constexpr int PRINT_ZONE = 14;

}  // namespace

int TVMachine::CurrentColumn() const
{
    Lock lock(Rsrc->ScrLock);
    return Rsrc->CsrIdx % Rsrc->TxtCols;
}

void TVMachine::ExeBasicPrint(const TVMCode* code)
{
    if (OperandFlag(code)) {
        Rsrc->DoCRLF();
        return;
    }
    const std::string text = GetPrintStr(Top(), PRINT_ZONE - CurrentColumn() % PRINT_ZONE);
    Pop();
    Rsrc->Print(text.c_str());
}

void TVMachine::ExeBasicWrite(const TVMCode* code)
{
    if (OperandFlag(code)) {
        Rsrc->DoCRLF();
        return;
    }
    const std::string text = GetWriteStr(Top());
    Pop();
    Rsrc->Print(text.c_str());
}

void TVMachine::ExeBasicPrintUsing(const TVMCode* code)
{
    const int32_t count = code->Operand.Long;
    if (count < 0 || static_cast<size_t>(count) + 2 > ValueStack.size()) throw RuntimeException2(RTE_INTERNAL_ERROR);
    const bool endLine = StackBool(Pop());
    std::vector<TStackData> items(static_cast<size_t>(count));
    for (int32_t i = count - 1; i >= 0; --i) items[static_cast<size_t>(i)] = Pop();
    const TStackData formatValue = Pop();
    const char* format = formatValue.CString();
    if (format == nullptr) format = "";

    std::string line;
    size_t next = 0;
    for (const char* p = format; *p != '\0';) {
        if (*p != '#') {
            line += *p++;
            continue;
        }
        if (next >= items.size()) break;
        int width = 0;
        while (*p == '#') {
            ++width;
            ++p;
        }
        const std::string digits = std::to_string(StackInt(items[next++]));
        if (static_cast<int>(digits.size()) < width) line.append(static_cast<size_t>(width) - digits.size(), ' ');
        line += digits;
    }
    Rsrc->Print(line.c_str());
    if (endLine) Rsrc->DoCRLF();
    Rsrc->UpdateScreen();
}

void TVMachine::ExeBasicTab(const TVMCode*)
{
    const int cols = Rsrc->TxtCols;
    int32_t n = PopInt();
    if (n < 0) n = 0;
    n %= cols;
    const int c = CurrentColumn();
    PushOwnedString(n > c ? std::string(static_cast<size_t>(n - c), ' ') : std::string());
}

void TVMachine::ExeBasicSpc(const TVMCode*)
{
    int32_t n = PopInt();
    if (n < 0) n = 0;
    n %= Rsrc->TxtCols;
    PushOwnedString(std::string(static_cast<size_t>(n), ' '));
}

void TVMachine::ExeBasicPos(const TVMCode*)
{
    Pop();
    PushInt(CurrentColumn());
}

void TVMachine::ExeBasicCsrlin(const TVMCode*)
{
    Lock lock(Rsrc->ScrLock);
    PushInt(Rsrc->CsrIdx / Rsrc->TxtCols);
}

void TVMachine::ExeBasicCls(const TVMCode* code)
{
    const int32_t mode = code->Operand.Long != 0 ? PopInt() : 1;
    if (mode == 1 || mode == 3) Rsrc->ClearTxtBuf(Rsrc->ConsoleTop, Rsrc->ConsoleBottom);
    if (mode == 2 || mode == 3) Rsrc->ClearGrphBuf();
    Rsrc->UpdateScreen();
}

void TVMachine::ExeBasicLocate(const TVMCode* code)
{
    const int32_t count = code->Operand.Long;
    if (count < 1 || count > 3) throw RuntimeException2(RTE_INTERNAL_ERROR);
    if (count >= 3) Pop();  // the cursor switch has no effect here
    TStackData y = count >= 2 ? Pop() : TStackData::Omitted();
    TStackData x = Pop();
    Lock lock(Rsrc->ScrLock);
    const int cols = Rsrc->TxtCols;
    const int rows = Rsrc->TxtRows;
    int32_t col = x.type == sdOmitted ? Rsrc->CsrIdx % cols : StackInt(x);
    int32_t row = y.type == sdOmitted ? Rsrc->CsrIdx / cols : StackInt(y);
    col = std::clamp<int32_t>(col, 0, cols - 1);
    row = std::clamp<int32_t>(row, 0, rows - 1);
    Rsrc->CsrIdx = static_cast<int16_t>(row * cols + col);
}

void TVMachine::ExeBasicConsole(const TVMCode* code)
{
    const int32_t count = code->Operand.Long;
    if (count < 1 || count > 5) throw RuntimeException2(RTE_INTERNAL_ERROR);
    for (int32_t i = count; i > 2; --i) Pop();  // the function-key and colour switches
    const TStackData rowsArg = count >= 2 ? Pop() : TStackData::Omitted();
    const TStackData topArg = Pop();
    const int32_t rows = rowsArg.type == sdOmitted ? -1 : StackInt(rowsArg);
    const int32_t top = topArg.type == sdOmitted ? -1 : StackInt(topArg);
    if (top < -1 || top > 24 || rows < -1 || rows > 25) throw RuntimeException2(RTE_ILL_FUNC_CALL);
    Lock lock(Rsrc->ScrLock);
    if (top != -1) Rsrc->ConsoleTop = static_cast<int8_t>(top);
    if (rows != -1)
        Rsrc->ConsoleBottom = static_cast<int8_t>(std::min<int32_t>(rows + Rsrc->ConsoleTop, Rsrc->TxtRows));
}

void TVMachine::ExeBasicWidthProc1(const TVMCode* code)
{
    if (OperandFlag(code)) {
        const int32_t rows = PopInt();
        if (rows != 20 && rows != 25) throw RuntimeException2(RTE_ILL_FUNC_CALL);
        Lock lock(Rsrc->ScrLock);
        Rsrc->TxtRows = static_cast<int8_t>(rows);
    }
    const int32_t cols = PopInt();
    if (cols != 40 && cols != 80) throw RuntimeException2(RTE_ILL_FUNC_CALL);
    {
        Lock lock(Rsrc->ScrLock);
        Rsrc->TxtCols = static_cast<int8_t>(cols);
        Rsrc->CalcTxtSize();
        Rsrc->ConsoleTop = 0;
        Rsrc->ConsoleBottom = Rsrc->TxtRows;
        Rsrc->ClearTxtBuf(0, 25);
    }
    Rsrc->UpdateScreen();
}
