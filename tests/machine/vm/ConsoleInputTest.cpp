// Console input run on the machine thread with keys queued as the run window queues
// them: INPUT and its retries, LINE INPUT, KINPUT, the WAIT forms, the line editor,
// INKEY$, INPUT$ and KEY.

#include <atomic>
#include <chrono>
#include <thread>

#include "machine/vm/RuntimeErrorKeys.h"
#include "tests/machine/vm/ProgramFixture.h"

namespace {

// Platform key codes as the run window delivers them.
constexpr char RETURN[] = "\x0A";
constexpr char LEFT[] = "\x1C";
constexpr char UP[] = "\x1E";
constexpr char BACKSPACE[] = "\x08";
constexpr char PAGE_UP[] = "\x0B";

class ConsoleInput : public ProgramFixture {
protected:
    // Keys to type while the next run goes on, one character a key ("\n" is Return).
    void Type(const std::string& text) { mKeys += text; }
    // Runs the program while a second thread types the keys, each when the key
    // buffer has room, as a user at the run window would.
    long RunTyping(TProgram& p)
    {
        std::atomic<bool> done{false};
        std::thread typist([&] {
            for (std::size_t i = 0; i < mKeys.size() && !done;) {
                if (rsrc.KeyBuffer.Size() >= TKeyBuffer::CAPACITY) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                    continue;
                }
                const std::size_t n = static_cast<unsigned char>(mKeys[i]) < 0x80 ? 1 : 3;
                rsrc.PushToKeyBuf(mKeys.c_str() + i, static_cast<long>(n));
                i += n;
            }
        });
        const long result = p.Run();
        done = true;
        typist.join();
        mKeys.clear();
        return result;
    }
    std::string mKeys;
    static void Input(TProgram& p, std::initializer_list<TVarInfo*> vars)
    {
        p.code.Text("? ").PrintItem().Op(vcBUpdateScreen);
        for (TVarInfo* v : vars) p.Ref(v);
        p.code.Add(MakeCode(vcInput, static_cast<int32_t>(vars.size())));
    }
    std::string Row(int row) const
    {
        return rsrc.DisplayedTxt(static_cast<short>(row * rsrc.TxtCols),
                                 static_cast<short>((row + 1) * rsrc.TxtCols - 1));
    }
    void SetUp() override
    {
        ProgramFixture::SetUp();
        rsrc.ClearTxtBuf(0, 25);
    }
};

TEST_F(ConsoleInput, InputAssignsEachItemInItsVariablesType)
{
    TProgram p(rsrc);
    TVarInfo* a = p.Var("A!", tkSingle);
    TVarInfo* b = p.Var("B%", tkInt);
    TVarInfo* c = p.Var("C$", tkString);
    TVarInfo* d = p.Var("D#", tkDouble);
    p.code.Line(10);
    Input(p, {a, b, c, d});
    Type("1.5,7.9, x ,&HFF\n");
    ASSERT_EQ(RunTyping(p), 0) << p.error;
    EXPECT_EQ(a->SingleValues()[0], 1.5f);
    EXPECT_EQ(b->IntValues()[0], 7);
    EXPECT_EQ(c->StringValues()[0], " x ");
    EXPECT_EQ(d->DoubleValues()[0], 255);
    EXPECT_EQ(Row(0).substr(0, 20), "? 1.5,7.9, x ,&HFF  ");
    EXPECT_EQ(Row(1).substr(0, 3), "Ok ") << "the input ends with a new line";
    EXPECT_EQ(rsrc.CsrShown, 0);
    EXPECT_EQ(p.stackDepth, 0u);
}

TEST_F(ConsoleInput, AWrongNumberOfItemsAsksAgain)
{
    TProgram p(rsrc);
    TVarInfo* a = p.Var("A!", tkSingle);
    TVarInfo* b = p.Var("B!", tkSingle);
    p.code.Line(10);
    Input(p, {a, b});
    Type("1\n3,\n");
    ASSERT_EQ(RunTyping(p), 0) << p.error;
    EXPECT_EQ(Row(0).substr(0, 4), "? 1 ");
    EXPECT_EQ(Row(1).substr(0, 17), "?Redo from start ");
    EXPECT_EQ(Row(2).substr(0, 5), "? 3, ");
    EXPECT_EQ(a->SingleValues()[0], 3.0f);
    EXPECT_EQ(b->SingleValues()[0], 0.0f) << "the empty item after the last comma";
}

TEST_F(ConsoleInput, CommasSplitTheLineUnlessItIsReadWhole)
{
    TProgram p(rsrc);
    TVarInfo* a = p.Var("A$", tkString);
    TVarInfo* b = p.Var("B$", tkString);
    p.code.Line(10);
    Input(p, {a});
    p.code.Line(20);
    p.Ref(b).code.Op(vcLineInput);
    Type("a,b\n\"q\"\na,b\n");
    ASSERT_EQ(RunTyping(p), 0) << p.error;
    EXPECT_EQ(Row(1).substr(0, 16), "?Redo from start");
    EXPECT_EQ(a->StringValues()[0], "\"q\"") << "quotes are part of the item";
    EXPECT_EQ(b->StringValues()[0], "a,b");
}

TEST_F(ConsoleInput, ItemsThatAreNoNumbersGiveZeroAndBadOctalIsAnError)
{
    {
        TProgram p(rsrc);
        TVarInfo* a = p.Var("A!", tkSingle);
        p.code.Line(10);
        Input(p, {a});
        p.AssignInt(p.Var("Z%", tkInt), {}, 5);
        Type("abc\n");
        ASSERT_EQ(RunTyping(p), 0) << p.error;
        EXPECT_EQ(a->SingleValues()[0], 0.0f);
    }
    {
        TProgram p(rsrc);
        TVarInfo* a = p.Var("A!", tkSingle);
        p.code.Line(10);
        Input(p, {a});
        Type("&O19\n");
        EXPECT_NE(RunTyping(p), 0);
        EXPECT_TRUE(p.EndedWith(RTE_ILL_FUNC_CALL)) << p.error;
    }
}

TEST_F(ConsoleInput, TheLineIsWhatTheScreenShows)
{
    // The cursor moved back over the prompt: the prompt becomes part of the line.
    TProgram p(rsrc);
    TVarInfo* a = p.Var("A$", tkString);
    TVarInfo* b = p.Var("B$", tkString);
    p.code.Line(10);
    p.code.Text("AB").PrintItem();
    p.Ref(a).code.Op(vcLineInput);
    p.code.Line(20);
    p.Ref(b).code.Op(vcLineInput);
    Type("x");
    Type(LEFT);
    Type(LEFT);
    Type(LEFT);
    Type(RETURN);
    // abc, Backspace, d: "abd".
    Type("abc");
    Type(BACKSPACE);
    Type("d\n");
    ASSERT_EQ(RunTyping(p), 0) << p.error;
    EXPECT_EQ(a->StringValues()[0], "ABx");
    EXPECT_EQ(b->StringValues()[0], "abd");
}

TEST_F(ConsoleInput, MovingUpStartsTheLineAfreshThere)
{
    TProgram p(rsrc);
    TVarInfo* a = p.Var("A$", tkString);
    p.code.Line(10);
    p.code.Text("old").PrintItem().PrintEnd();
    p.Ref(a).code.Op(vcLineInput);
    Type("zz");
    Type(UP);
    Type("N\n");
    ASSERT_EQ(RunTyping(p), 0) << p.error;
    EXPECT_EQ(a->StringValues()[0], "N");
    EXPECT_EQ(Row(0).substr(0, 4), "olN ") << ScreenLines(rsrc);
}

TEST_F(ConsoleInput, InputWaitWithoutKeysSkipsTheRestOfTheLine)
{
    TProgram p(rsrc);
    TVarInfo* a = p.Var("A%", tkInt);
    TVarInfo* b = p.Var("B%", tkInt);
    p.AssignInt(a, {}, 9);
    p.code.Line(10);
    p.code.Int(1);  // a tenth of a second per key
    p.Ref(a).code.Add(MakeCode(vcInputWait, int32_t{1}));
    p.AssignInt(b, {}, 1);  // skipped
    p.code.Line(20);
    p.code.Text("next").PrintItem().PrintEnd();
    ASSERT_EQ(RunTyping(p), 0) << p.error;
    EXPECT_EQ(a->IntValues()[0], 9) << "nothing is assigned";
    EXPECT_EQ(b->IntValues()[0], 0);
    EXPECT_EQ(Row(1).substr(0, 4), "next") << ScreenLines(rsrc);
    EXPECT_EQ(p.stackDepth, 0u);
}

TEST_F(ConsoleInput, InputWaitAndLineInputWaitTakeKeysThatCome)
{
    TProgram p(rsrc);
    TVarInfo* a = p.Var("A%", tkInt);
    TVarInfo* s = p.Var("S$", tkString);
    p.code.Line(10);
    p.code.Int(30);
    p.Ref(a).code.Add(MakeCode(vcInputWait, int32_t{1}));
    p.code.Int(30);
    p.Ref(s).code.Op(vcLineInputWait);
    Type("42\nx,y\n");
    ASSERT_EQ(RunTyping(p), 0) << p.error;
    EXPECT_EQ(a->IntValues()[0], 42);
    EXPECT_EQ(s->StringValues()[0], "x,y");
}

TEST_F(ConsoleInput, KinputMakesTheTextFullWidth)
{
    TProgram p(rsrc);
    TVarInfo* a = p.Var("A$", tkString);
    p.code.Line(10);
    p.code.Text("P").PrintItem();  // leaves the cursor on an odd column
    p.Ref(a).code.Op(vcKinput);
    Type("ｱB 1\n");
    ASSERT_EQ(RunTyping(p), 0) << p.error;  // DISK-BASIC mode: the prompt "？　" is shown
    EXPECT_EQ(a->StringValues()[0], "アＢ　１");
    EXPECT_EQ(Row(0).substr(0, 15), "P ？　ｱB 1 ");
}

TEST_F(ConsoleInput, KeySetsAFunctionKeyString)
{
    {
        TProgram p(rsrc);
        p.code.Line(10);
        p.code.Int(1).Text("").Op(vcKey);
        p.code.Int(10).Text("list 漢\r").Op(vcKey);
        ASSERT_EQ(RunTyping(p), 0) << p.error;
        EXPECT_EQ(rsrc.FuncKeyStr(1), "");
        EXPECT_EQ(rsrc.FuncKeyStr(10), "list 漢\r");
    }
    for (const int32_t n : {0, 11}) {
        TProgram p(rsrc);
        p.code.Line(10);
        p.code.Int(n).Text("x").Op(vcKey);
        EXPECT_NE(RunTyping(p), 0);
        EXPECT_TRUE(p.EndedWith(RTE_ILL_FUNC_CALL)) << n << ": " << p.error;
    }
}

class KeyFunctions : public ProgramFixture {
protected:
    KeyFunctions() : machine("Virtual Machine", &mid, &rsrc, nullptr, nullptr, nullptr) { TCodeBuilder(mid).Finish(); }
    std::string Call(TVMCode code, std::initializer_list<int32_t> args)
    {
        machine.ValueStack.clear();
        for (const int32_t a : args) machine.PushInt(a);
        machine.Run(code);
        EXPECT_EQ(machine.ValueStack.size(), 1u);
        const TStackData r = machine.Pop();
        return r.CString() != nullptr ? r.CString() : "<not a text>";
    }
    TMidCode mid;
    TTestMachine machine;
};

TEST_F(KeyFunctions, InkeyGivesTheNextKeyOrNothingAtOnce)
{
    EXPECT_EQ(Call(MakeCode(vcInkeyDl), {}), "");
    rsrc.PushToKeyBuf(PAGE_UP, 1);
    rsrc.PushToKeyBuf("漢", 3);
    EXPECT_EQ(Call(MakeCode(vcInkeyDl), {}), "\xF9");
    EXPECT_EQ(Call(MakeCode(vcInkeyDl), {}), "漢");
    EXPECT_EQ(Call(MakeCode(vcInkeyDl), {}), "");
}

TEST_F(KeyFunctions, InputDlCountsLongKeysTwice)
{
    rsrc.PushToKeyBuf("漢", 3);
    rsrc.PushToKeyBuf("a", 1);
    rsrc.PushToKeyBuf("b", 1);
    EXPECT_EQ(Call(MakeCode(vcInputDl, false), {3}), "漢a");
    EXPECT_EQ(rsrc.KeyBuffer.Size(), 1u) << "the third key stays queued";
    EXPECT_EQ(rsrc.CsrShown, 0);
    EXPECT_EQ(Call(MakeCode(vcInputDl, false), {0}), "");
    EXPECT_EQ(Call(MakeCode(vcInputDl, false), {-2}), "");
    EXPECT_EQ(Call(MakeCode(vcInputDl, false), {1}), "b");
}

// A Kill or Quit during an input ends the machine even when no line feed gets into
// the key buffer.
TEST_F(ConsoleInput, TerminateEndsAWaitingInput)
{
    TMidCode mid;
    TCodeBuilder code(mid);
    TVarInfo& a = mid.VarInfoMap["A$"];
    a.VarName = "A$";
    a.CreateDefaultNonArray(tkString);
    code.Line(10);
    code.Add(MakeCode(vcBPushSpecial, static_cast<int32_t>(tkVar))).Add(MakeCode(vcBPushVar, &a));
    code.Add(MakeCode(vcInput, int32_t{1}));
    code.Finish();
    TVMachine machine("Virtual Machine", &mid, &rsrc, nullptr, nullptr, nullptr);
    ASSERT_TRUE(machine.SetStartPos(TRunRequest{}));
    machine.Resume();
    rsrc.PushToKeyBuf("t", 1);  // no Return: the input goes on waiting
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (rsrc.KeyBuffer.Size() != 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    machine.Terminate();
    int32_t exitValue = -1;
    machine.Wait(&exitValue);
    EXPECT_TRUE(machine.IsTerminated());
    EXPECT_EQ(a.StringValues()[0], "") << "INPUT assigns nothing when told to stop";
}

}  // namespace
