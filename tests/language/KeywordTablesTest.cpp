// The two keyword maps of the container: their rows, counts and rebuilds, and
// the agreement between the keyword groups, the token kinds and the
// instruction-code list.

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "language/KeywordRows.h"
#include "language/MidCode.h"
#include "listfiles/BinSaveKeywordTables.h"

namespace {

TEST(KeywordRows, KeysHaveTheTokenizersForm)
{
    // Upper-case letters, an optional suffix "$", "#" or "@", and "GO TO" as
    // the one key with a blank; 2 to 12 characters.
    std::set<std::string> keys;
    auto check = [&](const std::string& key) {
        EXPECT_TRUE(keys.insert(key).second) << "key twice: " << key;
        EXPECT_GE(key.size(), 2u);
        EXPECT_LE(key.size(), 12u);
        for (size_t i = 0; i < key.size(); ++i) {
            const char c = key[i];
            const bool last = i + 1 == key.size();
            const bool ok =
                (c >= 'A' && c <= 'Z') || (last && (c == '$' || c == '#' || c == '@')) || (key == "GO TO" && i == 2);
            EXPECT_TRUE(ok) << key;
        }
    };
    for (const auto& row : CtrlKeywordRows()) check(row.Key);
    for (const auto group :
         {FuncProcKeywordRows(), FuncKeywordRows(), ExFuncKeywordRows(), ProcKeywordRows(), ExProcKeywordRows()})
        for (const auto& row : group) check(row.Key);
}

class FreshContainer : public ::testing::Test {
protected:
    TMidCode mid;
};

TEST_F(FreshContainer, HoldsTheCountsOfKeys)
{
    EXPECT_TRUE(mid.Codes.empty());
    EXPECT_TRUE(mid.LineNumMap.empty());
    EXPECT_TRUE(mid.LabelMap.empty());
    EXPECT_TRUE(mid.UserFuncInfoMap.empty());
    EXPECT_TRUE(mid.VarInfoMap.empty());
    EXPECT_TRUE(mid.StatementBeginSet.empty());
    // One entry per keyword row; the control words have no instruction code.
    size_t codeRows = 0;
    for (const auto group :
         {FuncProcKeywordRows(), FuncKeywordRows(), ExFuncKeywordRows(), ProcKeywordRows(), ExProcKeywordRows()})
        codeRows += group.size();
    EXPECT_EQ(mid.TokenKindMap.size(), codeRows + CtrlKeywordRows().size());
    EXPECT_EQ(mid.FuncProcMap.size(), codeRows);
    EXPECT_EQ(mid.FullKanaTable.size(), 63u);
    EXPECT_EQ(mid.HalfKanaTable.size(), 63u);
    EXPECT_EQ(mid.AkcnvMap.size(), 63u);
}

TEST_F(FreshContainer, TokenKindsAgreeWithTheTableEachKeywordSitsIn)
{
    std::map<TTokenKind, size_t> perKind;
    for (const auto& [key, kind] : mid.TokenKindMap) {
        ++perKind[kind];
        const auto code = mid.FuncProcMap.find(key);
        if (kind == tkFunc || kind == tkProc || kind == tkFuncProc) {
            ASSERT_NE(code, mid.FuncProcMap.end()) << key << " has no instruction code";
            const TVMCodeCmd cmd = code->second;
            ASSERT_NE(VMCodeName(cmd), nullptr) << key;
            // The compiler reaches a function keyword through FuncTable and a
            // statement keyword through ProcTable at the keyword's code.
            const bool func = VMCodeHasEntry(cmd, vceFunc);
            const bool proc = VMCodeHasEntry(cmd, vceProc);
            if (kind == tkFunc) {
                EXPECT_TRUE(func && !proc) << key;
            } else if (kind == tkFuncProc)
                EXPECT_TRUE(func && proc) << key;
            else if (key == "PRINT#" || key == "WRITE#")
                EXPECT_FALSE(func || proc) << key << ": its code is appended by PRINT and WRITE";
            else
                EXPECT_TRUE(proc && !func) << key;
        } else {
            EXPECT_EQ(code, mid.FuncProcMap.end()) << key << " is a control word";
            EXPECT_TRUE((kind >= tkIf && kind <= tkAs) || kind == tkMod || (kind >= tkNot && kind <= tkEqv))
                << key << " " << kind;
        }
    }
    EXPECT_EQ(perKind[tkFuncProc], FuncProcKeywordRows().size());
    EXPECT_EQ(perKind.count(tkNone) + perKind.count(tkVar) + perKind.count(tkUserFunc), 0u);
    for (const auto& [key, code] : mid.FuncProcMap) EXPECT_EQ(mid.TokenKindMap.count(key), 1u) << key;
}

TEST_F(FreshContainer, EveryFunctionGeneratorCodeIsReachedByAKeyword)
{
    std::set<TVMCodeCmd> reached;
    for (const auto& [key, code] : mid.FuncProcMap) reached.insert(code);
    for (const TVMCodeInfo& info : AllVMCodes()) {
        if (info.Entries & vceFunc) {
            EXPECT_TRUE(reached.count(info.Cmd)) << info.Name;
        }
        // ProcTable's one entry that no keyword reaches is 0xB6.
        if ((info.Entries & vceProc) && info.Cmd != vcMon) {
            EXPECT_TRUE(reached.count(info.Cmd)) << info.Name;
        }
    }
    EXPECT_FALSE(reached.count(vcMon));
}

TEST_F(FreshContainer, OnlyGotoAndGoToShareACode)
{
    std::map<TVMCodeCmd, std::set<std::string>> keysOf;
    for (const auto& [key, code] : mid.FuncProcMap) {
        EXPECT_NE(code, VM_CODE_PLACEHOLDER) << key;
        keysOf[code].insert(key);
    }
    for (const auto& [code, keys] : keysOf) {
        if (code == vcGoto) {
            EXPECT_EQ(keys, (std::set<std::string>{"GO TO", "GOTO"}));
        } else
            EXPECT_EQ(keys.size(), 1u) << VMCodeName(code);
    }
}

TEST_F(FreshContainer, CodesBelow0x1000AreTheDialectsTokenNumbers)
{
    BinSaveKeywordTable tokens;
    BinSaveInitRWMap1(&tokens);
    BinSaveInitRWMap2(&tokens);
    size_t checked = 0;
    for (const auto& [key, code] : mid.FuncProcMap) {
        if (code < 0x1000 || code >= 0xFF80) {
            const auto token = tokens.find(static_cast<int32_t>(code));
            ASSERT_NE(token, tokens.end()) << key;
            EXPECT_EQ(token->second, key == "GO TO" ? "GOTO" : key) << key;
            ++checked;
        }
    }
    EXPECT_GT(checked, 0u);
    // The reverse direction: a statement code with a name of the dialect names
    // the same word as the binary-saved table.
    for (const TVMCodeInfo& info : AllVMCodes()) {
        if (info.Cmd >= 0x80 && info.Cmd <= 0xEE) {
            EXPECT_TRUE(tokens.count(static_cast<int32_t>(info.Cmd))) << info.Name;
        }
    }
}

struct KeyCase {
    const char* Key;
    uint32_t Code;    // 0: no row
    TTokenKind Kind;  // tkNone: no row
};

TEST_F(FreshContainer, LookupsAreExact)
{
    const KeyCase cases[] = {
        {"GOTO", 0xA3, tkProc},
        {"GO TO", 0xA3, tkProc},
        {"GO  TO", 0, tkNone},
        {"GOTO ", 0, tkNone},
        {"goto", 0, tkNone},
        {"GOSUB", 0xA4, tkProc},
        {"GO SUB", 0, tkNone},
        {"GO", 0, tkNone},
        {"INPUT", 0xA7, tkProc},
        {"INPUT#", 0x1073, tkProc},
        {"INPUT$", 0xFFC4, tkFunc},
        {"PRINT", 0xC0, tkProc},
        {"PRINT#", 0x1085, tkProc},
        {"WRITE", 0xE2, tkProc},
        {"WRITE#", 0x1093, tkProc},
        {"GET", 0xA5, tkProc},
        {"GET@", 0x1071, tkProc},
        {"PUT", 0xC1, tkProc},
        {"PUT@", 0x1087, tkProc},
        {"COLOR", 0x8E, tkProc},
        {"COLOR@", 0x106A, tkProc},
        {"REM", 0x108A, tkProc},
        {"PLAY", 0x1080, tkProc},
        {"SLEEP", 0x109C, tkProc},
        {"DATE$", 0xFF80, tkFunc},
        {"TIME$", 0xFF84, tkFuncProc},
        {"MID$", 0xFF81, tkFuncProc},
        {"MID", 0, tkNone},
        {"KMID$", 0xFFC9, tkFunc},
        {"LEFT", 0, tkNone},
        {"SPC", 0xD4, tkFunc},
        {"TAB", 0xD9, tkFunc},
        {"USR", 0xDD, tkFunc},
        {"MOUSE", 0x107A, tkFuncProc},
        {"IEEE", 0, tkNone},
        {"DSKO$", 0x97, tkProc},
        {"DSKI$", 0xFFC1, tkFunc},
        {"KIVOVERSION$", 0x109B, tkFunc},
        {"SYSTEMTIME", 0x109D, tkFunc},
        {"NEXT", 0, tkNext},
        {"WEND", 0, tkWend},
        {"ELSE", 0, tkElse},
        {"THEN", 0, tkThen},
        {"TO", 0, tkTo},
        {"STEP", 0, tkStep},
        {"MOD", 0, tkMod},
        {"NOT", 0, tkNot},
        {"EQV", 0, tkEqv},
        {"FN", 0, tkNone},
        {"USING", 0, tkNone},
        {"OFF", 0, tkNone},
        {"LINE INPUT", 0, tkNone},
        {"DEFINT", 0x94, tkProc},
        {"print", 0, tkNone},
    };
    for (const KeyCase& c : cases) {
        const auto code = mid.FuncProcMap.find(c.Key);
        if (c.Code == 0) {
            EXPECT_EQ(code, mid.FuncProcMap.end()) << c.Key;
        } else {
            ASSERT_NE(code, mid.FuncProcMap.end()) << c.Key;
            EXPECT_EQ(code->second, c.Code) << c.Key;
        }
        const auto kind = mid.TokenKindMap.find(c.Key);
        if (c.Kind == tkNone) {
            EXPECT_EQ(kind, mid.TokenKindMap.end()) << c.Key;
        } else {
            ASSERT_NE(kind, mid.TokenKindMap.end()) << c.Key;
            EXPECT_EQ(kind->second, c.Kind) << c.Key;
        }
    }
}

TEST(MidCodeClear, RestoresTheFreshState)
{
    TMidCode fresh;
    TMidCode mid;
    // What a compile and a run leave behind.
    mid.Codes.push_back(MakeCode(VM_CODE_PLACEHOLDER));
    mid.Codes.push_back(MakeCode(vcBLineBegin, int32_t{10}));
    mid.Codes.push_back(MakeCode(vcBPushString, mid.KeepText("HELLO")));
    mid.Codes.push_back(MakeCode(vcBExit));
    mid.LineNumMap[10] = 1;
    mid.LineNumMap[99];  // a missing line looked up by subscript
    mid.LabelMap["@L3"] = 3;
    mid.StatementBeginSet.insert(2);
    mid.TokenKindMap["A"] = tkVar;
    mid.TokenKindMap["A!"] = tkVar;
    mid.TokenKindMap["FNF"] = tkUserFunc;
    mid.TokenKindMap["PRINT"] = tkVar;  // even a damaged keyword row comes back
    mid.FuncProcMap["A"];               // a code-0 entry of a look-up
    mid.FuncProcMap.erase("GOTO");
    mid.VarInfoMap["A!"].CreateDefaultNonArray(tkSingle);
    mid.UserFuncInfoMap["FNF"].EntryLabel = "@L3";

    for (int round = 0; round < 2; ++round) {
        EXPECT_TRUE(mid.Clear());
        EXPECT_TRUE(mid.Codes.empty());
        EXPECT_TRUE(mid.OperandTexts.empty());
        EXPECT_TRUE(mid.LineNumMap.empty());
        EXPECT_TRUE(mid.LabelMap.empty());
        EXPECT_TRUE(mid.StatementBeginSet.empty());
        EXPECT_TRUE(mid.VarInfoMap.empty());
        EXPECT_TRUE(mid.UserFuncInfoMap.empty());
        EXPECT_EQ(mid.TokenKindMap, fresh.TokenKindMap);
        EXPECT_EQ(mid.FuncProcMap, fresh.FuncProcMap);
        EXPECT_EQ(mid.AkcnvMap, fresh.AkcnvMap);
        EXPECT_EQ(mid.FullKanaTable, fresh.FullKanaTable);
        EXPECT_EQ(mid.HalfKanaTable, fresh.HalfKanaTable);
    }
}

TEST(MidCodeClear, KeepsTheCodeVectorsStorage)
{
    TMidCode mid;
    for (int i = 0; i < 100; ++i) mid.Codes.push_back(MakeCode(vcBPushInt, i));
    const size_t capacity = mid.Codes.capacity();
    mid.Clear();
    EXPECT_EQ(mid.Codes.capacity(), capacity);
}

TEST(MidCodeRefill, FillersAssignWithoutEmptying)
{
    TMidCode mid;
    const size_t keywords = mid.FuncProcMap.size();
    mid.FuncProcMap["EXTRA"] = vcBExit;
    mid.InitFuncProcMapProc();
    EXPECT_EQ(mid.FuncProcMap.count("EXTRA"), 1u);
    EXPECT_EQ(mid.FuncProcMap.size(), keywords + 1);
    mid.InitFuncProcMap();
    EXPECT_EQ(mid.FuncProcMap.count("EXTRA"), 0u);
    EXPECT_EQ(mid.FuncProcMap.size(), keywords);

    const size_t kinds = mid.TokenKindMap.size();
    mid.TokenKindMap["X"] = tkVar;
    mid.InitTokenKindMapFunc();
    EXPECT_EQ(mid.TokenKindMap.count("X"), 1u);
    mid.InitTokenKindMap();
    EXPECT_EQ(mid.TokenKindMap.size(), kinds);
}

TEST(MidCodeTexts, OperandTextsStayValidUntilClear)
{
    TMidCode mid;
    std::vector<const char*> texts;
    for (int i = 0; i < 2000; ++i) {
        const std::string text = "item" + std::to_string(i);
        texts.push_back(mid.KeepText(text));
        mid.Codes.push_back(MakeCode(vcData, texts.back()));
    }
    // Growing the store moved none of the earlier texts.
    for (int i = 0; i < 2000; ++i) {
        EXPECT_STREQ(texts[static_cast<size_t>(i)], ("item" + std::to_string(i)).c_str());
        EXPECT_EQ(mid.Codes[static_cast<size_t>(i)].Operand.Text, texts[static_cast<size_t>(i)]);
    }
    EXPECT_STREQ(mid.KeepText(std::string_view("with\0nul", 8)), "with");
    EXPECT_STREQ(mid.KeepText(""), "");
}

}  // namespace
