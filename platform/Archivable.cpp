#include "platform/Archivable.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <typeinfo>

namespace platform {

std::string class_name(const Archivable& object)
{
    const char* mangled = typeid(object).name();
    int status = 0;
    std::unique_ptr<char, decltype(&std::free)> readable(abi::__cxa_demangle(mangled, nullptr, nullptr, &status),
                                                         &std::free);
    return status == 0 && readable ? std::string(readable.get()) : std::string(mangled);
}

status_t Archivable::Archive(Message* into, bool) const
{
    if (!into) return kBadValue;
    return into->AddString("class", class_name(*this));
}

bool validate_instantiation(const Message* archive, std::string_view className)
{
    if (!archive) return false;
    std::string name;
    for (int32_t i = 0; archive->FindString("class", i, &name) == kOk; ++i)
        if (name == className) return true;
    return false;
}

}  // namespace platform
