// COLOR in its three forms, COLOR@ and SCREEN: the colour and page state of the
// devices, and the palette change that converts the displayed page.

#include <mutex>

#include "machine/devices/BasicRsrc.h"
#include "machine/vm/RuntimeErrorKeys.h"
#include "machine/vm/VMachine.h"

namespace {

using Lock = std::lock_guard<std::recursive_mutex>;

const TScreenRect WHOLE_SCREEN{0, 0, TBasicRsrc::SCREEN_WIDTH, TBasicRsrc::SCREEN_HEIGHT};

// The page that a displayed-page operand of SCREEN shows (GRPH_NO_PAGE for none), or
// −1 when the operand is refused in the mode.
int8_t displayed_page_of(int32_t operand, int8_t vertFactor)
{
    switch (operand) {
    case 0:
    case 8:
    case 16:
    case 24:
    case 32:
    case 48: return GRPH_NO_PAGE;
    case 1: return 0;
    case 2: return vertFactor == 1 ? -1 : 1;
    case 17:
    case 33: return vertFactor == 1 ? 1 : 2;
    case 18:
    case 34: return vertFactor == 1 ? -1 : 3;
    default: return -1;
    }
}

}  // namespace

void TVMachine::GrphPaletteChanged()
{
    {
        Lock lock(Rsrc->ScrLock);
        Rsrc->Graphics.PaletteChanged(Rsrc->DisplayPage, Rsrc->GrphVertFactor);
        // The displayed page was converted whichever page is active: the whole
        // screen is redrawn.
        Rsrc->SetScrModifiedKernel2(WHOLE_SCREEN);
    }
    Rsrc->UpdateScreen();
}

void TVMachine::ExeBasicColorProc1(const TVMCode* code)
{
    const long n = code->Operand.Long;
    if (n < 1 || n > 5) throw RuntimeException2(RTE_INTERNAL_ERROR);
    // The operands are handled last first; what an earlier one refuses leaves the
    // later ones stored.
    static constexpr uint32_t LIMITS[5] = {7, 15, 255, 15, 2};
    for (long position = n; position >= 1; --position) {
        const TStackData s = Pop();
        if (position == 3 || s.type == sdOmitted) continue;  // the third is ignored
        const uint32_t v = static_cast<uint32_t>(StackInt(s)) & 0xFFu;
        if (v > LIMITS[position - 1]) throw RuntimeException2(RTE_ILL_FUNC_CALL);
        Lock lock(Rsrc->ScrLock);
        switch (position) {
        case 5:
            Rsrc->ColMode = static_cast<int8_t>(v);
            // Pictures already drawn keep their colours until a later palette change.
            Rsrc->Graphics.GrphColPal.InitGrphColPal();
            break;
        case 4: Rsrc->GrphFgCol = static_cast<int8_t>(v); break;
        case 2: Rsrc->GrphBgCol = static_cast<int8_t>(v); break;
        case 1: Rsrc->TxtCol = static_cast<int8_t>(v); break;
        default: break;
        }
    }
}

void TVMachine::ExeBasicColorProc2(const TVMCode*)
{
    const int32_t c = PopInt();
    const int32_t p = PopInt();
    {
        Lock lock(Rsrc->ScrLock);
        if (!Rsrc->Graphics.GrphColPal.AssignByColMode(Rsrc->ColMode, p, c)) throw RuntimeException2(RTE_ILL_FUNC_CALL);
    }
    GrphPaletteChanged();
}

void TVMachine::ExeBasicInitColorPalette(const TVMCode*)
{
    {
        Lock lock(Rsrc->ScrLock);
        Rsrc->Graphics.GrphColPal.InitGrphColPal();
    }
    GrphPaletteChanged();
}

void TVMachine::ExeBasicColorAt(const TVMCode* code)
{
    const uint8_t colour = OperandFlag(code) ? static_cast<uint8_t>(PopInt() & 0xFF) : 7;
    int rows;
    int cols;
    {
        Lock lock(Rsrc->ScrLock);
        rows = Rsrc->TxtRows;
        cols = Rsrc->TxtCols;
    }
    // Each coordinate is checked as soon as it is popped, whole: y2, x2, y1, x1.
    auto pop_checked = [this](int limit) {
        const int32_t v = PopInt();
        if (v < 0 || v >= limit) throw RuntimeException2(RTE_ILL_FUNC_CALL);
        return static_cast<int>(v);
    };
    const int y2 = pop_checked(rows);
    const int x2 = pop_checked(cols);
    const int y1 = pop_checked(rows);
    const int x1 = pop_checked(cols);
    if (x1 > x2 || y1 > y2) return;
    {
        Lock lock(Rsrc->ScrLock);
        for (int y = y1; y <= y2; ++y)
            for (int x = x1; x <= x2; ++x) Rsrc->TxtAttr[y * cols + x] = colour;
        Rsrc->SetScrModifiedByTxt2(static_cast<short>(y1 * cols + x1), static_cast<short>(y2 * cols + x2));
    }
    Rsrc->UpdateScreen();
}

void TVMachine::ExeBasicScreen(const TVMCode* code)
{
    const long n = code->Operand.Long;
    if (n < 1 || n > 4) throw RuntimeException2(RTE_INTERNAL_ERROR);
    const TStackData displayed = n >= 4 ? Pop() : TStackData::Omitted();
    const TStackData active = n >= 3 ? Pop() : TStackData::Omitted();
    auto checked = [this](const TStackData& s, uint32_t limit) {
        const auto v = static_cast<uint32_t>(StackInt(s));
        if (v > limit) throw RuntimeException2(RTE_ILL_FUNC_CALL);
        return static_cast<int8_t>(v);
    };
    {
        Lock lock(Rsrc->ScrLock);
        if (n >= 2) {
            const TStackData sw = Pop();
            if (sw.type != sdOmitted) {
                const int8_t v = checked(sw, 3);
                Rsrc->GrphShown = v <= 1 ? 1 : 0;
                Rsrc->SetScrModifiedKernel2(WHOLE_SCREEN);
            }
        }
        const TStackData mode = Pop();
        if (mode.type != sdOmitted) {
            const int8_t v = checked(mode, 3);
            if (v <= 1) {
                Rsrc->GrphVertFactor = 2;
                Mouse.SetMouseRangeYMax(199);
            } else {
                Rsrc->GrphVertFactor = 1;
                if (Rsrc->ActivePage > 1) Rsrc->ActivePage = 0;
                if (Rsrc->DisplayPage > 1) Rsrc->DisplayPage = 0;
                Mouse.SetMouseRangeYMax(399);
            }
            Rsrc->SetScrModifiedKernel2(WHOLE_SCREEN);
        }
        if (active.type != sdOmitted) {
            const int8_t v = checked(active, Rsrc->GrphVertFactor == 1 ? 1 : 3);
            Rsrc->ActivePage = v;
        }
        if (displayed.type != sdOmitted) {
            const int8_t page = displayed_page_of(StackInt(displayed), Rsrc->GrphVertFactor);
            if (page < 0) throw RuntimeException2(RTE_ILL_FUNC_CALL);
            Rsrc->DisplayPage = page;
            Rsrc->TransferGrphBmpPalToReal();
            Rsrc->SetScrModifiedKernel2(WHOLE_SCREEN);
        }
    }
    Rsrc->UpdateScreen();
}
