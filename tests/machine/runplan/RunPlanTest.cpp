// Which run kinds a line gets: one row per fast path, so that a change to the compiler's
// code shapes or to the planner that loses a fast path fails here, not only in the
// benchmark.

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/AlertSink.h"
#include "language/Compiler.h"
#include "language/MidCode.h"
#include "machine/runplan/RunKinds.h"
#include "machine/runplan/RunPlan.h"

namespace {

const char* kind_name(uint8_t kind)
{
    static const char* const names[] = {
#define KIVO_RUN_KIND_NAME(kind, shape, effect) #kind,
        KIVO_RUN_KINDS(KIVO_RUN_KIND_NAME)
#undef KIVO_RUN_KIND_NAME
    };
    return kind < std::size(names) ? names[kind] : "?";
}

struct TPlanned {
    TMidCode code;
    TRunPlan plan;
};

void plan_program(const std::string& text, bool fusable, TPlanned& out)
{
    TRecordingAlertSink alerts;
    int32_t compatMode = 0;
    TCompiler compiler(&out.code, &alerts);
    ASSERT_TRUE(compiler.Compile(text.c_str(), &compatMode)) << alerts.Last();
    std::optional<TRunPlan> plan = plan_run(
        out.code, [fusable](TVMCodeCmd) { return fusable; }, [] { return false; });
    ASSERT_TRUE(plan.has_value());
    out.plan = std::move(*plan);
}

std::vector<std::string> kind_names(const TRunPlan& plan)
{
    std::vector<std::string> names;
    for (const uint8_t kind : plan.kinds) names.emplace_back(kind_name(kind));
    return names;
}

struct TFastPath {
    const char* program;
    std::vector<TRunKind> kinds;  // each must be given to some code of the program
};

const TFastPath FAST_PATHS[] = {
    {"10 A=B\n", {rkLoadPlainVar, rkSkipVarRef, rkStorePlain}},
    {"10 A$=INKEY$\n", {rkPushVarRef}},
    {"10 DIM A(3):A(1)=B*2+SQR(C)\n", {rkNumberFunction}},
    {"10 GOTO 20\n20 END\n", {rkJump}},
    {"10 GOSUB 30\n20 END\n30 RETURN\n", {rkCall, rkReturn}},
    {"10 FOR I=1 TO 10:NEXT\n", {rkForStep, rkForTest}},
    {"10 FOR I=1 TO N STEP S:NEXT\n", {rkForStep, rkForTest}},
    {"10 FOR I=1 TO LEN(A$):NEXT\n", {rkCmpForFJmp}},
    {"10 IF A%=B% THEN 10\n", {rkEqualIntFJmp}},
    {"10 IF A%<>B% THEN 10\n", {rkNoteqIntFJmp}},
    {"10 IF A%<B% THEN 10\n", {rkLtIntFJmp}},
    {"10 IF A%<=B% THEN 10\n", {rkLeIntFJmp}},
    {"10 IF A%>B% THEN 10\n", {rkGtIntFJmp}},
    {"10 IF A%>=B% THEN 10\n", {rkGeIntFJmp}},
    {"10 IF A!=B! THEN 10\n", {rkEqualSingleFJmp}},
    {"10 IF A!<>B! THEN 10\n", {rkNoteqSingleFJmp}},
    {"10 IF A!<B! THEN 10\n", {rkLtSingleFJmp}},
    {"10 IF A!<=B! THEN 10\n", {rkLeSingleFJmp}},
    {"10 IF A!>B! THEN 10\n", {rkGtSingleFJmp}},
    {"10 IF A!>=B! THEN 10\n", {rkGeSingleFJmp}},
    {"10 IF A#=B# THEN 10\n", {rkEqualDoubleFJmp}},
    {"10 IF A#<>B# THEN 10\n", {rkNoteqDoubleFJmp}},
    {"10 IF A#<B# THEN 10\n", {rkLtDoubleFJmp}},
    {"10 IF A#<=B# THEN 10\n", {rkLeDoubleFJmp}},
    {"10 IF A#>B# THEN 10\n", {rkGtDoubleFJmp}},
    {"10 IF A#>=B# THEN 10\n", {rkGeDoubleFJmp}},
    {"10 X=X+1\n", {rkUpdatePlain}},
    {"10 X%=X%*3\n", {rkUpdatePlain}},
    {"10 X#=X#-1\n", {rkUpdatePlain}},
    {"10 X!=X!+1.5\n", {rkUpdatePlain}},
    {"10 X=X-Y\n", {rkUpdateByVar}},
    {"10 X%=X%+Y%\n", {rkUpdateByVar}},
    {"10 A$=A$+\"AB\"\n", {rkAppendPlain}},
    {"10 A$=B$+C$\n", {rkJoinPlain}},
    {"10 A$=A$+STR$(I)\n", {rkAppendLater, rkAppendStore}},
    {"10 A$=A$+CHR$(65)\n", {rkAppendLater, rkAppendStore, rkAppendChr}},
    {"10 N=LEN(A$)\n", {rkLenOfText}},
    {"10 B$=LEFT$(A$,I+1)\n", {rkReadTextLater, rkStringFunc}},
    {"10 B$=C$+MID$(A$,I,1)\n", {rkReadTextLater, rkStringFuncJoin}},
    {"10 N=INSTR(A$,B$)\n", {rkInstrOfTexts}},
    {"10 N=KINSTR(A$,B$)\n", {rkInstrOfTexts}},
    {"10 N=KINSTR(A$,\"X\")\n", {rkReadTextLater, rkStringFunc}},
    {"10 DIM A(9):N=A(J)+A(J+1)\n", {rkLoadElement}},
    {"10 DIM A(9):N=A(J+1)\n", {rkLoadElement}},
    {"10 DIM A(9):A(J)=1\n", {rkStoreElementRef, rkStoreElement}},
    {"10 DIM A(9):A(J-1)=A(J)*2\n", {rkStoreElementRef, rkStoreElement, rkLoadElement}},
};

TEST(RunPlan, EachFastPathIsGivenToItsLine)
{
    for (const TFastPath& row : FAST_PATHS) {
        SCOPED_TRACE(row.program);
        TPlanned planned;
        plan_program(row.program, true, planned);
        const std::vector<std::string> names = kind_names(planned.plan);
        for (const TRunKind kind : row.kinds)
            EXPECT_NE(std::find(names.begin(), names.end(), kind_name(kind)), names.end())
                << kind_name(kind) << " missing";
    }
}

// A new pair or block kind needs a row above: the kind table says which kinds fuse codes.
TEST(RunPlan, EveryPairAndBlockKindHasAFastPathRow)
{
    struct TKindRow {
        TRunKind kind;
        std::string_view shape;
    };
    static const TKindRow KINDS[] = {
#define KIVO_RUN_KIND_ROW(kind, shape, effect) {kind, shape},
        KIVO_RUN_KINDS(KIVO_RUN_KIND_ROW)
#undef KIVO_RUN_KIND_ROW
    };
    for (const TKindRow& row : KINDS) {
        if (!row.shape.starts_with("pair:") && !row.shape.starts_with("block:")) continue;
        const bool listed = std::any_of(std::begin(FAST_PATHS), std::end(FAST_PATHS), [&](const TFastPath& path) {
            return std::find(path.kinds.begin(), path.kinds.end(), row.kind) != path.kinds.end();
        });
        EXPECT_TRUE(listed) << kind_name(row.kind) << " has no line in FAST_PATHS";
    }
}

// Without the fast paths (or under a debugger's own handlers) every code runs alone.
TEST(RunPlan, CodesThatMayNotBeFusedStayGeneric)
{
    TPlanned planned;
    plan_program("10 FOR I=1 TO 10:X=X+I:A$=A$+\"B\":NEXT\n20 IF X>3 THEN GOTO 10\n", false, planned);
    const std::vector<uint8_t>& kinds = planned.plan.kinds;
    ASSERT_EQ(kinds.size(), planned.code.Codes.size() + 1);
    EXPECT_EQ(kinds.back(), rkEnd);
    for (size_t k = 0; k + 1 < kinds.size(); ++k) EXPECT_EQ(kinds[k], rkGeneric) << "code " << k;
    EXPECT_TRUE(planned.plan.forLoops.empty());
}

// The targets the plan looks up once: a GOTO's line, a FOR loop's exit and its blocks'
// loop, and the label each IF's jump expects.
TEST(RunPlan, TargetsAreTheCodesTheJumpsWouldFind)
{
    TPlanned planned;
    plan_program("10 GOTO 30\n20 FOR I=1 TO 3:NEXT\n30 IF A%<B% THEN 20\n", true, planned);
    const TRunPlan& plan = planned.plan;
    const std::vector<uint8_t>& kinds = plan.kinds;
    const auto at = [&](TRunKind kind) {
        return static_cast<size_t>(std::find(kinds.begin(), kinds.end(), kind) - kinds.begin());
    };
    ASSERT_LT(at(rkJump), kinds.size());
    EXPECT_EQ(plan.targets[at(rkJump)], planned.code.LineNumMap.at(30));
    ASSERT_EQ(plan.forLoops.size(), 1u);
    EXPECT_EQ(plan.targets[at(rkForStep)], 0);
    EXPECT_EQ(static_cast<size_t>(plan.forLoops[0].test), at(rkForTest));
    EXPECT_GT(plan.forLoops[0].exit, plan.forLoops[0].last);
    const size_t jump = at(rkLtIntFJmp) + 1;
    ASSERT_NE(plan.jumpLabels[jump], nullptr);
    EXPECT_EQ(plan.targets[jump], plan.operandLabels.Find(plan.jumpLabels[jump]));
    EXPECT_EQ(plan.operandLabels.Find("not an operand"), 0);
}

// A stop request ends the planning wherever it comes, between the passes or inside one,
// with no plan to run.
TEST(RunPlan, AStopRequestEndsThePlanningWithoutAPlan)
{
    TMidCode code;
    TRecordingAlertSink alerts;
    int32_t compatMode = 0;
    std::string list;
    for (int line = 1; line <= 5000; ++line) list += std::to_string(line * 10) + " X=X+1:A$=A$+\"B\"\n";
    TCompiler compiler(&code, &alerts);
    ASSERT_TRUE(compiler.Compile(list.c_str(), &compatMode)) << alerts.Last();
    int polls = 0;
    const auto always = [](TVMCodeCmd) { return true; };
    ASSERT_TRUE(plan_run(code, always, [&] { return ++polls < 0; }).has_value());
    const int wholeRun = polls;
    ASSERT_GT(wholeRun, 12);  // every pass polls at least once
    for (const int at : {1, 2, wholeRun / 2, wholeRun}) {
        int seen = 0;
        EXPECT_FALSE(plan_run(code, always, [&] { return ++seen >= at; }).has_value()) << "stop at poll " << at;
    }
    EXPECT_FALSE(planned_bytes(code, [] { return true; }).has_value());
    EXPECT_GE(*planned_bytes(code, [] { return false; }), code.Codes.size() * TRunPlan::BYTES_PER_CODE);
}

}  // namespace
