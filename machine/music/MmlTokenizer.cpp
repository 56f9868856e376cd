#include "machine/music/MmlTokenizer.h"

#include <cstring>

#include "machine/music/MmlTables.h"

namespace {

[[noreturn]] void BadMml()
{
    throw kBadMmlKey;
}

bool IsUpper(char c)
{
    return c >= 'A' && c <= 'Z';
}
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The C library's white space without line feed, which is bad MML.
bool IsSkippedSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r';
}

// The single-letter commands; the note letters and "M" are handled before this table.
struct LetterKind {
    char Letter;
    TMmlTokenKind Kind;
};

constexpr LetterKind kLetterKinds[] = {
    {'S', mtkS}, {'V', mtkV},    {'L', mtkL},    {'Q', mtkQ}, {'O', mtkO}, {'K', mtkK},
    {'T', mtkT}, {'R', mtkRest}, {'P', mtkRest}, {'Y', mtkY}, {'Z', mtkZ},
};

// The other characters that stand for themselves; "@" is handled before this table.
struct SignKind {
    char Sign;
    TMmlTokenKind Kind;
};

// clang-format off
constexpr SignKind kSignKinds[] = {
    {'<', mtkLt},   {'>', mtkGt},    {'+', mtkPlus},  {'#', mtkPlus}, {'-', mtkMinus},
    {'.', mtkPeriod}, {',', mtkComma}, {'^', mtkHat}, {'{', mtkLseq}, {'}', mtkRseq},
    {'_', mtkTrans}, {'!', mtkLfo},  {'"', mtkBeep},  {'*', mtkStar},
};
// clang-format on

}  // namespace

void TMmlTokenizer::SetText(const char* text)
{
    const size_t length = std::strlen(text);
    if (length > kMaxTextLength) BadMml();
    mText.assign(text, length);
    for (char& c : mText) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    mPos = 0;
}

TMmlToken TMmlTokenizer::Token()
{
    while (IsSkippedSpace(Peek())) ++mPos;
    const char c = Peek();
    if (IsUpper(c)) return TokenAlpha();
    if (IsDigit(c)) return TokenNum();
    return TokenMisc();
}

TMmlToken TMmlTokenizer::TokenAlpha()
{
    const char c = mText[mPos++];
    if (c >= 'A' && c <= 'G') {
        int semitone = gMmlPitchTable[c - 'A'];
        const char accidental = Peek();
        if (accidental == '+' || accidental == '#') {
            ++semitone;
            ++mPos;
        } else if (accidental == '-') {
            --semitone;
            ++mPos;
        }
        return {mtkPitch, std::to_string(semitone)};
    }
    if (c == 'M') {
        const char next = Peek();
        if (next == 'B' || next == 'F') {
            ++mPos;
            return {next == 'B' ? mtkMb : mtkMf, {}};
        }
        return {mtkM, {}};
    }
    for (const LetterKind& entry : kLetterKinds) {
        if (entry.Letter == c) return {entry.Kind, {}};
    }
    BadMml();  // H, I, J, N, U, W, X
}

TMmlToken TMmlTokenizer::TokenNum()
{
    TMmlToken token{mtkNumber, {}};
    while (IsDigit(Peek())) {
        if (token.Text.size() == kMaxDigits) BadMml();
        token.Text += mText[mPos++];
    }
    return token;
}

TMmlToken TMmlTokenizer::TokenMisc()
{
    const char c = Peek();
    if (c == '\0') return {mtkEnd, {}};  // the position stays at the end
    ++mPos;
    if (c == '@') {
        const char next = Peek();
        if (next == 'V' || next == 'W') {
            ++mPos;
            return {next == 'V' ? mtkAtV : mtkAtW, {}};
        }
        return {mtkAt, {}};
    }
    for (const SignKind& entry : kSignKinds) {
        if (entry.Sign == c) return {entry.Kind, {}};
    }
    BadMml();  // line feed, "&", "$", bytes of 0x80 and above, ...
}

int32_t TMmlTokenizer::NumberValue(const TMmlToken& token)
{
    int64_t value = 0;
    for (char digit : token.Text) {
        value = value * 10 + (digit - '0');
        if (value > INT32_MAX) return INT32_MAX;
    }
    return static_cast<int32_t>(value);
}
