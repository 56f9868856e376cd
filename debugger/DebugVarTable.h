#pragma once
// The debug view's own copy of the program's variables: for each name its type, its
// array shape and the text of each element that has been reported. It is filled from
// the compiled program before the run starts and kept up to date from the machine's
// 'uvir' and 'rsvr' snapshots, so nothing the view shows reads the machine's storage.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "language/TokenKind.h"
#include "platform/Message.h"

class TMidCode;

struct TDebugVar {
    std::string Name;
    TTokenKind Type = tkUntyped;
    std::vector<int32_t> Sizes;             // empty without an array
    std::map<int32_t, std::string> Values;  // element → text; absent: the type's default

    // The number of array elements (0 without an array).
    int32_t ElementCount() const;
    std::string ValueText(int32_t element) const;
    // "NAME : value" for element 0, "NAME(i,j) : value" for an element.
    std::string RowText(int32_t element) const;
};

class TDebugVarTable {
public:
    // Empties the table (the variables' records are about to go).
    void Clear() { mVars.clear(); }
    // Every variable of the compiled program, as it stands before the run.
    void SetFrom(const TMidCode& code);
    // A 'uvir': the (name, element) pairs it changed, in order.
    std::vector<std::pair<std::string, int32_t>> ApplyUpdate(const platform::Message& message);
    // One element's new text; false for an unknown name or an element beyond the shape.
    bool ApplyValue(const std::string& name, int32_t element, const std::string& value);
    // A 'rsvr': the name it rebuilt, or an empty text for a malformed message.
    std::string ApplyReset(const platform::Message& message);

    const std::map<std::string, TDebugVar>& Vars() const { return mVars; }
    const TDebugVar* Find(const std::string& name) const;

private:
    std::map<std::string, TDebugVar> mVars;
};
