// Event traps and ON: the switches, STOP, KEY n, s$, ON event GOSUB and the
// computed ON e GOTO/GOSUB, with their errors.

#include "CompilerStmtTestSupport.h"

#include <gtest/gtest.h>

using namespace compiler_stmt_test;
using compiler_test::TProgram;

namespace {

std::string I(long v)
{
    return "vcBPushInt " + std::to_string(v) + "\n";
}
const std::string A = "vcBPushAbbrev\n";
// A switch of a fixed event; KEY(n) and MOUSE(b) name their base in the operand.
const std::string State = "vcSetIrState 0\n";
const std::string KeyState = "vcSetIrState 64\n";
const std::string MouseState = "vcSetIrState 2097152\n";

std::string Repeat(const std::string& s, int n)
{
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

std::string AllKeys(int state)
{
    std::string out;
    for (int key = 65; key <= 74; ++key) out += I(key) + I(state) + State;
    return out;
}

TEST(CompilerStmtTrapsTest, Switches)
{
    const TCase cases[] = {
        {"STOP", "vcStop\n"},
        {"STOP:PRINT", "vcStop\nvcPrint true\nvcBUpdateScreen\n"},
        {"STOP ON", I(8) + I(2) + State},
        {"STOP STOP", I(8) + I(1) + State},
        {"HELP OFF", I(16) + I(0) + State},
        {"TIME$ STOP", I(32) + I(1) + State},
        {"KEY(3) ON", I(3) + I(64) + "vcBAddInt\n" + I(2) + KeyState},
        {"key(1) on", I(1) + I(64) + "vcBAddInt\n" + I(2) + KeyState},
        {"KEY OFF", AllKeys(0)},
        {"KEY ON", AllKeys(2)},
        {"KEY STOP", AllKeys(1)},
        {"MOUSE(2) STOP", I(2) + I(0x200000) + "vcBAddInt\n" + I(1) + MouseState},
        {"KEY 1,A$", I(1) + R + "vcBLoadArray A$\nvcKey\n"},
    };
    for (const TCase& c : cases) EXPECT_EQ(Compiled(c.source), c.expected) << c.source;
}

TEST(CompilerStmtTrapsTest, SwitchErrors)
{
    const TCase cases[] = {
        {"STOP FOO", "@Compile_Err_Syntax_Err@"},
        {"STOP ,", "@Compile_Err_Syntax_Err@"},  // the line compiler refuses the comma
        {"HELP", "@Compile_Err_Syntax_Err@"},
        {"TIME$=T$", "@Compile_Err_Syntax_Err@"},
        {"KEY(1)", "@Compile_Err_Syntax_Err@"},
        {"KEY(1) GO", "@Compile_Err_Syntax_Err@"},
        {"KEY(1", "@Compile_Err_No_RPar@"},
        {"KEY(1 ON", "@Compile_Err_Syntax_Err@"},
        {"MOUSE(1", "@Compile_Err_No_RPar@"},
        {"MOUSE(1)", "@Compile_Err_Syntax_Err@"},
        {"KEY 1", "@Compile_Err_Ill_Func_Call@"},
        {"KEY 1,A$,B$", "@Compile_Err_Ill_Func_Call@"},
        {"KEY", "@Compile_Err_Ill_Func_Call@"},
        // A switch without a number would push no value for the addition.
        {"KEY() ON", "@Compile_Err_Missing_Operand@"},
        {"MOUSE() ON", "@Compile_Err_Missing_Operand@"},
    };
    for (const TCase& c : cases) EXPECT_EQ(Error(c.source), c.expected) << c.source;
}

TEST(CompilerStmtTrapsTest, OnEventGosub)
{
    const TCase cases[] = {
        {"ON STOP GOSUB 100", I(100) + "vcSetIrTgt 8\n"},
        {"ON STOP GOSUB ,", A + "vcSetIrTgt 8\n"},
        {"ON HELP GOSUB *HLP", "vcBPushString \"HLP\"\nvcSetIrTgt 16\n"},
        {"ON TIME$=T$ GOSUB 500", R + "vcBLoadArray T$\n" + I(500) + "vcSetIrTgt 32\n"},
        {"ON TIME$(T$) GOSUB 500", R + "vcBLoadArray T$\n" + I(500) + "vcSetIrTgt 32\n"},
        {"ON TIME$(123) GOSUB 500", I(123) + I(500) + "vcSetIrTgt 32\n"},
        {"ON KEY GOSUB 100,,300", I(100) + A + I(300) + Repeat(A, 7) + "vcSetIrTgt 64\n"},
        {"ON KEY GOSUB ,200", A + I(200) + Repeat(A, 8) + "vcSetIrTgt 64\n"},
        {"ON KEY GOSUB", Repeat(A, 10) + "vcSetIrTgt 64\n"},
        {"ON KEY GOSUB 100,", I(100) + Repeat(A, 9) + "vcSetIrTgt 64\n"},
        {"ON KEY GOSUB 1,2,3,4,5,6,7,8,9,10",
         I(1) + I(2) + I(3) + I(4) + I(5) + I(6) + I(7) + I(8) + I(9) + I(10) + "vcSetIrTgt 64\n"},
        {"ON PLAY(1,2) GOSUB 900", I(1) + I(2) + I(900) + "vcSetIrTgt 262144\n"},
        {"ON PLAY(,2) GOSUB 900", A + I(2) + I(900) + "vcSetIrTgt 262144\n"},
        {"ON MOUSE(2) GOSUB 800", I(2) + I(800) + "vcSetIrTgt 2097152\n"},
        {"on stop gosub *lbl", "vcBPushString \"LBL\"\nvcSetIrTgt 8\n"},
    };
    for (const TCase& c : cases) EXPECT_EQ(Compiled(c.source), c.expected) << c.source;
}

TEST(CompilerStmtTrapsTest, OnEventErrors)
{
    const TCase cases[] = {
        {"ON KEY GOSUB 1,2,3,4,5,6,7,8,9,10,11", "@Compile_Err_Ill_Func_Call@"},
        {"ON KEY(1) GOSUB 100", "@Compile_Err_Ill_Func_Call@"},
        {"ON STOP GOSUB", "@Compile_Err_Ill_Func_Call@"},
        {"ON STOP GOSUB 100,200", "@Compile_Err_Ill_Func_Call@"},
        {"ON TIME$=123 GOSUB 500", "@Compile_Err_Type_Mismatch_Arg@"},
        {"ON TIME$= GOSUB 500", "@Compile_Err_Type_Mismatch_Arg@"},
        {"ON TIME$ GOSUB 500", "@Compile_Err_Ill_Func_Call@"},
        {"ON PLAY(1) GOSUB 900", "@Compile_Err_Ill_Func_Call@"},
        {"ON MOUSE GOSUB 800", "@Compile_Err_Ill_Func_Call@"},
        {"ON KEY GOTO 100", "@Compile_Err_Syntax_Err@"},
        {"ON PLAY(1,2", "@Compile_Err_No_RPar@"},
        {"ON PLAY(1,2 GOSUB 900", "@Compile_Err_Syntax_Err@"},
        {"ON STOP GOSUB )", "@Compile_Err_Syntax_Err@"},
        {"ON STOP GOSUB 100 200", "@Compile_Err_Syntax_Err@"},
        // An omitted target keeps the old one, and the machine then takes no
        // parameters off the stack: with parameters a target is required.
        {"ON TIME$=T$ GOSUB ,", "@Compile_Err_Missing_Operand@"},
        {"ON PLAY(1,2) GOSUB ,", "@Compile_Err_Missing_Operand@"},
        {"ON MOUSE(1) GOSUB ,", "@Compile_Err_Missing_Operand@"},
    };
    for (const TCase& c : cases) EXPECT_EQ(Error(c.source), c.expected) << c.source;
}

TEST(CompilerStmtTrapsTest, OnComputedJumps)
{
    const std::string X = R + "vcBLoadArray X!\n";
    const TCase cases[] = {
        {"ON X GOTO 100,200,300", X + I(100) + I(200) + I(300) + "vcOnGoto 3\n"},
        {"ON X GOSUB ,200", X + A + I(200) + "vcOnGosub 2\n"},
        {"ON X GOTO 100,,300", X + I(100) + A + I(300) + "vcOnGoto 3\n"},
        {"ON X GOTO 100,", X + I(100) + "vcOnGoto 1\n"},
        {"ON X GO TO *A,*B", X + "vcBPushString \"A\"\nvcBPushString \"B\"\nvcOnGoto 2\n"},
        {"ON X+1 GOSUB 10:PRINT", X + I(1) + "vcBAddFloat\n" + I(10) + "vcOnGosub 1\nvcPrint true\nvcBUpdateScreen\n"},
        {"ON ERROR GOTO 100", ""},
        {"ON COM GOSUB 100", ""},
        {"ON PEN GOSUB 100", ""},
        {"ON X GOTO", "error @Compile_Err_Syntax_Err@"},
        {"ON X PRINT 1", "error @Compile_Err_Syntax_Err@"},
        {"ON", "error @Compile_Err_Syntax_Err@"},
        {"ON GOTO 100", "error @Compile_Err_Syntax_Err@"},
        {"ON X GOTO 100)", "error @Compile_Err_Syntax_Err@"},
        {"ON X GOTO 100;200", "error @Compile_Err_Syntax_Err@"},
        {"ON X GOTO 100 200", "error @Compile_Err_Syntax_Err@"},
        {"ON X \"GOTO\" 100", "error @Compile_Err_Syntax_Err@"},
        {"ON ERROR GOTO (100", "error @Compile_Err_No_RPar@"},
    };
    for (const TCase& c : cases) EXPECT_EQ(Compiled(c.source), c.expected) << c.source;
}

// ON MOUSE marks the program as written for DOS-BASIC; ON KEY does not.
TEST(CompilerStmtTrapsTest, OnMouseMarksDosBasic)
{
    EXPECT_EQ(TProgram("10 ON MOUSE(1) GOSUB 100\n").compatMode, TCompiler::COMPAT_DOS_BASIC);
    EXPECT_EQ(TProgram("10 ON KEY GOSUB 100\n").compatMode, TCompiler::COMPAT_DISK_BASIC);
    EXPECT_EQ(TProgram("10 MOUSE(1) ON\n").compatMode, TCompiler::COMPAT_DISK_BASIC);
    // A preference other than Auto Detect is given back unchanged.
    EXPECT_EQ(TProgram("10 ON MOUSE(1) GOSUB 100\n", TCompiler::COMPAT_DISK_BASIC).compatMode,
              TCompiler::COMPAT_DISK_BASIC);
}

}  // namespace
