// Feeds arbitrary DATA items to READ, one item per line of the input, read in turn
// into an integer, a single, a double and a string variable. An item either converts
// or ends the run with a run-time error; the string variable holds its item exactly,
// and no item ever leaves anything on the value stack.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "language/MidCode.h"
#include "machine/devices/BasicRsrc.h"
#include "machine/vm/VMachine.h"

namespace {

class TFuzzMachine : public TVMachine {
public:
    using TVMachine::TVMachine;
    using TVMachine::ValueStackDepth;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::string> items(1);
    for (size_t i = 0; i < size && items.size() <= 64; ++i) {
        if (data[i] == '\n')
            items.emplace_back();
        else if (data[i] != '\0')
            items.back() += static_cast<char>(data[i]);
    }

    static TBasicRsrc rsrc;
    TMidCode mid;
    mid.Clear();
    mid.Codes.push_back(MakeCode(VM_CODE_PLACEHOLDER));
    const TTokenKind types[] = {tkInt, tkSingle, tkDouble, tkString};
    const char* names[] = {"I%", "S!", "D#", "T$"};
    std::vector<TVarInfo*> vars;
    for (int k = 0; k < 4; ++k) {
        TVarInfo& v = mid.VarInfoMap[names[k]];
        v.VarName = names[k];
        v.CreateDefaultNonArray(types[k]);
        vars.push_back(&v);
    }
    for (size_t i = 0; i < items.size(); ++i) {
        mid.Codes.push_back(MakeCode(vcBPushSpecial, static_cast<int32_t>(tkVar)));
        mid.Codes.push_back(MakeCode(vcBPushVar, vars[i % 4]));
        mid.Codes.push_back(MakeCode(vcRead, int32_t{1}));
    }
    for (const std::string& item : items) mid.Codes.push_back(MakeCode(vcData, mid.KeepText(item)));
    mid.Codes.push_back(MakeCode(vcBExit));

    TFuzzMachine machine("Virtual Machine", &mid, &rsrc, nullptr, nullptr, nullptr);
    // The thread body, run on this thread.
    const int32_t status = machine.Execute();
    if (status == 0) {
        if (machine.ValueStackDepth() != 0) std::abort();
        if (items.size() >= 4) {
            const size_t last = (items.size() - 4) / 4 * 4 + 3;
            if (vars[3]->StringValues()[0] != items[last]) std::abort();
        }
    }
    return 0;
}
