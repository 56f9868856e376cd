// The dispatch loop and the run's own view of the code.
//
// Before the loop starts, every code gets a run kind (RunKinds.h): the codes that make
// up most of a loop's work (pushes, plain variables, arithmetic, jumps) are done inside
// the loop, with PC kept in a local; every other code goes through its handler in the
// shared table, with PC written back before and read again after. The choice is made
// for speed: a call through a member pointer, and PC in memory, cost more than most of
// these codes do. The loop jumps from one kind's body straight to the next one's through
// a table of label addresses where the compiler allows it (GCC and Clang), else through
// a switch.
//
// Some kinds stand for a pair of codes that the compiler writes together; the first
// code of the pair gets the pair's kind and the loop steps over the second. The second
// code keeps its own kind, so a jump that lands on it runs it alone. The pairs:
//   vcBPushSpecial tkVar, vcBLoadArray X   the value of a plain variable
//   vcBPushSpecial tkVar, vcBPushVar X     the start of an assignment to a plain variable
//   vcBPushString L / vcBPushInt N, vcBJmp or vcBCall
//                                          GOTO and GOSUB, the target looked up once here
//   vcBCmpFor, vcBFJmp                     the FOR test and its jump
//   vcB<comparison><type>, vcBFJmp         an IF on a numeric comparison
// The FOR loops of VMachineRunFor.cpp are blocks of the same kind, and so are a few
// statements and reads that programs repeat in their loops, each prepared below:
// X = X <op> constant, X$ = X$ + "text", X$ = A$ + B$, A(J) and A(J <op> constant), and the string
// functions of a plain string variable, which read its text in place (and a + after
// one, which joins the function's text on without pushing it). A pair or block
// does what its codes do, errors included. The jump of an IF or of a FOR test finds its
// label's code index, looked up here, when the label it meets on the stack is the one
// pushed for it.
//
// The interrupt word is read where an event must be seen: before each line, after each
// jump and after each code run through its handler (which is where a program switches
// traps, returns from them or waits). The codes done inside the loop between two such
// places are few and never wait. While speed control is on (its bit stays set), the
// word is read before every code, as the control waits at every statement beginning.
//
// The shared table never changes, so the tests that run single codes through it see
// the plain handlers, and every kind here does what that handler does. A code whose
// entry in the machine's table is not the shared one (a debugger's own handler) is
// never fused, nor is any code when fusion is off: it goes through its entry. The
// choice is made once before the run, so a run without such entries pays nothing.

#include <algorithm>

#include "language/MidCode.h"
#include "language/TokenKind.h"
#include "machine/devices/BasicRsrc.h"
#include "machine/text/TextMeasure.h"
#include "machine/vm/KeptText.h"
#include "machine/vm/RunKinds.h"
#include "machine/vm/RuntimeErrorKeys.h"
#include "machine/vm/VMachine.h"
#include "machine/vm/VMachineElements.h"
#include "machine/vm/WrappingInt.h"

namespace {

// The functions of numbers that take their operands off the stack, push one number
// and touch nothing else (no variable, no jump): with the number of operands they take.
struct TNumberFunction {
    TVMCodeCmd cmd;
    int operands;
};
constexpr TNumberFunction NUMBER_FUNCTIONS[] = {
    {vcAbs, 1}, {vcAtn, 1}, {vcCint, 1}, {vcCsng, 1},      {vcCdbl, 1},       {vcCos, 1},
    {vcExp, 1}, {vcFix, 1}, {vcInt, 1},  {vcLog, 1},       {vcRnd, 1},        {vcSgn, 1},
    {vcSin, 1}, {vcSqr, 1}, {vcTan, 1},  {vcBPowFloat, 2}, {vcBPowDouble, 2},
};

// The operands a function of numbers takes, or 0 for any other code.
int number_function_operands(TVMCodeCmd cmd)
{
    for (const TNumberFunction& f : NUMBER_FUNCTIONS)
        if (f.cmd == cmd) return f.operands;
    return 0;
}

// The kind of a code that runs alone.
TRunKind single_kind(TVMCodeCmd cmd)
{
    switch (cmd) {
    case vcBLineBegin: return rkLineBegin;
    case vcBPushInt: return rkPushInt;
    case vcBPushFloat: return rkPushSingle;
    case vcBPushDouble: return rkPushDouble;
    case vcBPushString: return rkPushString;
    case vcBPushVar: return rkPushVar;
    case vcBPushSpecial: return rkPushSpecial;
    case vcBAssignArray: return rkAssignArray;
    case vcBLoadArray: return rkLoadArray;
    case vcBFJmp: return rkFJmp;
    case vcBRet: return rkReturn;
    case vcBAddInt: return rkAddInt;
    case vcBSubInt: return rkSubInt;
    case vcBMulInt: return rkMulInt;
    case vcBAddFloat: return rkAddSingle;
    case vcBSubFloat: return rkSubSingle;
    case vcBMulFloat: return rkMulSingle;
    case vcBDivFloat: return rkDivSingle;
    case vcBAddDouble: return rkAddDouble;
    case vcBSubDouble: return rkSubDouble;
    case vcBMulDouble: return rkMulDouble;
    case vcBDivDouble: return rkDivDouble;
    // \ and MOD take integers whatever their operands' type.
    case vcBIdivInt:
    case vcBIdivFloat:
    case vcBIdivDouble: return rkIdivInt;
    case vcBModInt:
    case vcBModFloat:
    case vcBModDouble: return rkModInt;
    default: return number_function_operands(cmd) != 0 ? rkNumberFunction : rkGeneric;
    }
}

// The kind of a comparison followed by vcBFJmp; rkGeneric for other codes.
TRunKind compare_jump_kind(TVMCodeCmd cmd)
{
    switch (cmd) {
    case vcBEqualInt: return rkEqualIntFJmp;
    case vcBNoteqInt: return rkNoteqIntFJmp;
    case vcBLtInt: return rkLtIntFJmp;
    case vcBLeInt: return rkLeIntFJmp;
    case vcBGtInt: return rkGtIntFJmp;
    case vcBGeInt: return rkGeIntFJmp;
    case vcBEqualFloat: return rkEqualSingleFJmp;
    case vcBNoteqFloat: return rkNoteqSingleFJmp;
    case vcBLtFloat: return rkLtSingleFJmp;
    case vcBLeFloat: return rkLeSingleFJmp;
    case vcBGtFloat: return rkGtSingleFJmp;
    case vcBGeFloat: return rkGeSingleFJmp;
    case vcBEqualDouble: return rkEqualDoubleFJmp;
    case vcBNoteqDouble: return rkNoteqDoubleFJmp;
    case vcBLtDouble: return rkLtDoubleFJmp;
    case vcBLeDouble: return rkLeDoubleFJmp;
    case vcBGtDouble: return rkGtDoubleFJmp;
    case vcBGeDouble: return rkGeDoubleFJmp;
    default: return rkGeneric;
    }
}

bool is_var_ref_marker(const TVMCode& code)
{
    return code.Cmd == vcBPushSpecial && code.Operand.Long == tkVar;
}

size_t label_slot(const char* text, size_t mask)
{
    return static_cast<size_t>((reinterpret_cast<uintptr_t>(text) * 0x9E3779B97F4A7C15ull) >> 32) & mask;
}

// Whether a jump lands on any code from first to last.
bool lands_within(const std::vector<bool>& landing, size_t first, size_t last)
{
    for (size_t m = first; m <= last; ++m)
        if (landing[m]) return true;
    return false;
}

bool is_constant_kind(uint8_t kind)
{
    return kind == rkPushInt || kind == rkPushSingle || kind == rkPushDouble;
}

// The arithmetic kinds that ApplyConstantOperator computes: all but division, which
// can fail.
bool is_constant_operator_kind(uint8_t kind)
{
    switch (kind) {
    case rkAddInt:
    case rkSubInt:
    case rkMulInt:
    case rkAddSingle:
    case rkSubSingle:
    case rkMulSingle:
    case rkAddDouble:
    case rkSubDouble:
    case rkMulDouble: return true;
    default: return false;
    }
}

// The element of the one-dimensional array for the subscript J (op rkGeneric), J + n or
// J - n, where J is a whole-number or single-precision plain variable and n a whole
// number, computed as the codes compute it. 0 for any other case, and for a subscript
// off the array: the codes then run one by one.
inline int32_t quick_element(const TVarInfo* array, const TVarInfo* j, uint8_t op, int32_t n, int32_t optionBase)
{
    if (j->ElemCount < 1 || array->Dims[0] != 1) return 0;
    using K = TVarInfo::TBlockKind;
    int32_t subscript;
    if (j->BlockKind() == K::Int) {
        const int32_t x = j->IntValues()[0];
        if (op == rkGeneric)
            subscript = x;
        else if (op == rkAddInt)
            subscript = wrap_add(x, n);
        else if (op == rkSubInt)
            subscript = wrap_sub(x, n);
        else
            return 0;
    } else if (j->BlockKind() == K::Single) {
        float x = j->SingleValues()[0];
        if (op == rkAddSingle)
            x = x + static_cast<float>(n);
        else if (op == rkSubSingle)
            x = x - static_cast<float>(n);
        else if (op != rkGeneric)
            return 0;
        // Only a whole number, whose rounding is itself.
        if (!(x >= -65536.0f && x <= 65536.0f) || static_cast<float>(static_cast<int32_t>(x)) != x) return 0;
        subscript = static_cast<int32_t>(x);
    } else {
        return 0;
    }
    if (subscript < optionBase || subscript >= array->Strides[1]) return 0;
    return subscript + 1;
}

// What a code of an operand does to the stack's depth (change) and how many codes it
// spans (width): pushes of constants and plain variables, LEN of a text and the
// arithmetic kinds. False for a code that may not lie within an operand.
bool operand_code_step(uint8_t kind, size_t depth, int& change, size_t& width)
{
    width = 1;
    change = 1;
    switch (kind) {
    case rkPushInt:
    case rkPushSingle:
    case rkPushDouble:
    case rkPushString: return true;
    case rkLoadPlainVar: width = 2; return true;
    case rkLenOfText: width = 3; return true;
    default: change = -1; return kind >= rkAddInt && kind <= rkModInt && depth >= 2;
    }
}

}  // namespace

// The code index a pushed target names, as ChangePC would find it; 0 when it names
// none, so that the pair is left to its two codes and fails as they fail.
int32_t TVMachine::StaticJumpTarget(const TVMCode& push) const
{
    int32_t index = 0;
    if (push.Cmd == vcBPushString && push.Operand.Text != nullptr) {
        const auto found = MidCode->LabelMap.find(push.Operand.Text);
        if (found != MidCode->LabelMap.end()) index = found->second;
    } else if (push.Cmd == vcBPushInt) {
        const auto found = MidCode->LineNumMap.find(push.Operand.Long);
        if (found != MidCode->LineNumMap.end()) index = found->second;
    }
    if (index < 1 || static_cast<size_t>(index) > MidCode->Codes.size()) return 0;
    return index;
}

namespace {

// The slots of the table of label texts for `labels` label pushes: a power of two at
// least twice as many, and at least 16.
size_t operand_label_slots(size_t labels)
{
    size_t size = 16;
    while (size < labels * 2) size *= 2;
    return size;
}

// Thrown by a pass of the preparation when a stop request has come.
struct TPreparationStopped {};

}  // namespace

size_t TVMachine::PlannedRunTableBytes(size_t codes, size_t labels) const
{
    // RunKinds has one entry more; the flags of the jump landings live while the
    // passes run.
    return codes * RUN_TABLE_BYTES_PER_CODE + sizeof(uint8_t) + (codes + 1 + 7) / 8 +
           operand_label_slots(labels) * sizeof(TOperandLabel);
}

size_t TVMachine::RunTableBytes() const
{
    return RunHandlers.capacity() * sizeof(THandler) + RunKinds.capacity() * sizeof(uint8_t) +
           RunTargets.capacity() * sizeof(int32_t) + RunJumpLabels.capacity() * sizeof(const char*) +
           ForLoops.capacity() * sizeof(TForLoop) + OperandLabels.capacity() * sizeof(TOperandLabel);
}

void TVMachine::CheckPrepareStop(size_t i) const
{
    if (i % PREPARE_STOP_STRIDE == 0 && StopRequested()) throw TPreparationStopped{};
}

bool TVMachine::PrepareRunCodes()
{
    const std::vector<TVMCode>& codes = MidCode->Codes;
    const TFuncTable& table = *FuncTable;
    const TFuncTable& shared = SharedFuncTable();
    const auto fusable = [&](TVMCodeCmd cmd) { return Fusion && (&table == &shared || table[cmd] == shared[cmd]); };
    const size_t n = codes.size();
    // The compiled program and the tables made for it here are the run's too: they are
    // taken from its budget before the tables are made, and what the tables came to
    // hold replaces the plan once they are done.
    size_t planned = 0;
    try {
        size_t labels = 0;
        for (size_t i = 0; i < n; ++i) {
            CheckPrepareStop(i);
            if (i != 0 && codes[i].Cmd == vcBPushString) ++labels;
        }
        planned = MidCode->HeldBytes() + PlannedRunTableBytes(n, labels);
        if (!Memory.Take(planned)) throw RuntimeException2(RTE_OUT_OF_MEMORY);
        PrepareRunTables(fusable, labels);
    } catch (const TPreparationStopped&) {
        return false;
    }
    if (!Memory.Replace(planned, MidCode->HeldBytes() + RunTableBytes())) throw RuntimeException2(RTE_OUT_OF_MEMORY);
    return true;
}

template <typename Fusable>
void TVMachine::PrepareRunTables(const Fusable& fusable, size_t labels)
{
    const std::vector<TVMCode>& codes = MidCode->Codes;
    const TFuncTable& table = *FuncTable;
    const size_t n = codes.size();
    RunHandlers.resize(n);
    // One entry more than there are codes: the loop ends when it reaches it, so it
    // does not compare PC with the end before every code.
    RunKinds.assign(n + 1, rkGeneric);
    RunKinds[n] = rkEnd;
    RunTargets.assign(n, 0);
    for (size_t i = 0; i < n; ++i) {
        CheckPrepareStop(i);
        const TVMCode& code = codes[i];
        RunHandlers[i] = table[code.Cmd];
        // Index 0 is the placeholder, which never runs.
        if (i == 0) continue;
        if (!fusable(code.Cmd)) continue;
        TRunKind kind = single_kind(code.Cmd);
        if (i + 1 < n && fusable(codes[i + 1].Cmd)) {
            const TVMCode& next = codes[i + 1];
            if (is_var_ref_marker(code) && next.Cmd == vcBLoadArray && next.Operand.Var != nullptr) {
                kind = rkLoadPlainVar;
            } else if (is_var_ref_marker(code) && next.Cmd == vcBPushVar) {
                kind = rkPushVarRef;
            } else if ((next.Cmd == vcBJmp || next.Cmd == vcBCall) &&
                       (code.Cmd == vcBPushString || code.Cmd == vcBPushInt)) {
                const int32_t target = StaticJumpTarget(code);
                if (target != 0) {
                    kind = next.Cmd == vcBJmp ? rkJump : rkCall;
                    RunTargets[i] = target;
                }
            } else if (next.Cmd == vcBFJmp) {
                if (code.Cmd == vcBCmpFor)
                    kind = rkCmpForFJmp;
                else if (compare_jump_kind(code.Cmd) != rkGeneric)
                    kind = compare_jump_kind(code.Cmd);
            }
        }
        RunKinds[i] = kind;
    }
    PrepareJumpLabels();
    // The blocks below may not span a code that a jump lands on.
    const std::vector<bool> landing = JumpLandings();
    // Each pass reads every code once; a stop request is looked at between them, and
    // inside those that look codes up in the maps.
    CheckPrepareStop(0);
    PreparePlainStores(landing);
    CheckPrepareStop(0);
    PrepareForLoops(fusable);
    CheckPrepareStop(0);
    PrepareStringReads(landing);
    CheckPrepareStop(0);
    PreparePlainUpdates(landing);
    CheckPrepareStop(0);
    PrepareAppends(landing);
    CheckPrepareStop(0);
    PrepareElementReads(landing);
    CheckPrepareStop(0);
    PrepareElementStores(landing);
    CheckPrepareStop(0);
    PrepareOperandLabels(labels);
}

// The label each vcBFJmp expects: the nearest label pushed before it, which is the one
// an IF or a FOR test pushes before its condition. The expectation is checked at every
// jump, so a condition that pushes a label text of its own only misses the shortcut.
void TVMachine::PrepareJumpLabels()
{
    const std::vector<TVMCode>& codes = MidCode->Codes;
    RunJumpLabels.assign(codes.size(), nullptr);
    const char* label = nullptr;
    int32_t index = 0;
    for (size_t i = 1; i < codes.size(); ++i) {
        CheckPrepareStop(i);
        const TVMCode& code = codes[i];
        if (code.Cmd == vcBPushString) {
            const int32_t target = StaticJumpTarget(code);
            if (target != 0) {
                label = code.Operand.Text;
                index = target;
            }
        } else if (code.Cmd == vcBFJmp && label != nullptr) {
            RunJumpLabels[i] = label;
            RunTargets[i] = index;
        }
    }
}

std::vector<bool> TVMachine::JumpLandings() const
{
    const size_t n = MidCode->Codes.size();
    std::vector<bool> landing(n + 1, false);
    size_t seen = 0;
    for (const auto& entry : MidCode->LabelMap) {
        CheckPrepareStop(++seen);
        if (entry.second >= 0 && static_cast<size_t>(entry.second) <= n)
            landing[static_cast<size_t>(entry.second)] = true;
    }
    for (const auto& entry : MidCode->LineNumMap) {
        CheckPrepareStop(++seen);
        if (entry.second >= 0 && static_cast<size_t>(entry.second) <= n)
            landing[static_cast<size_t>(entry.second)] = true;
    }
    return landing;
}

int TVMachine::NumberFunctionAt(size_t k) const
{
    return RunKinds[k] == rkNumberFunction ? number_function_operands(MidCode->Codes[k].Cmd) : 0;
}

// An assignment to a plain variable whose value the loop computes on its own (pushes,
// plain variables, the arithmetic kinds and the functions of numbers; nothing else
// run through a handler, nothing a jump lands in) leaves the variable's reference off
// the stack: the store at its end knows the variable. Near the stack's limit the
// reference is pushed after all, as its codes would push it, and the store finds it
// there.
void TVMachine::PreparePlainStores(const std::vector<bool>& landing)
{
    const std::vector<TVMCode>& codes = MidCode->Codes;
    const size_t n = codes.size();
    for (size_t i = 1; i < n; ++i) {
        if (RunKinds[i] != rkPushVarRef) continue;
        size_t k = i + 2;
        size_t depth = 0;
        bool lands = false;
        int change;
        for (size_t width; k < n; k += width) {
            if (const int operands = NumberFunctionAt(k); operands != 0) {
                if (depth < static_cast<size_t>(operands)) break;
                change = 1 - operands;
                width = 1;
            } else if (!operand_code_step(RunKinds[k], depth, change, width)) {
                break;
            }
            depth = static_cast<size_t>(static_cast<int>(depth) + change);
            for (size_t m = k; m < k + width; ++m) lands = lands || landing[m];
        }
        if (k >= n || RunKinds[k] != rkAssignArray || depth != 1 || lands || landing[k]) continue;
        RunKinds[i] = rkSkipVarRef;
        RunKinds[k] = rkStorePlain;
        RunTargets[k] = static_cast<int32_t>(i + 1);
    }
}

// LEN, LEFT$, RIGHT$, MID$, INSTR and KINSTR of a plain string variable read the
// variable's text in place instead of a copy pushed for them, when the codes between the read
// and the function only push constants, plain variables and LEN of plain variables
// and compute on them with the arithmetic kinds (the counts, the text INSTR looks
// for): those can change no variable, and nothing between lands a jump or runs a
// handler. LEN right after the read is a block of its own, rkLenOfText, which pushes
// the measure. Otherwise the read's pair becomes rkReadTextLater, the function
// rkStringFunc, or rkStringFuncJoin when it gives a text and a + follows it: its text
// is then appended to the string below without being pushed (A$ + MID$(B$, I, 1)).
// INSTR(X$, Y$) and KINSTR(X$, Y$) of two plain variables are one block,
// rkInstrOfTexts, which reads both texts in place. Should the loop leave the codes between for the interrupt
// service, it pushes the text first, as the read would have, and the function and the
// + run as usual. (An error between ends the run, which looks at the stack no more.)
void TVMachine::PrepareStringReads(const std::vector<bool>& landing)
{
    const std::vector<TVMCode>& codes = MidCode->Codes;
    const size_t n = codes.size();
    const auto text_read = [&](size_t k) {
        return RunKinds[k] == rkLoadPlainVar && codes[k + 1].Operand.Var->VarType == tkString;
    };
    for (size_t i = 1; i + 2 < n; ++i) {
        if (!text_read(i) || codes[i + 2].Cmd != vcLen || RunKinds[i + 2] != rkGeneric ||
            RunHandlers[i + 2] != SharedFuncTable()[vcLen] || landing[i + 1] || landing[i + 2])
            continue;
        RunKinds[i] = rkLenOfText;
    }
    const auto operand_step = [&](size_t k, size_t depth, int& change, size_t& width) {
        return operand_code_step(RunKinds[k], depth, change, width);
    };
    for (size_t i = 1; i + 2 < n; ++i) {
        if (!text_read(i)) continue;
        size_t k = i + 2;
        size_t depth = 0;
        bool lands = landing[i + 1];
        int change;
        for (size_t width; k < n && operand_step(k, depth, change, width); k += width) {
            depth = static_cast<size_t>(static_cast<int>(depth) + change);
            for (size_t m = k; m < k + width; ++m) lands = lands || landing[m];
        }
        if (k >= n || RunKinds[k] != rkGeneric || lands || landing[k]) continue;
        const TVMCode& function = codes[k];
        size_t expected;
        switch (function.Cmd) {
        case vcLen: expected = 0; break;
        case vcLeftDl:
        case vcRightDl:
        case vcInstr:
        case vcKinstr: expected = 1; break;
        case vcMidDlFunc: expected = OperandFlag(&function) ? 2 : 1; break;
        default: continue;
        }
        // The handler in this run's table must be the shared one, as for every fused code.
        if (depth != expected || RunHandlers[k] != SharedFuncTable()[function.Cmd]) continue;
        // INSTR(X$, Y$) and KINSTR(X$, Y$) read both texts in place.
        const bool search = function.Cmd == vcInstr || function.Cmd == vcKinstr;
        if (search && !OperandFlag(&function) && k == i + 4 && text_read(i + 2)) {
            RunKinds[i] = rkInstrOfTexts;
            i = k;
            continue;
        }
        RunKinds[i] = rkReadTextLater;
        RunKinds[k] = rkStringFunc;
        // A + after a function that gives a text joins the text on where it is made.
        const bool givesText = function.Cmd != vcLen && !search;
        if (givesText && k + 1 < n && codes[k + 1].Cmd == vcBAddString && RunKinds[k + 1] == rkGeneric &&
            RunHandlers[k + 1] == SharedFuncTable()[vcBAddString] && !landing[k + 1])
            RunKinds[k] = rkStringFuncJoin;
        i = k;
    }
}

// X = X + c, X = X - c and X = X * c for a plain variable X and a constant c, among
// the assignments PreparePlainStores found: seven codes from the reference to the
// store. The block computes in the operator's type and stores as the store would.
void TVMachine::PreparePlainUpdates(const std::vector<bool>& landing)
{
    const std::vector<TVMCode>& codes = MidCode->Codes;
    for (size_t i = 1; i + 6 < codes.size(); ++i) {
        if (RunKinds[i] != rkSkipVarRef || RunKinds[i + 2] != rkLoadPlainVar || !is_constant_kind(RunKinds[i + 4]) ||
            !is_constant_operator_kind(RunKinds[i + 5]) || RunKinds[i + 6] != rkStorePlain)
            continue;
        if (codes[i + 3].Operand.Var != codes[i + 1].Operand.Var) continue;
        RunKinds[i] = rkUpdatePlain;
    }
    // X = X + Y and X = X - Y for plain variables X and Y: eight codes, the reference,
    // the two values, the operator and the store.
    for (size_t i = 1; i + 7 < codes.size(); ++i) {
        if (RunKinds[i] != rkSkipVarRef || RunKinds[i + 2] != rkLoadPlainVar || RunKinds[i + 4] != rkLoadPlainVar ||
            RunKinds[i + 7] != rkStorePlain)
            continue;
        const uint8_t op = RunKinds[i + 6];
        if (op != rkAddInt && op != rkSubInt && op != rkAddSingle && op != rkSubSingle) continue;
        if (codes[i + 3].Operand.Var != codes[i + 1].Operand.Var || lands_within(landing, i + 1, i + 7)) continue;
        RunKinds[i] = rkUpdateByVar;
    }
    // X$ = X$ + "text": the reference and the value (two codes each), the text, the
    // joining and the store, with no jump landing after the first.
    for (size_t i = 1; i + 6 < codes.size(); ++i) {
        if (RunKinds[i] != rkPushVarRef || RunKinds[i + 2] != rkLoadPlainVar || RunKinds[i + 4] != rkPushString ||
            codes[i + 5].Cmd != vcBAddString || RunKinds[i + 5] != rkGeneric || RunKinds[i + 6] != rkAssignArray)
            continue;
        const TVarInfo* v = codes[i + 1].Operand.Var;
        if (v == nullptr || v->VarType != tkString || codes[i + 3].Operand.Var != v) continue;
        if (RunHandlers[i + 5] != SharedFuncTable()[vcBAddString]) continue;
        if (lands_within(landing, i + 1, i + 6)) continue;
        RunKinds[i] = rkAppendPlain;
        // Whether the text is ASCII, settled once here.
        RunTargets[i] = text_measure::is_ascii(codes[i + 4].Operand.Text != nullptr ? codes[i + 4].Operand.Text : "");
    }
    // X$ = A$ + B$: the reference and the two values (two codes each), the joining and
    // the store, with no jump landing after the first.
    const auto plain_text = [&](size_t k) {
        return RunKinds[k] == rkLoadPlainVar && codes[k + 1].Operand.Var != nullptr &&
               codes[k + 1].Operand.Var->VarType == tkString;
    };
    for (size_t i = 1; i + 7 < codes.size(); ++i) {
        if (RunKinds[i] != rkPushVarRef || !plain_text(i + 2) || !plain_text(i + 4) ||
            codes[i + 6].Cmd != vcBAddString || RunKinds[i + 6] != rkGeneric || RunKinds[i + 7] != rkAssignArray)
            continue;
        const TVarInfo* v = codes[i + 1].Operand.Var;
        if (v == nullptr || v->VarType != tkString) continue;
        if (RunHandlers[i + 6] != SharedFuncTable()[vcBAddString]) continue;
        if (lands_within(landing, i + 1, i + 7)) continue;
        RunKinds[i] = rkJoinPlain;
    }
}

// X$ = X$ + <text>, where the text is made by codes that change no variable: pushes,
// plain variables, LEN of them, the arithmetic kinds and a few functions of numbers
// (CHR$, STR$, HEX$, OCT$, SPACE$). The reference and X$'s value are left off the
// stack (rkAppendLater) and the + with the store (rkAppendStore) appends the text to
// X$'s own: X$ is never copied out and back. The interrupt service, should the loop
// leave the codes between for it, finds the reference and the value pushed first,
// where they would lie, and the + and the store then run as usual.
void TVMachine::PrepareAppends(const std::vector<bool>& landing)
{
    const std::vector<TVMCode>& codes = MidCode->Codes;
    const size_t n = codes.size();
    const auto shared = [&](size_t k) { return RunHandlers[k] == SharedFuncTable()[codes[k].Cmd]; };
    // What a code of the text does to the stack's depth, and how many codes it spans;
    // false for a code that may not lie between.
    const auto text_step = [&](size_t k, size_t depth, int& change, size_t& width) {
        if (RunKinds[k] != rkGeneric) return operand_code_step(RunKinds[k], depth, change, width);
        width = 1;
        change = 0;
        switch (codes[k].Cmd) {
        case vcChrDl:
        case vcStrDl:
        case vcHexDl:
        case vcOctDl:
        case vcSpaceDl: return depth >= 1 && shared(k);
        default: return false;
        }
    };
    for (size_t i = 1; i + 5 < n; ++i) {
        if (RunKinds[i] != rkPushVarRef || RunKinds[i + 2] != rkLoadPlainVar) continue;
        const TVarInfo* v = codes[i + 1].Operand.Var;
        if (v == nullptr || v->VarType != tkString || codes[i + 3].Operand.Var != v) continue;
        size_t k = i + 4;
        size_t depth = 0;
        int change;
        for (size_t width; k < n && text_step(k, depth, change, width); k += width)
            depth = static_cast<size_t>(static_cast<int>(depth) + change);
        if (depth != 1 || k + 1 >= n || codes[k].Cmd != vcBAddString || RunKinds[k] != rkGeneric || !shared(k) ||
            RunKinds[k + 1] != rkAssignArray || lands_within(landing, i + 1, k + 1))
            continue;
        RunKinds[i] = rkAppendLater;
        RunKinds[k] = rkAppendStore;
        if (codes[k - 1].Cmd == vcChrDl && RunKinds[k - 1] == rkGeneric) RunKinds[k - 1] = rkAppendChr;
        i = k + 1;
    }
}

void TVMachine::PushAppendLater(TVarInfo* v, size_t depth)
{
    PushSlot(sdMarker).value.marker = tkVar;
    PushSlot(sdVar).value.var = v;
    PushCopiedString(v->StringValues()[0], v->ScalarTextAscii);
    std::rotate(ValueStack.begin() + depth, ValueStack.end() - 3, ValueStack.end());
}

size_t TVMachine::CheckAppendRoom(const std::string& text, size_t tailSize)
{
    const size_t length = text.size() + tailSize;
    if (length <= text.capacity()) return 0;
    const size_t room = length + kept_text::Slack(length);
    CheckNewBlock(kept_text::HeldFor(room), 0);
    return room;
}

void TVMachine::AppendKept(std::string& text, std::string_view tail, size_t room)
{
    if (room == 0) {
        text.append(tail);
        return;
    }
    ChargeText(kept_text::Held(text), kept_text::HeldFor(room));
    std::string grown = kept_text::WithRoom(text, room);
    grown.append(tail);
    text.swap(grown);
}

void TVMachine::AppendToText(TVarInfo* x, std::string_view tail, bool tailAscii)
{
    std::string& text = x->StringValues()[0];
    const size_t room = CheckAppendRoom(text, tail.size());
    NoteVarAccess(0, x, 0);
    const bool ascii = x->ScalarTextAscii && (tailAscii || text_measure::is_ascii(tail));
    AppendKept(text, tail, room);
    x->ScalarTextAscii = ascii || text_measure::is_ascii(text);
}

// CHR$ of the number on top, appended to X's text in place of both; false, with
// nothing done, when the number is no character code.
bool TVMachine::AppendChrToText(TVarInfo* x)
{
    const TStackData& top = ValueStack.back();
    if (!top.IsNumber()) return false;
    const int32_t code = StackInt(top);
    if (code < 0 || code > 0xFF) return false;
    ValueStack.DropPlain(1);
    std::string character;  // a byte or a kana: within the string's own room
    AppendChrDl(character, code);
    AppendToText(x, character, code < 0x80);
    return true;
}

void TVMachine::PushInstrOfTexts(const TVarInfo* x, const TVarInfo* y, bool characters)
{
    PushInt(InstrPosition(x->StringValues()[0], y->StringValues()[0], 1, characters, x->ScalarTextAscii));
}

// The joined text is made once, at its full length, and moves into X; X's old text is
// freed, never copied. When X is A the text of B is appended to X's own, which grows
// in place or moves once.
void TVMachine::JoinPlainTexts(TVarInfo* x, const TVarInfo* a, const TVarInfo* b)
{
    std::string& text = x->StringValues()[0];
    const std::string& left = a->StringValues()[0];
    const std::string& right = b->StringValues()[0];
    const bool ascii = a->ScalarTextAscii && b->ScalarTextAscii;
    if (&text == &left) {
        const size_t room = CheckAppendRoom(text, right.size());
        NoteVarAccess(0, x, 0);
        AppendKept(text, right, room);
    } else {
        // The new string is made while X's old one is still held.
        const size_t length = left.size() + right.size();
        CheckNewBlock(kept_text::HeldFor(length), 0);
        NoteVarAccess(0, x, 0);
        ChargeText(kept_text::Held(text), kept_text::HeldFor(length));
        std::string joined = kept_text::WithRoom(left, length);
        joined.append(right);
        text.swap(joined);
    }
    x->ScalarTextAscii = ascii || text_measure::is_ascii(text);
}

// A(J) and A(J+c) (also -, * and a constant of any type), for a one-dimensional
// array A and a plain numeric variable J: the start marker, J's value, the constant
// and its operator, and the element's read. The block finds the element from J's
// value without the stack; a subscript the loop's own read of an element would not
// take sends the codes to run one by one.
void TVMachine::PrepareElementReads(const std::vector<bool>& landing)
{
    const std::vector<TVMCode>& codes = MidCode->Codes;
    const size_t n = codes.size();
    for (size_t i = 1; i + 3 < n; ++i) {
        if (RunKinds[i] != rkPushSpecial || !is_var_ref_marker(codes[i]) || RunKinds[i + 1] != rkLoadPlainVar) continue;
        if (codes[i + 2].Operand.Var->VarType == tkString) continue;
        size_t k = i + 3;
        if (k + 2 < n && is_constant_kind(RunKinds[k]) && is_constant_operator_kind(RunKinds[k + 1])) k += 2;
        if (RunKinds[k] != rkLoadArray || codes[k].Operand.Var == nullptr) continue;
        if (lands_within(landing, i + 1, k)) continue;
        RunKinds[i] = rkLoadElement;
        RunTargets[i] = static_cast<int32_t>(k);
    }
}

// A(J) = <value> and A(J <op> n) = <value> for a numeric array A, where J is a plain
// variable, n a constant and the value made by codes that change no variable (pushes,
// plain variables, elements read as rkLoadElement reads them, the arithmetic kinds,
// the functions of numbers): the marker, J's value and the array's reference are left
// off the stack. The block at the marker (rkStoreElementRef) finds the element, and
// the store (rkStoreElement) writes the value there. Should the loop leave the codes between for the interrupt
// service, it pushes the reference first, where it would lie, and the store runs as
// usual. Any subscript the block does not find on its own runs code by code.
void TVMachine::PrepareElementStores(const std::vector<bool>& landing)
{
    const std::vector<TVMCode>& codes = MidCode->Codes;
    const size_t n = codes.size();
    const auto value_step = [&](size_t k, size_t depth, int& change, size_t& width) {
        if (const int operands = NumberFunctionAt(k); operands != 0) {
            change = 1 - operands;
            width = 1;
            return depth >= static_cast<size_t>(operands);
        }
        if (RunKinds[k] != rkLoadElement) return operand_code_step(RunKinds[k], depth, change, width);
        change = 1;
        width = static_cast<size_t>(RunTargets[k]) - k + 1;
        return true;
    };
    for (size_t i = 1; i + 4 < n; ++i) {
        if (RunKinds[i] != rkPushSpecial || !is_var_ref_marker(codes[i]) || RunKinds[i + 1] != rkLoadPlainVar) continue;
        if (codes[i + 2].Operand.Var->VarType == tkString) continue;
        size_t j = i + 3;
        if (j + 2 < n && RunKinds[j] == rkPushInt && is_constant_operator_kind(RunKinds[j + 1])) j += 2;
        if (RunKinds[j] != rkPushVar || codes[j].Operand.Var == nullptr || codes[j].Operand.Var->VarType == tkString)
            continue;
        size_t k = j + 1;
        size_t depth = 0;
        int change;
        for (size_t width; k < n && value_step(k, depth, change, width); k += width)
            depth = static_cast<size_t>(static_cast<int>(depth) + change);
        if (depth != 1 || k >= n || RunKinds[k] != rkAssignArray || lands_within(landing, i + 1, k)) continue;
        RunKinds[i] = rkStoreElementRef;
        RunTargets[i] = static_cast<int32_t>(j);
        RunKinds[k] = rkStoreElement;
        i = k;
    }
}

void TVMachine::PushElementRefLater(TVarInfo* array, int32_t element, size_t depth)
{
    PushSlot(sdMarker).value.marker = tkVar;
    PushInt(element - 1);
    PushSlot(sdVar).value.var = array;
    std::rotate(ValueStack.begin() + depth, ValueStack.end() - 3, ValueStack.end());
}

void TVMachine::PushTextReadLater(const TVarInfo* v, size_t depth)
{
    PushCopiedString(v->StringValues()[0], v->ScalarTextAscii);
    std::rotate(ValueStack.begin() + depth, ValueStack.end() - 1, ValueStack.end());
}

template <typename Fusable>
void TVMachine::PrepareForLoops(const Fusable& fusable)
{
    const std::vector<TVMCode>& codes = MidCode->Codes;
    ForLoops.clear();
    for (size_t i = 1; i < codes.size(); ++i) {
        TForLoop loop;
        if (!MatchForLoop(i, loop)) continue;
        bool all = true;
        for (size_t k = i; k <= static_cast<size_t>(loop.last); ++k) all = all && fusable(codes[k].Cmd);
        if (!all) continue;
        const auto index = static_cast<int32_t>(ForLoops.size());
        ForLoops.push_back(loop);
        RunKinds[i] = rkForStep;
        RunTargets[i] = index;
        RunKinds[static_cast<size_t>(loop.test)] = rkForTest;
        RunTargets[static_cast<size_t>(loop.test)] = index;
    }
}

// Every label text among the operands, keyed by its address: the jumps that take
// their target from the stack (IF, FOR, ON) find it without searching LabelMap.
// The address identifies the text because the operand texts live as long as the
// program, which does not change while it runs.
void TVMachine::PrepareOperandLabels(size_t expected)
{
    const size_t size = operand_label_slots(expected);
    OperandLabels.assign(size, TOperandLabel{});
    OperandLabelMask = size - 1;
    const std::vector<TVMCode>& codes = MidCode->Codes;
    for (size_t i = 0; i < codes.size(); ++i) {
        CheckPrepareStop(i);
        const TVMCode& code = codes[i];
        if (code.Cmd != vcBPushString || code.Operand.Text == nullptr) continue;
        const int32_t index = StaticJumpTarget(code);
        if (index == 0) continue;
        size_t slot = label_slot(code.Operand.Text, OperandLabelMask);
        while (OperandLabels[slot].text != nullptr && OperandLabels[slot].text != code.Operand.Text)
            slot = (slot + 1) & OperandLabelMask;
        OperandLabels[slot] = TOperandLabel{code.Operand.Text, index};
    }
}

int32_t TVMachine::FindOperandLabel(const char* text) const
{
    if (OperandLabels.empty()) return 0;
    for (size_t slot = label_slot(text, OperandLabelMask);; slot = (slot + 1) & OperandLabelMask) {
        const TOperandLabel& entry = OperandLabels[slot];
        if (entry.text == text) return entry.index;
        if (entry.text == nullptr) return 0;
    }
}

// The two operands of a binary operator, left below right; an internal error when
// the stack holds fewer, as the pops of the operator's handler would raise.
TStackData& TVMachine::LeftOperand()
{
    if (ValueStack.size() < 2) [[unlikely]]
        ThrowStackEmpty();
    return ValueStack.FromTop(1);
}

// left <op> c, where the code `constant` of kind `constantKind` pushes c and op is one
// of the arithmetic kinds but division, computed as the operator's kind computes it.
void TVMachine::ApplyConstantOperator(const TStackData& left, uint8_t constantKind, const TVMCode& constant, uint8_t op,
                                      TStackData& result) const
{
    // Values are written field by field: a whole-value copy after a narrower
    // write would stall on the store.
    TStackData right;
    switch (constantKind) {
    case rkPushInt:
        right.type = sdLong;
        right.value.l = constant.Operand.Long;
        break;
    case rkPushSingle:
        right.type = sdSingle;
        right.value.f = constant.Operand.Single;
        break;
    default:
        right.type = sdDouble;
        right.value.d = constant.Operand.Double;
        break;
    }
    switch (op) {
    case rkAddInt:
    case rkSubInt:
    case rkMulInt: {
        const int32_t a = StackInt(left);
        const int32_t b = StackInt(right);
        result.type = sdLong;
        result.value.l = op == rkAddInt ? wrap_add(a, b) : op == rkSubInt ? wrap_sub(a, b) : wrap_mul(a, b);
        break;
    }
    case rkAddSingle:
    case rkSubSingle:
    case rkMulSingle: {
        const float a = StackFloat(left);
        const float b = StackFloat(right);
        result.type = sdSingle;
        result.value.f = op == rkAddSingle ? a + b : op == rkSubSingle ? a - b : a * b;
        break;
    }
    default: {
        const double a = StackDouble(left);
        const double b = StackDouble(right);
        result.type = sdDouble;
        result.value.d = op == rkAddDouble ? a + b : op == rkSubDouble ? a - b : a * b;
        break;
    }
    }
}

// GCC and Clang take the address of a label; the loop then jumps from kind to kind
// through a table of them.
#if defined(__GNUC__)
#define KIVO_THREADED_DISPATCH 1
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpedantic"
#else
#define KIVO_THREADED_DISPATCH 0
#endif

void TVMachine::RunLoop()
{
    const TVMCode* const base = MidCode->Codes.data();
    const TVMCode* const end = base + MidCode->Codes.size();
    const uint8_t* const kinds = RunKinds.data();
    const int32_t* const targets = RunTargets.data();
    const char* const* const jumpLabels = RunJumpLabels.data();
    const TForLoop* const loops = ForLoops.data();
    const THandler* const handlers = RunHandlers.data();
    // The code being run; null while a handler or the interrupt service owns PC, so
    // that a failure leaves PC where they left it. kp is its entry in the run kinds,
    // moved along with it.
    const TVMCode* pc = PC;
    const uint8_t* kp = kinds + (pc - base);
    // A string variable whose text rkStringFunc reads in place, and the stack depth at
    // which its read would have pushed it.
    const TVarInfo* textReadLater = nullptr;
    size_t textDepth = 0;
    // The variable of an append whose reference and value rkAppendLater left off the
    // stack, and the depth at which they would lie.
    TVarInfo* appendLater = nullptr;
    size_t appendDepth = 0;
    // The array and element of an assignment whose reference rkStoreElementRef left
    // off the stack, and the depth at which it would lie.
    TVarInfo* storeArray = nullptr;
    int32_t storeElement = 0;
    size_t storeDepth = 0;
    // Pushes what was left off, the text read first: it lies above the append's.
#define KIVO_PUSH_LEFT_OFF()                                                                                           \
    {                                                                                                                  \
        if (textReadLater != nullptr) {                                                                                \
            PushTextReadLater(textReadLater, textDepth);                                                               \
            textReadLater = nullptr;                                                                                   \
        }                                                                                                              \
        if (appendLater != nullptr) {                                                                                  \
            PushAppendLater(appendLater, appendDepth);                                                                 \
            appendLater = nullptr;                                                                                     \
        }                                                                                                              \
        if (storeArray != nullptr) {                                                                                   \
            PushElementRefLater(storeArray, storeElement, storeDepth);                                                 \
            storeArray = nullptr;                                                                                      \
        }                                                                                                              \
    }

#if KIVO_THREADED_DISPATCH
    // Each kind's body; the entries a code reaches from the one before it (a line
    // beginning reads the interrupt word first); and the entries while speed control
    // is on, all of which read it.
#define KIVO_BODY(kind) &&body_##kind,
#define KIVO_ENTRY(kind) (kind == rkLineBegin ? &&poll : &&body_##kind),
#define KIVO_POLL_ENTRY(kind) &&poll,
    static const void* const bodies[] = {KIVO_RUN_KINDS(KIVO_BODY)};
    static const void* const entries[] = {KIVO_RUN_KINDS(KIVO_ENTRY)};
    static const void* const pollingEntries[] = {KIVO_RUN_KINDS(KIVO_POLL_ENTRY)};
#undef KIVO_BODY
#undef KIVO_ENTRY
#undef KIVO_POLL_ENTRY
    const void* const* dispatch = entries;
#define KIVO_DISPATCH() goto* dispatch[*kp]
#define KIVO_RUN_BODY() goto* bodies[*kp]
#define KIVO_SET_POLLING(on) dispatch = (on) ? pollingEntries : entries
#else
    bool pollingAll = false;
#define KIVO_DISPATCH()                                                                                                \
    {                                                                                                                  \
        if (pollingAll || *kp == rkLineBegin) goto poll;                                                               \
        goto run_body;                                                                                                 \
    }
#define KIVO_RUN_BODY() goto run_body
#define KIVO_SET_POLLING(on) pollingAll = (on)
#endif
    // On to the next code, or to code `index` after a jump.
#define KIVO_NEXT()                                                                                                    \
    {                                                                                                                  \
        ++pc;                                                                                                          \
        ++kp;                                                                                                          \
        KIVO_DISPATCH();                                                                                               \
    }
#define KIVO_JUMP_TO(index)                                                                                            \
    {                                                                                                                  \
        pc = base + (index);                                                                                           \
        kp = kinds + (index);                                                                                          \
        goto poll;                                                                                                     \
    }

    // Binary operators: the result takes the left operand's place.
#define KIVO_INT_OP(expr)                                                                                              \
    {                                                                                                                  \
        TStackData& l = LeftOperand();                                                                                 \
        const int32_t a = StackInt(l);                                                                                 \
        const int32_t b = StackInt(ValueStack.back());                                                                 \
        ValueStack.pop_back();                                                                                         \
        l.SetLong(expr);                                                                                               \
        KIVO_NEXT();                                                                                                   \
    }
#define KIVO_FLOAT_OP(Type, Stack, Set, expr, zeroCheck)                                                               \
    {                                                                                                                  \
        TStackData& l = LeftOperand();                                                                                 \
        const Type a = Stack(l);                                                                                       \
        const Type b = Stack(ValueStack.back());                                                                       \
        zeroCheck;                                                                                                     \
        ValueStack.pop_back();                                                                                         \
        l.Set(expr);                                                                                                   \
        KIVO_NEXT();                                                                                                   \
    }
#define KIVO_DIV_CHECK                                                                                                 \
    if (b == 0) throw RuntimeException2(RTE_DIV_BY_ZERO)
    // \ and MOD: a zero divisor fails with both operands popped, as in their handler.
#define KIVO_INT_DIV_OP(expr)                                                                                          \
    {                                                                                                                  \
        TStackData& l = LeftOperand();                                                                                 \
        const int32_t a = StackInt(l);                                                                                 \
        const int32_t b = StackInt(ValueStack.back());                                                                 \
        ValueStack.pop_back();                                                                                         \
        if (b == 0) [[unlikely]] {                                                                                     \
            ValueStack.pop_back();                                                                                     \
            throw RuntimeException2(RTE_DIV_BY_ZERO);                                                                  \
        }                                                                                                              \
        l.SetLong(expr);                                                                                               \
        KIVO_NEXT();                                                                                                   \
    }
    // A handler (or the interrupt service) runs with PC in the member; the loop then
    // goes on from wherever it left PC, and ends when that is past the last code.
#define KIVO_HAND_OVER(call)                                                                                           \
    {                                                                                                                  \
        PC = pc;                                                                                                       \
        pc = nullptr;                                                                                                  \
        call;                                                                                                          \
        pc = PC;                                                                                                       \
        if (pc >= end) goto finished;                                                                                  \
        kp = kinds + (pc - base);                                                                                      \
    }
    // After a handler: on to the code after the one PC is at, reading the interrupt
    // word first.
#define KIVO_HAND_OVER_AND_GO_ON(call)                                                                                 \
    {                                                                                                                  \
        KIVO_HAND_OVER(call);                                                                                          \
        ++pc;                                                                                                          \
        ++kp;                                                                                                          \
        goto poll;                                                                                                     \
    }
    // A conditional jump whose label is on top of the stack: the label's code index
    // when it is the one expected, else ChangePC's lookup.
#define KIVO_FALSE_JUMP()                                                                                              \
    {                                                                                                                  \
        const TStackData& target = Top();                                                                              \
        const size_t at = static_cast<size_t>(kp - kinds);                                                             \
        if (target.type == sdString && !target.owned && target.value.text == jumpLabels[at]) {                         \
            const int32_t index = targets[at];                                                                         \
            ValueStack.pop_back();                                                                                     \
            KIVO_JUMP_TO(index);                                                                                       \
        }                                                                                                              \
        KIVO_HAND_OVER(ChangePC(target));                                                                              \
        ValueStack.pop_back();                                                                                         \
        ++pc;                                                                                                          \
        ++kp;                                                                                                          \
        goto poll;                                                                                                     \
    }

    try {
        if (pc >= end) goto finished;
        goto poll;

    poll:
        // Before the code at pc: events, a stop request, speed control.
        if (IrRequest.load(std::memory_order_acquire) != 0) [[unlikely]] {
            // Past the last code the run is over: no event is let in there.
            if (pc >= end) goto finished;
            KIVO_PUSH_LEFT_OFF();
            KIVO_HAND_OVER(Interrupt());
            KIVO_SET_POLLING((IrRequest.load(std::memory_order_acquire) & IR_SPEED_CONTROL) != 0);
        } else {
            KIVO_SET_POLLING(false);
        }
        KIVO_RUN_BODY();

#if !KIVO_THREADED_DISPATCH
    run_body:
        switch (*kp) {
#define KIVO_CASE(kind)                                                                                                \
    case kind: goto body_##kind;
            KIVO_RUN_KINDS(KIVO_CASE)
#undef KIVO_CASE
        }
        goto finished;
#endif

    body_rkLineBegin:
        CurLineNum = pc->Operand.Long;
        KIVO_NEXT();
    body_rkPushInt:
        PushInt(pc->Operand.Long);
        KIVO_NEXT();
    body_rkPushSingle:
        PushFloat(pc->Operand.Single);
        KIVO_NEXT();
    body_rkPushDouble:
        PushDouble(pc->Operand.Double);
        KIVO_NEXT();
    body_rkPushString:
        PushBorrowedString(pc->Operand.Text);
        KIVO_NEXT();
    body_rkPushVar:
        PushSlot(sdVar).value.var = pc->Operand.Var;
        KIVO_NEXT();
    body_rkPushSpecial:
        PushSlot(sdMarker).value.marker = static_cast<uint32_t>(pc->Operand.Long);
        KIVO_NEXT();
    body_rkLoadPlainVar:
        // The marker would be pushed and popped again: a plain variable is element 0.
        ++pc;
        ++kp;
        PushElementInline(pc->Operand.Var, 0);
        KIVO_NEXT();
    body_rkPushVarRef:
        PushSlot(sdMarker).value.marker = static_cast<uint32_t>(pc->Operand.Long);
        ++pc;
        ++kp;
        PushSlot(sdVar).value.var = pc->Operand.Var;
        KIVO_NEXT();
    body_rkAssignArray : {
        // A plain variable: the value, the variable and its start marker on top.
        if (ValueStack.size() >= 3) {
            const TStackData& ref = ValueStack.FromTop(1);
            if (ref.type == sdVar && ref.value.var != nullptr && IsVarRefStart(ValueStack.FromTop(2))) {
                TVarInfo* v = ref.value.var;
                NoteVarAccess(0, v, 0);
                StoreElementInline(v, 0, ValueStack.back());
                ValueStack.pop_back();
                ValueStack.DropPlain(2);
                KIVO_NEXT();
            }
        }
        // An element of a one-dimensional array: the value, the variable, one
        // subscript and the start marker.
        if (ValueStack.size() >= 4) {
            const TStackData& ref = ValueStack.FromTop(1);
            if (ref.type == sdVar && ref.value.var != nullptr && IsVarRefStart(ValueStack.FromTop(3))) {
                TVarInfo* v = ref.value.var;
                const int32_t element = OneSubscriptElement(v, ValueStack.FromTop(2));
                if (element != 0) {
                    NoteVarAccess(0, v, element);
                    StoreElementInline(v, element, ValueStack.back());
                    ValueStack.pop_back();
                    ValueStack.DropPlain(1);
                    ValueStack.pop_back();
                    ValueStack.DropPlain(1);
                    KIVO_NEXT();
                }
            }
        }
        KIVO_HAND_OVER_AND_GO_ON(ExeBasicBAssignArray(PC));
    }
    body_rkLoadArray : {
        // An element of a one-dimensional array: one subscript and the start marker.
        const TVarInfo* v = pc->Operand.Var;
        if (v != nullptr && ValueStack.size() >= 2 && IsVarRefStart(ValueStack.FromTop(1))) {
            const int32_t element = OneSubscriptElement(v, ValueStack.back());
            if (element != 0) {
                ValueStack.pop_back();
                ValueStack.DropPlain(1);
                PushElementInline(v, element);
                KIVO_NEXT();
            }
        }
        KIVO_HAND_OVER_AND_GO_ON(ExeBasicBLoadArray(PC));
    }
    body_rkJump:
        // The target is never pushed, but a full stack fails here as its push would.
        if (ValueStack.Full()) [[unlikely]]
            GrowValueStack();
        KIVO_JUMP_TO(targets[kp - kinds]);
    body_rkCall:
        // The return position is the code after vcBCall, the second of the pair.
        PushSlot(sdReturn).value.ret = static_cast<int32_t>(kp - kinds + 2);
        KIVO_JUMP_TO(targets[kp - kinds]);
    body_rkFJmp : {
        const int32_t condition = PopInt();
        if (condition == 0) KIVO_FALSE_JUMP();
        Top();
        ValueStack.pop_back();
        KIVO_NEXT();
    }
    body_rkCmpForFJmp : {
        const double step = PopDouble();
        const double limit = PopDouble();
        const double value = PopDouble();
        const bool goesOn = step >= 0 ? value <= limit : value >= limit;
        ++pc;
        ++kp;
        if (!goesOn) KIVO_FALSE_JUMP();
        Top();
        ValueStack.pop_back();
        KIVO_NEXT();
    }
    // A comparison and the jump that takes its result.
#define KIVO_COMPARE_FJMP(Pop, op)                                                                                     \
    {                                                                                                                  \
        const auto r = Pop();                                                                                          \
        const auto l = Pop();                                                                                          \
        const bool holds = l op r;                                                                                     \
        ++pc;                                                                                                          \
        ++kp;                                                                                                          \
        if (!holds) KIVO_FALSE_JUMP();                                                                                 \
        Top();                                                                                                         \
        ValueStack.pop_back();                                                                                         \
        KIVO_NEXT();                                                                                                   \
    }
    body_rkEqualIntFJmp:
        KIVO_COMPARE_FJMP(PopInt, ==)
    body_rkNoteqIntFJmp:
        KIVO_COMPARE_FJMP(PopInt, !=)
    body_rkLtIntFJmp:
        KIVO_COMPARE_FJMP(PopInt, <)
    body_rkLeIntFJmp:
        KIVO_COMPARE_FJMP(PopInt, <=)
    body_rkGtIntFJmp:
        KIVO_COMPARE_FJMP(PopInt, >)
    body_rkGeIntFJmp:
        KIVO_COMPARE_FJMP(PopInt, >=)
    body_rkEqualSingleFJmp:
        KIVO_COMPARE_FJMP(PopFloat, ==)
    body_rkNoteqSingleFJmp:
        KIVO_COMPARE_FJMP(PopFloat, !=)
    body_rkLtSingleFJmp:
        KIVO_COMPARE_FJMP(PopFloat, <)
    body_rkLeSingleFJmp:
        KIVO_COMPARE_FJMP(PopFloat, <=)
    body_rkGtSingleFJmp:
        KIVO_COMPARE_FJMP(PopFloat, >)
    body_rkGeSingleFJmp:
        KIVO_COMPARE_FJMP(PopFloat, >=)
    body_rkEqualDoubleFJmp:
        KIVO_COMPARE_FJMP(PopDouble, ==)
    body_rkNoteqDoubleFJmp:
        KIVO_COMPARE_FJMP(PopDouble, !=)
    body_rkLtDoubleFJmp:
        KIVO_COMPARE_FJMP(PopDouble, <)
    body_rkLeDoubleFJmp:
        KIVO_COMPARE_FJMP(PopDouble, <=)
    body_rkGtDoubleFJmp:
        KIVO_COMPARE_FJMP(PopDouble, >)
    body_rkGeDoubleFJmp:
        KIVO_COMPARE_FJMP(PopDouble, >=)
#undef KIVO_COMPARE_FJMP
    body_rkAddInt:
        KIVO_INT_OP(wrap_add(a, b))
    body_rkSubInt:
        KIVO_INT_OP(wrap_sub(a, b))
    body_rkMulInt:
        KIVO_INT_OP(wrap_mul(a, b))
    body_rkAddSingle:
        KIVO_FLOAT_OP(float, StackFloat, SetSingle, a + b, )
    body_rkSubSingle:
        KIVO_FLOAT_OP(float, StackFloat, SetSingle, a - b, )
    body_rkMulSingle:
        KIVO_FLOAT_OP(float, StackFloat, SetSingle, a* b, )
    body_rkDivSingle:
        KIVO_FLOAT_OP(float, StackFloat, SetSingle, a / b, KIVO_DIV_CHECK)
    body_rkAddDouble:
        KIVO_FLOAT_OP(double, StackDouble, SetDouble, a + b, )
    body_rkSubDouble:
        KIVO_FLOAT_OP(double, StackDouble, SetDouble, a - b, )
    body_rkMulDouble:
        KIVO_FLOAT_OP(double, StackDouble, SetDouble, a* b, )
    body_rkDivDouble:
        KIVO_FLOAT_OP(double, StackDouble, SetDouble, a / b, KIVO_DIV_CHECK)
    body_rkIdivInt:
        KIVO_INT_DIV_OP(b == -1 ? wrap_sub(0, a) : a / b)
    body_rkModInt:
        KIVO_INT_DIV_OP(b == -1 ? 0 : a % b)
    body_rkForStep : {
        // v = v + step as vcBAddDouble and vcBAssignArray do it, then the test.
        const TForLoop& loop = loops[targets[kp - kinds]];
        double value;
        double step;
        // The codes would push up to six entries: near the stack's limit they run
        // one by one, and fail as they fail.
        if (ValueStack.size() + 6 > VALUE_STACK_LIMIT || !ForNumber(loop.var, value) ||
            !ForOperandValue(loop.step, step)) [[unlikely]]
            goto body_rkPushVarRef;
        NoteVarAccess(0, loop.var, 0);
        value = StoreForNumber(loop.var, value + step);
        // The test, with the step just read: nothing between could change it.
        double limit;
        if (!ForOperandValue(loop.limit, limit)) [[unlikely]] {
            pc = base + loop.test;
            kp = kinds + loop.test;
            goto body_rkForTest;
        }
        const int32_t next = (step >= 0 ? value <= limit : value >= limit) ? loop.last + 1 : loop.exit;
        pc = base + next;
        kp = kinds + next;
        if (pc >= end) goto finished;
        KIVO_DISPATCH();
    }
    body_rkForTest : {
        const TForLoop& loop = loops[targets[kp - kinds]];
        double value;
        double limit;
        double step;
        if (ValueStack.size() + 6 > VALUE_STACK_LIMIT || !ForNumber(loop.var, value) ||
            !ForOperandValue(loop.limit, limit) || !ForOperandValue(loop.step, step)) [[unlikely]]
            goto body_rkPushString;
        const bool goesOn = step >= 0 ? value <= limit : value >= limit;
        const int32_t next = goesOn ? loop.last + 1 : loop.exit;
        pc = base + next;
        kp = kinds + next;
        // Past the last code only when the loop ends the program.
        if (pc >= end) goto finished;
        KIVO_DISPATCH();
    }
    body_rkSkipVarRef:
        if (ValueStack.size() + 2 > VALUE_STACK_LIMIT) [[unlikely]]
            goto body_rkPushVarRef;
        pc += 2;
        kp += 2;
        KIVO_DISPATCH();
    body_rkStorePlain : {
        // The reference's vcBPushVar names the variable.
        TVarInfo* v = base[targets[kp - kinds]].Operand.Var;
        if (ValueStack.size() >= 3 && ValueStack.FromTop(1).type == sdVar) [[unlikely]]
            goto body_rkAssignArray;  // the reference was pushed
        TStackData& value = Top();
        NoteVarAccess(0, v, 0);
        StoreElementInline(v, 0, value);
        ValueStack.pop_back();
        KIVO_NEXT();
    }
    body_rkReturn : {
        // Back to the position on top, when nothing lies above it and no trap
        // subroutine is open; everything else is the handler's.
        if (OperandFlag(pc) && !ValueStack.empty() && ValueStack.back().type == sdReturn && IrInfoStack.empty()) {
            const int32_t index = ValueStack.back().value.ret;
            if (index >= 1 && static_cast<size_t>(index) <= MidCode->Codes.size()) {
                ValueStack.DropPlain(1);
                KIVO_JUMP_TO(index);
            }
        }
        goto body_rkGeneric;
    }
    body_rkUpdatePlain : {
        // The codes: the reference (two), the variable's value (two), the constant,
        // the operator and the store. The values live in a scope of their own, which
        // the indirect jump at the end does not leave.
        TVarInfo* v = pc[1].Operand.Var;
        // The usual counters, X = X + n or X = X - n with a whole number n: the sum
        // computed as the operator computes it, straight into the variable.
        if (kp[4] == rkPushInt && v->ElemCount >= 1 && ValueStack.size() + 3 <= VALUE_STACK_LIMIT) {
            const int32_t n = pc[4].Operand.Long;
            using K = TVarInfo::TBlockKind;
            if ((kp[5] == rkAddSingle || kp[5] == rkSubSingle) && v->BlockKind() == K::Single) {
                float& x = v->SingleValues()[0];
                const float sum = kp[5] == rkAddSingle ? x + static_cast<float>(n) : x - static_cast<float>(n);
                NoteVarAccess(0, v, 0);
                x = sum;
                pc += 7;
                kp += 7;
                KIVO_DISPATCH();
            }
            if ((kp[5] == rkAddInt || kp[5] == rkSubInt) && v->BlockKind() == K::Int) {
                int32_t& x = v->IntValues()[0];
                const int32_t sum = kp[5] == rkAddInt ? wrap_add(x, n) : wrap_sub(x, n);
                NoteVarAccess(0, v, 0);
                x = sum;
                pc += 7;
                kp += 7;
                KIVO_DISPATCH();
            }
        }
        {
            TStackData left;
            if (ValueStack.size() + 3 > VALUE_STACK_LIMIT || !ForValue(TForValue{v}, left)) [[unlikely]]
                goto body_rkSkipVarRef;
            TStackData result;
            ApplyConstantOperator(left, kp[4], pc[4], kp[5], result);
            NoteVarAccess(0, v, 0);
            StoreElementInline(v, 0, result);
        }
        pc += 7;
        kp += 7;
        KIVO_DISPATCH();
    }

    body_rkUpdateByVar : {
        // The codes: the reference, X's value and Y's (two each), the operator and
        // the store. Two whole-number or two single-precision variables; any other
        // pair runs code by code.
        TVarInfo* v = pc[1].Operand.Var;
        const TVarInfo* y = pc[5].Operand.Var;
        if (v->ElemCount >= 1 && y->ElemCount >= 1 && ValueStack.size() + 4 <= VALUE_STACK_LIMIT) {
            using K = TVarInfo::TBlockKind;
            const uint8_t op = kp[6];
            if ((op == rkAddInt || op == rkSubInt) && v->BlockKind() == K::Int && y->BlockKind() == K::Int) {
                int32_t& x = v->IntValues()[0];
                const int32_t n = y->IntValues()[0];
                const int32_t sum = op == rkAddInt ? wrap_add(x, n) : wrap_sub(x, n);
                NoteVarAccess(0, v, 0);
                x = sum;
                pc += 8;
                kp += 8;
                KIVO_DISPATCH();
            }
            if ((op == rkAddSingle || op == rkSubSingle) && v->BlockKind() == K::Single &&
                y->BlockKind() == K::Single) {
                float& x = v->SingleValues()[0];
                const float n = y->SingleValues()[0];
                const float sum = op == rkAddSingle ? x + n : x - n;
                NoteVarAccess(0, v, 0);
                x = sum;
                pc += 8;
                kp += 8;
                KIVO_DISPATCH();
            }
        }
        goto body_rkSkipVarRef;
    }
    body_rkLoadElement : {
        // The codes: the marker, J's value (two), then either the read of the element
        // or the constant, its operator and the read.
        const size_t last = static_cast<size_t>(targets[kp - kinds]);
        const TVarInfo* array = base[last].Operand.Var;
        int32_t element;
        // The usual subscripts first: J, J + n or J - n.
        if (ValueStack.size() + 3 <= VALUE_STACK_LIMIT) {
            const bool alone = base + last == pc + 3;
            if (alone || kp[3] == rkPushInt) {
                element = quick_element(array, pc[2].Operand.Var, alone ? static_cast<uint8_t>(rkGeneric) : kp[4],
                                        alone ? 0 : pc[3].Operand.Long, Rsrc->OptionBase);
                if (element != 0) {
                    PushElementInline(array, element);
                    pc = base + last;
                    kp = kinds + last;
                    KIVO_NEXT();
                }
            }
        }
        {
            TStackData subscript;
            if (ValueStack.size() + 3 > VALUE_STACK_LIMIT || !ForValue(TForValue{pc[2].Operand.Var}, subscript))
                [[unlikely]]
                goto body_rkPushSpecial;
            TStackData sum;
            if (base + last != pc + 3) ApplyConstantOperator(subscript, kp[3], pc[3], kp[4], sum);
            // Never copied whole: a copy after a narrower write would stall on the store.
            element = OneSubscriptElement(array, base + last != pc + 3 ? sum : subscript);
        }
        if (element == 0) [[unlikely]]
            goto body_rkPushSpecial;
        PushElementInline(array, element);
        pc = base + last;
        kp = kinds + last;
        KIVO_NEXT();
    }
    body_rkStoreElementRef : {
        // The codes: the marker, J's value (two), maybe a constant and its operator,
        // then the array's reference.
        const size_t ref = static_cast<size_t>(targets[kp - kinds]);
        TVarInfo* array = base[ref].Operand.Var;
        if (storeArray == nullptr && ValueStack.size() + 4 <= VALUE_STACK_LIMIT) {
            const bool alone = base + ref == pc + 3;
            const int32_t element =
                quick_element(array, pc[2].Operand.Var, alone ? static_cast<uint8_t>(rkGeneric) : kp[4],
                              alone ? 0 : pc[3].Operand.Long, Rsrc->OptionBase);
            if (element != 0) {
                storeArray = array;
                storeElement = element;
                storeDepth = ValueStack.size();
                pc = base + ref;
                kp = kinds + ref;
                KIVO_NEXT();
            }
        }
        goto body_rkPushSpecial;
    }
    body_rkStoreElement:
        // The value is the only entry above where the reference would lie.
        if (storeArray != nullptr && ValueStack.size() == storeDepth + 1) {
            TVarInfo* v = storeArray;
            storeArray = nullptr;
            NoteVarAccess(0, v, storeElement);
            StoreElementInline(v, storeElement, ValueStack.back());
            ValueStack.pop_back();
            KIVO_NEXT();
        }
        goto body_rkAssignArray;
    body_rkAppendPlain : {
        // The text is joined to the variable's own: its value is never copied out.
        TVarInfo* v = pc[1].Operand.Var;
        if (v->ElemCount < 1 || v->StringValues() == nullptr || ValueStack.size() + 5 > VALUE_STACK_LIMIT) [[unlikely]]
            goto body_rkPushVarRef;
        std::string& text = v->StringValues()[0];
        const std::string_view tail = pc[4].Operand.Text != nullptr ? pc[4].Operand.Text : "";
        const size_t room = CheckAppendRoom(text, tail.size());
        NoteVarAccess(0, v, 0);
        AppendKept(text, tail, room);
        v->ScalarTextAscii = v->ScalarTextAscii && targets[kp - kinds] != 0;
        pc += 7;
        kp += 7;
        KIVO_DISPATCH();
    }
    body_rkJoinPlain : {
        // The codes: the reference, A$'s value and B$'s (two each), + and the store.
        TVarInfo* v = pc[1].Operand.Var;
        const TVarInfo* a = pc[3].Operand.Var;
        const TVarInfo* b = pc[5].Operand.Var;
        if (v->ElemCount < 1 || v->StringValues() == nullptr || a->ElemCount < 1 || a->StringValues() == nullptr ||
            b->ElemCount < 1 || b->StringValues() == nullptr || ValueStack.size() + 4 > VALUE_STACK_LIMIT) [[unlikely]]
            goto body_rkPushVarRef;
        JoinPlainTexts(v, a, b);
        pc += 8;
        kp += 8;
        KIVO_DISPATCH();
    }
    body_rkAppendLater : {
        TVarInfo* v = pc[1].Operand.Var;
        if (v->ElemCount < 1 || v->StringValues() == nullptr || appendLater != nullptr ||
            ValueStack.size() + 3 > VALUE_STACK_LIMIT) [[unlikely]]
            goto body_rkPushVarRef;
        appendLater = v;
        appendDepth = ValueStack.size();
        pc += 4;
        kp += 4;
        KIVO_DISPATCH();
    }
    body_rkAppendStore:
        // The text made is the only value above where the append's would lie.
        if (appendLater != nullptr && ValueStack.size() == appendDepth + 1 && ValueStack.back().type == sdString) {
            TVarInfo* v = appendLater;
            appendLater = nullptr;
            PC = pc;
            AppendToText(v, ValueStack.back().View(), ValueStack.back().ascii);
            ValueStack.pop_back();
            pc += 2;
            kp += 2;
            KIVO_DISPATCH();
        }
        KIVO_PUSH_LEFT_OFF();
        goto body_rkGeneric;
    body_rkAppendChr:
        // CHR$'s character goes straight onto the text, never pushed as a text of its
        // own. Anything else (a code out of range, an operand not a number) takes the
        // plain way, which raises CHR$'s error as ever.
        if (appendLater != nullptr && ValueStack.size() == appendDepth + 1) {
            PC = pc;
            if (AppendChrToText(appendLater)) {
                appendLater = nullptr;
                pc += 3;
                kp += 3;
                KIVO_DISPATCH();
            }
        }
        goto body_rkGeneric;
    body_rkLenOfText : {
        const TVarInfo* v = pc[1].Operand.Var;
        if (v->ElemCount < 1 || v->StringValues() == nullptr) [[unlikely]]
            goto body_rkLoadPlainVar;
        PushInt(TextLengthUnits(v->StringValues()[0], v->ScalarTextAscii));
        pc += 3;
        kp += 3;
        KIVO_DISPATCH();
    }
    body_rkInstrOfTexts : {
        // The codes: X$'s value and Y$'s (two each) and INSTR.
        const TVarInfo* x = pc[1].Operand.Var;
        const TVarInfo* y = pc[3].Operand.Var;
        if (x->ElemCount < 1 || x->StringValues() == nullptr || y->ElemCount < 1 || y->StringValues() == nullptr ||
            ValueStack.size() + 3 > VALUE_STACK_LIMIT) [[unlikely]]
            goto body_rkLoadPlainVar;
        PushInstrOfTexts(x, y, pc[4].Cmd == vcKinstr);
        pc += 5;
        kp += 5;
        KIVO_DISPATCH();
    }
    body_rkReadTextLater : {
        const TVarInfo* v = pc[1].Operand.Var;
        if (v->ElemCount < 1 || v->StringValues() == nullptr || ValueStack.size() + 4 > VALUE_STACK_LIMIT) [[unlikely]]
            goto body_rkLoadPlainVar;
        textReadLater = v;
        textDepth = ValueStack.size();
        pc += 2;
        kp += 2;
        KIVO_DISPATCH();
    }
    body_rkStringFunc:
        if (textReadLater != nullptr) {
            const TVarInfo* v = textReadLater;
            textReadLater = nullptr;
            PC = pc;
            ExeStringFuncOfText(pc, v);
            KIVO_NEXT();
        }
        goto body_rkGeneric;
    body_rkStringFuncJoin:
        if (textReadLater != nullptr) {
            const TVarInfo* v = textReadLater;
            textReadLater = nullptr;
            PC = pc;
            if (JoinStringFuncOfText(pc, v)) {
                pc += 2;
                kp += 2;
                KIVO_DISPATCH();
            }
            ExeStringFuncOfText(pc, v);
            KIVO_NEXT();
        }
        goto body_rkGeneric;
    body_rkNumberFunction:
        // Takes numbers, gives one, and leaves PC and the interrupt word alone: the
        // loop goes on without reading PC back or polling.
        PC = pc;
        (this->*handlers[kp - kinds])(pc);
        KIVO_NEXT();
    body_rkGeneric:
        KIVO_HAND_OVER_AND_GO_ON((this->*handlers[kp - kinds])(PC));
    body_rkEnd:
        goto finished;

    finished:;
    } catch (...) {
        if (pc != nullptr) PC = pc;
        throw;
    }
    PC = pc;
#undef KIVO_DISPATCH
#undef KIVO_RUN_BODY
#undef KIVO_SET_POLLING
#undef KIVO_NEXT
#undef KIVO_JUMP_TO
#undef KIVO_INT_OP
#undef KIVO_FLOAT_OP
#undef KIVO_DIV_CHECK
#undef KIVO_INT_DIV_OP
#undef KIVO_HAND_OVER
#undef KIVO_HAND_OVER_AND_GO_ON
#undef KIVO_PUSH_LEFT_OFF
#undef KIVO_FALSE_JUMP
}

#if KIVO_THREADED_DISPATCH
#pragma GCC diagnostic pop
#endif
#undef KIVO_THREADED_DISPATCH
