// Function keys pressed from outside the machine (the run window, the headless
// driver's typist): one call types the key's string and raises its interrupt.

#include "machine/devices/BasicRsrc.h"
#include "machine/vm/VMachine.h"

void TVMachine::PressFuncKey(int n)
{
    if (n < 1 || n > TKeyBuffer::FUNC_KEY_COUNT) return;
    // The string first, so that a trap subroutine that reads the keys finds them.
    Rsrc->PushFuncKeyStr(n);
    HappenInterrupt(static_cast<long>(IR_FUNC_KEY_1) << (n - 1));
}
