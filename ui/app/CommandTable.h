#pragma once
// The dispatch tables of the application, the main window and the editor view: one
// row a message code, naming the member that handles it. A row whose handler is still
// null belongs to a command that is not built yet: its menu item stays disabled and
// the message goes on to the base class, so building the command means filling in
// the handler of its row.

#include <cstddef>
#include <cstdint>

#include "platform/Message.h"

template <typename Owner>
struct TCommandRow {
    uint32_t what;
    void (Owner::*handler)(platform::Message* message);
};

// The handler of `what` in `rows`, or null when the table has none or its row is empty.
template <typename Owner, size_t N>
auto find_command(const TCommandRow<Owner> (&rows)[N], uint32_t what) -> void (Owner::*)(platform::Message*)
{
    for (const TCommandRow<Owner>& row : rows)
        if (row.what == what) return row.handler;
    return nullptr;
}

// What the main window asks of the receivers of its menu items.
class TCommandReceiver {
public:
    virtual ~TCommandReceiver() = default;
    // True when a message of this code would be handled (its command is built).
    virtual bool HandlesCommand(uint32_t what) const = 0;
};
