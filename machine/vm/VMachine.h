#pragma once
// The virtual machine: runs one compiled program in a thread of its own.
//
// The thread body runs the codes of the TMidCode through the dispatch loop
// (VMachineRunCodes.cpp), which runs the common codes itself and every other code
// through the handler that the code's number selects from a table of 65536 entries,
// and lets pending events in where they must be seen (the interrupt request word, read
// before each line, after each jump and after each handler). Handlers take
// their operands from the code and from the value stack, leave their results on the
// stack and drive the devices of TBasicRsrc. Every failure is a run-time error: a
// TException built by RuntimeException2 and caught by the dispatch loop.
//
// Other threads reach the machine only through HappenInterrupt, UnhappenInterrupt
// and Terminate, and, before the thread is resumed, SetRuntimeCompatiMode and
// SetStartPos.

#include <atomic>
#include <cmath>
#include <cstdint>
#include <deque>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/Exception.h"
#include "foundation/Thread.h"
#include "language/DispatchTable.h"
#include "language/TokenKind.h"
#include "language/VMCode.h"
#include "machine/host/HostInterfaces.h"
#include "machine/input/MouseState.h"
#include "machine/music/MmlMachineLink.h"
#include "machine/runplan/RunPlan.h"
#include "machine/screen/CircleShape.h"
#include "machine/screen/PageImage.h"
#include "machine/vm/MemoryBudget.h"
#include "machine/vm/StackData.h"
#include "machine/vm/ValueStack.h"

class TAlertSink;
class TBasicRsrc;
class TKivoFile;
class TMidCode;
class TMmlPlayer;
class TVarInfo;
struct TUserFuncInfo;

// One trap subroutine in progress: the bit of its event and the number of value-stack
// entries before its return position was pushed.
struct TIrInfo {
    uint32_t Mask;
    long Depth;
};

// Interrupt request bits.
enum : uint32_t {
    IR_TERMINATE = 0x1,
    IR_SPEED_CONTROL = 0x2,
    IR_STOP_KEY = 0x8,
    IR_HELP_KEY = 0x10,
    IR_ON_TIME = 0x20,
    IR_FUNC_KEY_1 = 0x40,
    IR_PLAY = 0x40000,
    IR_MOUSE_MOVE = 0x200000,
    IR_MOUSE_LEFT_DOWN = 0x400000,
    IR_MOUSE_RIGHT_DOWN = 0x800000,
    IR_MOUSE_LEFT_UP = 0x1000000,
    IR_MOUSE_RIGHT_UP = 0x2000000,
};

// Trap states.
enum : uint8_t { IR_STATE_OFF = 0, IR_STATE_STOP = 1, IR_STATE_ON = 2 };

class TVMachine : public TThread, public TMmlMachineLink {
public:
    using THandler = void (TVMachine::*)(const TVMCode*);
    static constexpr int32_t PRIORITY = 15;
    // What the run's tables take for each code of the program (its handler and its
    // entries in the run plan), which the compile counts toward the memory limit beside
    // the program itself.
    static constexpr size_t RUN_TABLE_BYTES_PER_CODE = sizeof(THandler) + TRunPlan::BYTES_PER_CODE;

    // alerts: where run-time error alerts go (may be null: no alert is shown).
    TVMachine(const char* name, TMidCode* code, TBasicRsrc* rsrc, TMmlPlayer* mml, TRunRequestSink* runRqstView,
              TAlertSink* alerts = nullptr);
    ~TVMachine() override;

    // --- what the owner calls ---
    void SetRuntimeCompatiMode(long mode) { RuntimeCompatiMode = mode; }
    long GetRuntimeCompatiMode() const { return RuntimeCompatiMode; }
    // The start position: the request's LineNum or Label, else the first code. False
    // (after an alert) when the line or label does not exist; the run must not start.
    bool SetStartPos(const TRunRequest& request);
    // Replaces the clock (tests); the default is the system clock.
    void SetClock(const THostClock* clock) { Clock = clock; }
    // Off: every code runs through its handler, none on the dispatch loop's fast paths,
    // so that a run can be compared with the usual one. Before the thread is resumed.
    void SetFusion(bool on) { Fusion = on; }
    // Sets the stop flag and the terminate request; returns 0.
    int32_t Terminate() override;
    int32_t Execute() override;

    // --- events (any thread) ---
    void HappenInterrupt(long mask);
    void UnhappenInterrupt(long mask);
    // The STOP key (Ctrl+C): true when the program traps it (the event goes to its
    // trap); otherwise the run stops as Break and the result is false.
    bool PressStopKey();
    // Presses function key n (1 to 10) as the run window does: its string goes into
    // the key buffer, one byte an entry, and its interrupt is raised. Other numbers
    // do nothing.
    void PressFuncKey(int n);

    // --- what the music player calls ---
    void RaiseMusicInterrupt() override { HappenInterrupt(IR_PLAY); }
    bool IsStopRequested() const override { return StopRequested(); }

    // --- the mouse over the run view (the run window's thread; VMachineMouse.cpp) ---
    // The pointer's view position; y is divided by the vertical factor.
    void SetMousePosCurrent(const TGrphPoint& p);
    // state −1 pressed at p, 0 released at p.
    void SetMouseButtonLeftState(long state, const TGrphPoint& p);
    void SetMouseButtonRightState(long state, const TGrphPoint& p);

    // --- state the owner and the tests read after the thread has ended ---
    long ExitStatusValue() const { return ExitStatus; }
    const std::string& ErrorText() const { return ErrStrDisplay; }
    std::size_t ValueStackDepth() const { return ValueStack.size(); }
    // The run's memory budget (tests set a small one).
    void SetMemoryLimit(std::size_t bytes) { Memory.SetLimit(bytes); }
    std::size_t MemoryUsed() const { return Memory.Used(); }

    // --- debugger hooks (nothing here) ---
    virtual void ExeBasicOnGosubGotoGosubInvoked() {}
    // Called after each assignment, only while WatchesVarAccess is set: a machine that
    // overrides it sets the flag in its constructor, so that runs without a debugger
    // pay one test instead of a call for every assignment.
    virtual void RegisterVarAccess(int kind, TVarInfo* var, long element)
    {
        (void)kind;
        (void)var;
        (void)element;
    }
    virtual void SendResetVarRqtd(TVarInfo* var) { (void)var; }
    void NoteVarAccess(int kind, TVarInfo* var, long element)
    {
        if (WatchesVarAccess) [[unlikely]]
            RegisterVarAccess(kind, var, element);
    }
    // An event trap has entered its subroutine (the interrupt service pushed the return
    // position and jumped, without vcBCall).
    virtual void TrapSubroutineEntered() {}
    // A keyboard read (INPUT, LINE INPUT, INPUT$) found no key typed and waits for one
    // (true), and, after such a wait, the read is over (false).
    virtual void KeyboardWaitChanged(bool waiting) { (void)waiting; }

    // The rounding of StackInt for a double: floor(x + 0.5); NaN gives 0 and values
    // beyond the 32-bit range give its nearest end.
    static int32_t RoundOff(double x)
    {
        if (std::isnan(x)) return 0;
        const double y = x + 0.5;
        if (y >= 2147483647.0) return INT32_MAX;
        if (y < -2147483647.0) return INT32_MIN;
        // floor(y) without the library call: truncation, one less below zero.
        auto t = static_cast<int64_t>(y);
        if (static_cast<double>(t) > y) --t;
        return static_cast<int32_t>(t);
    }
    static uint32_t NumShifts(uint32_t mask);
    // The flag operand of a code: its first byte, non-zero meaning true.
    static bool OperandFlag(const TVMCode* code) { return (code->Operand.Raw & 0xFF) != 0; }

protected:
    // --- the run ---
    void ExecuteDone();
    // The run of the codes, and what a machine adds when a run-time error ends it,
    // before the error's alert: a debugger runs them its own way and shows the line.
    virtual void RunCodes() { RunLoop(); }
    virtual void RunFailed(const TException& e) { (void)e; }
    void PrintOk();
    void PrintExit();
    void ShowErrorAlert(const TException& e);
    void ChangePC(const TStackData& target);
    long CodeIndex(const TVMCode* code) const;
    // The last code of the program.
    const TVMCode* LastCode() const;

    // --- value stack ---
    int32_t StackInt(const TStackData& s) const
    {
        // Whole numbers are nearly all the counts and subscripts there are.
        if (s.type == sdLong) [[likely]]
            return s.value.l;
        switch (s.type) {
        case sdSingle: return RoundOff(s.value.f);
        case sdDouble: return RoundOff(s.value.d);
        default: return 0;
        }
    }
    float StackFloat(const TStackData& s) const
    {
        switch (s.type) {
        case sdLong: return static_cast<float>(s.value.l);
        case sdSingle: return s.value.f;
        case sdDouble: return static_cast<float>(s.value.d);
        default: return 0;
        }
    }
    double StackDouble(const TStackData& s) const
    {
        switch (s.type) {
        case sdLong: return s.value.l;
        case sdSingle: return s.value.f;
        case sdDouble: return s.value.d;
        default: return 0;
        }
    }
    const char* StackCString(const TStackData& s) const { return s.CString(); }
    bool StackBool(const TStackData& s) const { return s.type == sdBool && s.value.b; }
    TVarInfo* StackVarInfo(const TStackData& s) const { return s.type == sdVar ? s.value.var : nullptr; }

    // Pushes write the new entry in place: building a value elsewhere and copying it
    // would cost a store-forwarding stall on every push. The storage grows only up to
    // VALUE_STACK_LIMIT, so one pointer test covers both growing and the limit.
    TStackData& PushSlot(uint32_t type)
    {
        if (ValueStack.Full()) [[unlikely]]
            GrowValueStack();
        TStackData& s = ValueStack.EmplaceUnchecked();
        s.type = type;
        return s;
    }
    void PushInt(int32_t v) { PushSlot(sdLong).value.l = v; }
    void PushFloat(float v) { PushSlot(sdSingle).value.f = v; }
    void PushDouble(double v) { PushSlot(sdDouble).value.d = v; }
    void PushBorrowedString(const char* text) { PushSlot(sdString).value.text = text ? text : ""; }
    // `knownAscii`: every byte of text is known to be ASCII (StackData.h).
    void PushOwnedString(std::string text, bool knownAscii = false)
    {
        Push(TStackData::OwnedText(std::move(text), knownAscii));
    }
    // Pushes an empty owned text and gives its string, to be written in place.
    std::string& PushNewText(bool knownAscii)
    {
        TStackData& s = PushSlot(sdString);
        s.value.text = "";
        s.value.ownedText = text_pool::Acquire();
        s.owned = true;
        s.ascii = knownAscii;
        return *s.value.ownedText;
    }
    void PushCopiedString(std::string_view text, bool knownAscii = false)
    {
        // A copy of a long variable must fit in what the budget has left.
        if (text.size() > Memory.Room()) [[unlikely]]
            ThrowStackFull();
        TStackData& s = PushSlot(sdString);
        s.SetCopiedText(text, knownAscii);
    }
    void PushBool(bool v) { PushSlot(sdBool).value.b = v; }
    void Push(TStackData s)
    {
        if (ValueStack.Full()) [[unlikely]]
            GrowValueStack();
        ValueStack.PushUnchecked(std::move(s));
    }
    // More room for the value stack; "Out of memory" at VALUE_STACK_LIMIT entries.
    // Rare, and kept out of the dispatch loop.
    [[gnu::noinline, gnu::cold]] void GrowValueStack()
    {
        if (!ValueStack.Grow(VALUE_STACK_LIMIT)) ThrowStackFull();
    }

    // The top entry; an empty stack is an internal run-time error.
    TStackData& Top()
    {
        if (ValueStack.empty()) ThrowStackEmpty();
        return ValueStack.back();
    }
    TStackData Pop()
    {
        TStackData s = std::move(Top());
        ValueStack.pop_back();
        return s;
    }
    [[noreturn]] void ThrowStackEmpty();
    // The value stack holds at most this many entries (16 MB): a program that keeps
    // calling GOSUB without RETURN gets "Out of memory" instead of exhausting the host.
    static constexpr size_t VALUE_STACK_LIMIT = size_t{1} << 20;
    [[noreturn]] void ThrowStackFull();

    // --- the run's memory budget (VMachineMemory.cpp) ---
    TMemoryBudget Memory;
    // A variable's text that held `oldBytes` (kept_text::Held) comes to hold
    // `newBytes`; called before the new string is made.
    void ChargeText(size_t oldBytes, size_t newBytes)
    {
        if (newBytes > oldBytes) {
            if (!Memory.Take(newBytes - oldBytes)) ThrowStackFull();
        } else {
            Memory.Give(oldBytes - newBytes);
        }
    }
    // Before v becomes an array of `sizes`: takes its block, gives back what the
    // record holds now beyond element 0. Shapes the record refuses cost nothing.
    void ChargeArray(const TVarInfo* v, std::span<const int32_t> sizes);
    // Before an image of `bytes` (of GET@, or built by PUT@) is made to go under `key`
    // of v: takes it, gives back the images it replaces, and returns what those held.
    size_t ChargeImage(const TVarInfo* v, int32_t key, size_t bytes);
    // A new string of `length` bytes must leave the budget room to be kept.
    void CheckNewText(size_t length)
    {
        if (length > Memory.Room()) ThrowStackFull();
    }
    // A new block of `bytes` is about to be made while texts of `alsoHeld` bytes that
    // the budget does not count (values being worked on) are held: all of it must fit
    // in what the budget has left.
    void CheckNewBlock(size_t bytes, size_t alsoHeld)
    {
        const size_t room = Memory.Room();
        if (alsoHeld > room || bytes > room - alsoHeld) ThrowStackFull();
    }
    // Numbers are read in place: no value is moved for them.
    int32_t PopInt()
    {
        const int32_t v = StackInt(Top());
        ValueStack.pop_back();
        return v;
    }
    float PopFloat()
    {
        const float v = StackFloat(Top());
        ValueStack.pop_back();
        return v;
    }
    double PopDouble()
    {
        const double v = StackDouble(Top());
        ValueStack.pop_back();
        return v;
    }

    // --- run-time errors ---
    TException RuntimeException2(const char* key);
    // Adds the machine's own texts to the catalogue, once.
    static void RegisterTexts();
    void GenerateErrStrDisplay(const char* key);

    // --- interrupts ---
    uint32_t IrHappen() const { return IrRequest.load(std::memory_order_acquire); }
    void Interrupt();
    // Raises event `m` (one bit): true when it went to the program's trap, as a request
    // or held while the trap is stopped. STOP without a trap ends the run instead.
    bool RaiseEvent(uint32_t m);
    void InterruptVMTerminate();
    void InterruptVMSleep();
    void InterruptGeneral(int bit);
    void TurnOnInterrupt(uint32_t mask);
    void SetIrTarget(int bit, TStackData target);

    // --- the dispatch table ---
    using TFuncTable = TDispatchTable<THandler>;
    // Built once and shared by every machine: member pointers do not depend on the object.
    static const TFuncTable& SharedFuncTable();
    // The shared entries with `own` in place of theirs: the table of a machine that runs
    // some codes through handlers of its own (the debugger's line, call and assignment
    // handlers). Such a machine hands it to UseFuncTable before its thread is resumed;
    // the dispatch loop then runs every code whose entry is not the shared one through
    // that entry, never on a fast path, and keeps the fast paths for all other codes.
    static TFuncTable FuncTableWith(std::initializer_list<TFuncTable::Row> own);
    void UseFuncTable(const TFuncTable& table) { FuncTable = &table; }
    static void InitFuncTable(TFuncTable& table);
    static void InitFuncTableBase(TFuncTable& table);
    static void InitFuncTableOperators(TFuncTable& table);
    static void InitFuncTableFunc(TFuncTable& table);
    static void InitFuncTableProc(TFuncTable& table);
    static void InitFuncTableExFunc(TFuncTable& table);
    static void InitFuncTableExProc(TFuncTable& table);
    static void InitFuncTableSound(TFuncTable& table);
    static void InitFuncTableNumeric(TFuncTable& table);
    static void InitFuncTableVariables(TFuncTable& table);
    static void InitFuncTableUserFunc(TFuncTable& table);
    static void InitFuncTableData(TFuncTable& table);
    static void InitFuncTableRun(TFuncTable& table);
    static void InitFuncTableFiles(TFuncTable& table);

    // --- the dispatch loop (VMachineRunCodes.cpp) and its work outside the loop
    // (VMachineFusedWork.cpp) ---
    // Plans the run's kinds, after charging the plan and the compiled program to the
    // budget; false when a stop request came first (the plan is then not whole, and
    // nothing may run).
    bool PlanRun();
    void RunLoop();
    void ApplyConstantOperator(const TStackData& left, uint8_t constantKind, const TVMCode& constant, uint8_t op,
                               TStackData& result) const;
    // Pushes a variable's text that was left off the stack, to where it would lie.
    void PushTextReadLater(const TVarInfo* v, size_t depth);
    // Pushes the reference and the text of the variable of an append left off the
    // stack, to where they would lie.
    void PushAppendLater(TVarInfo* v, size_t depth);
    // Pushes the reference rkStoreElementRef left off: the marker, the subscript of
    // `element` and the array, at `depth`.
    void PushElementRefLater(TVarInfo* array, int32_t element, size_t depth);
    // X$ = X$ + ...: the room X$'s text needs for `tailSize` more bytes, checked
    // against the budget while the old string is still held; 0 when it has the room.
    size_t CheckAppendRoom(const std::string& text, size_t tailSize);
    // Appends `tail` to a variable's text, into the room CheckAppendRoom gave, and
    // charges what the text comes to hold.
    void AppendKept(std::string& text, std::string_view tail, size_t room);
    // X$ = X$ + r for a plain string variable, as rkAppendStore ends it.
    void AppendToText(TVarInfo* x, std::string_view tail, bool tailAscii);
    // Out of the dispatch loop, so that its registers stay with the common codes.
    [[gnu::noinline]] bool AppendChrToText(TVarInfo* x);
    // INSTR(X$, Y$), or with `characters` KINSTR(X$, Y$).
    [[gnu::noinline]] void PushInstrOfTexts(const TVarInfo* x, const TVarInfo* y, bool characters);
    // X$ = A$ + B$ for plain string variables, as rkJoinPlain runs it.
    void JoinPlainTexts(TVarInfo* x, const TVarInfo* a, const TVarInfo* b);
    [[gnu::always_inline]] inline TStackData& LeftOperand();
    [[gnu::always_inline]] inline int32_t OneSubscriptElement(const TVarInfo* v, const TStackData& s) const;

public:
    // The FOR loops the dispatch loop runs as blocks (machine/runplan/RunPlan.h).
    using TForValue = ::TForValue;
    using TForOperand = ::TForOperand;
    using TForLoop = ::TForLoop;

protected:
    // A variable's number, a value or a FOR operand (VMachineElements.h); false when a
    // variable holds no number (the codes then run one by one and fail as they fail).
    [[gnu::always_inline]] static inline bool ForNumber(const TVarInfo* v, double& out);
    // Stores the sum of a FOR variable and its step into the variable, which ForNumber
    // has read; what the variable then holds, as a double.
    [[gnu::always_inline]] static inline double StoreForNumber(TVarInfo* v, double sum);
    // A value as its push would leave it on the stack. Out of line, as a FOR starts
    // once a loop.
    static bool ForValue(const TForValue& value, TStackData& out);
    [[gnu::always_inline]] inline bool ForOperandValue(const TForOperand& operand, double& out) const;

    // --- handlers ---
    void ExeBasicNoHandler(const TVMCode* code);
    void ExeBasicNothing(const TVMCode* code);
    // pushes
    void ExeBasicBPushInt(const TVMCode* code);
    void ExeBasicBPushFloat(const TVMCode* code);
    void ExeBasicBPushDouble(const TVMCode* code);
    void ExeBasicBPushString(const TVMCode* code);
    void ExeBasicBPushBool(const TVMCode* code);
    void ExeBasicBPushVar(const TVMCode* code);
    void ExeBasicBPushSpecial(const TVMCode* code);
    void ExeBasicBPushAbbrev(const TVMCode* code);
    // jumps, subroutines, FOR and ON
    void ExeBasicBJmp(const TVMCode* code);
    void ExeBasicBFJmp(const TVMCode* code);
    void ExeBasicBCall(const TVMCode* code);
    void ExeBasicBRet(const TVMCode* code);
    void ExeBasicBCmpFor(const TVMCode* code);
    void ExeBasicOnGosubGoto(const TVMCode* code);
    void ExeBasicBExit(const TVMCode* code);
    void ExeBasicBLineBegin(const TVMCode* code);
    void ExeBasicBUpdateScreen(const TVMCode* code);
    // interrupts
    void ExeBasicSetIrState(const TVMCode* code);
    void ExeBasicSetIrTgt(const TVMCode* code);
    void ExeBasicStop(const TVMCode* code);

    // Sound, time and system statements (VMachineSound.cpp).
    void ExeBasicPlay(const TVMCode* code);
    void ExeBasicPlayAlloc(const TVMCode* code);
    void ExeBasicBeep(const TVMCode* code);
    void ExeBasicPeek(const TVMCode* code);
    void ExeBasicInp(const TVMCode* code);
    void ExeBasicDefSeg(const TVMCode* code);
    void ExeBasicXSleep(const TVMCode* code);
    void ExeBasicDateDl(const TVMCode* code);
    void ExeBasicTimeDl(const TVMCode* code);
    void ExeBasicXSystemtime(const TVMCode* code);
    void ExeBasicXKivoversionDl(const TVMCode* code);
    // operators (the handlers of the typed operator codes)
    void ExeBasicBAddInt(const TVMCode* code);
    void ExeBasicBAddFloat(const TVMCode* code);
    void ExeBasicBAddDouble(const TVMCode* code);
    void ExeBasicBAddString(const TVMCode* code);
    // The + of two strings: r is appended to the string value l where it lies.
    // `rHeld`: the heap bytes of r's own string when r is a value being worked on.
    void JoinText(TStackData& l, std::string_view r, bool rAscii, size_t rHeld = 0);
    void ExeBasicBSubInt(const TVMCode* code);
    void ExeBasicBSubFloat(const TVMCode* code);
    void ExeBasicBSubDouble(const TVMCode* code);
    void ExeBasicBMulInt(const TVMCode* code);
    void ExeBasicBMulFloat(const TVMCode* code);
    void ExeBasicBMulDouble(const TVMCode* code);
    void ExeBasicBDivFloat(const TVMCode* code);
    void ExeBasicBDivDouble(const TVMCode* code);
    void ExeBasicBIdivInt(const TVMCode* code);
    void ExeBasicBModInt(const TVMCode* code);
    void ExeBasicBPowFloat(const TVMCode* code);
    void ExeBasicBPowDouble(const TVMCode* code);
    void ExeBasicBNegaInt(const TVMCode* code);
    void ExeBasicBNegaFloat(const TVMCode* code);
    void ExeBasicBNegaDouble(const TVMCode* code);
    template <int Op>
    void ExeBasicBCompareInt(const TVMCode* code);
    template <int Op>
    void ExeBasicBCompareFloat(const TVMCode* code);
    template <int Op>
    void ExeBasicBCompareDouble(const TVMCode* code);
    template <int Op>
    void ExeBasicBCompareString(const TVMCode* code);
    void ExeBasicBNotInt(const TVMCode* code);
    template <int Op>
    void ExeBasicBLogicInt(const TVMCode* code);
    // console output
    void ExeBasicPrint(const TVMCode* code);
    void ExeBasicWrite(const TVMCode* code);
    void ExeBasicPrintUsing(const TVMCode* code);
    void ExeBasicTab(const TVMCode* code);
    void ExeBasicSpc(const TVMCode* code);
    void ExeBasicPos(const TVMCode* code);
    void ExeBasicCsrlin(const TVMCode* code);
    void ExeBasicCls(const TVMCode* code);
    void ExeBasicLocate(const TVMCode* code);
    void ExeBasicConsole(const TVMCode* code);
    void ExeBasicWidthProc1(const TVMCode* code);

    // numeric functions and conversions (VMachineNumeric.cpp)
    void MathByTypeTag(double (*fn)(double));
    void ExeBasicAbs(const TVMCode* code);
    void ExeBasicAtn(const TVMCode* code);
    void ExeBasicCos(const TVMCode* code);
    void ExeBasicExp(const TVMCode* code);
    void ExeBasicLog(const TVMCode* code);
    void ExeBasicSin(const TVMCode* code);
    void ExeBasicSqr(const TVMCode* code);
    void ExeBasicTan(const TVMCode* code);
    void ExeBasicFix(const TVMCode* code);
    void ExeBasicInt(const TVMCode* code);
    void ExeBasicSgn(const TVMCode* code);
    void ExeBasicCint(const TVMCode* code);
    void ExeBasicCsng(const TVMCode* code);
    void ExeBasicCdbl(const TVMCode* code);
    void ExeBasicRnd(const TVMCode* code);
    void ExeBasicRandomize(const TVMCode* code);

    // variables and arrays (VMachineVariables.cpp)
    // The subscripts of a reference, popped from s down to and including the
    // reference's start marker: the last written subscript first.
    std::vector<int32_t> PopSubscripts(TValueStack* s);
    // The element number of v for subscripts in popped order: makes an implicit
    // array, checks the dimensions and the bounds.
    int32_t ElementNumber(TVarInfo* v, std::span<const int32_t> popped);
    // The number of subscripts of the reference whose last subscript lies `above`
    // entries below the top of the value stack (the entries down to its start marker).
    size_t SubscriptCount(size_t above);
    // ElementNumber for that reference's `count` subscripts, read in place.
    int32_t ElementNumberInPlace(TVarInfo* v, size_t above, size_t count);
    void PopEntries(size_t n)
    {
        for (; n != 0; --n) ValueStack.pop_back();
    }
    // Pushes the element's value as ElementValue gives it, without a temporary.
    void PushElement(const TVarInfo* v, int32_t element);
    // The bodies of PushElement and StoreElement, for the dispatch loop
    // (VMachineElements.h).
    // Always inlined: the dispatch loop is too large for the compiler to inline them
    // on its own, and a call costs as much as their work.
    [[gnu::always_inline]] inline void PushElementInline(const TVarInfo* v, int32_t element);
    [[gnu::always_inline]] inline void StoreElementInline(TVarInfo* v, int32_t element, TStackData& value);
    // Whether an entry opens a variable reference (the compiler's marker or the tag).
    static bool IsVarRefStart(const TStackData& s)
    {
        return (s.type == sdMarker && s.value.marker == VAR_REF_MARKER) || s.type == sdVarRefStart;
    }
    // The compiler opens every variable reference with a marker of this token kind.
    static constexpr uint32_t VAR_REF_MARKER = tkVar;
    int32_t DimSuf(TValueStack* s, TVarInfo* v);
    // Pushes the element's value (texts always as the value's own copy).
    int32_t VarToVal(TValueStack* s, TVarInfo* v, bool copy);
    TStackData ElementValue(const TVarInfo* v, int32_t element);
    // An owned text of `value` is moved into the element.
    void StoreElement(TVarInfo* v, int32_t element, TStackData& value);
    // The variable of a whole reference on top of the value stack (its sdVar entry,
    // subscripts and start marker all popped), with its subscripts in popped order.
    TVarInfo* PopVarRef(std::vector<int32_t>* popped);
    // One array of a DIM: its reference popped, its block made, the debugger told.
    void DimOneVar();
    void SheltVar(long n, std::vector<TStackData>* vars, std::vector<int32_t>* counts);
    // Moves the next set-aside reference back onto the value stack.
    void GiveBackVarRef(std::vector<TStackData>* vars, std::vector<int32_t>* counts);
    void SheltVarToDeque(long n, std::deque<TStackData>* vars, std::deque<int32_t>* counts);
    void GetDequeInts(const std::deque<TStackData>& vars, const std::deque<int32_t>& counts, std::vector<int32_t>* out);
    void AssignInts(const std::vector<int32_t>& vals, const std::deque<TStackData>& vars,
                    const std::deque<int32_t>& counts);
    // Assigns typed or read items, in order, to the references SheltVar set aside
    // (VMachineInputDatas.cpp).
    void AssignInputDatas(const std::vector<std::string>& items, std::vector<TStackData>* vars,
                          std::vector<int32_t>* counts);
    void ExeBasicBLoadArray(const TVMCode* code);
    void ExeBasicBAssignArray(const TVMCode* code);
    void ExeBasicDim(const TVMCode* code);
    void ExeBasicSwap(const TVMCode* code);
    void ExeBasicOptionBase(const TVMCode* code);
    void ExeBasicSearch(const TVMCode* code);

    // DEF FN calls (VMachineUserFunc.cpp)
    void ExeBasicBCallUserFunc(const TVMCode* code);
    void ExeBasicBLoadUserFuncParam(const TVMCode* code);
    void ExeBasicBRetFromUserFunc(const TVMCode* code);

    // DATA, READ and RESTORE (VMachineData.cpp)
    void ExeBasicData(const TVMCode* code);
    void ExeBasicRead(const TVMCode* code);
    void ExeBasicRestore(const TVMCode* code);

    // RUN and CHAIN (VMachineRun.cpp)
    void SendRunRequest(const TRunRequest& request);
    void ExeBasicRunCur(const TVMCode* code);
    void ExeBasicRunSpecify(const TVMCode* code);
    void ExeBasicChain(const TVMCode* code);

    int CurrentColumn() const;

    // --- drives, file names and sequential files (VMachineFiles*.cpp) ---
    // The drive number of a BASIC file name, 1 to 14; other numbers are bad.
    int32_t DriveNumber(const std::string& name);
    // A copy of the drive's folder path; an empty folder is offline.
    std::string DriveFolderPath(int32_t drive);
    // The host path of a BASIC file name (for RUN "file" and CHAIN). A name that leads
    // out of its drive folder or to something other than a regular file is not found.
    std::string FullPathFName(const std::string& name, bool mustExist);
    // The open file of number n; bad numbers and closed slots are run-time errors.
    TKivoFile& OpenFileOfNumber(int32_t n);
    // Reads the items of INPUT # (or the line of LINE INPUT #) from file n into items.
    // When the stop check ends the reading, the item being read is dropped, never
    // copied, and the items before it are kept.
    void InputFromFile(int32_t n, long wanted, std::vector<std::string>& items, bool lineMode);
    // What INPUT$ reads from a file: whole characters until the text measures the
    // count asked for as LEN counts it, or the file ends.
    struct TFileChars {
        std::string text;
        std::size_t units = 0;  // the text's measure
        bool stopped = false;   // the stop check ended the reading; the text is dropped
    };
    TFileChars InputDlFromFile(int32_t n, int32_t count);
    // A text being read from a file, held outside the budget with `alsoHeld` bytes
    // more: appends bytes, taking a larger block only when it fits in what the budget
    // has left. The text moves to the larger block in pieces with the stop check
    // between; a stop drops it there and throws TReadDropped.
    struct TReadDropped {};
    void AppendReadText(std::string& text, std::string_view bytes, size_t alsoHeld);
    // A text read whole keeps no more room than a variable's text may have; its move
    // to a block of its size stops as the growth does.
    void TrimReadText(std::string& text, size_t alsoHeld);
    // Moves text to a block of `room` bytes (TReadDropped on a stop).
    void MoveReadText(std::string& text, size_t room);
    // INPUT$(count, #n): pops the file number, then the count; pushes the text.
    void InputDlFromFileForm();
    // The items of INPUT # (or the line of LINE INPUT #) from file n, with its checks,
    // lamp and the error for a file that ends too soon.
    std::vector<std::string> ReadFileItems(int32_t n, long wanted, bool lineMode);
    void WriteItemToFile(const TVMCode* code, bool writeForm);
    // A FILES field: the text cut as LEFT$ cuts and padded to `width` columns.
    std::string FilesField(const std::string& text, long width) const;
    void ExeBasicFiles(const TVMCode* code);
    void ExeBasicOpen(const TVMCode* code);
    void ExeBasicClose(const TVMCode* code);
    void ExeBasicEof(const TVMCode* code);
    void ExeBasicPrintSh(const TVMCode* code);
    void ExeBasicWriteSh(const TVMCode* code);

    // --- text measures and string functions (VMachineStrings.cpp) ---
    // Positions as BASIC counts them: unit 2 the byte measure, unit 1 the character
    // measure; shift codes counted in DISK-BASIC mode (RuntimeCompatiMode 2).
    bool DiskBasicMode() const;
    unsigned long Utf8PosToJisPosKernel(std::string_view text, unsigned long u, unsigned long unit) const;
    unsigned long Utf8PosToJisPos(std::string_view text, unsigned long u) const;
    unsigned long Utf8PosToJisPosK(std::string_view text, unsigned long u) const;
    unsigned long JisPosToUtf8PosKernel(std::string_view text, unsigned long j, unsigned long unit) const;
    unsigned long JisPosToUtf8Pos(std::string_view text, unsigned long j) const;
    unsigned long JisPosToUtf8PosK(std::string_view text, unsigned long j) const;
    unsigned long JisPosToUtf8PosR(std::string_view text, unsigned long j) const;
    unsigned long JisLenToUtf8Len(std::string_view text, unsigned long j, unsigned long n) const;
    unsigned long JisLenToUtf8LenK(std::string_view text, unsigned long j, unsigned long n) const;
    std::string LeftDl(std::string_view text, long n) const;
    // CHR$ of 0 to 255.
    std::string ChrDl(int32_t n) const;
    void AppendChrDl(std::string& out, int32_t n) const;
    // The text of a popped string operand; a value of another type is a type mismatch.
    std::string PopStringArg();
    // The string operand on top, to read or to change into the result; a value of
    // another type is dropped and is a type mismatch.
    TStackData& TopStringArg();
    // Drops `count` operands from the top, then throws the run-time error `key`.
    [[noreturn]] void DropAndThrow(std::size_t count, const char* key);
    // The counts of MID$ and KMID$, popped; out of range drops `dropOnError` more
    // operands and is an illegal function call.
    void PopMidCounts(const TVMCode* code, int32_t& m, int32_t& n, std::size_t dropOnError);
    // The bytes of a text that a function's result keeps.
    struct TTextSpan {
        std::size_t from, length;
    };
    // `ascii`: every byte of x is known to be ASCII.
    TTextSpan LeftSpan(std::string_view x, int32_t n, bool ascii) const;
    TTextSpan RightSpan(std::string_view x, int32_t n, bool ascii) const;
    TTextSpan MidSpan(std::string_view x, int32_t m, int32_t n, bool characters, bool ascii) const;
    int32_t InstrPosition(std::string_view x, std::string_view y, int32_t n, bool characters, bool ascii) const;
    int32_t TextLengthUnits(std::string_view x, bool ascii) const;
    int32_t InstrStart(const TStackData& given) const;
    void CutTopString(TStackData& x, TTextSpan span);
    // LEN, LEFT$, RIGHT$, MID$ or INSTR (the code) of the text of v, a plain string
    // variable, which is not on the stack; the function's other operands are.
    void ExeStringFuncOfText(const TVMCode* code, const TVarInfo* v);
    // The same for LEFT$, RIGHT$ or MID$ followed by the + that joins the result onto
    // the string below the function's operands: the result is appended there instead
    // of being pushed. False, with nothing done, when the value below is no string.
    bool JoinStringFuncOfText(const TVMCode* code, const TVarInfo* v);
    TTextSpan PopSpanOfText(const TVMCode* code, std::string_view x, bool ascii);
    // MID$ and INSTR counting bytes, or with `characters` KMID$ and KINSTR.
    void PushMid(const TVMCode* code, bool characters);
    void PushInstr(const TVMCode* code, bool characters);
    void PushRadixText(uint32_t base);
    static void InitFuncTableStrings(TFuncTable& table);
    void ExeBasicLen(const TVMCode* code);
    void ExeBasicLeftDl(const TVMCode* code);
    void ExeBasicRightDl(const TVMCode* code);
    void ExeBasicMidDlFunc(const TVMCode* code);
    void ExeBasicMidDlProc(const TVMCode* code);
    void ExeBasicInstr(const TVMCode* code);
    void ExeBasicAsc(const TVMCode* code);
    void ExeBasicChrDl(const TVMCode* code);
    void ExeBasicStrDl(const TVMCode* code);
    void ExeBasicVal(const TVMCode* code);
    void ExeBasicHexDl(const TVMCode* code);
    void ExeBasicOctDl(const TVMCode* code);
    void ExeBasicSpaceDl(const TVMCode* code);
    void ExeBasicStringDl(const TVMCode* code);

    // --- kanji, JIS and kana functions (VMachineKanji.cpp) ---
    // Half-width characters to full-width ones (KINPUT uses it too).
    std::string AkcnvDl(const std::string& s) const;
    // KLEN of kind f (FILES uses it too).
    long Klen(const char* text, long f) const;
    // The UTF-8 character of a JIS X 0208 code and a zero byte into out (at least 5
    // bytes); a code that is no character is "@Runtime_Err_Ill_Func_Call@".
    void JisCodeToUtf8Char(long code, char* out);
    static void InitFuncTableKanji(TFuncTable& table);
    void ExeBasicAkcnvDl(const TVMCode* code);
    void ExeBasicKacnvDl(const TVMCode* code);
    void ExeBasicJisDl(const TVMCode* code);
    void ExeBasicKnjDl(const TVMCode* code);
    void ExeBasicKextDl(const TVMCode* code);
    void ExeBasicKlen(const TVMCode* code);
    void ExeBasicKmidDl(const TVMCode* code);
    void ExeBasicKinstr(const TVMCode* code);

    // --- console input (VMachineInput.cpp) ---
    // Edits one line on the screen and splits it into items; wait (tenths of a second
    // per key, or null) is set to -1 when the time runs out.
    void InputFromUser(std::vector<std::string>* items, bool wholeLine, int32_t* wait);
    std::string InputDlFromUser(long count);
    bool InputItems(long n, std::vector<std::string>* items, int32_t* wait);
    void DoDelete();
    void SkipRestOfLine();
    static void InitFuncTableInput(TFuncTable& table);
    void ExeBasicInput(const TVMCode* code);
    void ExeBasicInputWait(const TVMCode* code);
    void ExeBasicLineInput(const TVMCode* code);
    void ExeBasicLineInputWait(const TVMCode* code);
    void ExeBasicKinput(const TVMCode* code);
    void ExeBasicInkeyDl(const TVMCode* code);
    void ExeBasicInputDl(const TVMCode* code);
    void ExeBasicKey(const TVMCode* code);
    void ExeBasicInputSh(const TVMCode* code);
    void ExeBasicLineInputSh(const TVMCode* code);

    // --- graphics: colour, screen modes, drawing, PAINT, ROLL, GET@, PUT@, mouse
    // (VMachineColor.cpp, VMachineDraw.cpp, VMachinePaint.cpp, VMachineImages.cpp,
    // VMachineMouse.cpp; the rows in VMachineGraphicsTable.cpp) ---
    static void InitFuncTableGraphics(TFuncTable& table);
    // After a change of the graphics palette: converts the displayed page and
    // redraws the whole screen.
    void GrphPaletteChanged();
    void ExeBasicColorProc1(const TVMCode* code);
    void ExeBasicColorProc2(const TVMCode* code);
    void ExeBasicInitColorPalette(const TVMCode* code);
    void ExeBasicColorAt(const TVMCode* code);
    void ExeBasicScreen(const TVMCode* code);
    // Draws the pixels into the active page and moves nothing else.
    void DrawOnActivePage(const TRaster& raster, int8_t colour);
    // Marks a page rectangle for redrawing and updates the screen.
    void GrphChanged(const TScreenRect& pageRect);
    // A colour operand: omitted gives `fallback`, else the low 8 bits of its integer.
    int8_t PopColour(int8_t fallback);
    // LINE's operands; fill is −1 when there is no fill colour.
    void GetLineOption(long count, TGrphPoint* first, TGrphPoint* second, int8_t* colour, int32_t* fill);
    // CIRCLE's operands as a shape, with the centre after STEP; fill may be null.
    void GetCircleOption(long count, TCircleShape* shape, int8_t* colour, int32_t* fill);
    void DrawCircle(const TCircleShape& shape, const TRaster& body, const TRaster* outline, int8_t colour,
                    int32_t fill);
    void StrokeCircleForm(const TVMCode* code, void (*outlineOf)(TRaster&, const TCircleShape&));
    void FillCircleForm(const TVMCode* code, void (*bodyOf)(TRaster&, const TCircleShape&),
                        void (*outlineOf)(TRaster&, const TCircleShape&));
    // LINE without a fill: the pixels that `raster` gives between the two corners.
    using TCornerRaster = void (*)(TRaster&, int64_t, int64_t, int64_t, int64_t);
    void DrawLineShape(const TVMCode* code, TCornerRaster raster);
    void ExeBasicPSet(const TVMCode* code);
    void ExeBasicPReset(const TVMCode* code);
    void ExeBasicPointFunc1(const TVMCode* code);
    void ExeBasicPointFunc2(const TVMCode* code);
    void ExeBasicPointProc(const TVMCode* code);
    void ExeBasicLine(const TVMCode* code);
    void ExeBasicStrokeRect(const TVMCode* code);
    void ExeBasicFillRect(const TVMCode* code);
    void ExeBasicStrokeEllipse(const TVMCode* code);
    void ExeBasicFillEllipse(const TVMCode* code);
    void ExeBasicStrokeArc(const TVMCode* code);
    void ExeBasicFillArc(const TVMCode* code);
    void ExeBasicPaint(const TVMCode* code);
    void ExeBasicRoll(const TVMCode* code);
    // The image PUT@ draws for element `key` of v: the stored one, else one built from
    // the integer array's picture, charged and stored; nothing when the run was stopped
    // while it was built.
    TPixelImageRef PutAtImage(TVarInfo* v, int32_t key);
    void PutImageOnActivePage(const TPixelImage& image, int64_t x, int64_t y, TPutMode mode, const TScreenRect& rect);
    void ExeBasicGetAt(const TVMCode* code);
    void ExeBasicPutAtProc1(const TVMCode* code);
    void ExeBasicPutAtProc2(const TVMCode* code);
    void ExeBasicMouseFunc(const TVMCode* code);
    void ExeBasicMouseProc(const TVMCode* code);
    void ExeBasicCallMouse(const TVMCode* code);
    TMouseState Mouse;

    // --- members ---
    int32_t CurLineNum = 0;
    long ExitStatus = 0;
    const TVMCode* PC = nullptr;
    const TFuncTable* FuncTable = nullptr;
    bool Fusion = true;
    bool WatchesVarAccess = false;  // see RegisterVarAccess
    // For this run, indexed like MidCode->Codes: every code's handler, and the plan of
    // the run kinds the dispatch loop runs.
    std::vector<THandler> RunHandlers;
    TRunPlan Plan;
    TMidCode* MidCode;
    long RuntimeCompatiMode = 2;
    TValueStack ValueStack;
    std::string ErrStrDisplay;
    TRunRequestSink* RunRqstView;
    TBasicRsrc* Rsrc;
    TMmlPlayer* MmlPlayer;
    TAlertSink* Alerts;
    const THostClock* Clock;
    std::atomic<uint8_t> IrStates[32];
    std::atomic<uint32_t> IrRequest{0};
    std::atomic<uint32_t> IrHeld{0};
    std::vector<TIrInfo> IrInfoStack;
    TStackData IrTargets[32];
    // Jump targets already looked up in this run, so that loops do not search the
    // maps at every turn; the maps do not change while the program runs. Labels are
    // keyed by the address of a borrowed text and checked against their own copy of
    // it, lines by their number.
    struct TJumpCacheEntry {
        const char* label = nullptr;
        std::string labelText;
        int32_t line = 0;
        int32_t index = 0;
    };
    static constexpr size_t JUMP_CACHE_SIZE = 64;
    TJumpCacheEntry LabelCache[JUMP_CACHE_SIZE];
    TJumpCacheEntry LineCache[JUMP_CACHE_SIZE];
    // Whether IrTargets[bit] is set; read by HappenInterrupt on other threads.
    std::atomic<bool> IrTargetSet[32];
    // DEF FN calls in progress: the function and the code index to return to, and
    // the arguments of each call (texts owned by the frame).
    struct TUserFuncCall {
        TUserFuncInfo* Info;
        int32_t ReturnIndex;
        size_t Charged;  // what the call's frame took from the memory budget
    };
    std::vector<TUserFuncCall> UserFuncStack;
    // Calls deeper than this are "Out of memory", as GOSUB is at the value stack's
    // limit: DEF FNA(X)=FNA(X) must not take the host down.
    static constexpr size_t USER_FUNC_DEPTH_LIMIT = size_t{1} << 16;
    std::vector<std::vector<TStackData>> UserFuncArgStack;
    // Index of the code where READ's search for the next DATA item begins.
    int32_t DataPos = 1;
    // Set when RUN or CHAIN has sent its own run request: the end of the run then
    // sends no repeat request.
    bool RunRequestSent = false;
};
