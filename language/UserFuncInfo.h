#pragma once
// One user function defined with DEF FN.

#include <string>
#include <vector>

#include "language/TokenKind.h"

struct TVMCode;

struct TUserFuncInfo {
    std::string EntryLabel;           // internal label where the body's code begins (a LabelMap key)
    std::vector<std::string> Params;  // canonical parameter names, with type suffix, in written order
    const TVMCode* RetPos = nullptr;  // record after the calling instruction; set by the machine per call
    TTokenKind RetType = tkUntyped;   // result type, tkInt..tkString, from the function's name
};
