// Feeds arbitrary bytes to the binary-saved list decoder: it must fail or
// succeed without reading outside the bytes, and leave them alone on failure.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "listfiles/BinSaveList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::string list = input;
    const int result = BinSaveToAsciiSave(list);
    if (result != 0 && (result != -1 || list != input)) std::abort();
    if (result == 0 && !list.empty() && list.back() != '\n') std::abort();  // every decoded line ends with a line feed
    return 0;
}
