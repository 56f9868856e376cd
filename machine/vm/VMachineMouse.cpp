// The mouse as programs see it: the MOUSE function, the MOUSE statement and CALL
// MOUSE, and the setters through which the run view reports the pointer and buttons.

#include <deque>
#include <mutex>
#include <vector>

#include "machine/devices/BasicRsrc.h"
#include "machine/vm/RuntimeErrorKeys.h"
#include "machine/vm/VMachine.h"

void TVMachine::SetMousePosCurrent(const TGrphPoint& p)
{
    int8_t factor;
    {
        std::lock_guard<std::recursive_mutex> lock(Rsrc->ScrLock);
        factor = Rsrc->GrphVertFactor;
    }
    Mouse.SetMousePosCurrent(p, factor);
}

void TVMachine::SetMouseButtonLeftState(long state, const TGrphPoint& p)
{
    Mouse.SetMouseButtonState(TMouseButton::Left, static_cast<int32_t>(state), p);
}

void TVMachine::SetMouseButtonRightState(long state, const TGrphPoint& p)
{
    Mouse.SetMouseButtonState(TMouseButton::Right, static_cast<int32_t>(state), p);
}

void TVMachine::ExeBasicMouseFunc(const TVMCode* code)
{
    const bool buttonGiven = OperandFlag(code);
    const int32_t b = buttonGiven ? PopInt() : 1;
    const auto n = static_cast<uint32_t>(PopInt());
    if (n > 10) throw RuntimeException2(RTE_ILL_FUNC_CALL);
    // Functions 2 to 8 are about one button (1 left, 2 right); the others take none.
    const bool needsButton = n >= 2 && n <= 8;
    if (buttonGiven != needsButton || (buttonGiven && b != 1 && b != 2)) throw RuntimeException2(RTE_ILL_FUNC_CALL);
    const TMouseButton button = b == 2 ? TMouseButton::Right : TMouseButton::Left;
    int32_t result = 0;
    switch (n) {
    case 0: result = Mouse.MousePosCurrentX(); break;
    case 1: result = Mouse.MousePosCurrentY(); break;
    case 2: result = -Mouse.ButtonState(button); break;
    case 3: result = Mouse.TakePresses(button); break;
    case 4: result = TMouseState::Truncate(Mouse.LastPress(button).x); break;
    case 5: result = TMouseState::Truncate(Mouse.LastPress(button).y); break;
    case 6: result = Mouse.TakeReleases(button); break;
    case 7: result = TMouseState::Truncate(Mouse.LastRelease(button).x); break;
    case 8: result = TMouseState::Truncate(Mouse.LastRelease(button).y); break;
    case 9: result = Mouse.MouseDistanceX(); break;
    case 10: result = Mouse.MouseDistanceY(); break;
    default: break;
    }
    PushInt(result);
}

namespace {

// The numbers of arguments, the mode included, that each mode of the MOUSE
// statement accepts.
struct TMouseProcArity {
    long min;
    long max;
};
constexpr TMouseProcArity MOUSE_PROC_ARITY[7] = {
    {1, 1},  // 0
    {1, 4},  // 1
    {4, 5},  // 2
    {3, 3},  // 3
    {5, 5},  // 4: the range
    {2, 2},  // 5
    {1, 1},  // 6
};

}  // namespace

void TVMachine::ExeBasicMouseProc(const TVMCode* code)
{
    const long count = code->Operand.Long;
    if (count < 1 || count > 5) throw RuntimeException2(RTE_INTERNAL_ERROR);
    std::vector<TStackData> args(static_cast<size_t>(count));
    for (long i = count - 1; i >= 0; --i) args[static_cast<size_t>(i)] = Pop();
    const auto mode = static_cast<uint32_t>(StackInt(args[0]));
    if (mode > 6) throw RuntimeException2(RTE_ILL_FUNC_CALL);
    const TMouseProcArity arity = MOUSE_PROC_ARITY[mode];
    if (count < arity.min || count > arity.max) throw RuntimeException2(RTE_ILL_FUNC_CALL);
    if (mode != 4) return;  // the other modes have no effect here
    const TStackData& xa = args[1];
    const TStackData& ya = args[2];
    const TStackData& xb = args[3];
    const TStackData& yb = args[4];
    if (xb.type == sdString || yb.type == sdString) throw RuntimeException2(RTE_TYPE_MISMATCH);
    if (xa.type == sdOmitted || ya.type == sdOmitted || xb.type == sdOmitted)
        throw RuntimeException2(RTE_ILL_FUNC_CALL);
    Mouse.SetMouseRangeX(StackInt(xa), StackInt(xb));
    Mouse.SetMouseRangeY(StackInt(ya), StackInt(yb));
}

void TVMachine::ExeBasicCallMouse(const TVMCode*)
{
    std::deque<TStackData> vars;
    std::deque<int32_t> counts;
    SheltVarToDeque(5, &vars, &counts);
    std::vector<int32_t> m(5, 0);
    GetDequeInts(vars, counts, &m);
    const auto button_report = [this, &m](TMouseButton button, bool presses) {
        m[0] = Mouse.ButtonState(button);
        m[1] = presses ? Mouse.TakePresses(button) : Mouse.TakeReleases(button);
        const TGrphPoint at = presses ? Mouse.LastPress(button) : Mouse.LastRelease(button);
        m[2] = TMouseState::Truncate(at.x);
        m[3] = TMouseState::Truncate(at.y);
    };
    // How many of m0, m1, ... are written back to the variables.
    size_t k = 0;
    switch (m[0]) {
    case 0:
        m[0] = -1;
        k = 1;
        break;
    case 1:
    case 2:
    case 4:
    case 9:
    case 12:
    case 15:
    case 18: break;
    case 3:
        m[0] = Mouse.ButtonState(TMouseButton::Left);
        m[1] = Mouse.ButtonState(TMouseButton::Right);
        m[2] = Mouse.MousePosCurrentX();
        m[3] = Mouse.MousePosCurrentY();
        k = 4;
        break;
    case 5:
        button_report(TMouseButton::Left, true);
        k = 4;
        break;
    case 6:
        button_report(TMouseButton::Left, false);
        k = 4;
        break;
    case 7:
        button_report(TMouseButton::Right, true);
        k = 4;
        break;
    case 8:
        button_report(TMouseButton::Right, false);
        k = 4;
        break;
    case 11:
        m[2] = Mouse.MouseDistanceX();
        m[3] = Mouse.MouseDistanceY();
        k = 4;
        break;
    case 16: Mouse.SetMouseRangeX(m[2], m[3]); break;
    case 17: Mouse.SetMouseRangeY(m[2], m[3]); break;
    default: throw RuntimeException2(RTE_ILL_FUNC_CALL);  // above 18, negative, 10, 13, 14
    }
    m.resize(k);
    AssignInts(m, vars, counts);
}
