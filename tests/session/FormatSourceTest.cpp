// The compiler's copy of a list, as the editor prepares it before a run.

#include <gtest/gtest.h>

#include <string>

#include "session/FormatSource.h"

namespace {

TEST(FormatSource, AsTheEditorPreparesIt) {
    struct Case {
        const char* name;
        std::string in, out;
    };
    const Case cases[] = {
        {"numbered lists stay", "10 PRINT 1\r\n20 END", "10 PRINT 1\n\n20 END"},
        {"unnumbered lists are numbered", "PRINT 1\n\nEND\n", "1 PRINT 1\n\n2 END\n"},
        {"numbers are replaced, 0 stays", " 10 A\n30 B\n0 C", "1 10 A\n2 B\n3 0 C"},
        {"Control-Z ends a line", "10 A\x1a" "20 B", "10 A\n20 B"},
        {"empty", "", ""},
        {"text after a NUL is dropped", std::string("10 A\0" "20 B", 9), "10 A"},
    };
    for (const Case& c : cases) EXPECT_EQ(format_source_for_compiler(c.in), c.out) << c.name;

    const std::string longLine = "10 " + std::string(600, 'x');
    const std::string cut = format_source_for_compiler(longLine);
    EXPECT_EQ(cut.size(), longLine.size());
    EXPECT_EQ(cut.substr(0, 500), longLine.substr(0, 500));
    EXPECT_EQ(cut.substr(500), std::string(103, '\n'));
    const std::string exact = "1 " + std::string(498, 'y');
    EXPECT_EQ(format_source_for_compiler(exact), exact);
}

}  // namespace
