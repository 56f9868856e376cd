// Statement generators that are not written yet. Each reports
// CE_SYNTAX_ERR like a statement the compiler does not know, so
// the statement table is complete and no empty entry is reached. A statement's
// generator leaves this file when it is written in a file of its own.

#include "language/CompileErrorKeys.h"
#include "language/Compiler.h"

TToken TCompiler::GenProcMon(const TToken&)
{
    RaiseCompileError(CE_SYNTAX_ERR);
}
