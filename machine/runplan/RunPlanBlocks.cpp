// The blocks of statements and reads that programs repeat in their loops: assignments
// to plain variables, string functions of a plain string variable, X = X <op> c,
// appends and joins of texts, and the reads and stores of array elements. Each is
// found among the kinds the passes before it gave, and never spans a code that a jump
// lands on.

#include "language/TokenKind.h"
#include "language/VarInfo.h"
#include "machine/runplan/RunPlanner.h"
#include "machine/text/TextMeasure.h"

namespace {

bool is_var_ref_marker(const TVMCode& code)
{
    return code.Cmd == vcBPushSpecial && code.Operand.Long == tkVar;
}

bool is_constant_kind(uint8_t kind)
{
    return kind == rkPushInt || kind == rkPushSingle || kind == rkPushDouble;
}

// The arithmetic kinds that the loop computes on a constant: all but division, which
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

// The flag operand of a code (MID$ with its length given).
bool operand_flag(const TVMCode& code)
{
    return (code.Operand.Raw & 0xFF) != 0;
}

}  // namespace

// An assignment to a plain variable whose value the loop computes on its own (pushes,
// plain variables, the arithmetic kinds and the functions of numbers; nothing else
// run through a handler, nothing a jump lands in) leaves the variable's reference off
// the stack: the store at its end knows the variable (its target is the code of the
// reference). Near the stack's limit the reference is pushed after all, as its codes
// would push it, and the store finds it there.
void TRunPlanner::PlainStores()
{
    const size_t n = mCodes.size();
    for (size_t i = 1; i < n; ++i) {
        if (mKinds[i] != rkPushVarRef) continue;
        size_t k = i + 2;
        size_t depth = 0;
        int change;
        for (size_t width; k < n; k += width) {
            if (const int operands = NumberFunctionAt(k); operands != 0) {
                if (depth < static_cast<size_t>(operands)) break;
                change = 1 - operands;
                width = 1;
            } else if (!OperandStep(k, depth, change, width)) {
                break;
            }
            depth = static_cast<size_t>(static_cast<int>(depth) + change);
        }
        if (k >= n || mKinds[k] != rkAssignArray || depth != 1 || LandsWithin(i + 2, k)) continue;
        mKinds[i] = rkSkipVarRef;
        mKinds[k] = rkStorePlain;
        mTargets[k] = static_cast<int32_t>(i + 1);
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
void TRunPlanner::StringReads()
{
    const size_t n = mCodes.size();
    const auto text_read = [&](size_t k) {
        return mKinds[k] == rkLoadPlainVar && mCodes[k + 1].Operand.Var->VarType == tkString;
    };
    for (size_t i = 1; i + 2 < n; ++i) {
        if (!text_read(i) || !GenericOf(i + 2, vcLen) || mLanding[i + 1] || mLanding[i + 2]) continue;
        mKinds[i] = rkLenOfText;
    }
    for (size_t i = 1; i + 2 < n; ++i) {
        if (!text_read(i)) continue;
        size_t k = i + 2;
        size_t depth = 0;
        int change;
        for (size_t width; k < n && OperandStep(k, depth, change, width); k += width)
            depth = static_cast<size_t>(static_cast<int>(depth) + change);
        if (k >= n || mKinds[k] != rkGeneric || !mFusable[k] || LandsWithin(i + 1, k)) continue;
        const TVMCode& function = mCodes[k];
        size_t expected;
        switch (function.Cmd) {
        case vcLen: expected = 0; break;
        case vcLeftDl:
        case vcRightDl:
        case vcInstr:
        case vcKinstr: expected = 1; break;
        case vcMidDlFunc: expected = operand_flag(function) ? 2 : 1; break;
        default: continue;
        }
        if (depth != expected) continue;
        // INSTR(X$, Y$) and KINSTR(X$, Y$) read both texts in place.
        const bool search = function.Cmd == vcInstr || function.Cmd == vcKinstr;
        if (search && !operand_flag(function) && k == i + 4 && text_read(i + 2)) {
            mKinds[i] = rkInstrOfTexts;
            i = k;
            continue;
        }
        mKinds[i] = rkReadTextLater;
        mKinds[k] = rkStringFunc;
        // A + after a function that gives a text joins the text on where it is made.
        const bool givesText = function.Cmd != vcLen && !search;
        if (givesText && k + 1 < n && GenericOf(k + 1, vcBAddString) && !mLanding[k + 1]) mKinds[k] = rkStringFuncJoin;
        i = k;
    }
}

// Among the assignments PlainStores found: X = X + c, X = X - c and X = X * c for a
// plain variable X and a constant c, seven codes from the reference to the store,
// which the block computes in the operator's type and stores as the store would; and
// X = X + Y, X = X - Y. Then the appends and joins of plain string variables.
void TRunPlanner::PlainUpdates()
{
    const size_t n = mCodes.size();
    for (size_t i = 1; i + 6 < n; ++i) {
        if (mKinds[i] != rkSkipVarRef || mKinds[i + 2] != rkLoadPlainVar || !is_constant_kind(mKinds[i + 4]) ||
            !is_constant_operator_kind(mKinds[i + 5]) || mKinds[i + 6] != rkStorePlain)
            continue;
        if (mCodes[i + 3].Operand.Var != mCodes[i + 1].Operand.Var) continue;
        mKinds[i] = rkUpdatePlain;
    }
    // X = X + Y and X = X - Y for plain variables X and Y: eight codes, the reference,
    // the two values, the operator and the store.
    for (size_t i = 1; i + 7 < n; ++i) {
        if (mKinds[i] != rkSkipVarRef || mKinds[i + 2] != rkLoadPlainVar || mKinds[i + 4] != rkLoadPlainVar ||
            mKinds[i + 7] != rkStorePlain)
            continue;
        const uint8_t op = mKinds[i + 6];
        if (op != rkAddInt && op != rkSubInt && op != rkAddSingle && op != rkSubSingle) continue;
        if (mCodes[i + 3].Operand.Var != mCodes[i + 1].Operand.Var || LandsWithin(i + 1, i + 7)) continue;
        mKinds[i] = rkUpdateByVar;
    }
    // X$ = X$ + "text": the reference and the value (two codes each), the text, the
    // joining and the store, with no jump landing after the first. The target says
    // whether the text is ASCII, settled once here.
    for (size_t i = 1; i + 6 < n; ++i) {
        if (mKinds[i] != rkPushVarRef || mKinds[i + 2] != rkLoadPlainVar || mKinds[i + 4] != rkPushString ||
            !GenericOf(i + 5, vcBAddString) || mKinds[i + 6] != rkAssignArray)
            continue;
        const TVarInfo* v = mCodes[i + 1].Operand.Var;
        if (v == nullptr || v->VarType != tkString || mCodes[i + 3].Operand.Var != v) continue;
        if (LandsWithin(i + 1, i + 6)) continue;
        mKinds[i] = rkAppendPlain;
        const char* text = mCodes[i + 4].Operand.Text;
        mTargets[i] = text_measure::is_ascii(text != nullptr ? text : "");
    }
    // X$ = A$ + B$: the reference and the two values (two codes each), the joining and
    // the store, with no jump landing after the first.
    const auto plain_text = [&](size_t k) {
        return mKinds[k] == rkLoadPlainVar && mCodes[k + 1].Operand.Var != nullptr &&
               mCodes[k + 1].Operand.Var->VarType == tkString;
    };
    for (size_t i = 1; i + 7 < n; ++i) {
        if (mKinds[i] != rkPushVarRef || !plain_text(i + 2) || !plain_text(i + 4) || !GenericOf(i + 6, vcBAddString) ||
            mKinds[i + 7] != rkAssignArray)
            continue;
        const TVarInfo* v = mCodes[i + 1].Operand.Var;
        if (v == nullptr || v->VarType != tkString) continue;
        if (LandsWithin(i + 1, i + 7)) continue;
        mKinds[i] = rkJoinPlain;
    }
}

// X$ = X$ + <text>, where the text is made by codes that change no variable: pushes,
// plain variables, LEN of them, the arithmetic kinds and a few functions of numbers
// (CHR$, STR$, HEX$, OCT$, SPACE$). The reference and X$'s value are left off the
// stack (rkAppendLater) and the + with the store (rkAppendStore) appends the text to
// X$'s own: X$ is never copied out and back. The interrupt service, should the loop
// leave the codes between for it, finds the reference and the value pushed first,
// where they would lie, and the + and the store then run as usual.
void TRunPlanner::Appends()
{
    const size_t n = mCodes.size();
    const auto text_step = [&](size_t k, size_t depth, int& change, size_t& width) {
        if (mKinds[k] != rkGeneric) return OperandStep(k, depth, change, width);
        width = 1;
        change = 0;
        switch (mCodes[k].Cmd) {
        case vcChrDl:
        case vcStrDl:
        case vcHexDl:
        case vcOctDl:
        case vcSpaceDl: return depth >= 1 && mFusable[k];
        default: return false;
        }
    };
    for (size_t i = 1; i + 5 < n; ++i) {
        if (mKinds[i] != rkPushVarRef || mKinds[i + 2] != rkLoadPlainVar) continue;
        const TVarInfo* v = mCodes[i + 1].Operand.Var;
        if (v == nullptr || v->VarType != tkString || mCodes[i + 3].Operand.Var != v) continue;
        size_t k = i + 4;
        size_t depth = 0;
        int change;
        for (size_t width; k < n && text_step(k, depth, change, width); k += width)
            depth = static_cast<size_t>(static_cast<int>(depth) + change);
        if (depth != 1 || k + 1 >= n || !GenericOf(k, vcBAddString) || mKinds[k + 1] != rkAssignArray ||
            LandsWithin(i + 1, k + 1))
            continue;
        mKinds[i] = rkAppendLater;
        mKinds[k] = rkAppendStore;
        if (mCodes[k - 1].Cmd == vcChrDl && mKinds[k - 1] == rkGeneric) mKinds[k - 1] = rkAppendChr;
        i = k + 1;
    }
}

// A(J) and A(J+c) (also -, * and a constant of any type), for a one-dimensional
// array A and a plain numeric variable J: the start marker, J's value, the constant
// and its operator, and the element's read, whose code is the block's target. The
// block finds the element from J's value without the stack; a subscript the loop's
// own read of an element would not take sends the codes to run one by one.
void TRunPlanner::ElementReads()
{
    const size_t n = mCodes.size();
    for (size_t i = 1; i + 3 < n; ++i) {
        if (mKinds[i] != rkPushSpecial || !is_var_ref_marker(mCodes[i]) || mKinds[i + 1] != rkLoadPlainVar) continue;
        if (mCodes[i + 2].Operand.Var->VarType == tkString) continue;
        size_t k = i + 3;
        if (k + 2 < n && is_constant_kind(mKinds[k]) && is_constant_operator_kind(mKinds[k + 1])) k += 2;
        if (mKinds[k] != rkLoadArray || mCodes[k].Operand.Var == nullptr) continue;
        if (LandsWithin(i + 1, k)) continue;
        mKinds[i] = rkLoadElement;
        mTargets[i] = static_cast<int32_t>(k);
    }
}

// A(J) = <value> and A(J <op> n) = <value> for a numeric array A, where J is a plain
// variable, n a constant and the value made by codes that change no variable (pushes,
// plain variables, elements read as rkLoadElement reads them, the arithmetic kinds,
// the functions of numbers): the marker, J's value and the array's reference are left
// off the stack. The block at the marker (rkStoreElementRef, whose target is the code
// of the array's reference) finds the element, and the store (rkStoreElement) writes
// the value there. Should the loop leave the codes between for the interrupt service,
// it pushes the reference first, where it would lie, and the store runs as usual. Any
// subscript the block does not find on its own runs code by code.
void TRunPlanner::ElementStores()
{
    const size_t n = mCodes.size();
    const auto value_step = [&](size_t k, size_t depth, int& change, size_t& width) {
        if (const int operands = NumberFunctionAt(k); operands != 0) {
            change = 1 - operands;
            width = 1;
            return depth >= static_cast<size_t>(operands);
        }
        if (mKinds[k] != rkLoadElement) return OperandStep(k, depth, change, width);
        change = 1;
        width = static_cast<size_t>(mTargets[k]) - k + 1;
        return true;
    };
    for (size_t i = 1; i + 4 < n; ++i) {
        if (mKinds[i] != rkPushSpecial || !is_var_ref_marker(mCodes[i]) || mKinds[i + 1] != rkLoadPlainVar) continue;
        if (mCodes[i + 2].Operand.Var->VarType == tkString) continue;
        size_t j = i + 3;
        if (j + 2 < n && mKinds[j] == rkPushInt && is_constant_operator_kind(mKinds[j + 1])) j += 2;
        if (mKinds[j] != rkPushVar || mCodes[j].Operand.Var == nullptr || mCodes[j].Operand.Var->VarType == tkString)
            continue;
        size_t k = j + 1;
        size_t depth = 0;
        int change;
        for (size_t width; k < n && value_step(k, depth, change, width); k += width)
            depth = static_cast<size_t>(static_cast<int>(depth) + change);
        if (depth != 1 || k >= n || mKinds[k] != rkAssignArray || LandsWithin(i + 1, k)) continue;
        mKinds[i] = rkStoreElementRef;
        mTargets[i] = static_cast<int32_t>(j);
        mKinds[k] = rkStoreElement;
        i = k;
    }
}
