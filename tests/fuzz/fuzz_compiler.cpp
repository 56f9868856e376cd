// Compiles arbitrary text as a program list: the compiler must end every time,
// with a program or with one compile error, and leave a consistent container.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "foundation/AlertSink.h"
#include "language/Compiler.h"
#include "language/MidCode.h"
#include "platform/Locale.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    platform::use_key_identity_catalogue(true);
    // The compile text is NUL-terminated: the text ends at the first NUL byte.
    const std::string text(reinterpret_cast<const char*>(data), size);

    TMidCode mid;
    TRecordingAlertSink alerts;
    int32_t mode = -1;
    bool ok = false;
    {
        TCompiler compiler(&mid, &alerts);
        ok = compiler.Compile(text.c_str(), &mode);
    }
    if (mode != TCompiler::COMPAT_DISK_BASIC && mode != TCompiler::COMPAT_DOS_BASIC) std::abort();
    if (alerts.Count() > 1 || (ok && alerts.Count() != 0)) std::abort();
    if (mid.Codes.empty() || mid.Codes[0].Cmd != VM_CODE_PLACEHOLDER) std::abort();
    // Every recorded position lies inside the code vector (or just past it).
    const auto limit = static_cast<int32_t>(mid.Codes.size());
    for (const auto& [line, index] : mid.LineNumMap)
        if (index < 1 || index > limit) std::abort();
    for (const auto& [label, index] : mid.LabelMap)
        if (index < 1 || index > limit) std::abort();
    if (ok && mid.Codes.back().Cmd != vcBExit) std::abort();

    // A second compile on the cleared container behaves the same.
    mid.Clear();
    TRecordingAlertSink again;
    int32_t mode2 = -1;
    TCompiler compiler(&mid, &again);
    if (compiler.Compile(text.c_str(), &mode2) != ok || mode2 != mode) std::abort();
    return 0;
}
