#pragma once
// TCompiler: turns the text of a whole program list into intermediate code in a
// TMidCode. One object compiles one text. Every generator, of the front end and
// of the statements, is a member and shares the members below.
//
// Token passing: a generator takes its first token as a const reference, reads
// on with Token() and returns by value the first token that it did not consume.
// Every compile error is a TException thrown where it is found and caught only
// in Compile, which shows it through the alert sink and returns false.

#include "foundation/Exception.h"
#include "language/CompileErrorKeys.h"
#include "language/CompilerGeneratorRows.h"
#include "language/DispatchTable.h"
#include "language/Token.h"
#include "language/VMCode.h"
#include "language/VMCodeCmd.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class TAlertSink;
class TMidCode;
class TVarInfo;
struct TUserFuncInfo;

class TCompiler {
public:
    // A statement generator: keyword token in, first token after the statement out.
    using TProcGenerator = TToken (TCompiler::*)(const TToken&);
    // A function generator: keyword token in, the call's value type stored through
    // the pointer, first token after the call out.
    using TFuncGenerator = TToken (TCompiler::*)(const TToken&, TTokenKind*);
    // How a generator describes its operands: pairs of expected kind and "optional".
    using TOperandSpec = std::vector<std::pair<TTokenKind, bool>>;

    // The compatibility modes that Compile reports.
    static constexpr int32_t COMPAT_DISK_BASIC = 2;
    static constexpr int32_t COMPAT_DOS_BASIC = 3;

    // A variable reference opens with this marker (vcBPushSpecial with this kind),
    // a value of its own on the machine's value stack, so that no subscript value
    // (-1 included) can be taken for the start of the reference.
    static constexpr TTokenKind VAR_REF_MARKER = tkVar;

    // How deep expressions, skipped groups and blocks may nest before the compile
    // stops with an error instead of exhausting the stack.
    static constexpr int32_t MAX_NEST_DEPTH = 200;

    // What a compiled list may hold at most by default: as much as a run may keep.
    static constexpr size_t DEFAULT_MEMORY_LIMIT = size_t{1} << 30;

    // `compatModePreference` is the user's choice of compatibility mode
    // (0 Auto Detect, 2 DISK-BASIC, 3 DOS-BASIC). Compile errors are shown through
    // `alertSink` when one is given.
    explicit TCompiler(TMidCode* midCode, TAlertSink* alertSink = nullptr, int32_t compatModePreference = 0);
    ~TCompiler();
    TCompiler(const TCompiler&) = delete;
    TCompiler& operator=(const TCompiler&) = delete;

    // ---- Compile driver ---------------------------------------------------
    // Compiles the NUL-terminated text; true when the program holds at least 4
    // codes and no error occurred. Always writes the compatibility mode.
    bool Compile(const char* text, int32_t* compatMode);
    TToken CompileBlock(const TToken& first);
    TToken CompileLine(const TToken& first, bool afterThenElse);
    // The full text of the compile error that ended the last Compile, or empty.
    const std::string& LastErrorText() const { return mLastErrorText; }
    // A list whose compiled program would hold more (TMidCode::HeldBytes, with the
    // text being compiled and `runBytesPerCode` for each code: what the run's own
    // tables of the code will take) is a compile error.
    void SetMemoryLimit(size_t bytes, size_t runBytesPerCode = 0)
    {
        mMemoryLimit = bytes;
        mRunBytesPerCode = runBytesPerCode;
    }
    // Asked between lines: when it answers true the compile ends, false, without an
    // error (Stopped() tells). A stop of the run (Kill, a time-out) comes this way.
    void SetStopCheck(std::function<bool()> stop) { mStopCheck = std::move(stop); }
    // Whether the last Compile ended at a stop request.
    bool Stopped() const { return mStopped; }

    // ---- Code emission ----------------------------------------------------
    bool AddCode(TVMCodeCmd code);
    bool AddCode(TVMCodeCmd code, int32_t value);
    bool AddCode(TVMCodeCmd code, float value);
    bool AddCode(TVMCodeCmd code, double value);
    bool AddCode(TVMCodeCmd code, bool value);
    // The text is copied into the container, which owns it from then on.
    bool AddCode(TVMCodeCmd code, const std::string& text);
    bool AddCode(TVMCodeCmd code, TVarInfo* var);
    void AddStatementBegin();
    // The index that the next appended code gets.
    int32_t NextCodeIndex() const;
    // The variant of a typed operator group for a value type (tkUntyped counts as
    // integer); `base` is the group's integer code.
    static TVMCodeCmd AddOffsetToCode(TVMCodeCmd base, TTokenKind type);

    // ---- Tokenizer --------------------------------------------------------
    // Starts reading `text` from its first byte (Compile does this itself).
    void SetSource(const char* text);
    TToken Token();
    void SkipSpace();
    static bool IsMultiExprEndToken(const TToken& token);
    static bool IsExprEndToken(const TToken& token);

    // ---- Line numbers and labels ------------------------------------------
    TToken ParseLineNum(const TToken& first);
    TToken ParseLabel(const TToken& asterisk);
    TToken GenLabel(const TToken& asterisk);
    static std::string NextInternalLabel();
    void RegistInternalLabel(const std::string& label);

    // ---- Compile errors and token checks ----------------------------------
    TException CompileException(const std::string& message) const;
    // Looks the key up, builds the error and throws it.
    [[noreturn]] void RaiseCompileError(const char* key) const;
    [[noreturn]] void RaiseUnknownSymbol(char symbol) const;
    TToken CheckComma(const TToken& token);
    TToken CheckEqual(const TToken& token);
    TToken CheckLpar(const TToken& token);
    TToken CheckMinus(const TToken& token);
    TToken CheckRpar(const TToken& token);
    TToken CheckSemiColon(const TToken& token);
    TToken CheckNotMultiExprEnd(const TToken& token);
    TToken CheckNotLpar(const TToken& token);
    TToken CheckNotRpar(const TToken& token);

    // ---- Expressions ------------------------------------------------------
    TToken GenExpr(const TToken& first, bool statementMode, TTokenKind* type);
    // `separator` may be null; it receives 0, tkComma or tkSemiColon.
    TToken GenMultiExpr(const TToken& first, int32_t* count, TTokenKind* separator);
    TTokenKind SelectVarType(TTokenKind gathered, TTokenKind operand, bool keep) const;

    // ---- Variables and default types --------------------------------------
    TTokenKind DistinctVarType(const std::string& text) const;
    TVarInfo* FindVarInfo(const std::string& name);
    void GenVar(TToken* token, bool* lvalue, bool* keepType, bool statement, bool referenceWanted,
                TTokenKind* gathered);
    void GenMultiVar(TToken* token, int32_t* count);
    TToken SetDefVarType(TTokenKind type);

    // ---- Operand lists ----------------------------------------------------
    // Compiles an operand list that `pattern` describes, from `first` up to the end
    // of the statement or an unmatched ")", checking the final pattern position
    // against [min, max]. Appends to `tokens` each operand's first token, each
    // matched punctuation or STEP token and a tkOmitted placeholder for each part
    // left out; returns the first token not consumed.
    TToken DealToken(const TToken& first, int32_t min, int32_t max, const TOperandSpec& pattern,
                     std::vector<TToken>* tokens);
    // Whether `kind` matches the pattern entry at *position, or a later one reached
    // by stepping over optional entries; *position ends at the match or where
    // the search gave up.
    bool CheckArg(const TOperandSpec& pattern, int32_t* position, TTokenKind kind) const;
    // A parenthesised argument list after a function keyword: appends the closing
    // ")" entry to `pattern`, reads "(" and the arguments, and leaves in `tokens`
    // only the argument tokens and placeholders; returns the token after ")".
    TToken GenFuncDealToken(const TToken& keyword, int32_t min, int32_t max, TOperandSpec* pattern,
                            std::vector<TToken>* tokens);

    // ---- Calls ------------------------------------------------------------
    // Calls the function generator of the keyword's code.
    TToken GenFunc(const TToken& keyword, TTokenKind* type);
    TToken GenFuncUserFuncCall(const TToken& name, TTokenKind* type);

    // The families of built-in function generators.
    TToken GenFuncMath(const TToken& keyword, TVMCodeCmd code, TTokenKind* type);
    TToken GenFuncSpecifyArgAndRet(const TToken& keyword, TVMCodeCmd code, TTokenKind argType, TTokenKind retType,
                                   TTokenKind* type);
    TToken GenFuncNoArgSpecifyRet(const TToken& keyword, TVMCodeCmd code, TTokenKind retType, TTokenKind* type);
    TToken GenFuncInstrFamily(const TToken& keyword, TVMCodeCmd code, TTokenKind* type);
    TToken GenFuncMidDlFamily(const TToken& keyword, TVMCodeCmd code, TTokenKind* type);
    // An ignored function: its arguments are skipped and `value` stands for it.
    TToken GenFuncIgnored(const TToken& keyword, TTokenKind valueType, TTokenKind* type);
    // INPUT$, KLEN and MOUSE: a numeric or string first operand, an optional
    // numeric second; the code's flag tells whether the second was written.
    TToken GenFuncOptionalSecond(const TToken& keyword, TTokenKind firstKind, TVMCodeCmd code, TTokenKind retType,
                                 TTokenKind* type);
    // LEFT$, RIGHT$, KEXT$ and STRING$: two required operands.
    TToken GenFuncTwoOperands(const TToken& keyword, TTokenKind firstKind, TTokenKind secondKind, TVMCodeCmd code,
                              TTokenKind retType, TTokenKind* type);

    // Generator tables, indexed by instruction code, built once and shared by
    // every compiler. A code without a row reaches the fallback generator, which
    // reports CE_SYNTAX_ERR.
    static const TDispatchTable<TFuncGenerator>& FuncTable();
    static const TDispatchTable<TProcGenerator>& ProcTable();

    // The function and statement generators of the table rows.
#define KIVO_DECLARE_FUNC_GENERATOR(code, generator) TToken generator(const TToken& keyword, TTokenKind* type);
#define KIVO_DECLARE_PROC_GENERATOR(code, generator) TToken generator(const TToken& keyword);
#define KIVO_DECLARE_NOTHING(code, generator)
    KIVO_FUNC_GENERATOR_ROWS(KIVO_DECLARE_FUNC_GENERATOR)
    KIVO_PROC_GENERATOR_ROWS(KIVO_DECLARE_PROC_GENERATOR, KIVO_DECLARE_NOTHING)
#undef KIVO_DECLARE_FUNC_GENERATOR
#undef KIVO_DECLARE_PROC_GENERATOR
#undef KIVO_DECLARE_NOTHING

    // ---- Statements and blocks --------------------------------------------
    // Records the statement's beginning and calls the statement generator of the
    // keyword's code.
    TToken GenProc(const TToken& keyword);
    TToken GenIf(const TToken& keyword);
    TToken GenFor(const TToken& keyword);
    TToken GenWhile(const TToken& keyword);

    // ---- Statement parts shared by the statement generators ----------------
    // The whole operand list after `keyword` by DealToken; the list must end
    // the statement.
    TToken GenProcDealToken(const TToken& keyword, int32_t min, int32_t max, const TOperandSpec& pattern,
                            std::vector<TToken>* tokens);
    // A line or label to jump to: "*" and a name push the name, anything else
    // is an expression that must compile to one value. Returns the token after it.
    TToken GenJumpTarget(const TToken& first);
    TToken GenProcPrintWrite(const TToken& keyword, TVMCodeCmd code);
    TToken GenProcPrintUsing(const TToken& keyword);
    TToken GenProcInputFamily(const TToken& keyword, bool lineInput);
    // LINE INPUT, handed over by the LINE generator with the INPUT token.
    TToken GenProcLineInput(const TToken& keyword);
    TToken GenProcDataComma(const TToken& comma, int64_t* itemStart);
    // DEF USR, handed over by the DEF generator with the USR token: ignored.
    TToken GenProcDefUsr(const TToken& keyword);
    // The forms of DEF and OPTION, each given the word that selects it.
    TToken GenProcDefSeg(const TToken& seg);
    TToken GenProcUserFuncDef(const TToken& fnName);
    TToken GenProcOptionBase(const TToken& base);
    // COLOR with a value list, and COLOR alone or COLOR = (palette, colour);
    // each given the token after COLOR.
    TToken GenProcColor1(const TToken& first);
    TToken GenProcColor2(const TToken& first);
    // WIDTH for the screen, a device name and a file; given the first operand.
    TToken GenProcWidth1(const TToken& first);
    TToken GenProcWidth2(const TToken& first);
    TToken GenProcWidth3(const TToken& first);
    // Event traps: ON event GOSUB after the event word, the switch tail after
    // the state word, KEY and MOUSE switches.
    TToken GenProcOnIrGeneral(const TToken& event, int32_t mask);
    TToken GenProcSetIrState(const TToken& state, int32_t eventId);
    TToken GenProcSetIrStateKey(const TToken& first);
    TToken GenProcSetIrStateMouse(const TToken& lpar);
    // ON expression GOTO/GOSUB, given the selector's first token.
    TToken GenProcOnGosubGoto(const TToken& first);
    // GET@ and PUT@ from the token after the first "("; the file forms of GET
    // and PUT from the token after the keyword.
    TToken GenProcGetAtKernel(const TToken& first);
    TToken GenProcPutAtKernel(const TToken& first);
    TToken GenProcGetKernel(const TToken& first);
    TToken GenProcPutKernel(const TToken& first);
    // CALL MOUSE, given the MOUSE word.
    TToken GenProcCallMouse(const TToken& mouse);
    // PLAY ALLOC, given the token after ALLOC.
    TToken GenProcPlayAlloc(const TToken& first);

    // ---- Skipped constructs -----------------------------------------------
    TToken SkipComment();
    TToken SkipMultiExpr(const TToken& first);
    TToken SkipFuncOption(const TToken& keyword);

    int32_t DosBasicSigns() const
    {
        return DosBasicSignCount;
    }

    // The DATA generator reads its items in DATA mode (numbers are plain items,
    // "&" is a symbol and a name may end in "@").
    void SetDataMode(bool on)
    {
        DataMode = on;
    }
    // The DEF FN generator compiles a body between these two: references to the
    // function's parameters then read the call's arguments.
    void EnterUserFuncBody(TUserFuncInfo* info)
    {
        CurUserFuncInfo = info;
        InUserFuncDef = true;
    }
    void LeaveUserFuncBody()
    {
        InUserFuncDef = false;
    }

private:
    // Counts one level of nesting for as long as it lives; too deep a nesting
    // is a compile error.
    class TNestGuard {
    public:
        explicit TNestGuard(TCompiler* compiler);
        ~TNestGuard();
        TNestGuard(const TNestGuard&) = delete;
        TNestGuard& operator=(const TNestGuard&) = delete;

    private:
        TCompiler* mCompiler;
    };

    TToken GenFuncUnknown(const TToken& keyword, TTokenKind* type);
    TToken GenProcUnknown(const TToken& keyword);
    // The instruction code of a keyword text; 0 for a text that is no keyword.
    TVMCodeCmd KeywordCode(const std::string& text) const;
    bool IsGotoOrGosub(const TToken& token) const;

    // Type tables.
    void InitDefVarTypeTable();
    void InitSelVarTypeTable();
    void InitSufVarTypeTable();

    // Tokenizer internals.
    unsigned char SrcByte(int64_t offset) const;
    int TokenIdentKernel(std::string& buffer, int offset);
    TToken TokenIdent();
    TToken TokenNum();
    TToken TokenHexOct();
    TToken TokenSharpInt();
    TToken TokenString();
    TToken TokenComment();
    TToken TokenMisc();

    TToken RequireToken(const TToken& token, TTokenKind kind, const char* key);
    void ShowCompileError(const TException& error);
    void AddVarRefMarker();

    // Expression levels, loosest first.
    using TExprLevel = void (TCompiler::*)(TToken*, bool*, bool*, bool, TTokenKind*);
    void GenExpr16(TToken* token, bool* lvalue, bool statement, TTokenKind* gathered);
    void GenExpr15(TToken* token, bool* lvalue, bool statement, TTokenKind* gathered);
    void GenExpr14(TToken* token, bool* lvalue, bool* keepType, bool statement, TTokenKind* gathered);
    void GenExpr13(TToken* token, bool* lvalue, bool* keepType, bool statement, TTokenKind* gathered);
    void GenExpr12(TToken* token, bool* lvalue, bool* keepType, bool statement, TTokenKind* gathered);
    void GenExpr11(TToken* token, bool* lvalue, bool* keepType, bool statement, TTokenKind* gathered);
    void GenExpr10(TToken* token, bool* lvalue, bool* keepType, bool statement, TTokenKind* gathered);
    void GenExpr9(TToken* token, bool* lvalue, bool* keepType, bool statement, TTokenKind* gathered);
    void GenExpr8(TToken* token, bool* lvalue, bool* keepType, bool statement, TTokenKind* gathered);
    void GenExpr7(TToken* token, bool* lvalue, bool* keepType, bool statement, TTokenKind* gathered);
    void GenExpr6(TToken* token, bool* lvalue, bool* keepType, bool statement, TTokenKind* gathered);
    void GenExpr5(TToken* token, bool* lvalue, bool* keepType, bool statement, TTokenKind* gathered);
    void GenExpr4(TToken* token, bool* lvalue, bool* keepType, bool statement, TTokenKind* gathered);
    void GenExpr3(TToken* token, bool* lvalue, bool* keepType, bool statement, TTokenKind* gathered);
    void GenExpr2(TToken* token, bool* lvalue, bool* keepType, bool statement, TTokenKind* gathered);
    void GenExpr1(TToken* token, bool* lvalue, bool statement, TTokenKind* gathered);
    void GenExprNot(TToken* token, bool* lvalue, bool* keepType, bool statement, TTokenKind* gathered,
                    TExprLevel operand, TExprLevel fallback);
    void GenExprPowOperand(TToken* token, bool* lvalue, bool* keepType, bool statement, TTokenKind* gathered);
    void GenExprSign(TToken* token, bool* lvalue, bool* keepType, bool statement, TTokenKind* gathered,
                     TExprLevel operand);

    // One binary level: its operators, what kind of level it is and the level
    // that compiles its operands.
    enum class TLevelKind { Logical, Relational, Arithmetic };
    struct TOperatorRow {
        TTokenKind token;
        TVMCodeCmd group;            // the integer code of the operator's group
        const char* stringErrorKey;  // null when the operator takes strings
        bool atLeastSingle;          // "/" and "^" make the type at least single
    };
    void GenBinaryLevel(TToken* token, bool* lvalue, bool* keepType, bool statement, TTokenKind* gathered,
                        TLevelKind kind, const TOperatorRow* rows, std::size_t rowCount, TExprLevel operand);
    template <std::size_t N>
    void GenBinaryLevel(TToken* token, bool* lvalue, bool* keepType, bool statement, TTokenKind* gathered,
                        TLevelKind kind, const TOperatorRow (&rows)[N], TExprLevel operand)
    {
        GenBinaryLevel(token, lvalue, keepType, statement, gathered, kind, rows, N, operand);
    }

    bool DataMode = false;
    bool InUserFuncDef = false;
    // While FOR compiles its limit and step, a statement keyword after an operand
    // ends the value: it begins the loop's body (FOR I=1 TO 3 PRINT I: NEXT).
    bool StatementEndsValue = false;
    const char* SrcText = nullptr;
    int32_t DosBasicSignCount = 0;
    int64_t SrcPos = 0;
    std::string CurLineNumText;
    TMidCode* MidCode;
    std::array<TTokenKind, 'Z' + 1> DefVarTypeTable{};
    std::array<std::array<TTokenKind, 11>, 11> SelVarTypeTable{};
    std::array<TTokenKind, '%' + 1> SufVarTypeTable{};
    TUserFuncInfo* CurUserFuncInfo = nullptr;

    TAlertSink* mAlertSink;
    int32_t mCompatModePreference;
    size_t mMemoryLimit = DEFAULT_MEMORY_LIMIT;
    size_t mRunBytesPerCode = 0;
    size_t mSourceBytes = 0;  // the text being compiled, with its closing NUL
    std::function<bool()> mStopCheck;
    bool mStopped = false;
    uint32_t mLinesCompiled = 0;
    int32_t mNestDepth = 0;
    std::string mLastErrorText;
};
