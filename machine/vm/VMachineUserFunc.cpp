// DEF FN calls at run time: the call, reading a parameter, and the return.
//
// Each call keeps its own entry (the function and the code to return to) and its
// own frame of arguments, so a call made while another call of the same function is
// still active (from a trap subroutine taken inside the body) returns to its own
// caller. Parameters are read from the frame by position and never touch a program
// variable of the same name.

#include "language/MidCode.h"
#include "machine/vm/KeptText.h"
#include "machine/vm/RuntimeErrorKeys.h"
#include "machine/vm/VMachine.h"

void TVMachine::InitFuncTableUserFunc(TFuncTable& t)
{
    using M = TVMachine;
    t.Set({
        {vcBCallUserFunc, &M::ExeBasicBCallUserFunc},
        {vcBLoadUserFuncParam, &M::ExeBasicBLoadUserFuncParam},
        {vcBRetFromUserFunc, &M::ExeBasicBRetFromUserFunc},
    });
}

void TVMachine::ExeBasicBCallUserFunc(const TVMCode* code)
{
    const char* name = code->Operand.Text != nullptr ? code->Operand.Text : "";
    const auto found = MidCode->UserFuncInfoMap.find(name);
    if (found == MidCode->UserFuncInfoMap.end()) throw RuntimeException2(RTE_UNDEFINED_USER_FUNC);
    TUserFuncInfo& info = found->second;

    if (UserFuncStack.size() >= USER_FUNC_DEPTH_LIMIT) throw RuntimeException2(RTE_OUT_OF_MEMORY);
    const int32_t returnIndex = static_cast<int32_t>(CodeIndex(code) + 1);
    // The frame and the texts of its arguments count against the memory budget.
    size_t charged = sizeof(TUserFuncCall) + sizeof(std::vector<TStackData>) + info.Params.size() * sizeof(TStackData);
    for (size_t j = 0; j < info.Params.size() && j < ValueStack.size(); ++j) {
        const TStackData& arg = ValueStack.FromTop(j);
        charged += arg.owned ? kept_text::Held(*arg.value.ownedText) : arg.TextLength();
    }
    if (!Memory.Take(charged)) ThrowStackFull();
    UserFuncStack.push_back({&info, returnIndex, charged});
    UserFuncArgStack.emplace_back();
    std::vector<TStackData>& frame = UserFuncArgStack.back();
    frame.resize(info.Params.size());

    // The arguments lie above the call's marker, the last one on top.
    for (size_t j = info.Params.size(); j-- > 0;) {
        if (Top().type == sdMarker) throw RuntimeException2(RTE_ILL_FUNC_CALL);
        const std::string& param = info.Params[j];
        const bool stringParam = !param.empty() && param.back() == '$';
        if ((Top().type == sdString) != stringParam) throw RuntimeException2(RTE_TYPE_MISMATCH);
        frame[j] = Pop();
    }
    if (Top().type != sdMarker) throw RuntimeException2(RTE_ILL_FUNC_CALL);
    Pop();

    info.RetPos = MidCode->Codes.data() + returnIndex;
    ChangePC(TStackData::BorrowedText(info.EntryLabel.c_str()));
}

void TVMachine::ExeBasicBLoadUserFuncParam(const TVMCode* code)
{
    if (UserFuncArgStack.empty()) throw RuntimeException2(RTE_INTERNAL_ERROR);
    const std::vector<TStackData>& frame = UserFuncArgStack.back();
    const int32_t i = code->Operand.Long;
    if (i < 0 || static_cast<size_t>(i) >= frame.size()) throw RuntimeException2(RTE_INTERNAL_ERROR);
    // A copy: a text argument is copied too, so the result of the body never points
    // into the frame that the return frees.
    const TStackData& arg = frame[static_cast<size_t>(i)];
    if (arg.type != sdString || !arg.owned) {
        Push(arg);
        return;
    }
    // The copy gets the room a kept text may have, so that a body that appends to its
    // argument (DEF FNA$(X$)=FNA$(X$+"...")) grows the copy in place: each call of such
    // a recursion then makes one block, the one its callee's frame keeps, and none that
    // is freed between the frames' blocks and left there unused by the larger ones. The
    // copy goes into a string the stack keeps for reuse: one with that room already
    // makes no block at all.
    const std::string_view text = arg.View();
    std::string& copy = PushNewText(arg.ascii);
    copy.reserve(text.size() + kept_text::Slack(text.size()));
    copy.append(text);
}

void TVMachine::ExeBasicBRetFromUserFunc(const TVMCode*)
{
    if (UserFuncStack.empty() || UserFuncArgStack.empty()) throw RuntimeException2(RTE_INTERNAL_ERROR);
    const int32_t returnIndex = UserFuncStack.back().ReturnIndex;
    Memory.Give(UserFuncStack.back().Charged);
    UserFuncStack.pop_back();
    UserFuncArgStack.pop_back();
    if (returnIndex < 1 || static_cast<size_t>(returnIndex) > MidCode->Codes.size())
        throw RuntimeException2(RTE_INTERNAL_ERROR);
    PC = MidCode->Codes.data() + returnIndex - 1;
}
