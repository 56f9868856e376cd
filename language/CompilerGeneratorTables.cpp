// The generator tables: instruction code -> generator, one row a line. Codes
// without a row reach GenFuncUnknown / GenProcUnknown.

#include "language/Compiler.h"

const TDispatchTable<TCompiler::TFuncGenerator>& TCompiler::FuncTable()
{
    static const TDispatchTable<TFuncGenerator> table(&TCompiler::GenFuncUnknown, {
                                                                                       // Rows: {code, generator}.
                                                                                   });
    return table;
}

const TDispatchTable<TCompiler::TProcGenerator>& TCompiler::ProcTable()
{
    static const TDispatchTable<TProcGenerator> table(&TCompiler::GenProcUnknown, {
                                                                                       // Rows: {code, generator}.
                                                                                   });
    return table;
}
