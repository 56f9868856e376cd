#pragma once
// The operations that run a program, as the editor's hand-off drives them: the run
// session implements them (session/RunSession.h), and the hand-off's tests fake them.
// Until there is a session the hand-off talks to TNoRunOperations, and nothing runs.

#include <string>

#include "foundation/Common.h"
#include "machine/host/HostInterfaces.h"

class TVMachine;

class TRunOperations {
public:
    virtual ~TRunOperations() = default;
    // Compiles the compiler's copy of a list; false on a compile error, when the list
    // holds no program, or when a Kill came first.
    virtual bool CompileBasic(const std::string& source) = 0;
    // Forgets the compiled program.
    virtual bool ClearBasic() = 0;
    // Makes the machine of the next run, suspended; its run requests go to
    // `runTarget`.
    virtual bool ReadyBasic(TRunRequestSink* runTarget) = 0;
    // Starts the readied machine at the request's line or label; false when the
    // program has no such line or label.
    virtual bool RunBasic(const TRunRequest& request) = 0;
    // Ends and deletes the machine (null: the current one; another machine: nothing),
    // waiting until its thread has ended.
    virtual bool QuitBasic(const TVMachine* machine) = 0;
    // Sets the killed flag and stops the machine without waiting for it.
    virtual bool KillBasic() = 0;
    // True while a killed machine is still finishing its statement.
    virtual bool Ending() const = 0;
    virtual TVMachine* VMachine() const = 0;
    // Drops a STOP key kept for the next run: the user starts a run of their own.
    virtual void ForgetStopKey() = 0;
};

class TNoRunOperations : public TRunOperations {
public:
    bool CompileBasic(const std::string&) override { return false; }
    bool ClearBasic() override { return false; }
    bool ReadyBasic(TRunRequestSink*) override { return false; }
    bool RunBasic(const TRunRequest&) override { return false; }
    bool QuitBasic(const TVMachine*) override { return false; }
    // A Kill still sets the killed flag, as the session's would.
    bool KillBasic() override
    {
        gAppPrivacy.Killed = true;
        return false;
    }
    bool Ending() const override { return false; }
    TVMachine* VMachine() const override { return nullptr; }
    void ForgetStopKey() override {}
};
