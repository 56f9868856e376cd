// IF, FOR and WHILE. Their generators come with the block statements; until
// then a block keyword is a syntax error.

#include "language/Compiler.h"

TToken TCompiler::GenIf(const TToken& /*keyword*/) { RaiseCompileError("@Compile_Err_Syntax_Err@"); }

TToken TCompiler::GenFor(const TToken& /*keyword*/) { RaiseCompileError("@Compile_Err_Syntax_Err@"); }

TToken TCompiler::GenWhile(const TToken& /*keyword*/) { RaiseCompileError("@Compile_Err_Syntax_Err@"); }
