// Statements with one numeric operand (BEEP, RANDOMIZE, SLEEP), BASE, which
// cannot begin a statement, and the statements that the dialect has but that
// do nothing here: they are accepted with any operands and compile to nothing.

#include "language/CompileErrorKeys.h"
#include "language/Compiler.h"

namespace {

// Passes over an ignored statement's operands, from the token after `from`,
// up to the statement's end. AS is an operand word here (NAME "A" AS "B",
// FIELD #1, 20 AS A$); parentheses must balance: a "(" left open is
// CE_NO_RPAR, and a ")" without its "(" ends the skip and is left
// to the line compiler, which refuses it.
TToken SkipIgnoredOperands(TCompiler& compiler)
{
    int32_t depth = 0;
    for (TToken token = compiler.Token();; token = compiler.Token()) {
        if (token.kind != tkAs && TCompiler::IsMultiExprEndToken(token)) {
            if (depth > 0) compiler.RaiseCompileError(CE_NO_RPAR);
            return token;
        }
        if (token.kind == tkLpar) {
            ++depth;
        } else if (token.kind == tkRpar) {
            if (depth == 0) return token;
            --depth;
        }
    }
}

}  // namespace

// The ignored statements, one row a line.
#define KIVO_IGNORED_STATEMENT(generator)                                                                              \
    TToken TCompiler::generator(const TToken& /*keyword*/)                                                             \
    {                                                                                                                  \
        return SkipIgnoredOperands(*this);                                                                             \
    }

KIVO_IGNORED_STATEMENT(GenProcAuto)
KIVO_IGNORED_STATEMENT(GenProcBsave)
KIVO_IGNORED_STATEMENT(GenProcBload)
KIVO_IGNORED_STATEMENT(GenProcCopy)
KIVO_IGNORED_STATEMENT(GenProcCont)
KIVO_IGNORED_STATEMENT(GenProcClear)
KIVO_IGNORED_STATEMENT(GenProcCommon)
KIVO_IGNORED_STATEMENT(GenProcCom)
KIVO_IGNORED_STATEMENT(GenProcDelete)
KIVO_IGNORED_STATEMENT(GenProcDskoDl)
KIVO_IGNORED_STATEMENT(GenProcDraw)
KIVO_IGNORED_STATEMENT(GenProcErase)
KIVO_IGNORED_STATEMENT(GenProcEdit)
KIVO_IGNORED_STATEMENT(GenProcError)
KIVO_IGNORED_STATEMENT(GenProcField)
KIVO_IGNORED_STATEMENT(GenProcKill)
KIVO_IGNORED_STATEMENT(GenProcLprint)
KIVO_IGNORED_STATEMENT(GenProcLlist)
KIVO_IGNORED_STATEMENT(GenProcLoad)
KIVO_IGNORED_STATEMENT(GenProcLset)
KIVO_IGNORED_STATEMENT(GenProcLfiles)
KIVO_IGNORED_STATEMENT(GenProcMerge)
KIVO_IGNORED_STATEMENT(GenProcName)
KIVO_IGNORED_STATEMENT(GenProcNew)
KIVO_IGNORED_STATEMENT(GenProcOut)
KIVO_IGNORED_STATEMENT(GenProcPoke)
KIVO_IGNORED_STATEMENT(GenProcResume)
KIVO_IGNORED_STATEMENT(GenProcRset)
KIVO_IGNORED_STATEMENT(GenProcRenum)
KIVO_IGNORED_STATEMENT(GenProcSave)
KIVO_IGNORED_STATEMENT(GenProcTron)
KIVO_IGNORED_STATEMENT(GenProcTroff)
KIVO_IGNORED_STATEMENT(GenProcTerm)
KIVO_IGNORED_STATEMENT(GenProcWait)
KIVO_IGNORED_STATEMENT(GenProcList)
KIVO_IGNORED_STATEMENT(GenProcSet)
KIVO_IGNORED_STATEMENT(GenProcCmd)
KIVO_IGNORED_STATEMENT(GenProcKpload)
KIVO_IGNORED_STATEMENT(GenProcVoice)
KIVO_IGNORED_STATEMENT(GenProcPen)
KIVO_IGNORED_STATEMENT(GenProcView)
KIVO_IGNORED_STATEMENT(GenProcWindow)
// DEF USR, handed over by the DEF generator with the USR token.
KIVO_IGNORED_STATEMENT(GenProcDefUsr)

#undef KIVO_IGNORED_STATEMENT

// BASE only follows OPTION.
TToken TCompiler::GenProcBase(const TToken& /*keyword*/)
{
    RaiseCompileError(CE_SYNTAX_ERR);
}

// BEEP [n] and RANDOMIZE [n]: the flag tells the machine whether a value lies
// on the stack (a lone comma pushes an omitted value and counts as given).
TToken TCompiler::GenProcBeep(const TToken& keyword)
{
    std::vector<TToken> tokens;
    const TToken rest = GenProcDealToken(keyword, 0, 1, {{tkInt, true}}, &tokens);
    AddCode(vcBeep, !tokens.empty());
    return rest;
}

TToken TCompiler::GenProcRandomize(const TToken& keyword)
{
    std::vector<TToken> tokens;
    const TToken rest = GenProcDealToken(keyword, 0, 1, {{tkInt, true}}, &tokens);
    AddCode(vcRandomize, !tokens.empty());
    return rest;
}

// SLEEP milliseconds.
TToken TCompiler::GenProcXSleep(const TToken& keyword)
{
    std::vector<TToken> tokens;
    const TToken rest = GenProcDealToken(keyword, 1, 1, {{tkInt, false}}, &tokens);
    AddCode(vcXSleep);
    return rest;
}
