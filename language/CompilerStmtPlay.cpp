// PLAY: music strings for up to six channels (PLAY [#n,] s1$ [, s2$ ...]),
// PLAY ALLOC [values], and the music-event switch PLAY ON|OFF|STOP.

#include "language/Compiler.h"
#include "language/CompilerStmtSupport.h"
#include "language/EventMasks.h"

using namespace compiler_stmt;

namespace {

constexpr int32_t kMusicChannels = 6;

}  // namespace

TToken TCompiler::GenProcPlay(const TToken& /*keyword*/)
{
    TToken token = Token();
    if (IsWord(token, "ALLOC")) return GenProcPlayAlloc(Token());
    if (IsWord(token, "ON") || IsWord(token, "OFF") || IsWord(token, "STOP"))
        return GenProcSetIrState(token, event_mask::Play);
    if (token.kind == tkFileNum) {
        // The #n prefix, up to its comma, has no meaning here.
        do token = Token();
        while (!IsExprEndToken(token));
        if (token.kind == tkComma) token = Token();
    }

    int32_t count;
    const TToken rest = GenCountedValues(*this, token, 0, kMusicChannels, &count);
    AddCode(vcPlay, count);
    return rest;
}

// The machine takes the values off its stack by the record's count.
TToken TCompiler::GenProcPlayAlloc(const TToken& first)
{
    int32_t count;
    const TToken rest = GenCountedValues(*this, first, 0, kMusicChannels, &count);
    AddCode(vcPlayAlloc, count);
    return rest;
}
