// The FOR loops that the dispatch loop runs as blocks. The compiler writes a loop over
// a plain variable V as
//
//   increment:  marker, vcBPushVar V, marker, vcBLoadArray V, STEP, vcBAddDouble,
//               vcBAssignArray
//   test:       vcBPushString exit, marker, vcBLoadArray V, LIMIT, STEP, vcBCmpFor,
//               vcBFJmp
//   body:       ...
//
// When LIMIT and STEP are each a constant, a plain variable or two of these with +, -
// or * between them, the increment block (run with the test that follows it) and the
// test block alone each become one step of the loop: it adds the step, stores the sum
// as the assignment would, reads the variable, the limit and the step again and
// branches, without the value stack. The limit and the step are still computed at
// every pass, as their codes would compute them.

#include "language/TokenKind.h"
#include "language/VarInfo.h"
#include "machine/runplan/RunPlanner.h"

namespace {

bool is_var_marker(const TVMCode& code)
{
    return code.Cmd == vcBPushSpecial && code.Operand.Long == tkVar;
}

// The value of a plain variable at codes[k]: its marker and vcBLoadArray.
bool is_plain_load(const std::vector<TVMCode>& codes, size_t k, const TVarInfo* var)
{
    return k + 1 < codes.size() && is_var_marker(codes[k]) && codes[k + 1].Cmd == vcBLoadArray &&
           codes[k + 1].Operand.Var == var;
}

// A value at codes[k]: a constant or a plain variable. The number of its codes; 0 when
// it is neither.
size_t match_value(const std::vector<TVMCode>& codes, size_t k, TForValue& value)
{
    if (k >= codes.size()) return 0;
    const TVMCode& code = codes[k];
    value = TForValue{};
    switch (code.Cmd) {
    case vcBPushInt:
        value.push = vcBPushInt;
        value.l = code.Operand.Long;
        value.d = value.l;
        return 1;
    case vcBPushFloat:
        value.push = vcBPushFloat;
        value.f = code.Operand.Single;
        value.d = value.f;
        return 1;
    case vcBPushDouble:
        value.push = vcBPushDouble;
        value.d = code.Operand.Double;
        return 1;
    default: break;
    }
    if (k + 1 < codes.size() && is_var_marker(code) && codes[k + 1].Cmd == vcBLoadArray &&
        codes[k + 1].Operand.Var != nullptr) {
        value.var = codes[k + 1].Operand.Var;
        return 2;
    }
    return 0;
}

bool is_operator(TVMCodeCmd cmd)
{
    switch (cmd) {
    case vcBAddInt:
    case vcBSubInt:
    case vcBMulInt:
    case vcBAddFloat:
    case vcBSubFloat:
    case vcBMulFloat:
    case vcBAddDouble:
    case vcBSubDouble:
    case vcBMulDouble: return true;
    default: return false;
    }
}

// A limit or step at codes[k] that the loop computes without the stack: a value, or two
// values and an operator. The number of its codes; 0 when it is neither.
size_t match_operand(const std::vector<TVMCode>& codes, size_t k, TForOperand& operand)
{
    operand = TForOperand{};
    const size_t left = match_value(codes, k, operand.left);
    if (left == 0) return 0;
    const size_t right = match_value(codes, k + left, operand.right);
    if (right != 0 && k + left + right < codes.size() && is_operator(codes[k + left + right].Cmd)) {
        operand.op = codes[k + left + right].Cmd;
        return left + right + 1;
    }
    operand.right = TForValue{};
    return left;
}

bool same_value(const TForValue& a, const TForValue& b)
{
    if (a.var != b.var) return false;
    if (a.var != nullptr) return true;
    return a.push == b.push && a.l == b.l && a.f == b.f && a.d == b.d;
}

bool same_operand(const TForOperand& a, const TForOperand& b)
{
    return a.op == b.op && same_value(a.left, b.left) && same_value(a.right, b.right);
}

}  // namespace

// The loop whose increment block starts at code i; false when the codes there are not
// such a loop.
bool TRunPlanner::MatchForLoop(size_t i, TForLoop& loop) const
{
    const std::vector<TVMCode>& codes = mCodes;
    const size_t n = codes.size();
    if (i + 4 >= n || !is_var_marker(codes[i]) || codes[i + 1].Cmd != vcBPushVar) return false;
    TVarInfo* const var = codes[i + 1].Operand.Var;
    if (var == nullptr || !is_plain_load(codes, i + 2, var)) return false;
    size_t k = i + 4;
    const size_t stepCodes = match_operand(codes, k, loop.step);
    if (stepCodes == 0) return false;
    k += stepCodes;
    if (k + 2 >= n || codes[k].Cmd != vcBAddDouble || codes[k + 1].Cmd != vcBAssignArray) return false;
    const size_t test = k + 2;
    if (codes[test].Cmd != vcBPushString) return false;
    const int32_t exit = static_jump_target(mCode, codes[test]);
    if (exit == 0 || !is_plain_load(codes, test + 1, var)) return false;
    k = test + 3;
    const size_t limitCodes = match_operand(codes, k, loop.limit);
    if (limitCodes == 0) return false;
    k += limitCodes;
    TForOperand step;
    const size_t stepAgain = match_operand(codes, k, step);
    if (stepAgain != stepCodes || !same_operand(step, loop.step)) return false;
    k += stepAgain;
    if (k + 1 >= n || codes[k].Cmd != vcBCmpFor || codes[k + 1].Cmd != vcBFJmp) return false;
    loop.var = var;
    loop.test = static_cast<int32_t>(test);
    loop.last = static_cast<int32_t>(k + 1);
    loop.exit = exit;
    return true;
}

// Each loop whose codes may all be planned becomes two blocks, whose targets are the
// loop's index among the plan's loops.
void TRunPlanner::ForLoops()
{
    mPlan.forLoops.clear();
    for (size_t i = 1; i < mCodes.size(); ++i) {
        CheckStop(i);
        TForLoop loop;
        if (!MatchForLoop(i, loop)) continue;
        bool all = true;
        for (size_t k = i; k <= static_cast<size_t>(loop.last); ++k) all = all && mFusable[k];
        if (!all) continue;
        const auto index = static_cast<int32_t>(mPlan.forLoops.size());
        mPlan.forLoops.push_back(loop);
        mKinds[i] = rkForStep;
        mTargets[i] = index;
        mKinds[static_cast<size_t>(loop.test)] = rkForTest;
        mTargets[static_cast<size_t>(loop.test)] = index;
    }
}
