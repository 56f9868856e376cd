#pragma once
// The planner's passes over the codes, shared by the files of the run plan: the kinds
// of single codes and pairs first (RunPlan.cpp), then the FOR loops (RunPlanFor.cpp)
// and the blocks of statements and reads that programs repeat in their loops
// (RunPlanBlocks.cpp), each of which starts from the kinds the passes before it gave.

#include <cstddef>
#include <vector>

#include "language/MidCode.h"
#include "machine/runplan/RunKinds.h"
#include "machine/runplan/RunPlan.h"

class TRunPlanner {
public:
    TRunPlanner(const TMidCode& code, const std::function<bool(TVMCodeCmd)>& fusable,
                const std::function<bool()>& stopped);
    // Throws TStopped when the stop request came first.
    TRunPlan Plan();
    struct TStopped {};

private:
    // Throws TStopped when a stop request has come: looked at every PLAN_STOP_STRIDE
    // codes `i` of a pass.
    void CheckStop(size_t i) const;
    void SinglesAndPairs();
    void JumpLabels();
    void MarkJumpLandings();
    void ForLoops();
    void PlainStores();
    void StringReads();
    void PlainUpdates();
    void Appends();
    void ElementReads();
    void ElementStores();

    // What an operand's code at k does to the stack's depth (change) and how many codes
    // it spans (width): pushes of constants and plain variables, LEN of a text and the
    // arithmetic kinds. False for a code that may not lie within an operand.
    bool OperandStep(size_t k, size_t depth, int& change, size_t& width) const;
    // The operands of the function of numbers at k when it runs as rkNumberFunction;
    // else 0.
    int NumberFunctionAt(size_t k) const;
    // Whether a jump lands on any code from first to last.
    bool LandsWithin(size_t first, size_t last) const;
    // Whether the code at k is generic, of command cmd, and may be planned.
    bool GenericOf(size_t k, TVMCodeCmd cmd) const;
    bool MatchForLoop(size_t i, TForLoop& loop) const;

    const TMidCode& mCode;
    const std::vector<TVMCode>& mCodes;
    const std::function<bool()>& mStopped;
    std::vector<bool> mFusable;  // for each code
    std::vector<bool> mLanding;  // for each code: whether a jump can land on it
    TRunPlan mPlan;
    std::vector<uint8_t>& mKinds = mPlan.kinds;
    std::vector<int32_t>& mTargets = mPlan.targets;
};
