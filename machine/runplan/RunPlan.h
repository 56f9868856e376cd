#pragma once
// The run plan: before a run, every code of the compiled program gets a run kind
// (RunKinds.h), and the kinds that jump or run a block get their targets. The plan is
// made from the codes alone; the machine only runs it.
//
// The codes that make up most of a loop's work (pushes, plain variables, arithmetic,
// jumps) get kinds of their own, which the dispatch loop runs without the code's
// handler. Some kinds stand for a pair or a block of codes that the compiler writes
// together: the first code gets the kind and the loop steps over the rest. A jump
// target is looked up once here when the pushed label or line number names a code.
//
// A code whose handler is not the shared one (a debugger's own), or any code when the
// fast paths are off, keeps rkGeneric and is never part of a pair or block: `fusable`
// says which commands may be planned.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "language/VMCode.h"

class TMidCode;
class TVarInfo;

// A FOR loop run as one step (RunPlanFor.cpp). A limit or step is a value (a plain
// variable, var, or a constant) or two values and the addition, subtraction or
// multiplication (op) between them.
struct TForValue {
    const TVarInfo* var = nullptr;
    TVMCodeCmd push = vcBPushInt;  // of the constant: vcBPushInt, vcBPushFloat or vcBPushDouble
    int32_t l = 0;
    float f = 0;
    double d = 0;  // for every type: the constant as a double
};
struct TForOperand {
    TForValue left;
    TForValue right;
    TVMCodeCmd op = VM_CODE_PLACEHOLDER;  // none: left alone
};
struct TForLoop {
    TVarInfo* var = nullptr;
    TForOperand limit;
    TForOperand step;
    int32_t test = 0;  // the first code of the test block
    int32_t last = 0;  // its vcBFJmp; the body follows
    int32_t exit = 0;  // the code index the exit label names
};

// Every label text among the code operands, keyed by its address: the jumps that take
// their target from the stack (IF, FOR, ON) find it without searching the label map.
// The address identifies the text because operand texts live as long as the program,
// which does not change while it runs.
class TOperandLabels {
public:
    // Polls `stopped` now and then, and returns false, the table unfinished, when it
    // says so.
    bool Build(const TMidCode& code, const std::function<bool()>& stopped);
    // The code index of a label text that is a code operand; 0 for any other text.
    int32_t Find(const char* text) const;
    size_t HeldBytes() const { return mEntries.capacity() * sizeof(TEntry); }

    // The slots of the table for `labels` label pushes: a power of two at least twice
    // as many, and at least 16.
    static size_t SlotsFor(size_t labels);

    struct TEntry {
        const char* text = nullptr;
        int32_t index = 0;
    };

private:
    std::vector<TEntry> mEntries;
    size_t mMask = 0;
};

struct TRunPlan {
    // Indexed like the codes, with one entry more for kinds: rkEnd, so that the loop
    // ends when it reaches it without comparing PC with the end before every code.
    std::vector<uint8_t> kinds;
    // For the jumps whose target is known, the target's code index; for blocks, the
    // code or loop they need (the kind's comment in the planner says which).
    std::vector<int32_t> targets;
    // For each vcBFJmp, the label text the jump expects on the stack (targets has its
    // code index); null elsewhere.
    std::vector<const char*> jumpLabels;
    // The FOR loops run as blocks; targets of a block's first code is its index here.
    std::vector<TForLoop> forLoops;
    TOperandLabels operandLabels;

    // What the plan takes for each code: its kind, its target and its jump label.
    static constexpr size_t BYTES_PER_CODE = sizeof(uint8_t) + sizeof(int32_t) + sizeof(const char*);
    // What the plan holds.
    size_t HeldBytes() const;
};

// How often the planner polls its stop request: every so many codes of each pass, and
// between the passes.
constexpr size_t PLAN_STOP_STRIDE = size_t{1} << 14;

// The plan of a run of `code`; none when `stopped` said so first. `fusable` says which
// commands may be planned.
std::optional<TRunPlan> plan_run(const TMidCode& code, const std::function<bool(TVMCodeCmd)>& fusable,
                                 const std::function<bool()>& stopped);

// What planning `code` takes at most before the FOR loops are found: the plan's tables
// and the flags the passes keep while they run. None when `stopped` said so first.
std::optional<size_t> planned_bytes(const TMidCode& code, const std::function<bool()>& stopped);

// The code index a pushed label or line number names, as a jump would find it; 0 when
// it names none.
int32_t static_jump_target(const TMidCode& code, const TVMCode& push);

// The number of operands of a function of numbers (ABS, SQR, RND, ^ and the like);
// 0 for any other command.
int number_function_operands(TVMCodeCmd cmd);
