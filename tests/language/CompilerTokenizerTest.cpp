// The tokenizer: text in, tokens (kind and text) or the compile error out.

#include "CompilerTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace compiler_test;

namespace {

const char* KindName(TTokenKind kind)
{
    switch (kind) {
    case tkFunc: return "Func";
    case tkProc: return "Proc";
    case tkFuncProc: return "FuncProc";
    case tkVar: return "Var";
    case tkUserFunc: return "UserFunc";
    case tkInt: return "Int";
    case tkSingle: return "Single";
    case tkDouble: return "Double";
    case tkString: return "String";
    case tkFileNum: return "FileNum";
    case tkLpar: return "(";
    case tkRpar: return ")";
    case tkLbracket: return "[";
    case tkRbracket: return "]";
    case tkComma: return ",";
    case tkSemiColon: return ";";
    case tkColon: return ":";
    case tkIf: return "If";
    case tkThen: return "Then";
    case tkElse: return "Else";
    case tkFor: return "For";
    case tkTo: return "To";
    case tkStep: return "Step";
    case tkNext: return "Next";
    case tkWhile: return "While";
    case tkWend: return "Wend";
    case tkAs: return "As";
    case tkHat: return "Hat";
    case tkMul: return "Mul";
    case tkDiv: return "Div";
    case tkPlus: return "Plus";
    case tkMinus: return "Minus";
    case tkIdiv: return "Idiv";
    case tkMod: return "Mod";
    case tkEqual: return "Equal";
    case tkNoteq: return "Noteq";
    case tkLt: return "Lt";
    case tkLe: return "Le";
    case tkGt: return "Gt";
    case tkGe: return "Ge";
    case tkNot: return "Not";
    case tkAnd: return "And";
    case tkOr: return "Or";
    case tkXor: return "Xor";
    case tkImp: return "Imp";
    case tkEqv: return "Eqv";
    case tkSymbol: return "Symbol";
    case tkMultiByte: return "MultiByte";
    case tkEol: return "Eol";
    case tkEot: return "Eot";
    default: return "?";
    }
}

// Every token of `text` up to the end of the text, as "Kind:text" words
// (the text left out for the line and text ends), or "error <message>".
std::string Tokens(const std::string& text, bool dataMode = false)
{
    platform::use_key_identity_catalogue(true);
    TMidCode mid;
    TCompiler compiler(&mid);
    compiler.SetSource(text.c_str());
    compiler.SetDataMode(dataMode);
    std::string out;
    try {
        for (int i = 0; i < 100; ++i) {
            const TToken token = compiler.Token();
            if (!out.empty()) out += ' ';
            out += KindName(token.kind);
            if (token.kind == tkEot) return out;
            if (token.kind != tkEol) out += ":" + token.text;
        }
        return out + " (no end)";
    } catch (const TException& e) {
        return "error " + SplitErrorText(e.String()).message;
    }
}

struct TTokenCase {
    const char* text;
    const char* tokens;
};

const TTokenCase kTokenCases[] = {
    // Keywords only as whole identifier runs.
    {"PRINTA", "Var:PRINTA Eot"},
    {"INPUT#1", "Var:INPUT#1 Eot"},
    {"INPUT #1", "Proc:INPUT FileNum:1 Eot"},
    {"print a", "Proc:PRINT Var:A Eot"},
    {"MID$ LEFT$ SIN", "FuncProc:MID$ Func:LEFT$ Func:SIN Eot"},
    // GO TO with exactly one space.
    {"go to 10", "Proc:GO TO Int:10 Eot"},
    {"GO  TO", "Var:GO To:TO Eot"},
    {"GO TOP", "Proc:GO TO Var:P Eot"},
    {"GO\tTO", "Var:GO To:TO Eot"},
    {"GOTO", "Proc:GOTO Eot"},
    // FN names.
    {"FN A", "UserFunc:FN A Eot"},
    {"FNA", "UserFunc:FNA Eot"},
    {"FN  A", "UserFunc:FN  Var:A Eot"},
    {"fnx$(1)", "UserFunc:FNX$ (:( Int:1 ):) Eot"},
    // Names.
    {"abc$", "Var:ABC$ Eot"},
    {"a.b", "Var:A.B Eot"},
    {"A%B A@B _X", "Var:A%B Var:A@B Var:_X Eot"},
    {"PUT@", "Proc:PUT@ Eot"},
    {"IF THEN ELSE FOR TO STEP NEXT WHILE WEND AS",
     "If:IF Then:THEN Else:ELSE For:FOR To:TO Step:STEP Next:NEXT While:WHILE Wend:WEND As:AS Eot"},
    {"MOD NOT AND OR XOR IMP EQV", "Mod:MOD Not:NOT And:AND Or:OR Xor:XOR Imp:IMP Eqv:EQV Eot"},
    // Numbers.
    {"10", "Int:10 Eot"},
    {"1.5 .5", "Single:1.5 Single:.5 Eot"},
    {"10% 2! 2#", "Int:10% Single:2! Double:2# Eot"},
    {"100000", "Int:100000 Eot"},
    {"1%2", "Int:1%2 Eot"},
    {"1.2.3", "Single:1.2.3 Eot"},
    {"1+2", "Int:1 Plus:+ Int:2 Eot"},
    // Hexadecimal and octal literals.
    {"&HFF &hffff", "Int:255 Int:65535 Eot"},
    {"&HFFFFFFFF &H80000000", "Int:-1 Int:-2147483648 Eot"},
    {"&H123456789", "Int:591751049 Eot"},
    {"&O17 &17 &o", "Int:15 Int:15 Int:0 Eot"},
    {"&H", "Int:0 Eot"},
    {"&HFG", "Int:15 Var:G Eot"},
    // File numbers and "#".
    {"#1", "FileNum:1 Eot"},
    {"# 1", "Symbol:# Int:1 Eot"},
    {"#.5", "FileNum:.5 Eot"},
    // Strings.
    {"\"AB:C\"", "String:AB:C Eot"},
    {"\"\"", "String: Eot"},
    {"\"open\n10", "String:open Eol Int:10 Eot"},
    {"\"A\"\"B\"", "String:A String:B Eot"},
    // Operators.
    {"<= =< <> >< >= => < = >", "Le:<= Le:=< Noteq:<> Noteq:>< Ge:>= Ge:=> Lt:< Equal:= Gt:> Eot"},
    {"< =", "Lt:< Equal:= Eot"},
    {"^*/+-\\", "Hat:^ Mul:* Div:/ Plus:+ Minus:- Idiv:\\ Eot"},
    {"()[],;:", "(:( ):) [:[ ]:] ,:, ;:; ::: Eot"},
    {"!$%?@{}~`|", "Symbol:! Symbol:$ Symbol:% Symbol:? Symbol:@ Symbol:{ Symbol:} Symbol:~ Symbol:` Symbol:| Eot"},
    // Blanks, lines, comments.
    {"\tA\r\v\fB", "Var:A Var:B Eot"},
    {"A\nB", "Var:A Eol Var:B Eot"},
    {"A 'comment: PRINT\nB", "Var:A Eol Var:B Eot"},
    {"A 'comment at the end", "Var:A Eot"},
    // Bytes of 0x80 or more, one token each; the UTF-8 yen sign is no operator.
    {"\xC2\xA5", "MultiByte:\xC2 MultiByte:\xA5 Eot"},
    {"", "Eot"},
};

TEST(CompilerTokenizerTest, TextGivesTokens)
{
    for (const auto& c : kTokenCases) EXPECT_EQ(Tokens(c.text), c.tokens) << "text: " << c.text;
}

TEST(CompilerTokenizerTest, DataModeReadsItemsPlainly)
{
    const TTokenCase cases[] = {
        {"1.5", "Int:1.5 Eot"},           {"1.", "Int:1. Eot"}, {"12AB", "Int:12 Var:AB Eot"},
        {"&HFF", "Symbol:& Var:HFF Eot"}, {"A@", "Var:A@ Eot"},
    };
    for (const auto& c : cases) EXPECT_EQ(Tokens(c.text, true), c.tokens) << "text: " << c.text;
}

TEST(CompilerTokenizerTest, MalformedTextIsACompileError)
{
    const TTokenCase cases[] = {
        {"1.", "error @Compile_Err_Syntax_Err@"},
        {"1E5", "error @Compile_Err_Syntax_Err@"},
        {"10PRINT", "error @Compile_Err_Syntax_Err@"},
        {"&8", "error @Compile_Err_Syntax_Err@"},
        {"&O19", "error @Compile_Err_Syntax_Err@"},
        {"&X", "error @Compile_Err_Syntax_Err@"},
        {"A@", "error @Compile_Err_Syntax_Err@"},
        {"A\x01", "error @Compile_Err_Unknown_Symbol &H01@"},  // a control byte is shown by its code
        {"\x7F", "error @Compile_Err_Unknown_Symbol &H7F@"},
        {"\x1F", "error @Compile_Err_Unknown_Symbol &H1F@"},
    };
    for (const auto& c : cases) EXPECT_EQ(Tokens(c.text), c.tokens) << "text: " << c.text;
}

TEST(CompilerTokenizerTest, EndOfTextRepeatsAndPositionStays)
{
    platform::use_key_identity_catalogue(true);
    TMidCode mid;
    TCompiler compiler(&mid);
    compiler.SetSource("A 'rest");
    EXPECT_EQ(compiler.Token().kind, tkVar);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(compiler.Token().kind, tkEot);
}

TEST(CompilerTokenizerTest, NamesAreEnteredIntoTheKindMap)
{
    platform::use_key_identity_catalogue(true);
    TMidCode mid;
    TCompiler compiler(&mid);
    compiler.SetSource("ZZ FNQ PRINT");
    compiler.Token();
    compiler.Token();
    compiler.Token();
    EXPECT_EQ(mid.TokenKindMap.at("ZZ"), tkVar);
    EXPECT_EQ(mid.TokenKindMap.at("FNQ"), tkUserFunc);
    EXPECT_EQ(mid.TokenKindMap.at("PRINT"), tkProc);
}

TEST(CompilerTokenizerTest, EndTokenTests)
{
    const TTokenKind ends[] = {tkColon, tkThen, tkElse, tkAs, tkEol, tkEot};
    const TTokenKind others[] = {tkNext, tkWend, tkTo, tkStep, tkRpar, tkVar, tkComma};
    for (TTokenKind k : ends) {
        EXPECT_TRUE(TCompiler::IsMultiExprEndToken(TToken(k, ""))) << k;
        EXPECT_TRUE(TCompiler::IsExprEndToken(TToken(k, ""))) << k;
    }
    for (TTokenKind k : others) EXPECT_FALSE(TCompiler::IsMultiExprEndToken(TToken(k, ""))) << k;
    EXPECT_TRUE(TCompiler::IsExprEndToken(TToken(tkComma, ",")));
    EXPECT_FALSE(TCompiler::IsExprEndToken(TToken(tkNext, "NEXT")));
}

TEST(CompilerTokenizerTest, ALineOfFiveHundredDigitsIsOneNumber)
{
    const std::string digits(500, '7');
    EXPECT_EQ(Tokens(digits), "Int:" + digits + " Eot");
}

}  // namespace
