// Variables and arrays on whole runs: implicit and repeated DIM, element numbers and
// their checks, OPTION BASE, assignment rounding, SWAP and SEARCH.

#include <functional>
#include <utility>

#include "machine/vm/RuntimeErrorKeys.h"
#include "tests/machine/vm/ProgramFixture.h"

namespace {

class Variables : public ProgramFixture {};

TEST_F(Variables, ImplicitArrayHasElevenElementsPerDimension)
{
    TProgram p(rsrc);
    TVarInfo* a = p.Var("A!", tkSingle);
    p.code.Line(10);
    p.AssignInt(a, {3}, 5).AssignInt(a, {10}, 6).AssignInt(a, {}, 9);
    ASSERT_EQ(p.Run(), 0) << p.error;
    ASSERT_EQ(a->Dims[0], 1);
    EXPECT_EQ(a->Dims[1], 11);
    EXPECT_EQ(a->SingleValues()[0], 9.0f) << "the plain variable is element 0";
    EXPECT_EQ(a->SingleValues()[4], 5.0f);
    EXPECT_EQ(a->SingleValues()[11], 6.0f);
}

TEST_F(Variables, RedimensioningEmptiesTheElementsAndKeepsThePlainVariable)
{
    TProgram p(rsrc);
    TVarInfo* a = p.Var("A!", tkSingle);
    p.code.Line(10);
    p.AssignInt(a, {}, 7).AssignInt(a, {3}, 5).Dim(a, {20}).AssignInt(a, {20}, 1);
    ASSERT_EQ(p.Run(), 0) << p.error;
    ASSERT_EQ(a->Dims[1], 21);
    EXPECT_EQ(a->SingleValues()[0], 7.0f);
    EXPECT_EQ(a->SingleValues()[4], 0.0f);
    EXPECT_EQ(a->SingleValues()[21], 1.0f);
}

TEST_F(Variables, TwoSubscriptsAreStoredLastSubscriptFastest)
{
    TProgram p(rsrc);
    TVarInfo* c = p.Var("C%", tkInt);
    p.code.Line(10);
    p.Dim(c, {2, 2}).AssignInt(c, {1, 2}, 12).AssignInt(c, {2, 0}, 20);
    // C(0, 5) is the same element as C(1, 2): only the flat number is checked.
    TVarInfo* x = p.Var("X%", tkInt);
    p.Ref(x).Load(c, {0, 5}).code.Op(vcBAssignArray);
    ASSERT_EQ(p.Run(), 0) << p.error;
    EXPECT_EQ(c->IntValues()[1 + 1 * 3 + 2], 12);
    EXPECT_EQ(c->IntValues()[1 + 2 * 3 + 0], 20);
    EXPECT_EQ(x->IntValues()[0], 12);
}

TEST_F(Variables, ElementErrors)
{
    struct Case {
        const char* name;
        std::function<void(TProgram&, TVarInfo*)> build;
        const char* key;
    };
    const Case cases[] = {
        {"past the implicit size", [](TProgram& p, TVarInfo* a) { p.AssignInt(a, {11}, 1); },
         RTE_SUBSCRIPT_OUT_OF_RANGE},
        {"other number of subscripts",
         [](TProgram& p, TVarInfo* a) {
             p.AssignInt(a, {10, 10}, 1).AssignInt(a, {1}, 1);
         },
         RTE_BAD_DIMENSION},
        {"past the flat end",
         [](TProgram& p, TVarInfo* a) {
             p.Dim(a, {2, 2}).AssignInt(a, {2, 3}, 1);
         },
         RTE_SUBSCRIPT_OUT_OF_RANGE},
        {"negative subscript", [](TProgram& p, TVarInfo* a) { p.AssignInt(a, {-1}, 1); }, RTE_SUBSCRIPT_OUT_OF_RANGE},
        {"negative subscript inside the flat range",
         [](TProgram& p, TVarInfo* a) {
             p.Dim(a, {2, 2}).AssignInt(a, {1, -1}, 1);
         },
         RTE_SUBSCRIPT_OUT_OF_RANGE},
        {"negative DIM bound", [](TProgram& p, TVarInfo* a) { p.Dim(a, {-2}); }, RTE_SUBSCRIPT_OUT_OF_RANGE},
        {"DIM bound -1",
         [](TProgram& p, TVarInfo* a) {
             p.Dim(a, {5, -1});
         },
         RTE_SUBSCRIPT_OUT_OF_RANGE},
        {"read past the end", [](TProgram& p, TVarInfo* a) { p.Dim(a, {3}).Load(a, {4}); }, RTE_SUBSCRIPT_OUT_OF_RANGE},
        {"OPTION BASE 2", [](TProgram& p, TVarInfo*) { p.code.Int(2).Op(vcOptionBase); }, RTE_ILL_FUNC_CALL},
        {"OPTION BASE -1", [](TProgram& p, TVarInfo*) { p.code.Int(-1).Op(vcOptionBase); }, RTE_ILL_FUNC_CALL},
    };
    for (const Case& c : cases) {
        TBasicRsrc devices;
        TProgram p(devices);
        TVarInfo* a = p.Var("A%", tkInt);
        p.code.Line(40);
        c.build(p, a);
        EXPECT_EQ(p.Run(), 1) << c.name;
        EXPECT_TRUE(p.EndedWith(c.key)) << c.name << ": " << p.error;
        EXPECT_EQ(p.alerts.Count(), 1u) << c.name;
    }
}

TEST_F(Variables, OptionBaseSetsTheLowerBoundAndOutlivesTheRun)
{
    {
        TProgram p(rsrc);
        TVarInfo* d = p.Var("D%", tkInt);
        p.code.Line(10);
        p.code.Int(1).Op(vcOptionBase);
        p.Dim(d, {3}).AssignInt(d, {3}, 3).AssignInt(d, {1}, 1);
        ASSERT_EQ(p.Run(), 0) << p.error;
        EXPECT_EQ(d->IntValues()[4], 3);
    }
    EXPECT_EQ(rsrc.OptionBase, 1);
    for (const int32_t subscript : {0, 4}) {
        TProgram p(rsrc);
        TVarInfo* d = p.Var("D%", tkInt);
        p.code.Line(20);
        p.Dim(d, {3}).AssignInt(d, {subscript}, 1);
        EXPECT_EQ(p.Run(), 1) << "D(" << subscript << ") in the next run";
        EXPECT_TRUE(p.EndedWith(RTE_SUBSCRIPT_OUT_OF_RANGE)) << p.error;
    }
    TProgram p(rsrc);
    TVarInfo* d = p.Var("D%", tkInt);
    p.code.Line(30).Int(0).Op(vcOptionBase);
    p.AssignInt(d, {0}, 1);
    EXPECT_EQ(p.Run(), 0) << p.error;
}

TEST_F(Variables, AssignmentConvertsToTheVariablesType)
{
    struct Case {
        double value;
        int32_t stored;
    };
    const Case cases[] = {{2.5, 3}, {-2.5, -2}, {-2.6, -3}, {2.4999, 2}};
    for (const Case& c : cases) {
        TProgram p(rsrc);
        TVarInfo* i = p.Var("I%", tkInt);
        TVarInfo* s = p.Var("S!", tkSingle);
        p.code.Line(10);
        p.Ref(i).code.Double(c.value).Op(vcBAssignArray);
        p.Ref(s).code.Double(c.value).Op(vcBAssignArray);
        ASSERT_EQ(p.Run(), 0) << p.error;
        EXPECT_EQ(i->IntValues()[0], c.stored) << c.value;
        EXPECT_EQ(s->SingleValues()[0], static_cast<float>(c.value));
    }
}

TEST_F(Variables, TextElementsKeepTheirOwnCopies)
{
    TProgram p(rsrc);
    TVarInfo* a = p.Var("A$", tkString);
    TVarInfo* b = p.Var("B$", tkString);
    p.code.Line(10);
    p.Ref(a).code.Text("one").Op(vcBAssignArray);
    // B$ = A$ + A$, then A$ changes: B$ keeps what it got.
    p.Ref(b).Load(a).Load(a).code.Op(vcBAddString).Op(vcBAssignArray);
    p.Ref(a).code.Text("x").Op(vcBAssignArray);
    ASSERT_EQ(p.Run(), 0) << p.error;
    EXPECT_EQ(a->StringValues()[0], "x");
    EXPECT_EQ(b->StringValues()[0], "oneone");
    EXPECT_EQ(p.stackDepth, 0u);
}

TEST_F(Variables, SwapExchangesValuesOfTheSameType)
{
    TProgram p(rsrc);
    TVarInfo* a = p.Var("A$", tkString);
    TVarInfo* b = p.Var("B$", tkString);
    TVarInfo* e = p.Var("E!", tkSingle);
    p.code.Line(10);
    p.Ref(a).code.Text("left").Op(vcBAssignArray);
    p.Ref(b).code.Text("right").Op(vcBAssignArray);
    p.Ref(a).Ref(b).code.Op(vcSwap);
    p.AssignInt(e, {1}, 1).AssignInt(e, {2}, 2);
    p.Ref(e, {1}).Ref(e, {2}).code.Op(vcSwap);
    ASSERT_EQ(p.Run(), 0) << p.error;
    EXPECT_EQ(a->StringValues()[0], "right");
    EXPECT_EQ(b->StringValues()[0], "left");
    EXPECT_EQ(e->SingleValues()[2], 2.0f);
    EXPECT_EQ(e->SingleValues()[3], 1.0f);
    EXPECT_EQ(p.stackDepth, 0u);
}

TEST_F(Variables, SwapOfAnIntegerAndASingleIsATypeMismatch)
{
    TProgram p(rsrc);
    TVarInfo* a = p.Var("A%", tkInt);
    TVarInfo* b = p.Var("B!", tkSingle);
    p.code.Line(70);
    p.AssignInt(a, {}, 1).AssignInt(b, {}, 2);
    p.Ref(a).Ref(b).code.Op(vcSwap);
    EXPECT_EQ(p.Run(), 1);
    EXPECT_TRUE(p.EndedWith(RTE_TYPE_MISMATCH)) << p.error;
    EXPECT_EQ(a->IntValues()[0], 1);
    EXPECT_EQ(b->SingleValues()[0], 2.0f);
}

// A hand-built debugging machine that records the hooks.
class THookMachine : public TVMachine {
public:
    template <typename... TArgs>
    explicit THookMachine(TArgs&&... args) : TVMachine(std::forward<TArgs>(args)...)
    {
        WatchesVarAccess = true;
    }
    void RegisterVarAccess(int kind, TVarInfo* var, long element) override
    {
        Accesses.push_back(std::to_string(kind) + ":" + var->VarName + "(" + std::to_string(element) + ")");
    }
    void SendResetVarRqtd(TVarInfo* var) override { Resets.push_back(var->VarName); }
    std::vector<std::string> Accesses;
    std::vector<std::string> Resets;
};

TEST_F(Variables, DebuggerHooksSeeAssignmentsSwapsAndImplicitArrays)
{
    TProgram p(rsrc);
    TVarInfo* a = p.Var("A%", tkInt);
    TVarInfo* b = p.Var("B%", tkInt);
    p.code.Line(10);
    p.AssignInt(a, {2}, 5).AssignInt(b, {}, 1);
    p.Ref(a, {2}).Ref(b).code.Op(vcSwap);
    p.Dim(b, {4});
    p.code.Finish();
    THookMachine machine("Virtual Machine", &p.mid, &rsrc, nullptr, nullptr, nullptr);
    machine.Resume();
    int32_t exitValue = -1;
    machine.Wait(&exitValue);
    ASSERT_EQ(exitValue, 0) << machine.ErrorText();
    const std::vector<std::string> expected = {"0:A%(3)", "0:B%(0)", "1:B%(0)", "2:A%(3)", "0:B%(0)", "0:A%(3)"};
    EXPECT_EQ(machine.Accesses, expected);
    EXPECT_EQ(machine.Resets, (std::vector<std::string>{"A%", "B%"}));
}

class Search : public ProgramFixture {
protected:
    // SEARCH(E%, value, start, step) with E%(0..3) = 0, 5, 7, 5; -2 for "left out".
    int32_t Run(int32_t value, int32_t start = -2, int32_t step = -2)
    {
        TProgram p(rsrc);
        TVarInfo* e = p.Var("E%", tkInt);
        TVarInfo* r = p.Var("R%", tkInt);
        p.code.Line(10);
        p.Dim(e, {3}).AssignInt(e, {1}, 5).AssignInt(e, {2}, 7).AssignInt(e, {3}, 5);
        p.Ref(r).Ref(e).code.Int(value);
        if (start == -2)
            p.code.Op(vcBPushAbbrev);
        else
            p.code.Int(start);
        if (step == -2)
            p.code.Op(vcBPushAbbrev);
        else
            p.code.Int(step);
        p.code.Op(vcSearch).Op(vcBAssignArray);
        if (p.Run() != 0) {
            lastError = p.error;
            return -100;
        }
        return r->IntValues()[0];
    }
    std::string lastError;
};

TEST_F(Search, FindsTheFirstMatchFromTheStartByTheStep)
{
    EXPECT_EQ(Run(5), 1);
    EXPECT_EQ(Run(5, 2), 3);
    EXPECT_EQ(Run(5, 0, 2), -1);
    EXPECT_EQ(Run(9), -1);
    EXPECT_EQ(Run(0), 0);
    EXPECT_EQ(Run(5, 3, 5), 3);
    EXPECT_EQ(Run(5, 4), -1) << "a start past the end finds nothing";
}

TEST_F(Search, AStepThatDoesNotMoveForwardOrANegativeStartIsAnError)
{
    EXPECT_EQ(Run(5, 0, 0), -100);
    EXPECT_EQ(lastError.rfind(RTE_ILL_FUNC_CALL, 0), 0u) << lastError;
    EXPECT_EQ(Run(5, 0, -1), -100);
    EXPECT_EQ(Run(5, -1), -100);
    EXPECT_EQ(lastError.rfind(RTE_ILL_FUNC_CALL, 0), 0u) << lastError;
}

TEST_F(Search, OnlyOneDimensionalNumericArraysAreSearched)
{
    {
        TProgram p(rsrc);
        TVarInfo* e = p.Var("E!", tkSingle);
        TVarInfo* r = p.Var("R%", tkInt);
        p.code.Line(10);
        p.Dim(e, {2, 2});
        p.Ref(r).Ref(e).code.Int(0).Op(vcBPushAbbrev).Op(vcBPushAbbrev).Op(vcSearch).Op(vcBAssignArray);
        EXPECT_EQ(p.Run(), 1);
        EXPECT_TRUE(p.EndedWith(RTE_ILL_FUNC_CALL)) << p.error;
    }
    {
        TProgram p(rsrc);
        TVarInfo* e = p.Var("E!", tkSingle);
        TVarInfo* r = p.Var("R%", tkInt);
        p.code.Line(10);
        p.Ref(r).Ref(e).code.Int(0).Op(vcBPushAbbrev).Op(vcBPushAbbrev).Op(vcSearch).Op(vcBAssignArray);
        EXPECT_EQ(p.Run(), 1) << "a variable without dimensions";
        EXPECT_TRUE(p.EndedWith(RTE_ILL_FUNC_CALL)) << p.error;
    }
    {
        TProgram p(rsrc);
        TVarInfo* e = p.Var("E!", tkSingle);
        TVarInfo* r = p.Var("R%", tkInt);
        p.code.Line(10);
        p.Dim(e, {4});
        p.Ref(e, {2}).code.Single(3.5f).Op(vcBAssignArray);
        p.Ref(e, {3}).code.Single(3.0f).Op(vcBAssignArray);
        p.Ref(r).Ref(e).code.Int(3).Op(vcBPushAbbrev).Op(vcBPushAbbrev).Op(vcSearch).Op(vcBAssignArray);
        ASSERT_EQ(p.Run(), 0) << p.error;
        EXPECT_EQ(r->IntValues()[0], 3) << "3.5 is not 3; 3.0 is";
    }
    {
        TProgram p(rsrc);
        TVarInfo* e = p.Var("E$", tkString);
        TVarInfo* r = p.Var("R%", tkInt);
        p.code.Line(10);
        p.Dim(e, {4});
        p.Ref(r).Ref(e).code.Int(0).Op(vcBPushAbbrev).Op(vcBPushAbbrev).Op(vcSearch).Op(vcBAssignArray);
        ASSERT_EQ(p.Run(), 0) << p.error;
        EXPECT_EQ(r->IntValues()[0], -1);
    }
}

}  // namespace

namespace {

// The routines that set references aside, reached from a test.
class TShelterMachine : public TTestMachine {
public:
    using TTestMachine::TTestMachine;
    using TVMachine::AssignInputDatas;
    using TVMachine::AssignInts;
    using TVMachine::GetDequeInts;
    using TVMachine::SheltVar;
    using TVMachine::SheltVarToDeque;
};

class Shelter : public ProgramFixture {
protected:
    Shelter() : machine("Virtual Machine", &mid, &rsrc, nullptr, nullptr, nullptr) {}
    TVarInfo* Var(const std::string& name, TTokenKind type)
    {
        TVarInfo& v = mid.VarInfoMap[name];
        v.VarName = name;
        v.CreateDefaultNonArray(type);
        return &v;
    }
    void PushRef(TVarInfo* v, std::initializer_list<int32_t> subscripts)
    {
        machine.Push(TStackData::Marker(tkVar));
        for (const int32_t s : subscripts) machine.PushInt(s);
        machine.Push(TStackData::Var(v));
    }

    TMidCode mid;
    TShelterMachine machine;
};

TEST_F(Shelter, ReferencesPassedToCallMouseAreReadAndAssignedInTheirOrder)
{
    TCodeBuilder(mid).Finish();
    TVarInfo* a = Var("A%", tkInt);
    TVarInfo* b = Var("B!", tkSingle);
    TVarInfo* c = Var("C#", tkDouble);
    a->CreateDefaultArray(2);
    a->IntValues()[1 + 2 * 11 + 3] = 23;
    b->SingleValues()[0] = 2.6f;
    c->DoubleValues()[0] = -1.5;
    machine.PushInt(99);  // something below the references stays
    PushRef(a, {2, 3});
    PushRef(b, {});
    PushRef(c, {});
    std::deque<TStackData> vars;
    std::deque<int32_t> counts;
    machine.SheltVarToDeque(3, &vars, &counts);
    ASSERT_EQ(machine.ValueStack.size(), 1u);
    EXPECT_EQ(counts, (std::deque<int32_t>{3, 1, 1}));

    std::vector<int32_t> values(3);
    machine.GetDequeInts(vars, counts, &values);
    EXPECT_EQ(values, (std::vector<int32_t>{23, 3, -1}));  // the single rounded, -1.5 rounded up
    machine.AssignInts({7, 8, 9}, vars, counts);
    EXPECT_EQ(a->IntValues()[1 + 2 * 11 + 3], 7);
    EXPECT_EQ(b->SingleValues()[0], 8.0f);
    EXPECT_EQ(c->DoubleValues()[0], 9.0);
    ASSERT_EQ(machine.ValueStack.size(), 1u);
    EXPECT_EQ(machine.StackInt(machine.ValueStack.back()), 99);
}

TEST_F(Shelter, SetAsideReferencesAreGivenBackFirstWrittenFirst)
{
    TCodeBuilder(mid).Finish();
    TVarInfo* a = Var("A$", tkString);
    TVarInfo* n = Var("N%", tkInt);
    PushRef(a, {1});
    PushRef(n, {});
    std::vector<TStackData> vars;
    std::vector<int32_t> counts;
    machine.SheltVar(2, &vars, &counts);
    EXPECT_TRUE(machine.ValueStack.empty());
    machine.AssignInputDatas({" text, as typed", "&H10"}, &vars, &counts);
    EXPECT_EQ(a->StringValues()[2], " text, as typed");
    EXPECT_EQ(n->IntValues()[0], 16);
    EXPECT_TRUE(vars.empty());
    EXPECT_TRUE(machine.ValueStack.empty());
}

}  // namespace
