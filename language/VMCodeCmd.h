#pragma once
// TVMCodeCmd: the instruction code of one intermediate-code record, always
// below 0x10000. The values, names, operand kinds and dispatch-table entries
// all come from the one list in VMCodeList.h.

#include <cstdint>
#include <span>
#include <string_view>

#include "language/TokenKind.h"
#include "language/VMCodeList.h"

enum TVMCodeCmd : uint32_t {
#define KIVO_VM_ENUM_ROW(name, number, operand, entries, meaning) name = number,
    KIVO_VM_CODES(KIVO_VM_ENUM_ROW)
#undef KIVO_VM_ENUM_ROW
#define KIVO_VM_OPERATOR_ROW(op, index, operands, meaning)                                                             \
    vcB##op##Int = 0x1000 + 4 * (index), vcB##op##Float = 0x1000 + 4 * (index) + 1,                                    \
    vcB##op##Double = 0x1000 + 4 * (index) + 2, vcB##op##String = 0x1000 + 4 * (index) + 3,
        KIVO_VM_OPERATORS(KIVO_VM_OPERATOR_ROW)
#undef KIVO_VM_OPERATOR_ROW
};

// The Cmd of the never-run record at index 0 of the code vector.
constexpr TVMCodeCmd VM_CODE_PLACEHOLDER = static_cast<TVMCodeCmd>(0);

// Every code lies below this; each dispatch table has this many entries.
constexpr uint32_t VM_CODE_SPACE = 0x10000;

// What the 8 operand bytes of a record hold; fixed by its code.
enum class TVMOperandKind : uint8_t { None, Long, Single, Double, Flag, Text, Var };

// Which dispatch tables have an entry for a code (a bit set).
enum TVMCodeEntry : uint8_t {
    vceNone = 0,
    vceFunc = 1,      // the compiler's function generators (FuncTable)
    vceProc = 2,      // the compiler's statement generators (ProcTable)
    vceMachine = 4,   // the machine's handlers (HandlerTable)
    vceDebugger = 8,  // the debugger's own handlers (DebugHandlerTable)
};

// Index of a typed operator: code = 0x1000 + 4 x operator + type.
enum TVMOperator : uint32_t {
#define KIVO_VM_OPERATOR_INDEX(op, index, operands, meaning) vop##op = index,
    KIVO_VM_OPERATORS(KIVO_VM_OPERATOR_INDEX)
#undef KIVO_VM_OPERATOR_INDEX
};

// The code of a typed operation for a value type; tkUntyped counts as integer.
// `type` must be tkUntyped or one of tkInt..tkString.
constexpr TVMCodeCmd TypedOperatorCode(TVMOperator op, TTokenKind type)
{
    const uint32_t variant = type == tkUntyped ? 0u : static_cast<uint32_t>(type - tkInt);
    return static_cast<TVMCodeCmd>(0x1000u + 4u * op + variant);
}

// One row of the instruction list.
struct TVMCodeInfo {
    TVMCodeCmd Cmd;
    const char* Name;  // "vcBAddInt"
    TVMOperandKind Operand;
    uint8_t Entries;  // TVMCodeEntry bits
    const char* Meaning;
};

// All 308 codes in use (code 0 excluded), in ascending order of code.
std::span<const TVMCodeInfo> AllVMCodes();

// The row of a code, or nullptr for a number that carries no code (0 included).
const TVMCodeInfo* FindVMCode(uint32_t code);

// The name of a code ("vcBLineBegin"), or nullptr when the number carries no code.
const char* VMCodeName(uint32_t code);

// The operand kind of a code; None for a number that carries no code.
TVMOperandKind VMOperandKind(uint32_t code);

// Whether the table named by `entry` has an entry for the code.
bool VMCodeHasEntry(uint32_t code, TVMCodeEntry entry);

// The code of a name, as the listing prints it; false when no code has the name.
bool VMCodeFromName(std::string_view name, TVMCodeCmd* code);
