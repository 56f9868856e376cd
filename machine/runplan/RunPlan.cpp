// The run plan's entry point, the kinds of single codes and pairs, the labels the
// conditional jumps expect, and the table of operand labels.

#include "machine/runplan/RunPlan.h"

#include "language/TokenKind.h"
#include "machine/runplan/RunPlanner.h"

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

// The kind of a code that runs alone.
struct TSingleKind {
    TVMCodeCmd cmd;
    TRunKind kind;
};
constexpr TSingleKind SINGLE_KINDS[] = {
    {vcBLineBegin, rkLineBegin},
    {vcBPushInt, rkPushInt},
    {vcBPushFloat, rkPushSingle},
    {vcBPushDouble, rkPushDouble},
    {vcBPushString, rkPushString},
    {vcBPushVar, rkPushVar},
    {vcBPushSpecial, rkPushSpecial},
    {vcBAssignArray, rkAssignArray},
    {vcBLoadArray, rkLoadArray},
    {vcBFJmp, rkFJmp},
    {vcBRet, rkReturn},
    {vcBAddInt, rkAddInt},
    {vcBSubInt, rkSubInt},
    {vcBMulInt, rkMulInt},
    {vcBAddFloat, rkAddSingle},
    {vcBSubFloat, rkSubSingle},
    {vcBMulFloat, rkMulSingle},
    {vcBDivFloat, rkDivSingle},
    {vcBAddDouble, rkAddDouble},
    {vcBSubDouble, rkSubDouble},
    {vcBMulDouble, rkMulDouble},
    {vcBDivDouble, rkDivDouble},
    // \ and MOD take integers whatever their operands' type.
    {vcBIdivInt, rkIdivInt},
    {vcBIdivFloat, rkIdivInt},
    {vcBIdivDouble, rkIdivInt},
    {vcBModInt, rkModInt},
    {vcBModFloat, rkModInt},
    {vcBModDouble, rkModInt},
};

// The kind of a comparison followed by vcBFJmp.
constexpr TSingleKind COMPARE_JUMP_KINDS[] = {
    {vcBEqualInt, rkEqualIntFJmp},
    {vcBNoteqInt, rkNoteqIntFJmp},
    {vcBLtInt, rkLtIntFJmp},
    {vcBLeInt, rkLeIntFJmp},
    {vcBGtInt, rkGtIntFJmp},
    {vcBGeInt, rkGeIntFJmp},
    {vcBEqualFloat, rkEqualSingleFJmp},
    {vcBNoteqFloat, rkNoteqSingleFJmp},
    {vcBLtFloat, rkLtSingleFJmp},
    {vcBLeFloat, rkLeSingleFJmp},
    {vcBGtFloat, rkGtSingleFJmp},
    {vcBGeFloat, rkGeSingleFJmp},
    {vcBEqualDouble, rkEqualDoubleFJmp},
    {vcBNoteqDouble, rkNoteqDoubleFJmp},
    {vcBLtDouble, rkLtDoubleFJmp},
    {vcBLeDouble, rkLeDoubleFJmp},
    {vcBGtDouble, rkGtDoubleFJmp},
    {vcBGeDouble, rkGeDoubleFJmp},
};

template <size_t N>
TRunKind kind_in(const TSingleKind (&table)[N], TVMCodeCmd cmd)
{
    for (const TSingleKind& row : table)
        if (row.cmd == cmd) return row.kind;
    return rkGeneric;
}

TRunKind single_kind(TVMCodeCmd cmd)
{
    const TRunKind kind = kind_in(SINGLE_KINDS, cmd);
    if (kind != rkGeneric) return kind;
    return number_function_operands(cmd) != 0 ? rkNumberFunction : rkGeneric;
}

bool is_var_ref_marker(const TVMCode& code)
{
    return code.Cmd == vcBPushSpecial && code.Operand.Long == tkVar;
}

size_t label_slot(const char* text, size_t mask)
{
    return static_cast<size_t>((reinterpret_cast<uintptr_t>(text) * 0x9E3779B97F4A7C15ull) >> 32) & mask;
}

}  // namespace

int number_function_operands(TVMCodeCmd cmd)
{
    for (const TNumberFunction& f : NUMBER_FUNCTIONS)
        if (f.cmd == cmd) return f.operands;
    return 0;
}

// As a jump would find it: a label by its text, a line by its number. 0 leaves a pair
// to its two codes, which then fail as they fail.
int32_t static_jump_target(const TMidCode& code, const TVMCode& push)
{
    int32_t index = 0;
    if (push.Cmd == vcBPushString && push.Operand.Text != nullptr) {
        const auto found = code.LabelMap.find(push.Operand.Text);
        if (found != code.LabelMap.end()) index = found->second;
    } else if (push.Cmd == vcBPushInt) {
        const auto found = code.LineNumMap.find(push.Operand.Long);
        if (found != code.LineNumMap.end()) index = found->second;
    }
    if (index < 1 || static_cast<size_t>(index) > code.Codes.size()) return 0;
    return index;
}

std::optional<TRunPlan> plan_run(const TMidCode& code, const std::function<bool(TVMCodeCmd)>& fusable,
                                 const std::function<bool()>& stopped)
{
    try {
        return TRunPlanner(code, fusable, stopped).Plan();
    } catch (const TRunPlanner::TStopped&) {
        return std::nullopt;
    }
}

std::optional<size_t> planned_bytes(const TMidCode& code, const std::function<bool()>& stopped)
{
    const size_t n = code.Codes.size();
    size_t labels = 0;
    for (size_t i = 0; i < n; ++i) {
        if (i % PLAN_STOP_STRIDE == 0 && stopped()) return std::nullopt;
        if (i != 0 && code.Codes[i].Cmd == vcBPushString) ++labels;
    }
    // The kinds have one entry more; the flags of the fusable codes and of the jump
    // landings live while the passes run.
    return n * TRunPlan::BYTES_PER_CODE + sizeof(uint8_t) + 2 * ((n + 1 + 7) / 8) +
           TOperandLabels::SlotsFor(labels) * sizeof(TOperandLabels::TEntry);
}

size_t TRunPlan::HeldBytes() const
{
    return kinds.capacity() * sizeof(uint8_t) + targets.capacity() * sizeof(int32_t) +
           jumpLabels.capacity() * sizeof(const char*) + forLoops.capacity() * sizeof(TForLoop) +
           operandLabels.HeldBytes();
}

TRunPlanner::TRunPlanner(const TMidCode& code, const std::function<bool(TVMCodeCmd)>& fusable,
                         const std::function<bool()>& stopped)
    : mCode(code), mCodes(code.Codes), mStopped(stopped)
{
    mFusable.resize(mCodes.size());
    for (size_t k = 0; k < mCodes.size(); ++k) {
        CheckStop(k);
        mFusable[k] = fusable(mCodes[k].Cmd);
    }
}

void TRunPlanner::CheckStop(size_t i) const
{
    if (i % PLAN_STOP_STRIDE == 0 && mStopped()) throw TStopped{};
}

// Each pass reads every code once; a stop request is looked at between them, and every
// PLAN_STOP_STRIDE codes inside each.
TRunPlan TRunPlanner::Plan()
{
    const std::function<void(TRunPlanner&)> passes[] = {
        &TRunPlanner::SinglesAndPairs,
        &TRunPlanner::JumpLabels,
        // The blocks below may not span a code that a jump lands on.
        &TRunPlanner::MarkJumpLandings,
        &TRunPlanner::PlainStores,
        &TRunPlanner::ForLoops,
        &TRunPlanner::StringReads,
        &TRunPlanner::PlainUpdates,
        &TRunPlanner::Appends,
        &TRunPlanner::ElementReads,
        &TRunPlanner::ElementStores,
    };
    for (const auto& pass : passes) {
        CheckStop(0);
        pass(*this);
    }
    CheckStop(0);
    if (!mPlan.operandLabels.Build(mCode, mStopped)) throw TStopped{};
    return std::move(mPlan);
}

void TRunPlanner::SinglesAndPairs()
{
    const size_t n = mCodes.size();
    mKinds.assign(n + 1, rkGeneric);
    mKinds[n] = rkEnd;
    mTargets.assign(n, 0);
    // Index 0 is the placeholder, which never runs.
    for (size_t i = 1; i < n; ++i) {
        CheckStop(i);
        if (!mFusable[i]) continue;
        const TVMCode& code = mCodes[i];
        TRunKind kind = single_kind(code.Cmd);
        if (i + 1 < n && mFusable[i + 1]) {
            const TVMCode& next = mCodes[i + 1];
            if (is_var_ref_marker(code) && next.Cmd == vcBLoadArray && next.Operand.Var != nullptr) {
                kind = rkLoadPlainVar;
            } else if (is_var_ref_marker(code) && next.Cmd == vcBPushVar) {
                kind = rkPushVarRef;
            } else if ((next.Cmd == vcBJmp || next.Cmd == vcBCall) &&
                       (code.Cmd == vcBPushString || code.Cmd == vcBPushInt)) {
                const int32_t target = static_jump_target(mCode, code);
                if (target != 0) {
                    kind = next.Cmd == vcBJmp ? rkJump : rkCall;
                    mTargets[i] = target;
                }
            } else if (next.Cmd == vcBFJmp) {
                if (code.Cmd == vcBCmpFor)
                    kind = rkCmpForFJmp;
                else if (const TRunKind compare = kind_in(COMPARE_JUMP_KINDS, code.Cmd); compare != rkGeneric)
                    kind = compare;
            }
        }
        mKinds[i] = kind;
    }
}

// The label each vcBFJmp expects: the nearest label pushed before it, which is the one
// an IF or a FOR test pushes before its condition. The expectation is checked at every
// jump, so a condition that pushes a label text of its own only misses the shortcut.
void TRunPlanner::JumpLabels()
{
    mPlan.jumpLabels.assign(mCodes.size(), nullptr);
    const char* label = nullptr;
    int32_t index = 0;
    for (size_t i = 1; i < mCodes.size(); ++i) {
        CheckStop(i);
        const TVMCode& code = mCodes[i];
        if (code.Cmd == vcBPushString) {
            const int32_t target = static_jump_target(mCode, code);
            if (target != 0) {
                label = code.Operand.Text;
                index = target;
            }
        } else if (code.Cmd == vcBFJmp && label != nullptr) {
            mPlan.jumpLabels[i] = label;
            mTargets[i] = index;
        }
    }
}

void TRunPlanner::MarkJumpLandings()
{
    const size_t n = mCodes.size();
    mLanding.assign(n + 1, false);
    for (const auto& entry : mCode.LabelMap)
        if (entry.second >= 0 && static_cast<size_t>(entry.second) <= n)
            mLanding[static_cast<size_t>(entry.second)] = true;
    for (const auto& entry : mCode.LineNumMap)
        if (entry.second >= 0 && static_cast<size_t>(entry.second) <= n)
            mLanding[static_cast<size_t>(entry.second)] = true;
}

bool TRunPlanner::LandsWithin(size_t first, size_t last) const
{
    for (size_t m = first; m <= last; ++m)
        if (mLanding[m]) return true;
    return false;
}

bool TRunPlanner::GenericOf(size_t k, TVMCodeCmd cmd) const
{
    return mCodes[k].Cmd == cmd && mKinds[k] == rkGeneric && mFusable[k];
}

int TRunPlanner::NumberFunctionAt(size_t k) const
{
    return mKinds[k] == rkNumberFunction ? number_function_operands(mCodes[k].Cmd) : 0;
}

bool TRunPlanner::OperandStep(size_t k, size_t depth, int& change, size_t& width) const
{
    width = 1;
    change = 1;
    switch (mKinds[k]) {
    case rkPushInt:
    case rkPushSingle:
    case rkPushDouble:
    case rkPushString: return true;
    case rkLoadPlainVar: width = 2; return true;
    case rkLenOfText: width = 3; return true;
    default: change = -1; return mKinds[k] >= rkAddInt && mKinds[k] <= rkModInt && depth >= 2;
    }
}

size_t TOperandLabels::SlotsFor(size_t labels)
{
    size_t size = 16;
    while (size < labels * 2) size *= 2;
    return size;
}

bool TOperandLabels::Build(const TMidCode& code, const std::function<bool()>& stopped)
{
    const std::vector<TVMCode>& codes = code.Codes;
    size_t expected = 0;
    for (size_t i = 0; i < codes.size(); ++i) {
        if (i % PLAN_STOP_STRIDE == 0 && stopped()) return false;
        if (codes[i].Cmd == vcBPushString) ++expected;
    }
    const size_t size = SlotsFor(expected);
    mEntries.assign(size, TEntry{});
    mMask = size - 1;
    for (size_t i = 0; i < codes.size(); ++i) {
        if (i % PLAN_STOP_STRIDE == 0 && stopped()) return false;
        const TVMCode& c = codes[i];
        if (c.Cmd != vcBPushString || c.Operand.Text == nullptr) continue;
        const int32_t index = static_jump_target(code, c);
        if (index == 0) continue;
        size_t slot = label_slot(c.Operand.Text, mMask);
        while (mEntries[slot].text != nullptr && mEntries[slot].text != c.Operand.Text) slot = (slot + 1) & mMask;
        mEntries[slot] = TEntry{c.Operand.Text, index};
    }
    return true;
}

int32_t TOperandLabels::Find(const char* text) const
{
    if (mEntries.empty()) return 0;
    for (size_t slot = label_slot(text, mMask);; slot = (slot + 1) & mMask) {
        const TEntry& entry = mEntries[slot];
        if (entry.text == text) return entry.index;
        if (entry.text == nullptr) return 0;
    }
}
