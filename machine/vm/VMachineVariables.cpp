// Variables and arrays: element numbers, reading and assigning elements, DIM, SWAP,
// OPTION BASE, SEARCH, and setting variable references aside for the statements that
// assign later (INPUT, READ, CALL MOUSE).
//
// A reference on the value stack is, bottom to top: its start marker, the subscripts
// in the order written, and (where it is assigned) an sdVar entry. Element 0 of a
// TVarInfo is the plain variable; array elements follow from 1, the last subscript
// varying fastest.

#include <cstdint>
#include <span>

#include "language/MidCode.h"
#include "machine/devices/BasicRsrc.h"
#include "machine/vm/RuntimeErrorKeys.h"
#include "machine/vm/VMachine.h"
#include "machine/vm/VMachineElements.h"

void TVMachine::InitFuncTableVariables(TFuncTable& t)
{
    using M = TVMachine;
    t.Set({
        {vcBLoadArray, &M::ExeBasicBLoadArray},
        {vcBAssignArray, &M::ExeBasicBAssignArray},
        {vcDim, &M::ExeBasicDim},
        {vcSwap, &M::ExeBasicSwap},
        {vcOptionBase, &M::ExeBasicOptionBase},
        {vcSearch, &M::ExeBasicSearch},
    });
}

std::vector<int32_t> TVMachine::PopSubscripts(TValueStack* s)
{
    std::vector<int32_t> popped;
    for (;;) {
        if (s->empty()) throw RuntimeException2(RTE_INTERNAL_ERROR);
        const TStackData entry = std::move(s->back());
        s->pop_back();
        if (IsVarRefStart(entry)) return popped;
        popped.push_back(StackInt(entry));
    }
}

int32_t TVMachine::ElementNumber(TVarInfo* v, std::span<const int32_t> popped)
{
    const size_t k = popped.size();
    if (k == 0) return 0;
    if (v->Dims[0] == 0) {
        if (k > static_cast<size_t>(TVarInfo::MAX_DIMS)) throw RuntimeException2(RTE_BAD_DIMENSION);
        const std::vector<int32_t> sizes(k, 11);
        ChargeArray(v, sizes);
        if (!v->CreateDefaultArray(static_cast<int32_t>(k), [this] { return StopRequested(); })) {
            if (StopRequested()) return 0;  // the run ends before the element is used
            throw RuntimeException2(TVarInfo::SHAPE_ERROR_KEY);
        }
        SendResetVarRqtd(v);
    } else if (static_cast<size_t>(v->Dims[0]) != k) {
        throw RuntimeException2(RTE_BAD_DIMENSION);
    }
    // The popped subscript j belongs to Dims[j + 1] and has the stride Strides[j].
    // Only the flat number is checked against the array, so C(0, 5) of a 3 by 3
    // array is C(1, 2); a negative subscript is refused on its own.
    int64_t flat = 0;
    for (size_t j = 0; j < k; ++j) {
        if (popped[j] < 0) throw RuntimeException2(RTE_SUBSCRIPT_OUT_OF_RANGE);
        flat += static_cast<int64_t>(popped[j]) * v->Strides[j];
        if (flat >= v->Strides[k]) throw RuntimeException2(RTE_SUBSCRIPT_OUT_OF_RANGE);
    }
    if (flat < Rsrc->OptionBase) throw RuntimeException2(RTE_SUBSCRIPT_OUT_OF_RANGE);
    return static_cast<int32_t>(flat + 1);
}

int32_t TVMachine::DimSuf(TValueStack* s, TVarInfo* v)
{
    const std::vector<int32_t> popped = PopSubscripts(s);
    return ElementNumber(v, popped);
}

// The hot paths read a reference where it lies on the stack and pop it afterwards, so
// that a variable access builds no list of subscripts.
size_t TVMachine::SubscriptCount(size_t above)
{
    const size_t depth = ValueStack.size();
    for (size_t k = above; k < depth; ++k)
        if (IsVarRefStart(ValueStack.FromTop(k))) return k - above;
    throw RuntimeException2(RTE_INTERNAL_ERROR);
}

int32_t TVMachine::ElementNumberInPlace(TVarInfo* v, size_t above, size_t count)
{
    if (count == 0) return 0;
    constexpr size_t SMALL = 8;
    if (count <= SMALL) {
        int32_t popped[SMALL];
        for (size_t j = 0; j < count; ++j) popped[j] = StackInt(ValueStack.FromTop(above + j));
        return ElementNumber(v, std::span<const int32_t>(popped, count));
    }
    std::vector<int32_t> popped(count);
    for (size_t j = 0; j < count; ++j) popped[j] = StackInt(ValueStack.FromTop(above + j));
    return ElementNumber(v, popped);
}

void TVMachine::PushElement(const TVarInfo* v, int32_t element)
{
    PushElementInline(v, element);
}

TStackData TVMachine::ElementValue(const TVarInfo* v, int32_t element)
{
    if (element < 0 || element >= v->ElemCount) throw RuntimeException2(RTE_INTERNAL_ERROR);
    const auto e = static_cast<size_t>(element);
    if (const int32_t* ints = v->IntValues()) return TStackData::Long(ints[e]);
    if (const float* singles = v->SingleValues()) return TStackData::Single(singles[e]);
    if (const double* doubles = v->DoubleValues()) return TStackData::Double(doubles[e]);
    if (const std::string* texts = v->StringValues()) return TStackData::OwnedText(texts[e]);
    return TStackData{};  // an untyped variable has no value
}

void TVMachine::StoreElement(TVarInfo* v, int32_t element, TStackData& value)
{
    StoreElementInline(v, element, value);
}

int32_t TVMachine::VarToVal(TValueStack* s, TVarInfo* v, bool copy)
{
    // Values on the stack own their texts, so a read always pushes a copy: a text
    // that an element changes or loses later never leaves a pointer behind.
    (void)copy;
    if (s != &ValueStack) {
        const int32_t element = DimSuf(s, v);
        TStackData value = ElementValue(v, element);
        if (value.type != sdNone) Push(std::move(value));
        return element;
    }
    const size_t count = SubscriptCount(0);
    const int32_t element = ElementNumberInPlace(v, 0, count);
    PopEntries(count + 1);
    PushElement(v, element);
    return element;
}

TVarInfo* TVMachine::PopVarRef(std::vector<int32_t>* popped)
{
    const TStackData entry = Pop();
    TVarInfo* v = StackVarInfo(entry);
    if (v == nullptr) throw RuntimeException2(RTE_INTERNAL_ERROR);
    *popped = PopSubscripts(&ValueStack);
    return v;
}

void TVMachine::ExeBasicBLoadArray(const TVMCode* code)
{
    if (code->Operand.Var == nullptr) throw RuntimeException2(RTE_INTERNAL_ERROR);
    VarToVal(&ValueStack, code->Operand.Var, false);
}

// The value, the variable and its subscripts are read where they lie and popped
// together at the end.
void TVMachine::ExeBasicBAssignArray(const TVMCode*)
{
    if (ValueStack.size() < 2) throw RuntimeException2(RTE_INTERNAL_ERROR);
    TVarInfo* v = StackVarInfo(ValueStack.FromTop(1));
    if (v == nullptr) throw RuntimeException2(RTE_INTERNAL_ERROR);
    const size_t count = SubscriptCount(2);
    const int32_t element = ElementNumberInPlace(v, 2, count);
    NoteVarAccess(0, v, element);
    StoreElement(v, element, ValueStack.back());
    PopEntries(count + 3);
}

void TVMachine::DimOneVar()
{
    const TStackData entry = Pop();
    TVarInfo* v = StackVarInfo(entry);
    if (v == nullptr) throw RuntimeException2(RTE_INTERNAL_ERROR);
    const std::vector<int32_t> bounds = PopSubscripts(&ValueStack);
    if (bounds.empty() || bounds.size() > static_cast<size_t>(TVarInfo::MAX_DIMS))
        throw RuntimeException2(RTE_BAD_DIMENSION);
    std::vector<int32_t> sizes;
    sizes.reserve(bounds.size());
    for (const int32_t bound : bounds) {
        // Storage is never sized from a negative count.
        if (bound < 0 || bound == INT32_MAX) throw RuntimeException2(RTE_SUBSCRIPT_OUT_OF_RANGE);
        sizes.push_back(bound + 1);
    }
    ChargeArray(v, sizes);
    // A Kill or the time-out stops the building of a large array of strings.
    if (!v->CreateArray(sizes, [this] { return StopRequested(); })) {
        if (StopRequested()) return;  // left a scalar; the run ends at the next code
        throw RuntimeException2(TVarInfo::SHAPE_ERROR_KEY);
    }
    SendResetVarRqtd(v);
}

void TVMachine::ExeBasicDim(const TVMCode* code)
{
    for (int32_t i = 0; i < code->Operand.Long; ++i) DimOneVar();
}

void TVMachine::ExeBasicSwap(const TVMCode*)
{
    std::vector<int32_t> poppedB;
    TVarInfo* b = PopVarRef(&poppedB);
    std::vector<int32_t> poppedA;
    TVarInfo* a = PopVarRef(&poppedA);

    const int32_t elementB = ElementNumber(b, poppedB);
    TStackData valueB = ElementValue(b, elementB);
    NoteVarAccess(1, b, elementB);
    const int32_t elementA = ElementNumber(a, poppedA);
    TStackData valueA = ElementValue(a, elementA);
    NoteVarAccess(2, a, elementA);

    const bool storable = valueA.IsNumber() || valueA.type == sdString;
    if (!storable || valueA.type != valueB.type) throw RuntimeException2(RTE_TYPE_MISMATCH);

    NoteVarAccess(0, b, elementB);
    StoreElement(b, elementB, valueA);
    NoteVarAccess(0, a, elementA);
    StoreElement(a, elementA, valueB);
}

void TVMachine::ExeBasicOptionBase(const TVMCode*)
{
    const int32_t base = PopInt();
    if (base != 0 && base != 1) throw RuntimeException2(RTE_ILL_FUNC_CALL);
    Rsrc->OptionBase = static_cast<int8_t>(base);
}

void TVMachine::ExeBasicSearch(const TVMCode*)
{
    const TStackData stepEntry = Pop();
    const int32_t step = stepEntry.type == sdOmitted ? 1 : StackInt(stepEntry);
    const TStackData startEntry = Pop();
    const int32_t start = startEntry.type == sdOmitted ? 0 : StackInt(startEntry);
    const int32_t value = PopInt();
    std::vector<int32_t> popped;
    const TVarInfo* v = PopVarRef(&popped);
    if (v->Dims[0] != 1) throw RuntimeException2(RTE_ILL_FUNC_CALL);
    // A step that does not move forward, or a start before the array, would scan
    // without end or outside the array.
    if (step <= 0 || start < 0) throw RuntimeException2(RTE_ILL_FUNC_CALL);

    int32_t result = -1;
    const int64_t count = v->ElemCount;
    for (int64_t i = start; i + 1 < count; i += step) {
        const auto e = static_cast<size_t>(i + 1);
        bool match = false;
        if (const int32_t* ints = v->IntValues())
            match = ints[e] == value;
        else if (const float* singles = v->SingleValues())
            match = static_cast<double>(singles[e]) == static_cast<double>(value);
        else if (const double* doubles = v->DoubleValues())
            match = doubles[e] == static_cast<double>(value);
        else
            break;  // a string array is not searched
        if (match) {
            result = static_cast<int32_t>(i);
            break;
        }
    }
    PushInt(result);
}

// --- references set aside ---

void TVMachine::SheltVar(long n, std::vector<TStackData>* vars, std::vector<int32_t>* counts)
{
    for (long i = 0; i < n; ++i) {
        TStackData entry = Pop();
        if (entry.type != sdVar) throw RuntimeException2(RTE_INTERNAL_ERROR);
        vars->push_back(std::move(entry));
        int32_t moved = 0;
        for (;;) {
            TStackData next = Pop();
            const bool start = IsVarRefStart(next);
            vars->push_back(std::move(next));
            ++moved;
            if (start) break;
        }
        counts->push_back(moved);
    }
}

void TVMachine::GiveBackVarRef(std::vector<TStackData>* vars, std::vector<int32_t>* counts)
{
    if (counts->empty()) throw RuntimeException2(RTE_INTERNAL_ERROR);
    const int32_t moved = counts->back();
    counts->pop_back();
    for (int32_t i = 0; i <= moved; ++i) {
        if (vars->empty()) throw RuntimeException2(RTE_INTERNAL_ERROR);
        Push(std::move(vars->back()));
        vars->pop_back();
    }
}

void TVMachine::SheltVarToDeque(long n, std::deque<TStackData>* vars, std::deque<int32_t>* counts)
{
    for (long i = 0; i < n; ++i) {
        std::deque<TStackData> reference;
        TStackData entry = Pop();
        if (entry.type != sdVar) throw RuntimeException2(RTE_INTERNAL_ERROR);
        reference.push_front(std::move(entry));
        int32_t moved = 0;
        for (;;) {
            TStackData next = Pop();
            const bool start = IsVarRefStart(next);
            reference.push_front(std::move(next));
            ++moved;
            if (start) break;
        }
        // Earlier references lie deeper on the stack: they go in front.
        vars->insert(vars->begin(), std::make_move_iterator(reference.begin()),
                     std::make_move_iterator(reference.end()));
        counts->push_front(moved);
    }
}

void TVMachine::GetDequeInts(const std::deque<TStackData>& vars, const std::deque<int32_t>& counts,
                             std::vector<int32_t>* out)
{
    size_t next = 0;
    for (size_t i = 0; i < out->size() && i < counts.size(); ++i) {
        const auto moved = static_cast<size_t>(counts[i]);
        if (next + moved >= vars.size()) throw RuntimeException2(RTE_INTERNAL_ERROR);
        for (size_t j = 0; j < moved; ++j) Push(vars[next + j]);
        TVarInfo* v = StackVarInfo(vars[next + moved]);
        if (v == nullptr) throw RuntimeException2(RTE_INTERNAL_ERROR);
        next += moved + 1;
        VarToVal(&ValueStack, v, false);
        (*out)[i] = PopInt();
    }
}

void TVMachine::AssignInts(const std::vector<int32_t>& vals, const std::deque<TStackData>& vars,
                           const std::deque<int32_t>& counts)
{
    size_t next = 0;
    for (size_t i = 0; i < vals.size() && i < counts.size(); ++i) {
        const auto moved = static_cast<size_t>(counts[i]);
        if (next + moved >= vars.size()) throw RuntimeException2(RTE_INTERNAL_ERROR);
        for (size_t j = 0; j <= moved; ++j) Push(vars[next + j]);
        next += moved + 1;
        PushInt(vals[i]);
        ExeBasicBAssignArray(nullptr);
    }
}
