#pragma once
// The points of the graphics statements that read their operands themselves
// (LINE, CIRCLE, GET@, PUT@): "(" x, y ")", perhaps after STEP. The STEP flag
// goes on the stack in front of the coordinates.

#include "language/CompileErrorKeys.h"
#include "language/Compiler.h"
#include "language/Token.h"

namespace compiler_stmt {

// x, y and the closing ")", from the token after "(": exactly two values.
// Returns the token after ")".
inline TToken GenCoordinatePair(TCompiler& compiler, const TToken& first)
{
    int32_t count;
    const TToken rest = compiler.GenMultiExpr(first, &count, nullptr);
    if (count != 2) compiler.RaiseCompileError(CE_ILL_FUNC_CALL);
    return compiler.CheckRpar(rest);
}

// "(" or STEP "(" at `token`: sets *step and returns the token after "(";
// anything else is CE_SYNTAX_ERR.
inline TToken OpenPoint(TCompiler& compiler, const TToken& token, bool* step)
{
    if (token.kind == tkLpar) {
        *step = false;
        return compiler.Token();
    }
    if (token.kind == tkStep) {
        *step = true;
        return compiler.CheckLpar(compiler.Token());
    }
    compiler.RaiseCompileError(CE_SYNTAX_ERR);
}

// A point whose STEP flag the machine takes from the stack, from the token
// after "(": vcBPushBool with the flag, x, y. Returns the token after ")".
inline TToken GenFlaggedPoint(TCompiler& compiler, const TToken& first, bool step)
{
    compiler.AddCode(vcBPushBool, step);
    return GenCoordinatePair(compiler, first);
}

}  // namespace compiler_stmt
