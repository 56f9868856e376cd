// Console output: the PRINT and WRITE texts of values, PRINT USING, TAB, SPC, POS,
// CSRLIN, CLS, LOCATE, CONSOLE and WIDTH.

#include <gtest/gtest.h>

#include "machine/vm/PrintText.h"
#include "machine/vm/RuntimeErrorKeys.h"
#include "platform/Locale.h"
#include "tests/machine/vm/MachineTestSupport.h"

namespace {

using S = TStackData;

TEST(PrintText, Numbers)
{
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {5, " 5 "},
        {-5, "-5 "},
        {0, " 0 "},
        {-0.0, " 0 "},
        {0.5, " 0.5 "},
        {1.0 / 3.0, " 0.333333 "},
        {2147483647, " 2.14748e+09 "},
        {1.5e10, " 1.5e+10 "},
        {1e-05, " 1e-05 "},
        {100000, " 100000 "},
        {1000000, " 1e+06 "},
        {-0.001, "-0.001 "},
        {0.0001, " 0.0001 "},
        {1e100, " 1e+100 "},
        // Around the whole numbers that print as their digits.
        {999999, " 999999 "},
        {-999999, "-999999 "},
        {-1000000, "-1e+06 "},
        {999999.5, " 1e+06 "},
        {123456.7, " 123457 "},
        {-2.5, "-2.5 "},
        {3e9, " 3e+09 "},
    };
    for (const Case& c : cases) EXPECT_EQ(GetPrintStrFromNum(c.value), c.text) << c.value;
    EXPECT_EQ(GetPrintStr(S::Single(1.0f / 3.0f), 0), " 0.333333 ");
    EXPECT_EQ(GetPrintStr(S::Long(2147483647), 0), " 2.14748e+09 ");
}

TEST(PrintText, WriteForms)
{
    EXPECT_EQ(GetWriteStr(S::Long(-12)), "-12");
    EXPECT_EQ(GetWriteStr(S::Long(2147483647)), "2147483647");
    EXPECT_EQ(GetWriteStr(S::Double(2.5)), "2.5");
    EXPECT_EQ(GetWriteStr(S::BorrowedText("A")), "\"A\"");
    EXPECT_EQ(GetWriteStr(S::Marker(tkComma)), ",");
}

class ConsoleOutput : public ::testing::Test {
protected:
    ConsoleOutput() : machine("Virtual Machine", &mid, &rsrc, nullptr, nullptr, nullptr)
    {
        TCodeBuilder(mid).Finish();
        rsrc.SetOwner(host);
    }
    void SetUp() override { platform::use_key_identity_catalogue(true); }
    void TearDown() override { platform::use_key_identity_catalogue(false); }

    void Run(const TVMCode& code, std::initializer_list<TStackData> operands)
    {
        machine.ValueStack.clear();
        for (const TStackData& s : operands) machine.Push(s);
        machine.Run(code);
    }
    int Column() const { return rsrc.CsrIdx % rsrc.TxtCols; }
    int Row() const { return rsrc.CsrIdx / rsrc.TxtCols; }
    void MoveTo(int row, int col) { rsrc.CsrIdx = static_cast<int16_t>(row * rsrc.TxtCols + col); }
    std::string Screen() const { return shown_screen_text(rsrc); }
    // Runs a code that must fail with `key`.
    void ExpectError(const TVMCode& code, std::initializer_list<TStackData> operands, const char* key)
    {
        try {
            Run(code, operands);
            ADD_FAILURE() << "no error";
        } catch (const TException&) {
            EXPECT_EQ(machine.ErrorText(), std::string(key));
        }
    }

    THeadlessScreenUpdates updates;
    TDeviceHost host{&updates};
    TMidCode mid;
    TBasicRsrc rsrc;
    TTestMachine machine;
};

TEST_F(ConsoleOutput, CommaMovesToTheNextZone)
{
    const int cases[][2] = {{0, 14}, {13, 14}, {14, 28}, {75, 84 - 80}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0]);
        MoveTo(3, c[0]);
        Run(MakeCode(vcPrint, false), {S::Marker(tkComma)});
        // 75 + 9 blanks passes the row's end and continues on the next row
        EXPECT_EQ(Column(), c[1]);
    }
}

TEST_F(ConsoleOutput, PrintAndWriteItems)
{
    Run(MakeCode(vcWrite, false), {S::Long(1)});
    Run(MakeCode(vcWrite, false), {S::Marker(tkComma)});
    Run(MakeCode(vcWrite, false), {S::BorrowedText("A")});
    Run(MakeCode(vcWrite, false), {S::Marker(tkComma)});
    Run(MakeCode(vcWrite, false), {S::Double(2.5)});
    Run(MakeCode(vcWrite, true), {});
    Run(MakeCode(vcPrint, false), {S::OwnedText(std::string(600, 'x'))});  // longer than a row, printed whole
    EXPECT_EQ(Screen(), "1,\"A\",2.5\n" + std::string(80, 'x') + "\n" + std::string(80, 'x') + "\n" +
                            std::string(80, 'x') + "\n" + std::string(80, 'x') + "\n" + std::string(80, 'x') + "\n" +
                            std::string(80, 'x') + "\n" + std::string(80, 'x') + "\n" + std::string(40, 'x') + "\n");
    EXPECT_TRUE(machine.ValueStack.empty());
}

TEST_F(ConsoleOutput, PrintUsing)
{
    struct Case {
        const char* format;
        std::vector<TStackData> items;
        std::string shown;
    };
    const Case cases[] = {
        {"No.### pts", {S::Long(7)}, "No.  7 pts"},
        {"##.##", {S::Double(3.14159)}, " 3."},
        {"#", {S::Long(12345)}, "12345"},
        {"plain", {S::Long(1)}, "plain"},
        {"# and #", {S::Single(2.5f), S::Long(-4)}, "3 and -4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        rsrc.ClearTxtBuf(0, 25);
        machine.ValueStack.clear();
        machine.Push(S::BorrowedText(c.format));
        for (const TStackData& item : c.items) machine.Push(item);
        machine.Push(S::Bool(true));
        machine.Run(MakeCode(vcPrintUsing, static_cast<int32_t>(c.items.size())));
        EXPECT_EQ(Screen(), c.shown + "\n");
        EXPECT_EQ(Row(), 1);
        EXPECT_TRUE(machine.ValueStack.empty());
    }
}

TEST_F(ConsoleOutput, TabAndSpc)
{
    struct Case {
        TVMCodeCmd cmd;
        int column;
        int32_t argument;
        size_t blanks;
    };
    // clang-format off
    const Case cases[] = {
        {vcTab, 10, 5, 0},  {vcTab, 10, 85, 0}, {vcTab, 0, 85, 5},  {vcTab, 3, -4, 0},
        {vcSpc, 0, 80, 0},  {vcSpc, 0, -3, 0},  {vcSpc, 0, 83, 3},  {vcSpc, 50, 10, 10},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.cmd) + " " + std::to_string(c.argument));
        MoveTo(0, c.column);
        Run(MakeCode(c.cmd), {S::Long(c.argument)});
        ASSERT_EQ(machine.ValueStack.size(), 1u);
        EXPECT_EQ(std::string(machine.ValueStack.back().CString()), std::string(c.blanks, ' '));
    }
}

TEST_F(ConsoleOutput, PosAndCsrlin)
{
    MoveTo(7, 33);
    Run(MakeCode(vcPos), {S::Long(99)});
    EXPECT_EQ(machine.Pop().value.l, 33);
    Run(MakeCode(vcCsrlin), {});
    EXPECT_EQ(machine.Pop().value.l, 7);
}

TEST_F(ConsoleOutput, Locate)
{
    Run(MakeCode(vcLocate, int32_t{2}), {S::Long(100), S::Long(100)});
    EXPECT_EQ(rsrc.CsrIdx, 24 * 80 + 79);
    Run(MakeCode(vcLocate, int32_t{2}), {S::Omitted(), S::Long(5)});
    EXPECT_EQ(rsrc.CsrIdx, 5 * 80 + 79);  // the column stays
    Run(MakeCode(vcLocate, int32_t{1}), {S::Double(2.5)});
    EXPECT_EQ(rsrc.CsrIdx, 5 * 80 + 3);  // the row stays
    Run(MakeCode(vcLocate, int32_t{3}), {S::Long(-4), S::Long(-1), S::Long(1)});
    EXPECT_EQ(rsrc.CsrIdx, 0);
    EXPECT_TRUE(machine.ValueStack.empty());
}

TEST_F(ConsoleOutput, Console)
{
    Run(MakeCode(vcConsole, int32_t{1}), {S::Long(5)});
    EXPECT_EQ(rsrc.ConsoleTop, 5);
    EXPECT_EQ(rsrc.ConsoleBottom, 25);
    Run(MakeCode(vcConsole, int32_t{2}), {S::Long(2), S::Long(10)});
    EXPECT_EQ(rsrc.ConsoleTop, 2);
    EXPECT_EQ(rsrc.ConsoleBottom, 12);
    Run(MakeCode(vcConsole, int32_t{5}), {S::Long(-1), S::Long(30 - 10), S::Long(0), S::Long(0), S::Long(1)});
    EXPECT_EQ(rsrc.ConsoleTop, 2);
    EXPECT_EQ(rsrc.ConsoleBottom, 22);
    Run(MakeCode(vcConsole, int32_t{2}), {S::Long(10), S::Long(25)});
    EXPECT_EQ(rsrc.ConsoleBottom, 25);  // at most the screen's rows
    for (int32_t top : {-2, 25}) ExpectError(MakeCode(vcConsole, int32_t{1}), {S::Long(top)}, RTE_ILL_FUNC_CALL);
    ExpectError(MakeCode(vcConsole, int32_t{2}), {S::Long(0), S::Long(26)}, RTE_ILL_FUNC_CALL);
    EXPECT_EQ(rsrc.ConsoleTop, 10);
    EXPECT_EQ(rsrc.ConsoleBottom, 25);
}

TEST_F(ConsoleOutput, Width)
{
    rsrc.Print("old");
    Run(MakeCode(vcWidthProc1, false), {S::Long(40)});
    EXPECT_EQ(rsrc.TxtCols, 40);
    EXPECT_EQ(rsrc.TxtRows, 25);
    EXPECT_EQ(rsrc.CellWidth, 16);
    EXPECT_EQ(Screen(), "");
    Run(MakeCode(vcWidthProc1, true), {S::Long(80), S::Long(20)});
    EXPECT_EQ(rsrc.TxtRows, 20);
    EXPECT_EQ(rsrc.CellHeight, 20);
    EXPECT_EQ(rsrc.ConsoleBottom, 20);
    ExpectError(MakeCode(vcWidthProc1, false), {S::Long(60)}, RTE_ILL_FUNC_CALL);
    ExpectError(MakeCode(vcWidthProc1, true), {S::Long(40), S::Long(24)}, RTE_ILL_FUNC_CALL);
    ExpectError(MakeCode(vcWidthProc1, true), {S::Long(41), S::Long(25)}, RTE_ILL_FUNC_CALL);
    EXPECT_EQ(rsrc.TxtRows, 25);  // the valid row count was kept
    EXPECT_EQ(rsrc.TxtCols, 80);
}

TEST_F(ConsoleOutput, ClsClearsTheConsoleWindowAndRedraws)
{
    for (int row = 0; row < 25; ++row) {
        MoveTo(row, 0);
        rsrc.Print("row");
    }
    rsrc.ConsoleTop = 5;
    rsrc.ConsoleBottom = 15;
    for (int32_t mode : {0, 4}) {
        const long before = updates.Count();
        Run(MakeCode(vcCls, int32_t{1}), {S::Long(mode)});
        EXPECT_EQ(updates.Count(), before + 1);
        EXPECT_EQ(Screen().substr(0, 4), "row\n");
    }
    // Modes 0 and 4 left the graphics alone; 2 clears the active page, not the text.
    rsrc.Graphics.Page(rsrc.ActivePage).IndexBits()[0] = 5;
    Run(MakeCode(vcCls, int32_t{1}), {S::Long(4)});
    EXPECT_EQ(rsrc.Graphics.Page(rsrc.ActivePage).IndexAt(0, 0), 5);
    Run(MakeCode(vcCls, int32_t{1}), {S::Long(2)});
    EXPECT_EQ(rsrc.Graphics.Page(rsrc.ActivePage).IndexAt(0, 0), rsrc.GrphBgCol);
    EXPECT_EQ(Screen().substr(0, 4), "row\n");
    Run(MakeCode(vcCls, int32_t{0}), {});
    std::string expected;
    for (int row = 0; row < 25; ++row) expected += row >= 5 && row < 15 ? "\n" : "row\n";
    EXPECT_EQ(Screen(), expected);
    EXPECT_EQ(rsrc.CsrIdx, 5 * 80);
}

}  // namespace
