// DATA, READ and RESTORE: items in program order wherever they stand, conversions to
// the variable's type, and the read position that RESTORE moves.

#include <functional>

#include "machine/vm/RuntimeErrorKeys.h"
#include "tests/machine/vm/ProgramFixture.h"

namespace {

class DataRead : public ProgramFixture {
protected:
    static void Data(TProgram& p, std::initializer_list<const char*> items)
    {
        p.code.Statement();
        for (const char* item : items) p.code.Add(MakeCode(vcData, p.mid.KeepText(item)));
    }
    static void Read(TProgram& p, std::initializer_list<TVarInfo*> vars)
    {
        for (TVarInfo* v : vars) p.Ref(v);
        p.code.Add(MakeCode(vcRead, static_cast<int32_t>(vars.size())));
    }
    static void RestoreTo(TProgram& p, int32_t line) { p.code.Int(line).Add(MakeCode(vcRestore, true)); }
    static void Restore(TProgram& p) { p.code.Add(MakeCode(vcRestore, false)); }
};

TEST_F(DataRead, ItemsAreReadInProgramOrderAndDataInTheFlowDoesNothing)
{
    TProgram p(rsrc);
    TVarInfo* a = p.Var("A!", tkSingle);
    TVarInfo* b = p.Var("B$", tkString);
    TVarInfo* c = p.Var("C%", tkInt);
    p.code.Line(10);
    Read(p, {a, b});
    p.code.Line(20);
    Data(p, {"12", "HELLO"});
    p.AssignInt(c, {}, 1);  // runs: DATA met in the flow is skipped
    p.code.Line(30);
    Read(p, {c});
    p.code.End();
    p.code.Line(40);
    Data(p, {" 7"});  // after END
    ASSERT_EQ(p.Run(), 0) << p.error;
    EXPECT_EQ(a->SingleValues()[0], 12.0f);
    EXPECT_EQ(b->StringValues()[0], "HELLO");
    EXPECT_EQ(c->IntValues()[0], 7);
    EXPECT_EQ(p.stackDepth, 0u);
}

TEST_F(DataRead, ItemsConvertToTheVariablesType)
{
    struct Case {
        const char* item;
        TTokenKind type;
        double value;
    };
    const Case cases[] = {
        {"3.7", tkInt, 3},       {"3.7", tkSingle, 3.7f}, {"3.7", tkDouble, 3.7},   {"ABC", tkSingle, 0},
        {"&HFF", tkSingle, 255}, {"&hff", tkInt, 255},    {"&O17", tkDouble, 15},   {"&X1", tkInt, 0},
        {"-12abc", tkInt, -12},  {"", tkInt, 0},          {" 1e3", tkDouble, 1000},
    };
    for (const Case& c : cases) {
        TProgram p(rsrc);
        TVarInfo* v = p.Var("V", c.type);
        p.code.Line(10);
        Read(p, {v});
        Data(p, {c.item});
        ASSERT_EQ(p.Run(), 0) << c.item << ": " << p.error;
        const double got = c.type == tkInt      ? v->IntValues()[0]
                           : c.type == tkSingle ? v->SingleValues()[0]
                                                : v->DoubleValues()[0];
        EXPECT_EQ(got, c.value) << c.item;
    }
}

TEST_F(DataRead, AnOctalItemWithEightOrNineIsAnError)
{
    TProgram p(rsrc);
    TVarInfo* v = p.Var("V!", tkSingle);
    p.code.Line(10);
    Read(p, {v});
    Data(p, {"&O18"});
    EXPECT_EQ(p.Run(), 1);
    EXPECT_TRUE(p.EndedWith(RTE_ILL_FUNC_CALL)) << p.error;
}

TEST_F(DataRead, RunningOutOfDataKeepsWhatWasRead)
{
    TProgram p(rsrc);
    TVarInfo* a = p.Var("A%", tkInt);
    TVarInfo* b = p.Var("B%", tkInt);
    TVarInfo* c = p.Var("C%", tkInt);
    p.code.Line(10);
    Data(p, {"1", "2"});
    p.code.Line(20);
    Read(p, {a, b, c});
    EXPECT_EQ(p.Run(), 1);
    EXPECT_TRUE(p.EndedWith(RTE_OUT_OF_DATA)) << p.error;
    EXPECT_NE(p.error.find(" in 20"), std::string::npos);
    EXPECT_EQ(a->IntValues()[0], 1);
    EXPECT_EQ(b->IntValues()[0], 2);
}

TEST_F(DataRead, RestoreMovesTheReadPosition)
{
    TProgram p(rsrc);
    TVarInfo* a = p.Var("A%", tkInt);
    TVarInfo* b = p.Var("B%", tkInt);
    TVarInfo* c = p.Var("C%", tkInt);
    TVarInfo* d = p.Var("D%", tkInt);
    TVarInfo* e = p.Var("E%", tkInt);
    TVarInfo* f = p.Var("F%", tkInt);
    p.code.Line(10);
    Read(p, {a, b, c});
    RestoreTo(p, 200);
    Read(p, {d});
    Restore(p);
    Read(p, {e});
    RestoreTo(p, 150);  // a line without DATA: the next item after it
    Read(p, {f});
    p.code.End();
    p.code.Line(100);
    Data(p, {"1", "2"});
    p.code.Line(150);
    p.code.Line(200);
    Data(p, {"3", "4"});
    ASSERT_EQ(p.Run(), 0) << p.error;
    EXPECT_EQ(a->IntValues()[0], 1);
    EXPECT_EQ(b->IntValues()[0], 2);
    EXPECT_EQ(c->IntValues()[0], 3);
    EXPECT_EQ(d->IntValues()[0], 3);
    EXPECT_EQ(e->IntValues()[0], 1);
    EXPECT_EQ(f->IntValues()[0], 3);
}

TEST_F(DataRead, RestoreToALabel)
{
    TProgram p(rsrc);
    TVarInfo* a = p.Var("A%", tkInt);
    p.code.Line(10);
    p.code.Text("*TWO").Add(MakeCode(vcRestore, true));
    Read(p, {a});
    p.code.Line(20);
    Data(p, {"1"});
    p.code.Label("*TWO").Line(30);
    Data(p, {"2"});
    ASSERT_EQ(p.Run(), 0) << p.error;
    EXPECT_EQ(a->IntValues()[0], 2);
}

TEST_F(DataRead, RestoreToAMissingLineOrLabelIsAnError)
{
    const std::pair<std::function<void(TProgram&)>, const char*> cases[] = {
        {[](TProgram& p) { p.code.Int(170).Add(MakeCode(vcRestore, true)); }, RTE_UNDEFINED_LINE_NUMBER},
        {[](TProgram& p) { p.code.Text("*NONE").Add(MakeCode(vcRestore, true)); }, RTE_UNDEFINED_LABEL},
    };
    for (const auto& [build, key] : cases) {
        TProgram p(rsrc);
        p.code.Line(10);
        build(p);
        p.code.Line(150);
        EXPECT_EQ(p.Run(), 1);
        EXPECT_TRUE(p.EndedWith(key)) << p.error;
    }
}

}  // namespace
