#pragma once
// The run kinds of the dispatch loop (VMachineRunCodes.cpp), one row a kind. Each code
// of a run gets one before the run starts; the loop jumps on it. A kind marked "pair"
// or "block" stands for that many codes the compiler writes together (the comments of
// VMachineRunCodes.cpp and VMachineRunFor.cpp say which); the loop steps over them.

#include <cstdint>

// clang-format off
#define KIVO_RUN_KINDS(X) \
    X(rkGeneric)        /* through the code's handler */ \
    X(rkEnd)            /* the entry past the last code */ \
    X(rkLineBegin) \
    X(rkPushInt) \
    X(rkPushSingle) \
    X(rkPushDouble) \
    X(rkPushString) \
    X(rkPushVar) \
    X(rkPushSpecial) \
    X(rkLoadPlainVar)   /* pair */ \
    X(rkPushVarRef)     /* pair */ \
    X(rkAssignArray) \
    X(rkLoadArray) \
    X(rkJump)           /* pair */ \
    X(rkCall)           /* pair */ \
    X(rkFJmp) \
    X(rkCmpForFJmp)     /* pair */ \
    X(rkEqualIntFJmp)   /* pairs, in the order of the comparison codes */ \
    X(rkNoteqIntFJmp) \
    X(rkLtIntFJmp) \
    X(rkLeIntFJmp) \
    X(rkGtIntFJmp) \
    X(rkGeIntFJmp) \
    X(rkEqualSingleFJmp) \
    X(rkNoteqSingleFJmp) \
    X(rkLtSingleFJmp) \
    X(rkLeSingleFJmp) \
    X(rkGtSingleFJmp) \
    X(rkGeSingleFJmp) \
    X(rkEqualDoubleFJmp) \
    X(rkNoteqDoubleFJmp) \
    X(rkLtDoubleFJmp) \
    X(rkLeDoubleFJmp) \
    X(rkGtDoubleFJmp) \
    X(rkGeDoubleFJmp) \
    X(rkAddInt) \
    X(rkSubInt) \
    X(rkMulInt) \
    X(rkAddSingle) \
    X(rkSubSingle) \
    X(rkMulSingle) \
    X(rkDivSingle) \
    X(rkAddDouble) \
    X(rkSubDouble) \
    X(rkMulDouble) \
    X(rkDivDouble) \
    X(rkIdivInt)        /* \ of any numeric type */ \
    X(rkModInt)         /* MOD of any numeric type */ \
    X(rkForStep)        /* block: a FOR loop's increment and test */ \
    X(rkForTest)        /* block: a FOR loop's test */ \
    X(rkSkipVarRef)     /* pair: the reference of an assignment that rkStorePlain ends */ \
    X(rkStorePlain)     /* the store of that assignment into its plain variable */ \
    X(rkReturn)         /* RETURN without a target */ \
    X(rkNumberFunction) /* a function of numbers (ABS, SQR, RND, ^ and the like) */ \
    X(rkReadTextLater)  /* pair: a string variable's text, read by the function below */ \
    X(rkStringFunc)     /* LEN, LEFT$, RIGHT$, MID$, INSTR or KINSTR of such a text */ \
    X(rkStringFuncJoin) /* pair: LEFT$, RIGHT$ or MID$ of such a text, and the + after it */ \
    X(rkLenOfText)      /* block: LEN of a plain string variable */ \
    X(rkInstrOfTexts)   /* block: INSTR or KINSTR(X$, Y$) of two plain string variables */ \
    X(rkUpdatePlain)    /* block: X = X <op> constant, to a plain variable */ \
    X(rkUpdateByVar)    /* block: X = X + Y or X = X - Y, plain variables */ \
    X(rkAppendPlain)    /* block: X$ = X$ + "text", to a plain variable */ \
    X(rkJoinPlain)      /* block: X$ = A$ + B$, plain variables */ \
    X(rkAppendLater)    /* block: the reference and the value of X$ in X$ = X$ + <text> */ \
    X(rkAppendStore)    /* pair: the + and the store that end it */ \
    X(rkAppendChr)      /* block: CHR$ of a whole number, then such a + and store */ \
    X(rkLoadElement)    /* block: A(J) or A(J <op> constant) */ \
    X(rkStoreElementRef) /* block: the reference of A(J) or A(J <op> constant) = <value> */ \
    X(rkStoreElement)   /* the store of that assignment */
// clang-format on

enum TRunKind : uint8_t {
#define KIVO_RUN_KIND_ENUM(kind) kind,
    KIVO_RUN_KINDS(KIVO_RUN_KIND_ENUM)
#undef KIVO_RUN_KIND_ENUM
};
