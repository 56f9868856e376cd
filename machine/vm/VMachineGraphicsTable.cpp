// The dispatch rows of the graphics statements and functions and of the mouse.

#include "machine/vm/VMachine.h"

void TVMachine::InitFuncTableGraphics(TFuncTable& t)
{
    using M = TVMachine;
    t.Set({
        // colour, palettes and screen modes
        {vcColorProc1, &M::ExeBasicColorProc1},
        {vcColorProc2, &M::ExeBasicColorProc2},
        {vcInitColorPalette, &M::ExeBasicInitColorPalette},
        {vcColorAt, &M::ExeBasicColorAt},
        {vcScreen, &M::ExeBasicScreen},
        {vcColor, &M::ExeBasicNothing},
        // drawing
        {vcPSet, &M::ExeBasicPSet},
        {vcPReset, &M::ExeBasicPReset},
        {vcPointFunc1, &M::ExeBasicPointFunc1},
        {vcPointFunc2, &M::ExeBasicPointFunc2},
        {vcPointProc, &M::ExeBasicPointProc},
        {vcLine, &M::ExeBasicLine},
        {vcStrokeRect, &M::ExeBasicStrokeRect},
        {vcFillRect, &M::ExeBasicFillRect},
        {vcStrokeEllipse, &M::ExeBasicStrokeEllipse},
        {vcFillEllipse, &M::ExeBasicFillEllipse},
        {vcStrokeArc, &M::ExeBasicStrokeArc},
        {vcFillArc, &M::ExeBasicFillArc},
        // mouse
        {vcMouseFunc, &M::ExeBasicMouseFunc},
        {vcMouseProc, &M::ExeBasicMouseProc},
        {vcCallMouse, &M::ExeBasicCallMouse},
        // GET@ and PUT@
        {vcGetAt, &M::ExeBasicGetAt},
        {vcPutAtProc1, &M::ExeBasicPutAtProc1},
        {vcPutAtProc2, &M::ExeBasicPutAtProc2},
        // painting and rolling
        {vcPaint, &M::ExeBasicPaint},
        {vcRoll, &M::ExeBasicRoll},
    });
}
