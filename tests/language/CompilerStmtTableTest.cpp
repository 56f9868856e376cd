// The whole statement table: every keyword that can begin a statement has a
// generator that compiles a statement written with it. A keyword missing here
// is a keyword without a sample, which fails the test.

#include "CompilerStmtTestSupport.h"

#include "language/MidCode.h"

#include <gtest/gtest.h>

#include <map>

using namespace compiler_stmt_test;

namespace {

// One statement per keyword, in the order of the statement table.
const std::map<std::string, std::string>& Samples()
{
    static const std::map<std::string, std::string> samples = {
        {"REM", "REM X"},
        {"END", "END"},
        {"DEFSTR", "DEFSTR S"},
        {"DEFINT", "DEFINT I-K"},
        {"DEFSNG", "DEFSNG A"},
        {"DEFDBL", "DEFDBL D"},
        {"PRINT", "PRINT 1"},
        {"WRITE", "WRITE 1"},
        {"GOTO", "GOTO 10"},
        {"GO TO", "GO TO 10"},
        {"GOSUB", "GOSUB 10"},
        {"RETURN", "RETURN"},
        {"LET", "LET A=1"},
        {"DIM", "DIM A(10)"},
        {"SWAP", "SWAP A,B"},
        {"MID$", "MID$(A$,1)=\"X\""},
        {"BASE", ""},  // only after OPTION
        {"BEEP", "BEEP"},
        {"RANDOMIZE", "RANDOMIZE 1"},
        {"SLEEP", "SLEEP 1"},
        {"AUTO", "AUTO"},
        {"BSAVE", "BSAVE \"F\",0,1"},
        {"BLOAD", "BLOAD \"F\""},
        {"COPY", "COPY"},
        {"CONT", "CONT"},
        {"CLEAR", "CLEAR"},
        {"COMMON", "COMMON A"},
        {"COM", "COM ON"},
        {"DELETE", "DELETE 10"},
        {"DSKO$", "DSKO$ 1"},
        {"DRAW", "DRAW \"U1\""},
        {"ERASE", "ERASE A"},
        {"EDIT", "EDIT 10"},
        {"ERROR", "ERROR 5"},
        {"FIELD", "FIELD #1, 20 AS A$"},
        {"KILL", "KILL \"F\""},
        {"LPRINT", "LPRINT 1"},
        {"LLIST", "LLIST"},
        {"LOAD", "LOAD \"F\""},
        {"LSET", "LSET A$=\"X\""},
        {"LFILES", "LFILES"},
        {"MERGE", "MERGE \"F\""},
        {"NAME", "NAME \"A\" AS \"B\""},
        {"NEW", "NEW"},
        {"OUT", "OUT 1,2"},
        {"POKE", "POKE 1,2"},
        {"RESUME", "RESUME"},
        {"RSET", "RSET A$=\"X\""},
        {"RENUM", "RENUM"},
        {"SAVE", "SAVE \"F\""},
        {"TRON", "TRON"},
        {"TROFF", "TROFF"},
        {"TERM", "TERM"},
        {"WAIT", "WAIT 1,2"},
        {"LIST", "LIST"},
        {"SET", "SET"},
        {"CMD", "CMD"},
        {"KPLOAD", "KPLOAD"},
        {"VOICE", "VOICE"},
        {"PEN", "PEN ON"},
        {"VIEW", "VIEW (0,0)-(1,1)"},
        {"WINDOW", "WINDOW (0,0)-(1,1)"},
        {"INPUT", "INPUT A"},
        {"INPUT#", "INPUT# A"},
        {"KINPUT", "KINPUT A$"},
        {"DATA", "DATA 1"},
        {"READ", "READ A"},
        {"RESTORE", "RESTORE"},
        {"DEF", "DEF FNA(X)=X"},
        {"OPTION", "OPTION BASE 1"},
        {"PSET", "PSET (1,2)"},
        {"PRESET", "PRESET (1,2)"},
        {"POINT", "POINT (1,2)"},
        {"PAINT", "PAINT (1,2)"},
        {"COLOR", "COLOR 1"},
        {"COLOR@", "COLOR@ (0,0)-(1,1)"},
        {"SCREEN", "SCREEN 3"},
        {"CLS", "CLS"},
        {"LINE", "LINE (0,0)-(1,1)"},
        {"CIRCLE", "CIRCLE (0,0),1"},
        {"LOCATE", "LOCATE 1,1"},
        {"CONSOLE", "CONSOLE 0,25"},
        {"WIDTH", "WIDTH 80"},
        {"KEY", "KEY ON"},
        {"STOP", "STOP"},
        {"HELP", "HELP ON"},
        {"TIME$", "TIME$ ON"},
        {"OPEN", "OPEN \"F\" AS #1"},
        {"CLOSE", "CLOSE"},
        {"FILES", "FILES"},
        {"RUN", "RUN"},
        {"CHAIN", "CHAIN \"F\""},
        {"GET@", "GET@ (0,0)-(1,1),A"},
        {"PUT@", "PUT@ (0,0),A"},
        {"GET", "GET #1"},
        {"PUT", "PUT #1"},
        {"ROLL", "ROLL 1"},
        {"MOUSE", "MOUSE 1"},
        {"CALL", "CALL MOUSE(A,B,C,D,E)"},
        {"PLAY", "PLAY \"C\""},
        {"ON", "ON X GOTO 10"},
        {"PRINT#", ""},  // PRINT and WRITE compile the file forms
        {"WRITE#", ""},
    };
    return samples;
}

TEST(CompilerStmtTableTest, EveryStatementKeywordCompiles)
{
    TMidCode mid;
    int keywords = 0;
    for (const auto& [keyword, kind] : mid.TokenKindMap) {
        if (kind != tkProc && kind != tkFuncProc) continue;
        ++keywords;
        const auto sample = Samples().find(keyword);
        ASSERT_NE(sample, Samples().end()) << "no sample statement for " << keyword;
        if (sample->second.empty()) continue;
        EXPECT_EQ(Error(sample->second), "") << sample->second;
    }
    EXPECT_EQ(keywords, 103);
}

}  // namespace
