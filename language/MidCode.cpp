#include "language/MidCode.h"

#include "foundation/HeaderConstants.h"
#include "language/KeywordRows.h"

namespace {

// The full-width counterparts of HALF_KANA_STR, position by position (U+FF61 + i).
// The sound marks map to the spacing marks U+309B and U+309C.
const char* const FULL_KANA_STR = "。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハ"
                                  "ヒフヘホマミムメモヤユヨラリルレロワン゛゜";

constexpr size_t KANA_BYTES = 3;  // every character of both sequences is 3 bytes of UTF-8

void AssignCodes(std::map<std::string, TVMCodeCmd>& map, std::span<const TKeywordCodeRow> rows)
{
    for (const TKeywordCodeRow& row : rows) map[row.Key] = row.Code;
}

void AssignKinds(std::map<std::string, TTokenKind>& map, std::span<const TKeywordCodeRow> rows, TTokenKind kind)
{
    for (const TKeywordCodeRow& row : rows) map[row.Key] = kind;
}

void AppendCharacters(std::vector<std::string>& table, const std::string& sequence)
{
    table.reserve(table.size() + sequence.size() / KANA_BYTES);
    for (size_t pos = 0; pos + KANA_BYTES <= sequence.size(); pos += KANA_BYTES)
        table.push_back(sequence.substr(pos, KANA_BYTES));
}

}  // namespace

TMidCode::TMidCode()
{
    InitKanaTable();
    InitAkcnvMap();
    InitTokenKindMap();
    InitFuncProcMap();
    mKeywordKinds = TokenKindMap.size();
    mKeywordCodes = FuncProcMap.size();
}

bool TMidCode::Clear()
{
    Codes.clear();  // keeps its storage for the next compile
    OperandTexts.clear();
    mOperandTextBytes = 0;
    LineNumMap.clear();
    LabelMap.clear();
    StatementBeginSet.clear();
    UserFuncInfoMap.clear();
    VarInfoMap.clear();
    InitTokenKindMap();
    InitFuncProcMap();
    mKeywordKinds = TokenKindMap.size();
    mKeywordCodes = FuncProcMap.size();
    return true;
}

const char* TMidCode::KeepText(std::string_view text)
{
    // A deque never moves its elements when it grows at the end, so each
    // string, and the characters it points at, stays where it is.
    const std::string& kept = OperandTexts.emplace_back(text);
    mOperandTextBytes += sizeof(std::string) + (kept.size() > std::string().capacity() ? kept.size() + 1 : 0);
    return kept.c_str();
}

size_t TMidCode::HeldBytes() const
{
    // A tree node: three links and a colour, the value, and the allocator's header.
    const auto node = [](size_t value) { return (4 * sizeof(void*) + value + sizeof(void*) + 15) / 16 * 16; };
    size_t bytes = Codes.capacity() * sizeof(TVMCode) + mOperandTextBytes;
    bytes += LineNumMap.size() * node(sizeof(std::pair<const int32_t, int32_t>));
    bytes += StatementBeginSet.size() * node(sizeof(int32_t));
    bytes += LabelMap.size() * node(sizeof(std::pair<const std::string, int32_t>));  // names mostly short
    bytes += VarInfoMap.size() * node(sizeof(std::pair<const std::string, TVarInfo>));
    bytes += UserFuncInfoMap.size() * node(sizeof(std::pair<const std::string, TUserFuncInfo>));
    // The identifiers and look-ups a compile adds to the keyword maps.
    const auto added = [](size_t size, size_t keywords) { return size > keywords ? size - keywords : 0; };
    bytes += added(TokenKindMap.size(), mKeywordKinds) * node(sizeof(std::pair<const std::string, TTokenKind>));
    bytes += added(FuncProcMap.size(), mKeywordCodes) * node(sizeof(std::pair<const std::string, TVMCodeCmd>));
    return bytes;
}

void TMidCode::InitFuncProcMap()
{
    FuncProcMap.clear();
    InitFuncProcMapFuncProc();
    InitFuncProcMapFunc();
    InitFuncProcMapExFunc();
    InitFuncProcMapProc();
    InitFuncProcMapExProc();
}

void TMidCode::InitFuncProcMapFuncProc()
{
    AssignCodes(FuncProcMap, FuncProcKeywordRows());
}
void TMidCode::InitFuncProcMapFunc()
{
    AssignCodes(FuncProcMap, FuncKeywordRows());
}
void TMidCode::InitFuncProcMapExFunc()
{
    AssignCodes(FuncProcMap, ExFuncKeywordRows());
}
void TMidCode::InitFuncProcMapProc()
{
    AssignCodes(FuncProcMap, ProcKeywordRows());
}
void TMidCode::InitFuncProcMapExProc()
{
    AssignCodes(FuncProcMap, ExProcKeywordRows());
}

void TMidCode::InitTokenKindMap()
{
    TokenKindMap.clear();
    InitTokenKindMapCtrl();
    InitTokenKindMapFuncProc();
    InitTokenKindMapFunc();
    InitTokenKindMapExFunc();
    InitTokenKindMapProc();
    InitTokenKindMapExProc();
}

void TMidCode::InitTokenKindMapCtrl()
{
    for (const TKeywordKindRow& row : CtrlKeywordRows()) TokenKindMap[row.Key] = row.Kind;
}
void TMidCode::InitTokenKindMapFuncProc()
{
    AssignKinds(TokenKindMap, FuncProcKeywordRows(), tkFuncProc);
}
void TMidCode::InitTokenKindMapFunc()
{
    AssignKinds(TokenKindMap, FuncKeywordRows(), tkFunc);
}
void TMidCode::InitTokenKindMapExFunc()
{
    AssignKinds(TokenKindMap, ExFuncKeywordRows(), tkFunc);
}
void TMidCode::InitTokenKindMapProc()
{
    AssignKinds(TokenKindMap, ProcKeywordRows(), tkProc);
}
void TMidCode::InitTokenKindMapExProc()
{
    AssignKinds(TokenKindMap, ExProcKeywordRows(), tkProc);
}

void TMidCode::InitKanaTable()
{
    AppendCharacters(FullKanaTable, FULL_KANA_STR);
    AppendCharacters(HalfKanaTable, HALF_KANA_STR);
}

void TMidCode::InitAkcnvMap()
{
    const std::string full = FULL_KANA_STR;
    for (size_t pos = 0; pos + KANA_BYTES <= HALF_KANA_STR.size() && pos + KANA_BYTES <= full.size(); pos += KANA_BYTES)
        AkcnvMap[HALF_KANA_STR.substr(pos, KANA_BYTES)] = full.substr(pos, KANA_BYTES);
}
