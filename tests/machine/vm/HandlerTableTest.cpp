// The machine's handler table against the instruction list: every code that the list
// marks as run by the machine has a handler of its own, and no other number has one.

#include <gtest/gtest.h>

#include "language/VMCodeCmd.h"
#include "machine/vm/VMachine.h"

namespace {

class TTableReader : public TVMachine {
public:
    using TVMachine::SharedFuncTable;
};

TEST(MachineHandlerTable, AgreesWithTheInstructionList)
{
    const auto& table = TTableReader::SharedFuncTable();
    for (uint32_t code = 0; code < VM_CODE_SPACE; ++code) {
        const char* name = VMCodeName(code);
        const bool runByMachine = VMCodeHasEntry(code, vceMachine);
        EXPECT_EQ(table.IsSet(code), runByMachine) << std::hex << code << " " << (name ? name : "(no code)");
        if (runByMachine) {
            EXPECT_TRUE(table[code] != table.Fallback()) << name << " is set to the fallback";
        }
    }
}

}  // namespace
