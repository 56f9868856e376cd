#include "platform/Modifiers.h"

#include <mutex>

namespace platform {

namespace {

std::mutex gReaderMutex;
std::function<uint32_t()>& reader()
{
    static std::function<uint32_t()> installed;
    return installed;
}

}  // namespace

uint32_t modifiers()
{
    std::function<uint32_t()> current;
    {
        std::lock_guard lock(gReaderMutex);
        current = reader();
    }
    return current ? current() : 0;
}

void set_modifier_reader(std::function<uint32_t()> newReader)
{
    std::lock_guard lock(gReaderMutex);
    reader() = std::move(newReader);
}

}  // namespace platform
