#pragma once
// The run kinds of the dispatch loop, one row a kind. Before a run, every code gets a
// kind (RunPlan.h); the loop jumps on it. A row says the codes the kind stands for, in
// the order the compiler writes them, and what the kind does to the value stack.
//
// Shapes: "M" is the marker vcBPushSpecial tkVar that opens a variable reference, "V"
// a plain variable, "c" a pushed constant, "op" one of the arithmetic codes but the
// divisions, integer division and MOD, "value" codes that change no variable (pushes,
// plain variables, the arithmetic kinds, the functions of numbers; for element stores
// also LEN of a plain string variable as rkLenOfText reads it and element reads as
// rkLoadElement reads them), "text" pushes, plain variables, LEN of a plain string
// variable, the arithmetic kinds (no function of numbers) and the string functions
// CHR$, STR$, HEX$, OCT$ and SPACE$. A kind of one code keeps the code's own stack
// effect; a pair or block does what its codes do, errors included, and the loop steps
// over the codes after the first. The codes after the first keep their own kinds, so a
// jump that lands on one runs it alone. No block spans a code that a jump lands on but
// rkForStep: it goes on into the test block after it, where the FOR's first jump lands.

#include <cstdint>

// clang-format off
//   kind                 codes it stands for                                                 stack effect
#define KIVO_RUN_KINDS(X) \
    X(rkGeneric,          "any code, through its handler",                                    "the handler's") \
    X(rkEnd,              "the entry past the last code",                                     "none: the run ends") \
    X(rkLineBegin,        "vcBLineBegin",                                                     "0") \
    X(rkPushInt,          "vcBPushInt c",                                                     "+1") \
    X(rkPushSingle,       "vcBPushFloat c",                                                   "+1") \
    X(rkPushDouble,       "vcBPushDouble c",                                                  "+1") \
    X(rkPushString,       "vcBPushString literal",                                            "+1") \
    X(rkPushVar,          "vcBPushVar X",                                                     "+1") \
    X(rkPushSpecial,      "vcBPushSpecial kind",                                              "+1") \
    X(rkLoadPlainVar,     "pair: M, vcBLoadArray V",                                          "+1, V's value") \
    X(rkPushVarRef,       "pair: M, vcBPushVar V",                                            "+2, V's reference") \
    X(rkAssignArray,      "vcBAssignArray",                                                   "-3 (plain) or more") \
    X(rkLoadArray,        "vcBLoadArray X",                                                   "marker and subscripts to 1") \
    X(rkJump,             "pair: vcBPushString label or vcBPushInt line, vcBJmp",             "0") \
    X(rkCall,             "pair: vcBPushString label or vcBPushInt line, vcBCall",            "+1: the return position, on the value stack") \
    X(rkFJmp,             "vcBFJmp",                                                          "-2: the label and the condition") \
    X(rkCmpForFJmp,       "pair: vcBCmpFor, vcBFJmp",                                         "-4: label, variable, limit, step") \
    X(rkEqualIntFJmp,     "pair: vcBEqualInt, vcBFJmp",                                       "-3: label and two operands") \
    X(rkNoteqIntFJmp,     "pair: vcBNoteqInt, vcBFJmp",                                       "-3") \
    X(rkLtIntFJmp,        "pair: vcBLtInt, vcBFJmp",                                          "-3") \
    X(rkLeIntFJmp,        "pair: vcBLeInt, vcBFJmp",                                          "-3") \
    X(rkGtIntFJmp,        "pair: vcBGtInt, vcBFJmp",                                          "-3") \
    X(rkGeIntFJmp,        "pair: vcBGeInt, vcBFJmp",                                          "-3") \
    X(rkEqualSingleFJmp,  "pair: vcBEqualFloat, vcBFJmp",                                     "-3") \
    X(rkNoteqSingleFJmp,  "pair: vcBNoteqFloat, vcBFJmp",                                     "-3") \
    X(rkLtSingleFJmp,     "pair: vcBLtFloat, vcBFJmp",                                        "-3") \
    X(rkLeSingleFJmp,     "pair: vcBLeFloat, vcBFJmp",                                        "-3") \
    X(rkGtSingleFJmp,     "pair: vcBGtFloat, vcBFJmp",                                        "-3") \
    X(rkGeSingleFJmp,     "pair: vcBGeFloat, vcBFJmp",                                        "-3") \
    X(rkEqualDoubleFJmp,  "pair: vcBEqualDouble, vcBFJmp",                                    "-3") \
    X(rkNoteqDoubleFJmp,  "pair: vcBNoteqDouble, vcBFJmp",                                    "-3") \
    X(rkLtDoubleFJmp,     "pair: vcBLtDouble, vcBFJmp",                                       "-3") \
    X(rkLeDoubleFJmp,     "pair: vcBLeDouble, vcBFJmp",                                       "-3") \
    X(rkGtDoubleFJmp,     "pair: vcBGtDouble, vcBFJmp",                                       "-3") \
    X(rkGeDoubleFJmp,     "pair: vcBGeDouble, vcBFJmp",                                       "-3") \
    X(rkAddInt,           "vcBAddInt",                                                        "-1") \
    X(rkSubInt,           "vcBSubInt",                                                        "-1") \
    X(rkMulInt,           "vcBMulInt",                                                        "-1") \
    X(rkAddSingle,        "vcBAddFloat",                                                      "-1") \
    X(rkSubSingle,        "vcBSubFloat",                                                      "-1") \
    X(rkMulSingle,        "vcBMulFloat",                                                      "-1") \
    X(rkDivSingle,        "vcBDivFloat",                                                      "-1") \
    X(rkAddDouble,        "vcBAddDouble",                                                     "-1") \
    X(rkSubDouble,        "vcBSubDouble",                                                     "-1") \
    X(rkMulDouble,        "vcBMulDouble",                                                     "-1") \
    X(rkDivDouble,        "vcBDivDouble",                                                     "-1") \
    X(rkIdivInt,          "vcBIdivInt, vcBIdivFloat or vcBIdivDouble",                        "-1") \
    X(rkModInt,           "vcBModInt, vcBModFloat or vcBModDouble",                           "-1") \
    X(rkForStep,          "block: M, vcBPushVar V, M, vcBLoadArray V, step, vcBAddDouble, "    \
                          "vcBAssignArray, then rkForTest's codes (RunPlanFor.cpp)",          "0") \
    X(rkForTest,          "block: vcBPushString exit, M, vcBLoadArray V, limit, step, "        \
                          "vcBCmpFor, vcBFJmp",                                               "0") \
    X(rkSkipVarRef,       "pair: M, vcBPushVar V of an assignment that rkStorePlain ends",    "0: the reference stays off") \
    X(rkStorePlain,       "vcBAssignArray after M, vcBPushVar V, value",                      "-1: the value") \
    X(rkReturn,           "vcBRet; one with a target line, or with entries above the "         \
                          "return position, runs through its handler",                        "-1: the return position") \
    X(rkNumberFunction,   "a function of numbers: ABS, ATN, CINT, CSNG, CDBL, COS, EXP, FIX, " \
                          "INT, LOG, RND, SGN, SIN, SQR, TAN, ^",                             "1 - operands") \
    X(rkReadTextLater,    "pair: M, vcBLoadArray V$, read by the rkStringFunc below",         "0: the text stays off") \
    X(rkStringFunc,       "vcLen, vcLeftDl, vcRightDl, vcMidDlFunc, vcInstr or vcKinstr of "   \
                          "that text",                                                        "1 - operands but the text") \
    X(rkStringFuncJoin,   "pair: vcLeftDl, vcRightDl or vcMidDlFunc of that text, "            \
                          "vcBAddString",                                                     "-operands but the text") \
    X(rkLenOfText,        "block: M, vcBLoadArray V$, vcLen",                                 "+1: the length") \
    X(rkInstrOfTexts,     "block: M, vcBLoadArray X$, M, vcBLoadArray Y$, vcInstr or "         \
                          "vcKinstr",                                                         "+1: the position") \
    X(rkUpdatePlain,      "block: M, vcBPushVar V, M, vcBLoadArray V, c, op, vcBAssignArray", "0") \
    X(rkUpdateByVar,      "block: M, vcBPushVar V, M, vcBLoadArray V, M, vcBLoadArray W, "     \
                          "vcBAdd/vcBSub (Int or Float), vcBAssignArray",                     "0") \
    X(rkAppendPlain,      "block: M, vcBPushVar V$, M, vcBLoadArray V$, vcBPushString literal, " \
                          "vcBAddString, vcBAssignArray",                                     "0") \
    X(rkJoinPlain,        "block: M, vcBPushVar X$, M, vcBLoadArray A$, M, vcBLoadArray B$, "  \
                          "vcBAddString, vcBAssignArray",                                     "0") \
    X(rkAppendLater,      "block: M, vcBPushVar V$, M, vcBLoadArray V$ before text, "          \
                          "then rkAppendStore",                                               "0: reference and value stay off") \
    X(rkAppendStore,      "pair: vcBAddString, vcBAssignArray that end rkAppendLater's",      "-1: the text") \
    X(rkAppendChr,        "block: vcChrDl as the last code of that text, then rkAppendStore", "-1: the character code") \
    X(rkLoadElement,      "block: M, M, vcBLoadArray J, [c, op,] vcBLoadArray A (J numeric)", "+1: the element's value") \
    X(rkStoreElementRef,  "block: M, M, vcBLoadArray J, [vcBPushInt n, op,] vcBPushVar A "     \
                          "before value, then rkStoreElement",                                "0: the reference stays off") \
    X(rkStoreElement,     "vcBAssignArray that ends rkStoreElementRef's",                     "-1: the value")
// clang-format on

enum TRunKind : uint8_t {
#define KIVO_RUN_KIND_ENUM(kind, shape, effect) kind,
    KIVO_RUN_KINDS(KIVO_RUN_KIND_ENUM)
#undef KIVO_RUN_KIND_ENUM
};
