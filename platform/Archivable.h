#pragma once
// An object that writes itself into a message. The base archiving records the
// object's class name under "class", so that a reader can check what an archive holds.

#include <string>
#include <string_view>

#include "platform/Message.h"

namespace platform {

class Archivable {
public:
    Archivable() = default;
    // Building from an archive reads nothing here; derived classes read their fields.
    explicit Archivable(const Message*) {}
    virtual ~Archivable() = default;

    // Adds the class name of the object (its most derived class) under "class".
    virtual status_t Archive(Message* into, bool deep = true) const;
};

// The readable name of the object's most derived class ("TArchivable").
std::string class_name(const Archivable& object);

// True when the archive's "class" field holds `className`.
bool validate_instantiation(const Message* archive, std::string_view className);

}  // namespace platform
