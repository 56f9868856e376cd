// The compiler's copy of a list, as the editor prepares it before a run.

#include <gtest/gtest.h>

#include <string>

#include "session/FormatSource.h"

namespace {

TEST(FormatSource, AsTheEditorPreparesIt)
{
    struct Case {
        const char* name;
        std::string in, out;
    };
    const Case cases[] = {
        {"numbered lists stay", "10 PRINT 1\r\n20 END", "10 PRINT 1\n\n20 END"},
        {"unnumbered lists are numbered", "PRINT 1\n\nPRINT 2", "1 PRINT 1\n\n2 PRINT 2"},
        {"a leading 0 stays and takes no number", "PRINT\n0 X\nY", "1 PRINT\n0 X\n2 Y"},
        {"an empty first line does not decide", "\n10 GOTO 30\n20 END\n30 PRINT 1", "10 GOTO 30\n20 END\n30 PRINT 1"},
        {"a blank first line does not decide", " \n 10 GOTO 30\n30 END", " 10 GOTO 30\n30 END"},
        {"leading empty lines take no number", "\r\n\nPRINT 1", "1 PRINT 1"},
        {"a numbered line anywhere keeps the numbers", "PRINT 1\n100 END", "PRINT 1\n100 END"},
        {"Control-Z ends a line",
         "10 A\x1a"
         "20 B",
         "10 A\n20 B"},
        {"empty", "", ""},
        {"text after a NUL is dropped",
         std::string("10 A\0"
                     "20 B",
                     9),
         "10 A"},
    };
    for (const Case& c : cases) {
        const TFormattedSource source = format_source_for_compiler(c.in);
        EXPECT_EQ(source.Text, c.out) << c.name;
        EXPECT_EQ(source.Error, "") << c.name;
    }
}

TEST(FormatSource, LineLongerThan500BytesIsACompileErrorNamingIt)
{
    struct Case {
        const char* name;
        std::string list;
        std::string lineName;
    };
    const std::string tail500 = std::string(500 - 7, 'x');  // "20 REM " + tail = 500 bytes
    const Case cases[] = {
        {"numbered list", "10 PRINT 1\n20 REM " + tail500 + "y\n30 END", "Line: 20"},
        {"numbered after numbering", "PRINT 1\nREM " + std::string(498, 'x') + "\nEND", "Line: 2"},
        {"a multi-byte character across the limit", "10 REM " + std::string(492, 'x') + "\xE3\x81\x82", "Line: 10"},
        {"a line without a number in a numbered list", "10 PRINT 1\nREM " + std::string(600, 'x') + "\n20 END",
         "Line: REM " + std::string(36, 'x') + "...\n"},
    };
    for (const Case& c : cases) {
        const TFormattedSource source = format_source_for_compiler(c.list);
        EXPECT_NE(source.Error.find("Line too long"), std::string::npos) << c.name << ": " << source.Error;
        EXPECT_NE(source.Error.find(c.lineName), std::string::npos) << c.name << ": " << source.Error;
    }
    const std::string exact = "10 REM " + tail500 + "\n20 END";
    EXPECT_EQ(format_source_for_compiler(exact).Error, "") << "500 bytes are allowed";
    EXPECT_EQ(format_source_for_compiler(exact).Text, exact);
}

}  // namespace
