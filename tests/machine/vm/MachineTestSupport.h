#pragma once
// Building code vectors by hand for the machine's tests, and running them.

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/AlertSink.h"
#include "language/MidCode.h"
#include "machine/devices/BasicRsrc.h"
#include "machine/devices/ScreenText.h"
#include "machine/host/HeadlessHost.h"
#include "machine/vm/VMachine.h"

// Appends codes to a TMidCode as the compiler would: index 0 the placeholder,
// line beginnings entered in the line-number map and the statement set.
class TCodeBuilder {
public:
    explicit TCodeBuilder(TMidCode& mid) : mMid(mid)
    {
        mMid.Clear();
        mMid.Codes.push_back(MakeCode(VM_CODE_PLACEHOLDER));
    }

    TCodeBuilder& Line(int32_t number)
    {
        mMid.LineNumMap[number] = Here();
        Statement();
        return Add(MakeCode(vcBLineBegin, number));
    }
    TCodeBuilder& Label(const std::string& name)
    {
        mMid.LabelMap[name] = Here();
        return *this;
    }
    // Marks the next code as the beginning of a statement.
    TCodeBuilder& Statement()
    {
        mMid.StatementBeginSet.insert(Here());
        return *this;
    }
    TCodeBuilder& Add(TVMCode code)
    {
        mMid.Codes.push_back(code);
        return *this;
    }
    TCodeBuilder& Op(TVMCodeCmd cmd) { return Add(MakeCode(cmd)); }
    TCodeBuilder& Int(int32_t v) { return Add(MakeCode(vcBPushInt, v)); }
    TCodeBuilder& Single(float v) { return Add(MakeCode(vcBPushFloat, v)); }
    TCodeBuilder& Double(double v) { return Add(MakeCode(vcBPushDouble, v)); }
    TCodeBuilder& Text(const std::string& s) { return Add(MakeCode(vcBPushString, mMid.KeepText(s))); }
    // PRINT of the value pushed last, with or without the line end.
    TCodeBuilder& PrintItem() { return Add(MakeCode(vcPrint, false)); }
    TCodeBuilder& PrintEnd() { return Add(MakeCode(vcPrint, true)); }
    TCodeBuilder& Comma() { return Add(MakeCode(vcBPushSpecial, static_cast<int32_t>(tkComma))); }
    TCodeBuilder& Goto(int32_t line) { return Int(line).Op(vcBJmp); }
    TCodeBuilder& Gosub(int32_t line) { return Int(line).Op(vcBCall); }
    TCodeBuilder& Return() { return Add(MakeCode(vcBRet, true)); }
    TCodeBuilder& End() { return Op(vcBExit); }
    // The closing vcBExit that every compiled program has.
    void Finish() { Op(vcBExit); }

    int32_t Here() const { return static_cast<int32_t>(mMid.Codes.size()); }

private:
    TMidCode& mMid;
};

// A machine whose handlers and internals the tests may reach.
class TTestMachine : public TVMachine {
public:
    using TVMachine::ChangePC;
    using TVMachine::CodeIndex;
    using TVMachine::Interrupt;
    using TVMachine::IrHappen;
    using TVMachine::IrInfoStack;
    using TVMachine::IrStates;
    using TVMachine::PC;
    using TVMachine::Pop;
    using TVMachine::Push;
    using TVMachine::PushDouble;
    using TVMachine::PushFloat;
    using TVMachine::PushInt;
    using TVMachine::StackCString;
    using TVMachine::StackDouble;
    using TVMachine::StackFloat;
    using TVMachine::StackInt;
    using TVMachine::TVMachine;
    using TVMachine::ValueStack;

    // Runs one code's handler on the calling thread, as the dispatch loop would.
    void Run(const TVMCode& code) { (this->*SharedFuncTable()[code.Cmd])(&code); }
    void Run(TVMCodeCmd cmd) { Run(MakeCode(cmd)); }
};

inline std::string ScreenLines(const TBasicRsrc& rsrc)
{
    return shown_screen_text(rsrc);
}
