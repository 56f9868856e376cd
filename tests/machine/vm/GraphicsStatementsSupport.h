#pragma once
// A machine whose graphics handlers the tests call one code at a time, on the
// devices of the fixture, with the operands pushed in source order.

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "machine/vm/RuntimeErrorKeys.h"
#include "platform/Locale.h"
#include "tests/machine/screen/GraphicsTestUtil.h"
#include "tests/machine/vm/MachineTestSupport.h"

class GraphicsStatements : public ::testing::Test {
protected:
    using S = TStackData;

    GraphicsStatements() : machine("Virtual Machine", &mid, &rsrc, nullptr, nullptr, nullptr)
    {
        TCodeBuilder(mid).Finish();
    }
    void SetUp() override { platform::use_key_identity_catalogue(true); }
    void TearDown() override { platform::use_key_identity_catalogue(false); }

    static TStackData Int(int32_t v) { return S::Long(v); }
    static TStackData Omit() { return S::Omitted(); }
    static TStackData Flag(bool v) { return S::Bool(v); }
    static TStackData Text(const char* v) { return S::OwnedText(v); }
    static TStackData Single(float v) { return S::Single(v); }

    // Runs the code with the operands; the stack must be empty afterwards unless the
    // code is a function, whose result is returned.
    void Run(const TVMCode& code, std::initializer_list<TStackData> operands)
    {
        machine.ValueStack.clear();
        for (const TStackData& s : operands) machine.Push(s);
        machine.Run(code);
        EXPECT_TRUE(machine.ValueStack.empty()) << "code " << code.Cmd << " left operands";
    }
    int32_t Function(const TVMCode& code, std::initializer_list<TStackData> operands)
    {
        machine.ValueStack.clear();
        for (const TStackData& s : operands) machine.Push(s);
        machine.Run(code);
        EXPECT_EQ(machine.ValueStack.size(), 1u);
        return machine.ValueStack.empty() ? INT32_MIN : machine.StackInt(machine.Pop());
    }
    // Runs a code that must fail with `key`.
    void ExpectError(const TVMCode& code, std::initializer_list<TStackData> operands, const char* key)
    {
        try {
            machine.ValueStack.clear();
            for (const TStackData& s : operands) machine.Push(s);
            machine.Run(code);
            ADD_FAILURE() << "no error from code " << code.Cmd << ", expected " << key;
        } catch (const TException&) {
            EXPECT_EQ(machine.ErrorText(), std::string(key)) << "code " << code.Cmd;
        }
    }

    // PSET (x, y), c.
    void PSet(int32_t x, int32_t y, int32_t c) { Run(MakeCode(vcPSet, false), {Int(x), Int(y), Int(c)}); }
    uint8_t Index(int8_t page, int32_t x, int32_t y) const { return rsrc.Graphics.Page(page).IndexAt(x, y); }
    uint32_t ColourAt(int8_t page, int32_t x, int32_t y) const { return rsrc.Graphics.Page(page).ColourAt(x, y); }
    uint32_t Word(int8_t number) const { return rsrc.Graphics.GrphColPal.Word(number); }
    std::vector<std::string> Picture(int left, int top, int width, int height) const
    {
        return gfx_test::index_picture(rsrc.Graphics.Page(rsrc.ActivePage), left, top, width, height);
    }
    TGrphPoint Last() const { return rsrc.Graphics.LastPoint; }

    TMidCode mid;
    TBasicRsrc rsrc;
    TTestMachine machine;
};
