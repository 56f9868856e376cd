#pragma once
// The one number space of the compiler's token kinds and the dialect's value
// types. Other parts compute with the numbering (7..10 are the storable value
// types in the order integer, single, double, string; 17..18 the list
// separators; 37..42 the comparisons), so every value keeps its number.

#include <cstdint>

enum TTokenKind : int32_t {
    tkNone = 0,           // not a keyword: what an absent key of TokenKindMap reads as
    tkFunc = 1,           // function keyword
    tkProc = 2,           // statement keyword
    tkFuncProc = 3,       // keyword that is both function and statement
    tkVar = 4,            // a name that is not a keyword and does not begin with "FN"
    tkUserFunc = 5,       // a name that begins with "FN"
    tkUntyped = 6,        // no value type yet
    tkInt = 7,            // 32-bit signed integer, suffix "%"
    tkSingle = 8,         // IEEE single precision, suffix "!"
    tkDouble = 9,         // IEEE double precision, suffix "#"
    tkString = 10,        // string, suffix "$"
    tkTypeMismatch = 11,  // a string combined with a number
    tkFileNum = 12,       // "#" directly followed by a digit or "."
    tkLpar = 13,          // (
    tkRpar = 14,          // )
    tkLbracket = 15,      // [
    tkRbracket = 16,      // ]
    tkComma = 17,         // ,
    tkSemiColon = 18,     // ;
    tkColon = 19,         // : (statement separator)
    tkIf = 20,            // IF
    tkThen = 21,          // THEN
    tkElse = 22,          // ELSE
    tkFor = 23,           // FOR
    tkTo = 24,            // TO
    tkStep = 25,          // STEP
    tkNext = 26,          // NEXT
    tkWhile = 27,         // WHILE
    tkWend = 28,          // WEND
    tkAs = 29,            // AS
    tkHat = 30,           // ^  power
    tkMul = 31,           // *  multiplication; the mark of a label
    tkDiv = 32,           // /  division
    tkPlus = 33,          // +  addition, joining of strings, sign
    tkMinus = 34,         // -  subtraction, sign; the mark between two coordinate pairs
    tkIdiv = 35,          // \  integer division
    tkMod = 36,           // MOD
    tkEqual = 37,         // =
    tkNoteq = 38,         // <> or ><
    tkLt = 39,            // <
    tkLe = 40,            // <= or =<
    tkGt = 41,            // >
    tkGe = 42,            // >= or =>
    tkNot = 43,           // NOT
    tkAnd = 44,           // AND
    tkOr = 45,            // OR
    tkXor = 46,           // XOR
    tkImp = 47,           // IMP
    tkEqv = 48,           // EQV
    tkAnyType = 49,       // any value type (operand descriptions only)
    tkOmitted = 50,       // an optional operand left out (placeholder of the operand parser)
    tkSymbol = 51,        // a single character without a kind of its own
    tkMultiByte = 52,     // a byte of 0x80 or more
    tkEol = 53,           // end of a line
    tkEot = 54,           // end of the program text
};

// 7 <= kind <= 10: a type that a variable can store.
constexpr bool IsStorableType(int32_t kind)
{
    return kind >= tkInt && kind <= tkString;
}
