// Fuzz target: a program list compiled and run on the machine. Every program that
// compiles runs for at most a few milliseconds on a machine thread and is then
// stopped; nothing it does may crash the process or leave the thread running.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <thread>

#include "language/Compiler.h"
#include "language/MidCode.h"
#include "machine/devices/BasicRsrc.h"
#include "machine/vm/VMachine.h"
#include "platform/Locale.h"

namespace {

constexpr size_t MAX_LIST_BYTES = 4096;
constexpr int RUN_MILLISECONDS = 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool catalogueOff = [] {
        platform::use_key_identity_catalogue(true);
        return true;
    }();
    (void)catalogueOff;
    if (size > MAX_LIST_BYTES) return 0;
    std::string text(reinterpret_cast<const char*>(data), size);
    text = text.substr(0, text.find('\0'));

    TMidCode mid;
    int32_t mode = 0;
    {
        TCompiler compiler(&mid, nullptr, 0);
        if (!compiler.Compile(text.c_str(), &mode)) return 0;
    }
    // The devices outlive the runs, as they outlive the runs of the application.
    static TBasicRsrc rsrc;
    TVMachine machine("Virtual Machine", &mid, &rsrc, nullptr, nullptr, nullptr);
    machine.SetRuntimeCompatiMode(mode);
    if (!machine.SetStartPos(TRunRequest{})) return 0;
    machine.Resume();
    for (int waited = 0; waited < RUN_MILLISECONDS && !machine.IsTerminated(); ++waited)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    machine.Terminate();
    rsrc.PushToKeyBuf("\n", 1);
    machine.Wait(nullptr);
    return 0;
}
