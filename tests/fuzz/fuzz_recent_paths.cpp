// Feeds arbitrary bytes to the recent-paths list as its settings file would: whatever
// the bytes, nothing may crash, the list keeps its maximum and holds no path twice,
// and what it writes back reads back the same.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

#include "foundation/MRUF.h"
#include "platform/Message.h"
#include "tests/fuzz/SealedInput.h"

namespace {

void read_list(std::string_view bytes)
{
    platform::Message message;
    if (message.Unflatten(bytes) != platform::kOk) return;

    TMRUF list;
    if (list.Unarchive(message) != 0) std::abort();
    if (list.CountMRUFs() > list.MaxMRUF()) std::abort();
    std::set<std::string> seen;
    for (int32_t i = 0; i < list.CountMRUFs(); ++i)
        if (!seen.insert(list.MRUFAt(i)).second) std::abort();
    if (list.MRUFAt(list.CountMRUFs()) != nullptr) std::abort();

    platform::Message archived;
    if (list.Archive(&archived, true) != platform::kOk) std::abort();
    TMRUF again;
    again.Unarchive(archived);
    if (again.CountMRUFs() != list.CountMRUFs()) std::abort();
    for (int32_t i = 0; i < list.CountMRUFs(); ++i)
        if (std::string_view(again.MRUFAt(i)) != list.MRUFAt(i)) std::abort();
    (void)list.MenuItems();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    read_list(bytes);
    if (size >= 4) read_list(sealed(bytes));
    return 0;
}
