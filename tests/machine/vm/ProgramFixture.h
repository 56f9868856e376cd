#pragma once
// Whole runs of hand-built programs that use variables: variable records,
// references as the compiler pushes them, and the outcome of a run.

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "platform/Locale.h"
#include "tests/machine/vm/MachineTestSupport.h"

// One program and its run on the given devices.
class TProgram {
public:
    explicit TProgram(TBasicRsrc& rsrc) : mRsrc(rsrc) {}

    // A variable record as the compiler makes it: a plain variable of its type.
    TVarInfo* Var(const std::string& name, TTokenKind type)
    {
        TVarInfo& v = mid.VarInfoMap[name];
        v.VarName = name;
        v.CreateDefaultNonArray(type);
        return &v;
    }
    // The start marker and the subscripts of a reference.
    TProgram& Subscripts(std::initializer_list<int32_t> subscripts)
    {
        code.Add(MakeCode(vcBPushSpecial, static_cast<int32_t>(tkVar)));
        for (const int32_t s : subscripts) code.Int(s);
        return *this;
    }
    // A reference to be assigned (or handed to a statement).
    TProgram& Ref(TVarInfo* v, std::initializer_list<int32_t> subscripts = {})
    {
        Subscripts(subscripts);
        code.Add(MakeCode(vcBPushVar, v));
        return *this;
    }
    // A read of the element's value.
    TProgram& Load(TVarInfo* v, std::initializer_list<int32_t> subscripts = {})
    {
        Subscripts(subscripts);
        code.Add(MakeCode(vcBLoadArray, v));
        return *this;
    }
    TProgram& AssignInt(TVarInfo* v, std::initializer_list<int32_t> subscripts, int32_t value)
    {
        Ref(v, subscripts);
        code.Int(value).Op(vcBAssignArray);
        return *this;
    }
    TProgram& Dim(TVarInfo* v, std::initializer_list<int32_t> bounds)
    {
        Ref(v, bounds);
        code.Add(MakeCode(vcDim, int32_t{1}));
        return *this;
    }

    // Runs the program on the machine thread to its end and returns the exit status
    // (-1 when it did not start); the error text and the requests are kept.
    long Run(const TRunRequest& start = {})
    {
        code.Finish();
        TVMachine machine("Virtual Machine", &mid, &mRsrc, nullptr, &requests, &alerts);
        if (!machine.SetStartPos(start)) return -1;
        machine.Resume();
        int32_t exitValue = -2;
        machine.Wait(&exitValue);
        error = machine.ErrorText();
        stackDepth = machine.ValueStackDepth();
        return exitValue;
    }
    // Whether the run ended with this error key (" in " and the line follow it).
    bool EndedWith(const std::string& key) const { return error.rfind(key + " in ", 0) == 0; }

    TMidCode mid;
    TCodeBuilder code{mid};
    TRecordingAlertSink alerts;
    TRecordingRunRequests requests;
    std::string error;
    size_t stackDepth = 0;

private:
    TBasicRsrc& mRsrc;
};

// Runs with the error keys as their own texts.
class ProgramFixture : public ::testing::Test {
protected:
    void SetUp() override { platform::use_key_identity_catalogue(true); }
    void TearDown() override { platform::use_key_identity_catalogue(false); }

    TBasicRsrc rsrc;
};
