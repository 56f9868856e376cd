// DATA items as texts, READ and RESTORE.

#include "CompilerStmtTestSupport.h"

#include <gtest/gtest.h>

#include <string>

using namespace compiler_stmt_test;

namespace {

std::string D(const std::string& text)
{
    return "vcData \"" + text + "\"\n";
}

TEST(CompilerStmtDataTest, Items)
{
    const TCase cases[] = {
        {"DATA", D("")},
        {"DATA   ", D("")},
        {"DATA ,", D("") + D("")},
        {"DATA 1,,2", D("1") + D("") + D("2")},
        {"DATA 1,", D("1") + D("")},
        {"DATA ,1", D("") + D("1")},
        {"DATA  abc  ,\"x y\", 1+2 ", D("abc") + D("x y") + D("1+2")},
        {"DATA Hello World", D("Hello World")},
        {"DATA \"A,B\"", D("A,B")},
        {"DATA ab\"c,d\"", D("ab\\\"c,d\\\"")},
        {"DATA \"ab\"cd", D("ab") + D("cd")},
        {"DATA \"ab\" cd,ef", D("ab") + D("cd") + D("ef")},
        {"DATA \"a\",,b", D("a") + D("") + D("b")},
        {"DATA 12AB, &H10, x@", D("12AB") + D("&H10") + D("x@")},
        {"DATA 1:PRINT 2", D("1") + "vcBPushInt 2\nvcPrint false\nvcPrint true\nvcBUpdateScreen\n"},
        {"DATA \t-1.5E3 , \"\"", D("-1.5E3") + D("")},
    };
    for (const TCase& c : cases) EXPECT_EQ(Compiled(c.source), c.expected) << c.source;
}

// Once the statement has ended the tokenizer reads numbers and "&" as usual.
TEST(CompilerStmtDataTest, DataModeEndsWithTheStatement)
{
    EXPECT_EQ(Compiled("DATA 1:A=&H10"), D("1") + R + "vcBPushVar A!\nvcBPushInt 16\nvcBAssignArray\n");
    EXPECT_EQ(Error("DATA 1:A=12AB"), "@Compile_Err_Syntax_Err@");
    compiler_test::TProgram p("10 DATA 1AB\n20 A=2B\n");
    EXPECT_EQ(p.Error().message, "@Compile_Err_Syntax_Err@");
    EXPECT_EQ(p.Error().line, "20");
}

// No fixed buffer: an item as long as the line holds is kept whole.
TEST(CompilerStmtDataTest, LongItemsAreKeptWhole)
{
    const std::string item(2000, 'X');
    EXPECT_EQ(Compiled("DATA " + item + ",Y"), D(item) + D("Y"));
}

TEST(CompilerStmtDataTest, ReadAndRestore)
{
    const TCase cases[] = {
        {"READ A, B$, C(2)",
         R + "vcBPushVar A!\n" + R + "vcBPushVar B$\n" + R + "vcBPushInt 2\nvcBPushVar C!\nvcRead 3\n"},
        {"READ A B", R + "vcBPushVar A!\n" + R + "vcBPushVar B!\nvcRead 2\n"},
        {"RESTORE", "vcRestore false\n"},
        {"RESTORE 100", "vcBPushInt 100\nvcRestore true\n"},
        {"RESTORE *L", "vcBPushString \"L\"\nvcRestore true\n"},
        {"READ", "error @Compile_Err_Syntax_Err@"},
        {"READ 1", "error @Compile_Err_Syntax_Err@"},
        {"RESTORE GOTO", "error @Compile_Err_Syntax_Err@"},
        {"RESTORE 100 200", "error @Compile_Err_Syntax_Err@"},
    };
    for (const TCase& c : cases) EXPECT_EQ(Compiled(c.source), c.expected) << c.source;
}

}  // namespace
