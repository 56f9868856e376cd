// The generator tables: instruction code -> generator, filled once from the
// row lists of CompilerGeneratorRows.h. Codes without a row reach
// GenFuncUnknown / GenProcUnknown, so no empty entry is ever called.

#include "language/Compiler.h"

const TDispatchTable<TCompiler::TFuncGenerator>& TCompiler::FuncTable()
{
#define KIVO_FUNC_ROW(code, generator) {code, &TCompiler::generator},
    static const TDispatchTable<TFuncGenerator> table(&TCompiler::GenFuncUnknown,
                                                      {KIVO_FUNC_GENERATOR_ROWS(KIVO_FUNC_ROW)});
#undef KIVO_FUNC_ROW
    return table;
}

const TDispatchTable<TCompiler::TProcGenerator>& TCompiler::ProcTable()
{
#define KIVO_PROC_ROW(code, generator) {code, &TCompiler::generator},
    static const TDispatchTable<TProcGenerator> table(&TCompiler::GenProcUnknown,
                                                      {KIVO_PROC_GENERATOR_ROWS(KIVO_PROC_ROW, KIVO_PROC_ROW)});
#undef KIVO_PROC_ROW
    return table;
}
