// The FOR loops that the dispatch loop runs as blocks. The compiler writes a loop over
// a plain variable V as
//
//   increment:  marker, vcBPushVar V, marker, vcBLoadArray V, STEP, vcBAddDouble,
//               vcBAssignArray
//   test:       vcBPushString exit, marker, vcBLoadArray V, LIMIT, STEP, vcBCmpFor,
//               vcBFJmp
//   body:       ...
//
// When LIMIT and STEP are each a constant or a plain variable, the increment block
// (run with the test that follows it) and the test block alone each become one step of
// the loop: it adds the step, stores the sum as the assignment would, reads the
// variable, the limit and the step again and branches, without the value stack. The
// limit and the step are still read at every pass, as their codes would read them.

#include "language/MidCode.h"
#include "language/TokenKind.h"
#include "language/VarInfo.h"
#include "machine/VMachine.h"

namespace {

bool is_var_marker(const TVMCode& code) {
    return code.Cmd == vcBPushSpecial && code.Operand.Long == tkVar;
}

// The value of a plain variable at codes[k]: its marker and vcBLoadArray.
bool is_plain_load(const std::vector<TVMCode>& codes, size_t k, const TVarInfo* var) {
    return k + 1 < codes.size() && is_var_marker(codes[k]) && codes[k + 1].Cmd == vcBLoadArray &&
           codes[k + 1].Operand.Var == var;
}

// A limit or step at codes[k] that the loop reads without the stack: a constant or a
// plain variable. The number of its codes; 0 when it is neither.
size_t match_operand(const std::vector<TVMCode>& codes, size_t k, TVMachine::TForOperand& operand) {
    if (k >= codes.size()) return 0;
    const TVMCode& code = codes[k];
    operand = TVMachine::TForOperand{};
    switch (code.Cmd) {
    case vcBPushInt: operand.constant = code.Operand.Long; return 1;
    case vcBPushFloat: operand.constant = code.Operand.Single; return 1;
    case vcBPushDouble: operand.constant = code.Operand.Double; return 1;
    default: break;
    }
    if (k + 1 < codes.size() && is_var_marker(code) && codes[k + 1].Cmd == vcBLoadArray &&
        codes[k + 1].Operand.Var != nullptr) {
        operand.var = codes[k + 1].Operand.Var;
        return 2;
    }
    return 0;
}

bool same_operand(const TVMachine::TForOperand& a, const TVMachine::TForOperand& b) {
    return a.var == b.var && (a.var != nullptr || a.constant == b.constant);
}

}  // namespace

bool TVMachine::MatchForLoop(size_t i, TForLoop& loop) const {
    const std::vector<TVMCode>& codes = MidCode->Codes;
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
    const int32_t exit = StaticJumpTarget(codes[test]);
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
