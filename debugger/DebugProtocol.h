#pragma once
// The messages from the debugging machine to the debug view, and their fields.
//
// Every message carries the run number of the machine that sent it ("Run"), so that a
// view drops what a machine of an earlier run left in its queue. Variables travel as
// snapshots (name, element and the text of the value, read on the machine thread),
// never as pointers into the machine's storage.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Message.h"

namespace debug_msg {

using platform::fourcc;

inline constexpr uint32_t CurLine = fourcc("clnc");      // a line begins; waits
inline constexpr uint32_t BreakBegun = fourcc("dbbr");   // posted
inline constexpr uint32_t CallAdded = fourcc("acsr");    // a GOSUB has jumped; waits
inline constexpr uint32_t CallRemoved = fourcc("rcsr");  // a RETURN was performed; waits
inline constexpr uint32_t VarsUpdated = fourcc("uvir");  // elements were assigned; waits
inline constexpr uint32_t VarReset = fourcc("rsvr");     // an array was made; posted
inline constexpr uint32_t RunEnded = fourcc("dbed");     // posted
inline constexpr uint32_t ShowLine = fourcc("sslr");     // a run-time error's line; posted
inline constexpr uint32_t KeyWait = fourcc("dbkw");      // a keyboard read waits, or is over; posted

inline constexpr std::string_view Run = "Run";          // int64
inline constexpr std::string_view LineNum = "LineNum";  // int32
inline constexpr std::string_view Killed = "Killed";    // bool, only when true
inline constexpr std::string_view Waiting = "Waiting";  // bool ('dbkw')
// One entry per variable, in parallel: the name with its type suffix, the element
// index (0 the plain variable) and the value's text.
inline constexpr std::string_view VarName = "VarName";  // string
inline constexpr std::string_view DimIdx = "DimIdx";    // int32
inline constexpr std::string_view Value = "Value";      // string
// 'rsvr' only: the value type and the dimension sizes as the record keeps them.
inline constexpr std::string_view VarType = "VarType";  // int32
inline constexpr std::string_view DimSize = "DimSize";  // int32, one entry per dimension

// Hands each variable entry of a message to `take(name, element, value)`, in order,
// up to the first entry that lacks a field.
template <typename Take>
void for_each_value(const platform::Message& message, Take take)
{
    std::string name;
    for (int32_t i = 0; message.FindString(VarName, i, &name) == platform::kOk; ++i) {
        int32_t element = 0;
        std::string value;
        if (message.FindInt32(DimIdx, i, &element) != platform::kOk ||
            message.FindString(Value, i, &value) != platform::kOk)
            return;
        take(name, element, std::move(value));
    }
}

}  // namespace debug_msg
