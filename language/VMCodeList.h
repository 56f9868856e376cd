#pragma once
// The instruction list of the intermediate code: one row per code. This list is
// the only place where codes are numbered; it feeds the TVMCodeCmd enumeration,
// the code names, the operand kinds and the tables that say which dispatch
// table has an entry (VMCodeCmd.h / VMCodeCmd.cpp), and through them the code
// listing used by tests.
//
// KIVO_VM_CODES(X) calls X(name, number, operand, entries, meaning) per row:
//   operand  what the 8 operand bytes hold: None, Long (32-bit integer),
//            Single, Double, Flag (bool), Text (zero-terminated text owned by
//            the container), Var (TVarInfo pointer)
//   entries  which dispatch tables have an entry for the code:
//            F compiler function generators, S compiler statement generators,
//            M machine handlers, D the debugger's own handler (every other
//            debugger entry passes the record to the machine's handler)
//
// Code 0 is the placeholder at index 0 of the code vector; it has no row, no
// name and no entry, and is never run.
//
// The typed operators 0x1000-0x104F are listed apart, one row per operator
// (KIVO_VM_OPERATORS): the code is 0x1000 + 4 x operator + type, with type
// 0 integer, 1 single, 2 double, 3 string, and the names vcB<Op>Int,
// vcB<Op>Float, vcB<Op>Double, vcB<Op>String. All 80 have a machine entry.

// clang-format off
#define KIVO_VM_CODES(X) \
    /* Statement codes: the dialect's one-byte token numbers 0x80-0xEE. */ \
    X(vcAuto,            0x80, None,  S,     "AUTO: compiles to nothing") \
    X(vcBsave,           0x81, None,  S,     "BSAVE: compiles to nothing") \
    X(vcBload,           0x82, None,  S,     "BLOAD: compiles to nothing") \
    X(vcBeep,            0x83, Flag,  S|M,   "BEEP; flag: an operand was given") \
    X(vcConsole,         0x84, Long,  S|M,   "CONSOLE; the number of operands given") \
    X(vcCopy,            0x85, None,  S,     "COPY: compiles to nothing") \
    X(vcClose,           0x86, Long,  S|M,   "CLOSE; the number of file numbers given") \
    X(vcCont,            0x87, None,  S,     "CONT: compiles to nothing") \
    X(vcClear,           0x88, None,  S,     "CLEAR: compiles to nothing") \
    X(vcCall,            0x89, None,  S,     "CALL: CALL MOUSE appends vcCallMouse, any other CALL nothing") \
    X(vcCommon,          0x8A, None,  S,     "COMMON: compiles to nothing") \
    X(vcChain,           0x8B, Long,  S|M,   "CHAIN; how many optional parts after the file name were given, 0 to 4") \
    X(vcCom,             0x8C, None,  S,     "COM: compiles to nothing") \
    X(vcCircle,          0x8D, None,  S,     "CIRCLE: appends vcFillArc, vcFillEllipse, vcStrokeArc or vcStrokeEllipse") \
    X(vcColor,           0x8E, None,  S|M,   "COLOR: never appended (vcColorProc1, vcColorProc2 or vcInitColorPalette); handler does nothing") \
    X(vcCls,             0x8F, Long,  S|M,   "CLS; the number of operands given") \
    X(vcDelete,          0x90, None,  S,     "DELETE: compiles to nothing") \
    X(vcData,            0x91, Text,  S|M,   "DATA; one record per item, the item as written") \
    X(vcDim,             0x92, Long,  S|M|D, "DIM; the number of arrays declared") \
    X(vcDefStr,          0x93, None,  S,     "DEFSTR: changes the compiler's default types only") \
    X(vcDefInt,          0x94, None,  S,     "DEFINT: changes the compiler's default types only") \
    X(vcDefSng,          0x95, None,  S,     "DEFSNG: changes the compiler's default types only") \
    X(vcDefDbl,          0x96, None,  S,     "DEFDBL: changes the compiler's default types only") \
    X(vcDskoDl,          0x97, None,  S,     "DSKO$: compiles to nothing") \
    X(vcDef,             0x98, None,  S,     "DEF: DEF FN body, DEF SEG (vcDefSeg) or DEF USR (nothing)") \
    X(vcEnd,             0x9A, None,  S|M,   "END: never appended (vcBExit); handler does nothing") \
    X(vcErase,           0x9B, None,  S,     "ERASE: compiles to nothing") \
    X(vcEdit,            0x9C, None,  S,     "EDIT: compiles to nothing") \
    X(vcError,           0x9D, None,  S,     "ERROR: compiles to nothing") \
    X(vcField,           0x9F, None,  S,     "FIELD: compiles to nothing") \
    X(vcFiles,           0xA0, Flag,  S|M,   "FILES; flag: an operand was given") \
    X(vcDraw,            0xA2, None,  S,     "DRAW: compiles to nothing") \
    X(vcGoto,            0xA3, None,  S|M,   "GOTO and GO TO: never appended (target push, vcBJmp); handler does nothing") \
    X(vcGosub,           0xA4, None,  S|M,   "GOSUB: never appended (target push, vcBCall); handler does nothing") \
    X(vcGet,             0xA5, None,  S,     "GET: compiles to nothing") \
    X(vcHelp,            0xA6, None,  S,     "HELP: appends the event-trap codes vcBPushInt and vcSetIrState") \
    X(vcInput,           0xA7, Long,  S|M,   "INPUT; the number of variables") \
    X(vcKey,             0xA9, None,  S|M,   "KEY") \
    X(vcKill,            0xAA, None,  S,     "KILL: compiles to nothing") \
    X(vcLocate,          0xAC, Long,  S|M,   "LOCATE; the number of operands given") \
    X(vcLprint,          0xAD, None,  S,     "LPRINT: compiles to nothing") \
    X(vcLlist,           0xAE, None,  S,     "LLIST: compiles to nothing") \
    X(vcLet,             0xAF, None,  S|M,   "LET: never appended (vcBPushVar, value, vcBAssignArray); handler does nothing") \
    X(vcLine,            0xB0, Long,  S|M,   "LINE; optional groups after the end point, 0 to 2") \
    X(vcLoad,            0xB1, None,  S,     "LOAD: compiles to nothing") \
    X(vcLset,            0xB2, None,  S,     "LSET: compiles to nothing") \
    X(vcLfiles,          0xB3, None,  S,     "LFILES: compiles to nothing") \
    X(vcMerge,           0xB5, None,  S,     "MERGE: compiles to nothing") \
    X(vcMon,             0xB6, None,  S,     "MON: reached by no keyword; compiles to nothing") \
    X(vcName,            0xB8, None,  S,     "NAME: compiles to nothing") \
    X(vcNew,             0xB9, None,  S,     "NEW: compiles to nothing") \
    X(vcOpen,            0xBB, Long,  S|M,   "OPEN; file mode 10 INPUT, 11 OUTPUT, 12 APPEND, 13 no FOR clause") \
    X(vcOut,             0xBC, None,  S,     "OUT: compiles to nothing") \
    X(vcOn,              0xBD, None,  S|M,   "ON: never appended (vcOnGosub, vcOnGoto or vcSetIrTgt); handler does nothing") \
    X(vcOption,          0xBE, None,  S|M,   "OPTION: never appended (vcOptionBase); handler does nothing") \
    X(vcPrint,           0xC0, Flag,  S|M,   "PRINT; false: print the value on top of the stack, true: end the line") \
    X(vcPut,             0xC1, None,  S,     "PUT: compiles to nothing") \
    X(vcPoke,            0xC2, None,  S,     "POKE: compiles to nothing") \
    X(vcPSet,            0xC3, Flag,  S|M,   "PSET; flag: the point follows STEP") \
    X(vcPReset,          0xC4, Flag,  S|M,   "PRESET; flag: the point follows STEP") \
    X(vcPaint,           0xC5, Flag,  S|M,   "PAINT; flag: the point follows STEP") \
    X(vcReturn,          0xC6, None,  S|M,   "RETURN: never appended (vcBRet); handler does nothing") \
    X(vcRead,            0xC7, Long,  S|M,   "READ; the number of variables") \
    X(vcRun,             0xC8, None,  S|M,   "RUN: never appended (vcRunCur or vcRunSpecify); handler does nothing") \
    X(vcRestore,         0xC9, Flag,  S|M,   "RESTORE; flag: a target line or label is on the stack") \
    X(vcResume,          0xCB, None,  S,     "RESUME: compiles to nothing") \
    X(vcRset,            0xCC, None,  S,     "RSET: compiles to nothing") \
    X(vcRenum,           0xCD, None,  S,     "RENUM: compiles to nothing") \
    X(vcRandomize,       0xCE, Flag,  S|M,   "RANDOMIZE; flag: a seed was given") \
    X(vcRoll,            0xCF, Long,  S|M,   "ROLL; the number of operands given, 1 to 3") \
    X(vcScreen,          0xD0, Long,  S|M,   "SCREEN; the number of operands given") \
    X(vcStop,            0xD1, None,  S|M,   "STOP") \
    X(vcSwap,            0xD2, None,  S|M|D, "SWAP") \
    X(vcSave,            0xD3, None,  S,     "SAVE: compiles to nothing") \
    X(vcSpc,             0xD4, None,  F|M,   "the function SPC (a one-byte token of the dialect)") \
    X(vcTron,            0xD7, None,  S,     "TRON: compiles to nothing") \
    X(vcTroff,           0xD8, None,  S,     "TROFF: compiles to nothing") \
    X(vcTab,             0xD9, None,  F|M,   "the function TAB (a one-byte token of the dialect)") \
    X(vcTerm,            0xDB, None,  S,     "TERM: compiles to nothing") \
    X(vcUsr,             0xDD, None,  F,     "the function USR: appends vcBPushInt 0") \
    X(vcWidth,           0xDE, None,  S,     "WIDTH: vcWidthProc1 for the screen, nothing for devices and files") \
    X(vcWait,            0xDF, None,  S,     "WAIT: compiles to nothing") \
    X(vcWrite,           0xE2, Flag,  S|M,   "WRITE; as vcPrint") \
    X(vcList,            0xE3, None,  S,     "LIST: compiles to nothing") \
    X(vcSet,             0xE5, None,  S,     "SET: compiles to nothing") \
    X(vcKinput,          0xE6, None,  S|M,   "KINPUT") \
    X(vcCmd,             0xE8, None,  S,     "CMD: compiles to nothing") \
    X(vcKpload,          0xEE, None,  S,     "KPLOAD: compiles to nothing") \
    /* Machine operations, keywords without a token number, and extensions. */ \
    X(vcBCmpFor,         0x1050, None, M,    "FOR loop test: takes value, limit, step; pushes whether the loop goes on") \
    X(vcBPushInt,        0x1051, Long, M,    "push an integer constant") \
    X(vcBPushFloat,      0x1052, Single, M,  "push a single-precision constant") \
    X(vcBPushDouble,     0x1053, Double, M,  "push a double-precision constant") \
    X(vcBPushString,     0x1054, Text, M,    "push a string constant, or a label name as a jump target") \
    X(vcBPushBool,       0x1055, Flag, M,    "push a flag read by the next statement record") \
    X(vcBPushVar,        0x1056, Var,  M,    "push a reference to the variable or to the element whose subscripts follow the marker") \
    X(vcBPushSpecial,    0x1058, Long, M,    "push a marker of a token kind: tkComma or tkSemiColon between PRINT/WRITE items, tkComma before user-function arguments, tkVar before the subscripts of a variable reference") \
    X(vcBPushAbbrev,     0x1059, None, M,    "push the mark of an omitted optional operand") \
    X(vcBCall,           0x105B, None, M|D,  "GOSUB: take the target from the stack, push the return position, jump") \
    X(vcBRet,            0x105C, Flag, M|D,  "RETURN; flag: a target line is on the stack") \
    X(vcBExit,           0x105D, None, M|D,  "end the run: the last record of every program, and END") \
    X(vcBJmp,            0x105E, None, M,    "jump to the line number or label taken from the stack") \
    X(vcBTJmp,           0x105F, None, M,    "never appended; handler does nothing") \
    X(vcBFJmp,           0x1060, None, M,    "take a target and a condition; jump when the condition is 0") \
    X(vcBLoadArray,      0x1061, Var,  M,    "push the value of the variable or of the element whose subscripts follow the marker") \
    X(vcBAssignArray,    0x1062, None, M|D,  "store the value on top of the stack into the reference below it") \
    X(vcBLineBegin,      0x1063, Long, M|D,  "beginning of a program line; the BASIC line number") \
    X(vcBUpdateScreen,   0x1064, None, M,    "bring the emulated screen up to date") \
    X(vcBCallUserFunc,   0x1065, Text, M,    "call a DEF FN function; the function's name") \
    X(vcBLoadUserFuncParam, 0x1066, Long, M, "push a parameter of the running DEF FN; its position from 0") \
    X(vcBRetFromUserFunc, 0x1067, None, M,   "end a DEF FN body and return to the caller") \
    X(vcCallMouse,       0x1068, None, M,    "CALL MOUSE") \
    X(vcBase,            0x1069, None, S|M,  "keyword BASE: its generator reports a syntax error; handler does nothing") \
    X(vcColorAt,         0x106A, Flag, S|M,  "COLOR@; flag: all ten operands were given") \
    X(vcColorProc1,      0x106B, Long, M,    "COLOR with operands; the number given, 1 to 5") \
    X(vcColorProc2,      0x106C, None, M,    "COLOR = (operand list)") \
    X(vcDefSeg,          0x106D, None, M,    "DEF SEG") \
    X(vcFillArc,         0x106E, Long, M,    "CIRCLE filled, with start and end angles; the circle-option count") \
    X(vcFillEllipse,     0x106F, Long, M,    "CIRCLE filled; the circle-option count") \
    X(vcFillRect,        0x1070, Long, M,    "LINE with BF; as vcLine") \
    X(vcGetAt,           0x1071, Flag, S|M,  "GET@; flag: the second corner follows STEP") \
    X(vcInitColorPalette, 0x1072, None, M,   "COLOR without operands: reset the palette") \
    X(vcInputSh,         0x1073, Long, S|M,  "INPUT#; the number of variables (generator of INPUT)") \
    X(vcInputWait,       0x1074, Long, M,    "INPUT WAIT; the number of variables") \
    X(vcLineInput,       0x1075, None, M,    "LINE INPUT") \
    X(vcLineInputSh,     0x1076, None, M,    "LINE INPUT#") \
    X(vcLineInputWait,   0x1077, None, M,    "LINE INPUT WAIT") \
    X(vcMidDlFunc,       0x1078, Flag, M,    "the function MID$; flag: the length was given") \
    X(vcMidDlProc,       0x1079, Flag, M,    "the statement MID$; flag: the length was given") \
    X(vcMouse,           0x107A, None, F|S,  "keyword MOUSE: never appended (vcMouseFunc, vcMouseProc or event-trap codes)") \
    X(vcMouseFunc,       0x107B, Flag, M,    "the function MOUSE; flag: two operands were given") \
    X(vcMouseProc,       0x107C, Long, M,    "the statement MOUSE; the number of operands given plus 1") \
    X(vcOptionBase,      0x107D, None, M,    "OPTION BASE") \
    X(vcPlay,            0x1080, Long, S|M,  "PLAY; the number of operands given") \
    X(vcPlayAlloc,       0x1081, Long, M,    "PLAY ALLOC; the number of values given, which the machine takes off") \
    X(vcPointFunc1,      0x1082, None, M,    "the function POINT with one operand") \
    X(vcPointFunc2,      0x1083, None, M,    "the function POINT with two operands") \
    X(vcPointProc,       0x1084, Flag, M,    "the statement POINT; flag: the point follows STEP") \
    X(vcPrintSh,         0x1085, Flag, M,    "PRINT#; as vcPrint, the file number pushed before it; keyword PRINT# has no generator") \
    X(vcPrintUsing,      0x1086, Long, M,    "PRINT USING; the number of values") \
    X(vcPutAt,           0x1087, None, S,    "keyword PUT@: never appended (vcPutAtProc1 or vcPutAtProc2)") \
    X(vcPutAtProc1,      0x1088, Long, M,    "PUT@ with an array; count of optional operands given") \
    X(vcPutAtProc2,      0x1089, Long, M,    "PUT@ KANJI; count of optional operands given") \
    X(vcRem,             0x108A, None, S,    "keyword REM: never appended; the rest of the line is skipped") \
    X(vcRunCur,          0x108B, Flag, M,    "RUN of the program in memory; flag: a start line or label is on the stack") \
    X(vcRunSpecify,      0x108C, Flag, M,    "RUN with a file name; flag: the R option was given") \
    X(vcSetIrState,      0x108D, Long, M,    "set an event trap on, off or stopped from an event id and a state on the stack; the base of KEY(n) and MOUSE(b), else 0") \
    X(vcSetIrTgt,        0x108E, Long, M,    "ON event GOSUB; the event id (8 STOP, 0x10 HELP, 0x20 TIME$, 0x40 KEY, 0x40000 PLAY, 0x200000 MOUSE)") \
    X(vcStrokeArc,       0x108F, Long, M,    "CIRCLE with start and end angles; the circle-option count") \
    X(vcStrokeEllipse,   0x1090, Long, M,    "CIRCLE; the circle-option count") \
    X(vcStrokeRect,      0x1091, Long, M,    "LINE with B; as vcLine") \
    X(vcVoice,           0x1092, None, S,    "keyword VOICE: never appended; the statement compiles to nothing") \
    X(vcWriteSh,         0x1093, Flag, M,    "WRITE#; as vcPrintSh; keyword WRITE# has no generator") \
    X(vcWidthProc1,      0x1095, Flag, M,    "WIDTH for the screen; flag: two operands were given") \
    X(vcOnGosub,         0x1099, Long, M|D,  "ON expression GOSUB; the number of targets") \
    X(vcOnGoto,          0x109A, Long, M,    "ON expression GOTO; the number of targets") \
    X(vcXKivoversionDl,  0x109B, None, F|M,  "the extension function KIVOVERSION$") \
    X(vcXSleep,          0x109C, None, S|M,  "the extension statement SLEEP") \
    X(vcXSystemtime,     0x109D, None, F|M,  "the extension function SYSTEMTIME") \
    /* Function codes: the dialect's two-byte token numbers 0xFF80-0xFFCF. */ \
    X(vcDateDl,          0xFF80, None, F|M,   "DATE$") \
    X(vcMidDl,           0xFF81, None, F|S|M, "keyword MID$: never appended (vcMidDlFunc, vcMidDlProc); handler does nothing") \
    X(vcPoint,           0xFF82, None, F|S,   "keyword POINT: never appended (vcPointFunc1, vcPointFunc2, vcPointProc)") \
    X(vcPen,             0xFF83, None, F|S,   "PEN: the function pushes 0, the statement compiles to nothing") \
    X(vcTimeDl,          0xFF84, None, F|S|M, "the function TIME$; the statement appends event-trap codes") \
    X(vcView,            0xFF85, None, F|S,   "VIEW: the function pushes 0, the statement compiles to nothing") \
    X(vcWindow,          0xFF86, None, F|S,   "WINDOW: the function pushes 0, the statement compiles to nothing") \
    X(vcAbs,             0xFF90, None, F|M,   "ABS") \
    X(vcAtn,             0xFF91, None, F|M,   "ATN") \
    X(vcAsc,             0xFF92, None, F|M,   "ASC") \
    X(vcAttrDl,          0xFF93, None, F,     "ATTR$: pushes an empty string") \
    X(vcCsrlin,          0xFF94, None, F|M,   "CSRLIN") \
    X(vcCint,            0xFF95, None, F|M,   "CINT") \
    X(vcCsng,            0xFF96, None, F|M,   "CSNG") \
    X(vcCdbl,            0xFF97, None, F|M,   "CDBL") \
    X(vcCvi,             0xFF98, None, F,     "CVI: pushes 0") \
    X(vcCvs,             0xFF99, None, F,     "CVS: pushes 0") \
    X(vcCvd,             0xFF9A, None, F,     "CVD: pushes 0") \
    X(vcCos,             0xFF9B, None, F|M,   "COS") \
    X(vcChrDl,           0xFF9C, None, F|M,   "CHR$") \
    X(vcDskf,            0xFF9D, None, F,     "DSKF: pushes 0") \
    X(vcErl,             0xFF9E, None, F,     "ERL: pushes 0") \
    X(vcErr,             0xFF9F, None, F,     "ERR: pushes 0") \
    X(vcExp,             0xFFA0, None, F|M,   "EXP") \
    X(vcEof,             0xFFA1, None, F|M,   "EOF") \
    X(vcFix,             0xFFA2, None, F|M,   "FIX") \
    X(vcFpos,            0xFFA3, None, F,     "FPOS: pushes 0") \
    X(vcHexDl,           0xFFA4, None, F|M,   "HEX$") \
    X(vcInstr,           0xFFA5, Flag, F|M,   "INSTR; flag: three operands, the start position first") \
    X(vcInt,             0xFFA6, None, F|M,   "INT") \
    X(vcInp,             0xFFA7, None, F|M,   "INP") \
    X(vcInkeyDl,         0xFFA8, None, F|M,   "INKEY$") \
    X(vcLpos,            0xFFA9, None, F,     "LPOS: pushes 0") \
    X(vcLog,             0xFFAA, None, F|M,   "LOG") \
    X(vcLoc,             0xFFAB, None, F,     "LOC: pushes 0") \
    X(vcLen,             0xFFAC, None, F|M,   "LEN") \
    X(vcLeftDl,          0xFFAD, None, F|M,   "LEFT$") \
    X(vcLof,             0xFFAE, None, F,     "LOF: pushes 0") \
    X(vcMkiDl,           0xFFAF, None, F,     "MKI$: pushes an empty string") \
    X(vcMksDl,           0xFFB0, None, F,     "MKS$: pushes an empty string") \
    X(vcMkdDl,           0xFFB1, None, F,     "MKD$: pushes an empty string") \
    X(vcMap,             0xFFB2, None, F,     "MAP: pushes 0") \
    X(vcOctDl,           0xFFB3, None, F|M,   "OCT$") \
    X(vcPos,             0xFFB4, None, F|M,   "POS") \
    X(vcPeek,            0xFFB5, None, F|M,   "PEEK") \
    X(vcRightDl,         0xFFB6, None, F|M,   "RIGHT$") \
    X(vcRnd,             0xFFB7, None, F|M,   "RND (without an argument vcBPushInt 1 comes first)") \
    X(vcSearch,          0xFFB8, None, F|M,   "SEARCH") \
    X(vcSgn,             0xFFB9, None, F|M,   "SGN") \
    X(vcSqr,             0xFFBA, None, F|M,   "SQR") \
    X(vcSin,             0xFFBB, None, F|M,   "SIN") \
    X(vcStrDl,           0xFFBC, None, F|M,   "STR$") \
    X(vcStringDl,        0xFFBD, None, F|M,   "STRING$") \
    X(vcSpaceDl,         0xFFBE, None, F|M,   "SPACE$") \
    X(vcTan,             0xFFBF, None, F|M,   "TAN") \
    X(vcVal,             0xFFC0, None, F|M,   "VAL") \
    X(vcDskiDl,          0xFFC1, None, F,     "DSKI$: pushes an empty string") \
    X(vcFre,             0xFFC2, None, F,     "FRE: pushes 0") \
    X(vcVarptr,          0xFFC3, None, F,     "VARPTR: pushes 0") \
    X(vcInputDl,         0xFFC4, Flag, F|M,   "INPUT$; flag: two operands, the file number second") \
    X(vcJisDl,           0xFFC5, None, F|M,   "JIS$") \
    X(vcKnjDl,           0xFFC6, None, F|M,   "KNJ$") \
    X(vcKtype,           0xFFC7, None, F,     "KTYPE: pushes 0") \
    X(vcKlen,            0xFFC8, Flag, F|M,   "KLEN; flag: two operands were given") \
    X(vcKmidDl,          0xFFC9, Flag, F|M,   "KMID$; flag: three operands, the length last") \
    X(vcKextDl,          0xFFCA, None, F|M,   "KEXT$") \
    X(vcKinstr,          0xFFCB, Flag, F|M,   "KINSTR; flag: as vcInstr") \
    X(vcAkcnvDl,         0xFFCC, None, F|M,   "AKCNV$") \
    X(vcKacnvDl,         0xFFCD, None, F|M,   "KACNV$") \
    X(vcStatus,          0xFFCF, None, F,     "STATUS: pushes 0")

// KIVO_VM_OPERATORS(X) calls X(Op, index, operands, meaning): the 20 typed
// operators; each pops its operands and pushes the result, no operand bytes.
// The string variants of Sub, Mul, Div, Idiv, Mod, Pow, Nega, Not, And, Or,
// Xor, Imp, Eqv and the Int variants of Div and Pow are never appended; their
// handlers do nothing.
#define KIVO_VM_OPERATORS(X) \
    X(Add,   0,  2, "+ addition, string joining") \
    X(Sub,   1,  2, "- subtraction") \
    X(Mul,   2,  2, "* multiplication") \
    X(Div,   3,  2, "/ division") \
    X(Idiv,  4,  2, "\\ integer division") \
    X(Mod,   5,  2, "MOD remainder") \
    X(Pow,   6,  2, "^ power") \
    X(Nega,  7,  1, "unary - negation") \
    X(Equal, 8,  2, "= comparison") \
    X(Noteq, 9,  2, "<> comparison") \
    X(Lt,    10, 2, "< comparison") \
    X(Le,    11, 2, "<= comparison") \
    X(Gt,    12, 2, "> comparison") \
    X(Ge,    13, 2, ">= comparison") \
    X(Not,   14, 1, "NOT bitwise complement") \
    X(And,   15, 2, "AND bitwise and") \
    X(Or,    16, 2, "OR bitwise or") \
    X(Xor,   17, 2, "XOR bitwise exclusive or") \
    X(Imp,   18, 2, "IMP implication") \
    X(Eqv,   19, 2, "EQV equivalence")
// clang-format on
