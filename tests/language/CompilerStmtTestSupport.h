#pragma once
// Helpers for the statement generator tests: one program line compiled on a
// fresh container, its codes as a listing without the line's own begin record
// and the program's closing vcBExit, or the key of the compile error.

#include "CompilerTestSupport.h"

#include <string>

namespace compiler_stmt_test {

// The opening record of every variable reference.
inline const std::string R = "vcBPushSpecial 4\n";

struct TStatement {
    compiler_test::TProgram program;
    std::string listing;  // the statement's codes, one record a line
    std::string error;    // the compile error's key, empty when none

    explicit TStatement(const std::string& statement) : program("10 " + statement + "\n")
    {
        if (program.HasError()) {
            error = program.Error().message;
            return;
        }
        const std::string all = program.Listing();
        const std::string head = "vcBLineBegin 10\n";
        const std::string tail = "vcBExit\n";
        if (all.rfind(head, 0) == 0 && all.size() >= head.size() + tail.size() &&
            all.compare(all.size() - tail.size(), tail.size(), tail) == 0)
            listing = all.substr(head.size(), all.size() - head.size() - tail.size());
        else
            listing = "(unexpected program: " + all + ")";
    }
};

// The listing, or "error <key>" when the statement does not compile.
inline std::string Compiled(const std::string& statement)
{
    const TStatement s(statement);
    return s.error.empty() ? s.listing : "error " + s.error;
}

inline std::string Error(const std::string& statement)
{
    return TStatement(statement).error;
}

// A table row: source in, listing or "error <key>" out.
struct TCase {
    const char* source;
    std::string expected;
};

}  // namespace compiler_stmt_test
