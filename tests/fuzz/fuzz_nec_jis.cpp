// Feeds arbitrary bytes to the NEC JIS list conversion, with and without the
// PC-98 character replacements.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "listfiles/NecJisConversion.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);

    std::string plain = input;
    if (ConvertJisToJis(plain, false) != 0) std::abort();                         // without "Cv98" nothing is replaced
    if (input.find('\x1B') == std::string::npos && plain != input) std::abort();  // and without shifts nothing changes

    std::string replaced = input;
    const int64_t count = ConvertJisToJis(replaced, true);
    if (count < 0 || count > static_cast<int64_t>(input.size())) std::abort();
    return 0;
}
