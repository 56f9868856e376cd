#pragma once
// The rows of the compiler's two generator tables: instruction code ->
// generator, one row a line. These lists declare the generators in TCompiler
// (Compiler.h) and fill FuncTable and ProcTable (CompilerGeneratorTables.cpp),
// so a row and its member cannot drift apart.
//
// KIVO_FUNC_GENERATOR_ROWS(X) calls X(code, generator) for every function
// keyword: the code that FuncProcMap gives the keyword selects the generator,
// which compiles a call inside an expression.
//
// KIVO_PROC_GENERATOR_ROWS(X, SHARED) calls X(code, generator) for every
// statement keyword, and SHARED(code, generator) for a code whose generator an
// earlier row already names (INPUT# is compiled by the generator of INPUT).
//
// The seven keywords that are both function and statement (MID$, POINT, PEN,
// TIME$, VIEW, WINDOW, MOUSE) have a row in each list. PRINT# and WRITE# have
// no row: the PRINT and WRITE generators make their codes. Code 0 has none.

// clang-format off
#define KIVO_FUNC_GENERATOR_ROWS(X) \
    /* Functions of the dialect. */ \
    X(vcSpc,            GenFuncSpc) \
    X(vcTab,            GenFuncTab) \
    X(vcUsr,            GenFuncUsr) \
    X(vcMouse,          GenFuncMouse) \
    X(vcDateDl,         GenFuncDateDl) \
    X(vcMidDl,          GenFuncMidDl) \
    X(vcPoint,          GenFuncPoint) \
    X(vcPen,            GenFuncPen) \
    X(vcTimeDl,         GenFuncTimeDl) \
    X(vcView,           GenFuncView) \
    X(vcWindow,         GenFuncWindow) \
    X(vcAbs,            GenFuncAbs) \
    X(vcAtn,            GenFuncAtn) \
    X(vcAsc,            GenFuncAsc) \
    X(vcAttrDl,         GenFuncAttrDl) \
    X(vcCsrlin,         GenFuncCsrlin) \
    X(vcCint,           GenFuncCint) \
    X(vcCsng,           GenFuncCsng) \
    X(vcCdbl,           GenFuncCdbl) \
    X(vcCvi,            GenFuncCvi) \
    X(vcCvs,            GenFuncCvs) \
    X(vcCvd,            GenFuncCvd) \
    X(vcCos,            GenFuncCos) \
    X(vcChrDl,          GenFuncChrDl) \
    X(vcDskf,           GenFuncDskf) \
    X(vcErl,            GenFuncErl) \
    X(vcErr,            GenFuncErr) \
    X(vcExp,            GenFuncExp) \
    X(vcEof,            GenFuncEof) \
    X(vcFix,            GenFuncFix) \
    X(vcFpos,           GenFuncFpos) \
    X(vcHexDl,          GenFuncHexDl) \
    X(vcInstr,          GenFuncInstr) \
    X(vcInt,            GenFuncInt) \
    X(vcInp,            GenFuncInp) \
    X(vcInkeyDl,        GenFuncInkeyDl) \
    X(vcLpos,           GenFuncLpos) \
    X(vcLog,            GenFuncLog) \
    X(vcLoc,            GenFuncLoc) \
    X(vcLen,            GenFuncLen) \
    X(vcLeftDl,         GenFuncLeftDl) \
    X(vcLof,            GenFuncLof) \
    X(vcMkiDl,          GenFuncMkiDl) \
    X(vcMksDl,          GenFuncMksDl) \
    X(vcMkdDl,          GenFuncMkdDl) \
    X(vcMap,            GenFuncMap) \
    X(vcOctDl,          GenFuncOctDl) \
    X(vcPos,            GenFuncPos) \
    X(vcPeek,           GenFuncPeek) \
    X(vcRightDl,        GenFuncRightDl) \
    X(vcRnd,            GenFuncRnd) \
    X(vcSearch,         GenFuncSearch) \
    X(vcSgn,            GenFuncSgn) \
    X(vcSqr,            GenFuncSqr) \
    X(vcSin,            GenFuncSin) \
    X(vcStrDl,          GenFuncStrDl) \
    X(vcStringDl,       GenFuncStringDl) \
    X(vcSpaceDl,        GenFuncSpaceDl) \
    X(vcTan,            GenFuncTan) \
    X(vcVal,            GenFuncVal) \
    X(vcDskiDl,         GenFuncDskiDl) \
    X(vcFre,            GenFuncFre) \
    X(vcVarptr,         GenFuncVarptr) \
    X(vcInputDl,        GenFuncInputDl) \
    X(vcJisDl,          GenFuncJisDl) \
    X(vcKnjDl,          GenFuncKnjDl) \
    X(vcKtype,          GenFuncKtype) \
    X(vcKlen,           GenFuncKlen) \
    X(vcKmidDl,         GenFuncKmidDl) \
    X(vcKextDl,         GenFuncKextDl) \
    X(vcKinstr,         GenFuncKinstr) \
    X(vcAkcnvDl,        GenFuncAkcnvDl) \
    X(vcKacnvDl,        GenFuncKacnvDl) \
    X(vcStatus,         GenFuncStatus) \
    /* Extension functions. */ \
    X(vcXKivoversionDl, GenFuncXKivoversionDl) \
    X(vcXSystemtime,    GenFuncXSystemtime)

#define KIVO_PROC_GENERATOR_ROWS(X, SHARED) \
    /* Statements of the dialect. */ \
    X(vcAuto,           GenProcAuto) \
    X(vcBsave,          GenProcBsave) \
    X(vcBload,          GenProcBload) \
    X(vcBeep,           GenProcBeep) \
    X(vcConsole,        GenProcConsole) \
    X(vcCopy,           GenProcCopy) \
    X(vcClose,          GenProcClose) \
    X(vcCont,           GenProcCont) \
    X(vcClear,          GenProcClear) \
    X(vcCall,           GenProcCall) \
    X(vcCommon,         GenProcCommon) \
    X(vcChain,          GenProcChain) \
    X(vcCom,            GenProcCom) \
    X(vcCircle,         GenProcCircle) \
    X(vcColor,          GenProcColor) \
    X(vcCls,            GenProcCls) \
    X(vcDelete,         GenProcDelete) \
    X(vcData,           GenProcData) \
    X(vcDim,            GenProcDim) \
    X(vcDefStr,         GenProcDefStr) \
    X(vcDefInt,         GenProcDefInt) \
    X(vcDefSng,         GenProcDefSng) \
    X(vcDefDbl,         GenProcDefDbl) \
    X(vcDskoDl,         GenProcDskoDl) \
    X(vcDef,            GenProcDef) \
    X(vcEnd,            GenProcEnd) \
    X(vcErase,          GenProcErase) \
    X(vcEdit,           GenProcEdit) \
    X(vcError,          GenProcError) \
    X(vcField,          GenProcField) \
    X(vcFiles,          GenProcFiles) \
    X(vcDraw,           GenProcDraw) \
    X(vcGoto,           GenProcGoto) \
    X(vcGosub,          GenProcGosub) \
    X(vcGet,            GenProcGet) \
    X(vcHelp,           GenProcHelp) \
    X(vcInput,          GenProcInput) \
    X(vcKey,            GenProcKey) \
    X(vcKill,           GenProcKill) \
    X(vcLocate,         GenProcLocate) \
    X(vcLprint,         GenProcLprint) \
    X(vcLlist,          GenProcLlist) \
    X(vcLet,            GenProcLet) \
    X(vcLine,           GenProcLine) \
    X(vcLoad,           GenProcLoad) \
    X(vcLset,           GenProcLset) \
    X(vcLfiles,         GenProcLfiles) \
    X(vcMerge,          GenProcMerge) \
    X(vcMon,            GenProcMon) \
    X(vcName,           GenProcName) \
    X(vcNew,            GenProcNew) \
    X(vcOpen,           GenProcOpen) \
    X(vcOut,            GenProcOut) \
    X(vcOn,             GenProcOn) \
    X(vcOption,         GenProcOption) \
    X(vcPrint,          GenProcPrint) \
    X(vcPut,            GenProcPut) \
    X(vcPoke,           GenProcPoke) \
    X(vcPSet,           GenProcPset) \
    X(vcPReset,         GenProcPreset) \
    X(vcPaint,          GenProcPaint) \
    X(vcReturn,         GenProcReturn) \
    X(vcRead,           GenProcRead) \
    X(vcRun,            GenProcRun) \
    X(vcRestore,        GenProcRestore) \
    X(vcResume,         GenProcResume) \
    X(vcRset,           GenProcRset) \
    X(vcRenum,          GenProcRenum) \
    X(vcRandomize,      GenProcRandomize) \
    X(vcRoll,           GenProcRoll) \
    X(vcScreen,         GenProcScreen) \
    X(vcStop,           GenProcStop) \
    X(vcSwap,           GenProcSwap) \
    X(vcSave,           GenProcSave) \
    X(vcTron,           GenProcTron) \
    X(vcTroff,          GenProcTroff) \
    X(vcTerm,           GenProcTerm) \
    X(vcWidth,          GenProcWidth) \
    X(vcWait,           GenProcWait) \
    X(vcWrite,          GenProcWrite) \
    X(vcList,           GenProcList) \
    X(vcSet,            GenProcSet) \
    X(vcKinput,         GenProcKinput) \
    X(vcCmd,            GenProcCmd) \
    X(vcKpload,         GenProcKpload) \
    X(vcBase,           GenProcBase) \
    X(vcColorAt,        GenProcColorAt) \
    X(vcGetAt,          GenProcGetAt) \
    SHARED(vcInputSh,   GenProcInput) \
    X(vcMouse,          GenProcMouse) \
    X(vcPlay,           GenProcPlay) \
    X(vcPutAt,          GenProcPutAt) \
    X(vcRem,            GenProcRem) \
    X(vcVoice,          GenProcVoice) \
    X(vcMidDl,          GenProcMidDl) \
    X(vcPoint,          GenProcPoint) \
    X(vcPen,            GenProcPen) \
    X(vcTimeDl,         GenProcTimeDl) \
    X(vcView,           GenProcView) \
    X(vcWindow,         GenProcWindow) \
    /* Extension statement. */ \
    X(vcXSleep,         GenProcXSleep)
// clang-format on
