// DATA, READ and RESTORE. Each DATA item becomes one vcData record holding the
// item's text; the machine steps over a run of them and READ takes them one by
// one. A raw item is the program text as written, cut at its ends, so DATA
// Hello World keeps its case and its inner blank.

#include "language/Compiler.h"
#include "language/CompilerStmtSupport.h"
#include "language/MidCode.h"

#include "foundation/StringUtils.h"

#include <string>

using namespace compiler_stmt;

namespace {

// Sets the compiler's DATA mode for the items and clears it however the
// statement ends.
class TDataModeScope {
public:
    explicit TDataModeScope(TCompiler* compiler) : mCompiler(compiler) { mCompiler->SetDataMode(true); }
    ~TDataModeScope() { mCompiler->SetDataMode(false); }
    TDataModeScope(const TDataModeScope&) = delete;
    TDataModeScope& operator=(const TDataModeScope&) = delete;

private:
    TCompiler* mCompiler;
};

}  // namespace

TToken TCompiler::GenProcData(const TToken& /*keyword*/)
{
    TDataModeScope dataMode(this);
    SkipSpace();
    int64_t itemStart = SrcPos;
    TToken token = Token();
    int32_t itemCount = 0;

    for (;; ++itemCount) {
        if (IsMultiExprEndToken(token)) {
            if (itemCount == 0) AddCode(vcData, std::string());  // DATA alone holds one empty item
            return token;
        }
        if (token.kind == tkString) {
            AddCode(vcData, token.text);
            itemStart = SrcPos;
            token = Token();
            if (token.kind == tkComma) token = GenProcDataComma(token, &itemStart);
        } else if (token.kind == tkComma) {
            // An empty item before this comma.
            AddCode(vcData, std::string());
            itemStart = SrcPos;
            token = Token();
            if (IsMultiExprEndToken(token)) AddCode(vcData, std::string());  // and one after it
        } else {
            int64_t itemEnd = itemStart;
            while (!IsExprEndToken(token)) {
                itemEnd = SrcPos;
                token = Token();
            }
            const std::string raw(SrcText + itemStart, static_cast<std::size_t>(itemEnd - itemStart));
            AddCode(vcData, trim(raw));
            itemStart = itemEnd;
            if (token.kind == tkComma) token = GenProcDataComma(token, &itemStart);
        }
    }
}

// After an item's comma: the next item starts behind it; a comma that ends the
// statement leaves an empty item.
TToken TCompiler::GenProcDataComma(const TToken& /*comma*/, int64_t* itemStart)
{
    *itemStart = SrcPos;
    const TToken token = Token();
    if (IsMultiExprEndToken(token)) AddCode(vcData, std::string());
    return token;
}

// READ v [, ...]: the references, then their count.
TToken TCompiler::GenProcRead(const TToken& /*keyword*/)
{
    return GenVariableListStatement(*this, vcRead);
}

// RESTORE [target]: the flag is true when a target lies on the stack.
TToken TCompiler::GenProcRestore(const TToken& /*keyword*/)
{
    bool given;
    const TToken token = GenOptionalJumpTarget(*this, &given);
    AddCode(vcRestore, given);
    return token;
}
