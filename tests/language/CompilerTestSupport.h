#pragma once
// Helpers for the compiler tests: compile a text (a whole program, or one
// expression) on a fresh container and give back the code listing, or the key
// and line of the compile error. Texts are looked up with the key-identity
// catalogue, so an error message is its key.

#include "foundation/AlertSink.h"
#include "foundation/Exception.h"
#include "language/CodeListing.h"
#include "language/Compiler.h"
#include "language/MidCode.h"
#include "platform/Locale.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace compiler_test {

// The message and the line of a compile-error text
// ("Compile Error\n\n<message>\n\nLine: <n>\n").
struct TErrorParts {
    std::string message;
    std::string line;
};

inline TErrorParts SplitErrorText(const std::string& text)
{
    TErrorParts parts;
    const std::string head = "Compile Error\n\n";
    const std::size_t lineAt = text.rfind("\n\nLine: ");
    if (text.rfind(head, 0) != 0 || lineAt == std::string::npos || text.empty() || text.back() != '\n')
        return {"(malformed: " + text + ")", ""};
    parts.message = text.substr(head.size(), lineAt - head.size());
    parts.line = text.substr(lineAt + 8, text.size() - (lineAt + 8) - 1);
    return parts;
}

// One compilation of a whole program text.
struct TProgram {
    TMidCode mid;
    TRecordingAlertSink alerts;
    bool ok = false;
    int32_t compatMode = -1;

    TProgram(const std::string& text, int32_t compatPreference = 0)
    {
        platform::use_key_identity_catalogue(true);
        TCompiler compiler(&mid, &alerts, compatPreference);
        ok = compiler.Compile(text.c_str(), &compatMode);
    }

    // The codes after the placeholder, with label lines.
    std::string Listing() const { return ListCodes(mid); }
    bool HasError() const { return alerts.Count() > 0; }
    TErrorParts Error() const { return SplitErrorText(alerts.Last()); }
};

// One expression (or statement-mode expression) compiled on its own.
struct TExpression {
    TMidCode mid;
    std::string source;
    TTokenKind type = tkNone;
    TToken rest;
    std::string error;  // the message of the compile error, empty when none

    TExpression(const std::string& text, bool statementMode = false) : source(text)
    {
        platform::use_key_identity_catalogue(true);
        TCompiler compiler(&mid);
        compiler.SetSource(source.c_str());
        try {
            rest = compiler.GenExpr(compiler.Token(), statementMode, &type);
        } catch (const TException& e) {
            error = SplitErrorText(e.String()).message;
        }
    }

    std::string Listing() const { return ListCodes(mid.Codes, 0); }
};

// A compiler on its own container, reading `text`, for tests that call its
// generators one by one.
struct TBench {
    TMidCode mid;
    std::string source;
    TCompiler compiler{&mid};

    explicit TBench(const std::string& text) : source(text)
    {
        platform::use_key_identity_catalogue(true);
        compiler.SetSource(source.c_str());
    }

    std::string Listing() const { return ListCodes(mid.Codes, 0); }

    // The message of the compile error that `step` throws, or "" when none.
    template <typename Step>
    std::string ErrorOf(Step step)
    {
        try {
            step();
        } catch (const TException& e) {
            return SplitErrorText(e.String()).message;
        }
        return "";
    }
};

}  // namespace compiler_test
