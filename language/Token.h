#pragma once
// One token of the compile text: its kind and the characters it stands for.
// The tokenizer makes them one at a time; every compiler step takes the
// current token and hands back the first token that it did not consume.

#include "language/TokenKind.h"

#include <string>

struct TToken {
    TTokenKind kind = tkNone;
    std::string text;

    TToken() = default;
    TToken(TTokenKind k, std::string t) : kind(k), text(std::move(t)) {}
};
