#include "language/KeywordRows.h"

namespace {

// Control words (alphabetical), then word operators (alphabetical).
// clang-format off
constexpr TKeywordKindRow kCtrlRows[] = {
    {"AS", tkAs},
    {"ELSE", tkElse},
    {"FOR", tkFor},
    {"IF", tkIf},
    {"NEXT", tkNext},
    {"STEP", tkStep},
    {"THEN", tkThen},
    {"TO", tkTo},
    {"WEND", tkWend},
    {"WHILE", tkWhile},
    {"AND", tkAnd},
    {"EQV", tkEqv},
    {"IMP", tkImp},
    {"MOD", tkMod},
    {"NOT", tkNot},
    {"OR", tkOr},
    {"XOR", tkXor},
};
// clang-format on

constexpr TKeywordCodeRow kFuncProcRows[] = {
    {"MID$", vcMidDl},   {"MOUSE", vcMouse}, {"PEN", vcPen},       {"POINT", vcPoint},
    {"TIME$", vcTimeDl}, {"VIEW", vcView},   {"WINDOW", vcWindow},
};

// clang-format off
constexpr TKeywordCodeRow kFuncRows[] = {
    {"ABS", vcAbs},
    {"AKCNV$", vcAkcnvDl},
    {"ASC", vcAsc},
    {"ATN", vcAtn},
    {"ATTR$", vcAttrDl},
    {"CDBL", vcCdbl},
    {"CHR$", vcChrDl},
    {"CINT", vcCint},
    {"COS", vcCos},
    {"CSNG", vcCsng},
    {"CSRLIN", vcCsrlin},
    {"CVI", vcCvi},
    {"CVS", vcCvs},
    {"CVD", vcCvd},
    {"DATE$", vcDateDl},
    {"DSKF", vcDskf},
    {"DSKI$", vcDskiDl},
    {"EOF", vcEof},
    {"ERL", vcErl},
    {"ERR", vcErr},
    {"EXP", vcExp},
    {"FIX", vcFix},
    {"FPOS", vcFpos},
    {"FRE", vcFre},
    {"HEX$", vcHexDl},
    {"INKEY$", vcInkeyDl},
    {"INP", vcInp},
    {"INPUT$", vcInputDl},
    {"INSTR", vcInstr},
    {"INT", vcInt},
    {"JIS$", vcJisDl},
    {"KACNV$", vcKacnvDl},
    {"KEXT$", vcKextDl},
    {"KINSTR", vcKinstr},
    {"KLEN", vcKlen},
    {"KMID$", vcKmidDl},
    {"KNJ$", vcKnjDl},
    {"KTYPE", vcKtype},
    {"LEFT$", vcLeftDl},
    {"LEN", vcLen},
    {"LOC", vcLoc},
    {"LOF", vcLof},
    {"LOG", vcLog},
    {"LPOS", vcLpos},
    {"MAP", vcMap},
    {"MKI$", vcMkiDl},
    {"MKS$", vcMksDl},
    {"MKD$", vcMkdDl},
    {"OCT$", vcOctDl},
    {"PEEK", vcPeek},
    {"POS", vcPos},
    {"RIGHT$", vcRightDl},
    {"RND", vcRnd},
    {"SEARCH", vcSearch},
    {"SGN", vcSgn},
    {"SIN", vcSin},
    {"SPACE$", vcSpaceDl},
    {"SPC", vcSpc},
    {"SQR", vcSqr},
    {"STATUS", vcStatus},
    {"STR$", vcStrDl},
    {"STRING$", vcStringDl},
    {"TAB", vcTab},
    {"TAN", vcTan},
    {"USR", vcUsr},
    {"VAL", vcVal},
    {"VARPTR", vcVarptr},
};
// clang-format on

constexpr TKeywordCodeRow kExFuncRows[] = {
    {"KIVOVERSION$", vcXKivoversionDl},
    {"SYSTEMTIME", vcXSystemtime},
};

// In byte order of the keys; "GO TO" and "GOTO" share vcGoto.
constexpr TKeywordCodeRow kProcRows[] = {
    {"AUTO", vcAuto},
    {"BASE", vcBase},
    {"BEEP", vcBeep},
    {"BLOAD", vcBload},
    {"BSAVE", vcBsave},
    {"CALL", vcCall},
    {"CHAIN", vcChain},
    {"CIRCLE", vcCircle},
    {"CLEAR", vcClear},
    {"CLOSE", vcClose},
    {"CLS", vcCls},
    {"CMD", vcCmd},
    {"COLOR", vcColor},
    {"COLOR@", vcColorAt},
    {"COM", vcCom},
    {"COMMON", vcCommon},
    {"CONSOLE", vcConsole},
    {"CONT", vcCont},
    {"COPY", vcCopy},
    {"DATA", vcData},
    {"DEF", vcDef},
    {"DEFDBL", vcDefDbl},
    {"DEFINT", vcDefInt},
    {"DEFSNG", vcDefSng},
    {"DEFSTR", vcDefStr},
    {"DELETE", vcDelete},
    {"DIM", vcDim},
    {"DRAW", vcDraw},
    {"DSKO$", vcDskoDl},
    {"EDIT", vcEdit},
    {"END", vcEnd},
    {"ERASE", vcErase},
    {"ERROR", vcError},
    {"FIELD", vcField},
    {"FILES", vcFiles},
    {"GET", vcGet},
    {"GET@", vcGetAt},
    {"GO TO", vcGoto},
    {"GOSUB", vcGosub},
    {"GOTO", vcGoto},
    {"HELP", vcHelp},
    {"INPUT", vcInput},
    {"INPUT#", vcInputSh},
    {"KEY", vcKey},
    {"KILL", vcKill},
    {"KINPUT", vcKinput},
    {"KPLOAD", vcKpload},
    {"LET", vcLet},
    {"LFILES", vcLfiles},
    {"LINE", vcLine},
    {"LIST", vcList},
    {"LLIST", vcLlist},
    {"LOAD", vcLoad},
    {"LOCATE", vcLocate},
    {"LPRINT", vcLprint},
    {"LSET", vcLset},
    {"MERGE", vcMerge},
    {"NAME", vcName},
    {"NEW", vcNew},
    {"ON", vcOn},
    {"OPEN", vcOpen},
    {"OPTION", vcOption},
    {"OUT", vcOut},
    {"PAINT", vcPaint},
    {"PLAY", vcPlay},
    {"POKE", vcPoke},
    {"PRESET", vcPReset},
    {"PRINT", vcPrint},
    {"PRINT#", vcPrintSh},
    {"PSET", vcPSet},
    {"PUT", vcPut},
    {"PUT@", vcPutAt},
    {"RANDOMIZE", vcRandomize},
    {"READ", vcRead},
    {"REM", vcRem},
    {"RENUM", vcRenum},
    {"RESTORE", vcRestore},
    {"RESUME", vcResume},
    {"RETURN", vcReturn},
    {"ROLL", vcRoll},
    {"RSET", vcRset},
    {"RUN", vcRun},
    {"SAVE", vcSave},
    {"SCREEN", vcScreen},
    {"SET", vcSet},
    {"STOP", vcStop},
    {"SWAP", vcSwap},
    {"TERM", vcTerm},
    {"TROFF", vcTroff},
    {"TRON", vcTron},
    {"VOICE", vcVoice},
    {"WAIT", vcWait},
    {"WIDTH", vcWidth},
    {"WRITE", vcWrite},
    {"WRITE#", vcWriteSh},
};

constexpr TKeywordCodeRow kExProcRows[] = {
    {"SLEEP", vcXSleep},
};

}  // namespace

std::span<const TKeywordKindRow> CtrlKeywordRows()
{
    return kCtrlRows;
}
std::span<const TKeywordCodeRow> FuncProcKeywordRows()
{
    return kFuncProcRows;
}
std::span<const TKeywordCodeRow> FuncKeywordRows()
{
    return kFuncRows;
}
std::span<const TKeywordCodeRow> ExFuncKeywordRows()
{
    return kExFuncRows;
}
std::span<const TKeywordCodeRow> ProcKeywordRows()
{
    return kProcRows;
}
std::span<const TKeywordCodeRow> ExProcKeywordRows()
{
    return kExProcRows;
}
