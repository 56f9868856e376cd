// PAINT, a fill bounded by a border colour, and ROLL, which shifts the picture of
// the active page.

#include "machine/devices/BasicRsrc.h"
#include "machine/screen/GraphicsCoords.h"
#include "machine/screen/Paint.h"
#include "machine/vm/RuntimeErrorKeys.h"
#include "machine/vm/VMachine.h"

void TVMachine::ExeBasicPaint(const TVMCode* code)
{
    const TStackData borderOperand = Pop();
    const TStackData areaOperand = Pop();
    const int32_t y = PopInt();
    const int32_t x = PopInt();
    TGraphicsPages& g = Rsrc->Graphics;
    double sx = x;
    double sy = y;
    if (OperandFlag(code)) {
        sx += g.LastPoint.x;
        sy += g.LastPoint.y;
    }
    // A tile pattern (a string) paints in the foreground colour, as an omitted one.
    const int8_t area = areaOperand.type == sdOmitted || areaOperand.type == sdString
                            ? Rsrc->GrphFgCol
                            : static_cast<int8_t>(StackInt(areaOperand) & 0xFF);
    const int8_t border = borderOperand.type == sdOmitted ? area : static_cast<int8_t>(StackInt(borderOperand) & 0xFF);
    const TGrphPoint seed{static_cast<float>(sx), static_cast<float>(sy)};
    // A seed that is not a whole pixel of the page paints nothing (paint_area checks
    // the page; the rounding matches the other statements).
    const int64_t px = page_pixel_of(sx);
    const int64_t py = page_pixel_of(sy);
    const TScreenRect changed = paint_area(g.Page(Rsrc->ActivePage), g.GrphColPal, px, py, area, border);
    g.LastPoint = seed;
    GrphChanged(changed);
}

void TVMachine::ExeBasicRoll(const TVMCode* code)
{
    const long count = code->Operand.Long;
    if (count < 1 || count > 3) throw RuntimeException2(RTE_INTERNAL_ERROR);
    int8_t fill = 0;
    if (count == 3 && PopInt() == 'Y') fill = Rsrc->GrphBgCol;
    const int32_t dx = count > 1 ? PopInt() : 0;  // an omitted amount is 0
    const int32_t dy = PopInt();
    TGraphicsPages& g = Rsrc->Graphics;
    roll_page(g.Page(Rsrc->ActivePage), g.GrphColPal, dy, dx, fill);
    Rsrc->SetScrModifiedAll2();
    Rsrc->UpdateScreen();
}
