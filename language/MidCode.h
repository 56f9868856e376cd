#pragma once
// TMidCode: one compiled BASIC program with its tables. The compiler fills it,
// the machine runs it, the debugger's views read it; every member is public
// and used directly. One exists per run view. It has no lock: it is cleared
// and compiled while no machine exists, and while a machine runs only the
// machine's thread writes into it.
//
// Every keyed table is a node-based map, so records inside entries (TVarInfo,
// TUserFuncInfo) keep their addresses until the next Clear: code operands, the
// machine's stacks and the debugger hold plain pointers to them.
//
// In TokenKindMap, FuncProcMap, LineNumMap and LabelMap the value 0 means the
// same as no entry (users look keys up by subscript). Index 0 of Codes is a
// placeholder that never runs, so 0 is never a line or label target.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "language/TokenKind.h"
#include "language/UserFuncInfo.h"
#include "language/VMCode.h"
#include "language/VMCodeCmd.h"
#include "language/VarInfo.h"

class TMidCode {
public:
    TMidCode();
    ~TMidCode() = default;
    TMidCode(const TMidCode&) = delete;
    TMidCode& operator=(const TMidCode&) = delete;

    // Forgets the compiled program (codes, positions, variables, user
    // functions, operand texts) and rebuilds both keyword maps; the kana tables
    // stay. Always true.
    bool Clear();

    // A copy of `text` that lives until the next Clear or the container's end;
    // the compiler gives text operands (string constants, label and function
    // names, DATA items) this pointer.
    const char* KeepText(std::string_view text);

    // About how many bytes the compiled program holds: its codes, the maps of its lines,
    // labels, statements, variables and functions, the entries it added to the keyword
    // maps, and its operand texts.
    size_t HeldBytes() const;

    // Keyword to instruction code: empties FuncProcMap and fills the five groups.
    void InitFuncProcMap();
    void InitFuncProcMapFuncProc();
    void InitFuncProcMapFunc();
    void InitFuncProcMapExFunc();
    void InitFuncProcMapProc();
    void InitFuncProcMapExProc();

    // Keyword to token kind: empties TokenKindMap and fills the six groups.
    void InitTokenKindMap();
    void InitTokenKindMapCtrl();
    void InitTokenKindMapFuncProc();
    void InitTokenKindMapFunc();
    void InitTokenKindMapExFunc();
    void InitTokenKindMapProc();
    void InitTokenKindMapExProc();

    // Kana tables, filled once by the constructor.
    void InitKanaTable();
    void InitAkcnvMap();

    std::map<int32_t, int32_t> LineNumMap;                 // line number -> index of its vcBLineBegin
    std::map<std::string, int32_t> LabelMap;               // label (program's, or internal "@L<n>") -> index
    std::map<std::string, std::string> AkcnvMap;           // half-width kana -> full-width kana
    std::map<std::string, TTokenKind> TokenKindMap;        // keyword -> token kind; plus identifiers of a compile
    std::map<std::string, TUserFuncInfo> UserFuncInfoMap;  // DEF FN name -> record
    std::map<std::string, TVarInfo> VarInfoMap;            // canonical variable name -> record
    std::map<std::string, TVMCodeCmd> FuncProcMap;         // keyword -> instruction code; plus code-0 look-ups
    std::set<int32_t> StatementBeginSet;                   // indices where statements begin
    std::vector<std::string> FullKanaTable;                // 63 full-width kana, parallel to HalfKanaTable
    std::vector<std::string> HalfKanaTable;                // 63 half-width kana U+FF61..U+FF9F
    // Storage of the operand texts; declared before Codes so that it outlives them.
    std::deque<std::string> OperandTexts;
    std::vector<TVMCode> Codes;  // the program; index 0 is the placeholder

private:
    size_t mOperandTextBytes = 0;  // what OperandTexts hold
    // The entries of the keyword maps before a compile adds to them.
    size_t mKeywordKinds = 0;
    size_t mKeywordCodes = 0;
};
