#include "language/VMCodeCmd.h"

#include <algorithm>
#include <array>
#include <map>
#include <string>

namespace {

// Short names for the columns of the list.
constexpr uint8_t F = vceFunc;
constexpr uint8_t S = vceProc;
constexpr uint8_t M = vceMachine;
constexpr uint8_t D = vceDebugger;
constexpr TVMOperandKind None = TVMOperandKind::None;
constexpr TVMOperandKind Long = TVMOperandKind::Long;
constexpr TVMOperandKind Single = TVMOperandKind::Single;
constexpr TVMOperandKind Double = TVMOperandKind::Double;
constexpr TVMOperandKind Flag = TVMOperandKind::Flag;
constexpr TVMOperandKind Text = TVMOperandKind::Text;
constexpr TVMOperandKind Var = TVMOperandKind::Var;

#define KIVO_VM_INFO_ROW(name, number, operand, entries, meaning)                                                      \
    TVMCodeInfo{name, #name, operand, static_cast<uint8_t>(entries), meaning},
#define KIVO_VM_OPERATOR_INFO_ROWS(op, index, operands, meaning)                                                       \
    TVMCodeInfo{vcB##op##Int, "vcB" #op "Int", None, M, meaning " (integer)"},                                         \
        TVMCodeInfo{vcB##op##Float, "vcB" #op "Float", None, M, meaning " (single)"},                                  \
        TVMCodeInfo{vcB##op##Double, "vcB" #op "Double", None, M, meaning " (double)"},                                \
        TVMCodeInfo{vcB##op##String, "vcB" #op "String", None, M, meaning " (string)"},

const std::array kRows =
    std::to_array<TVMCodeInfo>({KIVO_VM_CODES(KIVO_VM_INFO_ROW) KIVO_VM_OPERATORS(KIVO_VM_OPERATOR_INFO_ROWS)});

#undef KIVO_VM_INFO_ROW
#undef KIVO_VM_OPERATOR_INFO_ROWS

// The rows sorted by code, and an index from each of the 65536 numbers to its row.
struct TCodeIndex {
    std::array<TVMCodeInfo, kRows.size()> Sorted;
    std::array<int16_t, VM_CODE_SPACE> RowOf;  // -1: no code
    std::map<std::string, TVMCodeCmd, std::less<>> ByName;

    TCodeIndex() : Sorted(kRows)
    {
        std::sort(Sorted.begin(), Sorted.end(),
                  [](const TVMCodeInfo& a, const TVMCodeInfo& b) { return a.Cmd < b.Cmd; });
        RowOf.fill(-1);
        for (size_t i = 0; i < Sorted.size(); ++i) {
            RowOf[Sorted[i].Cmd] = static_cast<int16_t>(i);
            ByName.emplace(Sorted[i].Name, Sorted[i].Cmd);
        }
    }
};

const TCodeIndex& Index()
{
    static const TCodeIndex index;
    return index;
}

}  // namespace

std::span<const TVMCodeInfo> AllVMCodes()
{
    return Index().Sorted;
}

const TVMCodeInfo* FindVMCode(uint32_t code)
{
    if (code >= VM_CODE_SPACE) return nullptr;
    const int16_t row = Index().RowOf[code];
    return row < 0 ? nullptr : &Index().Sorted[static_cast<size_t>(row)];
}

const char* VMCodeName(uint32_t code)
{
    const TVMCodeInfo* info = FindVMCode(code);
    return info ? info->Name : nullptr;
}

TVMOperandKind VMOperandKind(uint32_t code)
{
    const TVMCodeInfo* info = FindVMCode(code);
    return info ? info->Operand : TVMOperandKind::None;
}

bool VMCodeHasEntry(uint32_t code, TVMCodeEntry entry)
{
    const TVMCodeInfo* info = FindVMCode(code);
    return info && (info->Entries & entry) != 0;
}

bool VMCodeFromName(std::string_view name, TVMCodeCmd* code)
{
    const auto& byName = Index().ByName;
    const auto it = byName.find(name);
    if (it == byName.end()) return false;
    if (code) *code = it->second;
    return true;
}
