#pragma once
// What the editor tells the debugger's view about each run. The debugger window
// implements it; until a debugger exists the editor talks to TNoDebugView.
//
// SetVMachine is called at every run with the new machine, and with null before the
// run view ends and deletes a machine, so that the view never holds a machine that
// is gone. All calls come from the main window's thread.

#include <string>

class TVMachine;

class TDebugViewInterface {
public:
    virtual ~TDebugViewInterface() = default;

    // Forgets the variables shown (their records are about to be discarded).
    virtual void ClearVar() = 0;
    // The compiler's copy of the list that is about to run under the debugger.
    virtual void SetSrcCode(const std::string& source) = 0;
    virtual void ClearCallStack() = 0;
    // Shows the variables of the newly compiled program.
    virtual void SetVar() = 0;
    virtual void SetVMachine(TVMachine* machine) = 0;
    // A break point on the first line when the preference "BrkS" asks for it.
    virtual void SetFirstBreakPoint() = 0;
};

class TNoDebugView : public TDebugViewInterface {
public:
    void ClearVar() override {}
    void SetSrcCode(const std::string&) override {}
    void ClearCallStack() override {}
    void SetVar() override {}
    void SetVMachine(TVMachine*) override {}
    void SetFirstBreakPoint() override {}
};
