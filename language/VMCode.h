#pragma once
// TVMCode: one instruction of the intermediate code, a plain record copied as
// a whole. Which operand member is meaningful is fixed by Cmd (VMCodeList.h).

#include <cstdint>

#include "language/VMCodeCmd.h"

class TVarInfo;

union TVMOperand {
    int64_t Raw = 0;   // all 8 bytes; zero where the code carries no operand
    int32_t Long;      // TVMOperandKind::Long
    float Single;      // TVMOperandKind::Single
    double Double;     // TVMOperandKind::Double
    bool Flag;         // TVMOperandKind::Flag
    const char* Text;  // TVMOperandKind::Text: zero-terminated, owned by the TMidCode
    TVarInfo* Var;     // TVMOperandKind::Var: the record inside an entry of VarInfoMap
};
static_assert(sizeof(TVMOperand) == 8);

struct TVMCode {
    TVMCodeCmd Cmd = VM_CODE_PLACEHOLDER;
    TVMOperand Operand;
};

// The seven forms of a record, one for each operand kind. A text operand must
// already live in storage that outlives the record (TMidCode::KeepText).
inline TVMCode MakeCode(TVMCodeCmd cmd)
{
    TVMCode c;
    c.Cmd = cmd;
    return c;
}
inline TVMCode MakeCode(TVMCodeCmd cmd, int32_t value)
{
    TVMCode c = MakeCode(cmd);
    c.Operand.Long = value;
    return c;
}
inline TVMCode MakeCode(TVMCodeCmd cmd, bool value)
{
    TVMCode c = MakeCode(cmd);
    c.Operand.Flag = value;
    return c;
}
inline TVMCode MakeCode(TVMCodeCmd cmd, float value)
{
    TVMCode c = MakeCode(cmd);
    c.Operand.Single = value;
    return c;
}
inline TVMCode MakeCode(TVMCodeCmd cmd, double value)
{
    TVMCode c = MakeCode(cmd);
    c.Operand.Double = value;
    return c;
}
inline TVMCode MakeCode(TVMCodeCmd cmd, const char* text)
{
    TVMCode c = MakeCode(cmd);
    c.Operand.Text = text;
    return c;
}
inline TVMCode MakeCode(TVMCodeCmd cmd, TVarInfo* var)
{
    TVMCode c = MakeCode(cmd);
    c.Operand.Var = var;
    return c;
}
