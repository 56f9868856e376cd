// DEF FN calls at run time: arguments, their checks, nesting, and parameters that
// never touch program variables.

#include <functional>

#include "machine/vm/RuntimeErrorKeys.h"
#include "tests/machine/vm/ProgramFixture.h"

namespace {

class UserFunctions : public ProgramFixture {
protected:
    // DEF FN name(params) = body, placed as the compiler places it: a jump over the
    // body, the body's label, the body, the return, the label behind it.
    void Define(TProgram& p, const std::string& name, std::vector<std::string> params,
                const std::function<void()>& body)
    {
        const std::string entry = "@L_" + name;
        const std::string behind = "@L_behind_" + name;
        TUserFuncInfo& info = p.mid.UserFuncInfoMap[name];
        info.EntryLabel = entry;
        info.Params = std::move(params);
        p.code.Text(behind).Op(vcBJmp);
        p.code.Label(entry);
        body();
        p.code.Op(vcBRetFromUserFunc);
        p.code.Label(behind);
    }
    // The call's marker, the arguments, the call.
    void Call(TProgram& p, const std::string& name, const std::function<void()>& arguments)
    {
        p.code.Comma();
        arguments();
        p.code.Add(MakeCode(vcBCallUserFunc, p.mid.KeepText(name)));
    }
    void Param(TProgram& p, int32_t i) { p.code.Add(MakeCode(vcBLoadUserFuncParam, i)); }
};

TEST_F(UserFunctions, CallsReturnTheBodysValue)
{
    TProgram p(rsrc);
    TVarInfo* r = p.Var("R!", tkSingle);
    TVarInfo* n = p.Var("N!", tkSingle);
    TVarInfo* x = p.Var("X!", tkSingle);
    p.code.Line(10);
    p.AssignInt(x, {}, 10);
    // Called before its definition in the list.
    p.Ref(n);
    Call(p, "FND", [&] { p.code.Int(2); });
    p.code.Op(vcBAssignArray);
    p.code.Line(20);
    Define(p, "FNA", {"X!"}, [&] {
        Param(p, 0);
        p.code.Int(2).Op(vcBMulFloat);
    });
    Define(p, "FND", {"X!"}, [&] {
        Param(p, 0);
        p.code.Int(1).Op(vcBAddFloat);
    });
    p.code.Line(30);
    // FN A(FN A(1)): the inner call returns before the outer one starts.
    p.Ref(r);
    Call(p, "FNA", [&] { Call(p, "FNA", [&] { p.code.Int(1); }); });
    p.code.Op(vcBAssignArray);
    ASSERT_EQ(p.Run(), 0) << p.error;
    EXPECT_EQ(r->SingleValues()[0], 4.0f);
    EXPECT_EQ(n->SingleValues()[0], 3.0f);
    EXPECT_EQ(x->SingleValues()[0], 10.0f) << "the parameter X never touches the variable X";
    EXPECT_EQ(p.stackDepth, 0u);
}

TEST_F(UserFunctions, ArgumentsKeepTheTypeTheyWerePushedWith)
{
    TProgram p(rsrc);
    TVarInfo* r = p.Var("R!", tkSingle);
    p.code.Line(10);
    Define(p, "FNF%", {"X%"}, [&] { Param(p, 0); });
    p.Ref(r);
    Call(p, "FNF%", [&] { p.code.Single(2.5f); });
    p.code.Op(vcBAssignArray);
    ASSERT_EQ(p.Run(), 0) << p.error;
    EXPECT_EQ(r->SingleValues()[0], 2.5f);
}

TEST_F(UserFunctions, ATextResultOutlivesTheFrameItCameFrom)
{
    TProgram p(rsrc);
    TVarInfo* r = p.Var("R$", tkString);
    p.code.Line(10);
    Define(p, "FNG$", {"S$"}, [&] { Param(p, 0); });
    Define(p, "FNB$", {"S$"}, [&] {
        Param(p, 0);
        Param(p, 0);
        p.code.Op(vcBAddString);
    });
    p.Ref(r);
    Call(p, "FNG$", [&] { p.code.Text("ab").Text("cd").Op(vcBAddString); });
    Call(p, "FNB$", [&] { p.code.Text("x"); });
    p.code.Op(vcBAddString).Op(vcBAssignArray);
    ASSERT_EQ(p.Run(), 0) << p.error;
    EXPECT_EQ(r->StringValues()[0], "abcdxx");
}

TEST_F(UserFunctions, CallErrors)
{
    struct Case {
        const char* name;
        const char* function;
        std::function<void(TProgram&)> arguments;
        const char* key;
    };
    const Case cases[] = {
        {"too many arguments", "FNA", [](TProgram& p) { p.code.Int(1).Int(2); }, RTE_ILL_FUNC_CALL},
        {"no argument", "FNA", [](TProgram&) {}, RTE_ILL_FUNC_CALL},
        {"text for a number", "FNA", [](TProgram& p) { p.code.Text("S"); }, RTE_TYPE_MISMATCH},
        {"number for a text", "FNB$", [](TProgram& p) { p.code.Int(1); }, RTE_TYPE_MISMATCH},
        {"no definition", "FNC", [](TProgram& p) { p.code.Int(1); }, RTE_UNDEFINED_USER_FUNC},
    };
    for (const Case& c : cases) {
        TProgram p(rsrc);
        TVarInfo* r = p.Var(std::string(c.function).back() == '$' ? "R$" : "R!",
                            std::string(c.function).back() == '$' ? tkString : tkSingle);
        p.code.Line(10);
        Define(p, "FNA", {"X!"}, [&] { Param(p, 0); });
        Define(p, "FNB$", {"S$"}, [&] { Param(p, 0); });
        p.code.Line(20);
        p.Ref(r);
        Call(p, c.function, [&] { c.arguments(p); });
        p.code.Op(vcBAssignArray);
        EXPECT_EQ(p.Run(), 1) << c.name;
        EXPECT_TRUE(p.EndedWith(c.key)) << c.name << ": " << p.error;
        EXPECT_NE(p.error.find(" in 20"), std::string::npos) << c.name;
    }
}

}  // namespace
