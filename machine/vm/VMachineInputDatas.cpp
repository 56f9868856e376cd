// Assigning typed or read items to the variable references that SheltVar set
// aside: INPUT, LINE INPUT and INPUT # give their typed or read items, READ its DATA
// items. An item is converted to the variable's own kind; there is no type check, so
// an item that is not a number gives 0.

#include <cstdint>
#include <string>

#include "language/VarInfo.h"
#include "machine/text/LeadingNumbers.h"
#include "machine/vm/RuntimeErrorKeys.h"
#include "machine/vm/VMachine.h"

namespace {

bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

// The value of "&H..." or "&O..." (after the '&'); an 8 or 9 among octal digits is
// a run-time error, reported by the caller when `bad` comes back true. Any other
// letter after the '&' gives 0; digits beyond 32 bits wrap.
int32_t radix_number(const std::string& item, bool& bad)
{
    bad = false;
    const char kind = item.size() > 1 ? item[1] : '\0';
    uint32_t value = 0;
    if (kind == 'H' || kind == 'h') {
        for (size_t i = 2; i < item.size(); ++i) {
            const char c = item[i];
            uint32_t digit;
            if (is_digit(c))
                digit = static_cast<uint32_t>(c - '0');
            else if (c >= 'A' && c <= 'F')
                digit = static_cast<uint32_t>(c - 'A' + 10);
            else if (c >= 'a' && c <= 'f')
                digit = static_cast<uint32_t>(c - 'a' + 10);
            else
                break;
            value = value * 16 + digit;
        }
    } else if (kind == 'O' || kind == 'o') {
        for (size_t i = 2; i < item.size() && is_digit(item[i]); ++i) {
            if (item[i] >= '8') {
                bad = true;
                return 0;
            }
            value = value * 8 + static_cast<uint32_t>(item[i] - '0');
        }
    }
    return static_cast<int32_t>(value);
}

}  // namespace

void TVMachine::AssignInputDatas(const std::vector<std::string>& items, std::vector<TStackData>* vars,
                                 std::vector<int32_t>* counts)
{
    for (const std::string& item : items) {
        GiveBackVarRef(vars, counts);
        const TVarInfo* v = StackVarInfo(Top());
        if (v == nullptr) throw RuntimeException2(RTE_INTERNAL_ERROR);
        const TTokenKind kind = v->VarType;
        if (kind == tkString) {
            PushOwnedString(item);
        } else if (!item.empty() && item[0] == '&') {
            bool bad = false;
            const int32_t value = radix_number(item, bad);
            if (bad) throw RuntimeException2(RTE_ILL_FUNC_CALL);
            if (kind == tkSingle)
                PushFloat(static_cast<float>(value));
            else if (kind == tkDouble)
                PushDouble(value);
            else
                PushInt(value);
        } else if (kind == tkSingle) {
            PushFloat(leading_single_number(item));
        } else if (kind == tkDouble) {
            PushDouble(leading_decimal_number(item));
        } else {
            PushInt(leading_decimal_integer(item));
        }
        ExeBasicBAssignArray(nullptr);
    }
}
