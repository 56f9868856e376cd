#pragma once
// Named message ports between the processes of one user: sequenced-packet Unix sockets
// in the abstract namespace, so that a port disappears with its owner and no file is
// left behind. The address of a port is its name followed by "." and the user id;
// because abstract names ignore file modes, both ends check the other's user id.
//
// One write is one record: a 32-bit code (little-endian) and the data bytes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Clock.h"
#include "platform/Status.h"

namespace platform {

// Records longer than this are neither sent nor read.
inline constexpr size_t kMaxPortRecord = 64 * 1024;

// The abstract socket name of the calling user's port `name` (without the leading zero byte).
std::string port_address(std::string_view name);

// Binds and listens on the port: the listening descriptor, or kError when another
// live socket owns the name (there is exactly one owner) or the socket cannot be made.
int create_port(std::string_view name);

// Connects to the port's owner: the connected descriptor, kNameNotFound when nobody
// owns the name (a crashed owner leaves none), kNotAllowed when the owner is another
// user, kTimedOut when the owner accepts nothing within `timeout` microseconds.
int find_port(std::string_view name, bigtime_t timeout);

// Sends one record on a connected port. kTimedOut when the owner has not made room
// within `timeout` microseconds, kBadValue for a record over kMaxPortRecord, kIoError
// when the connection is gone.
status_t write_port(int port, int32_t code, std::string_view data, bigtime_t timeout);

// Closes a descriptor that create_port or find_port gave; a negative one is ignored.
void close_port(int port);

// The names, beginning with `prefix`, of the calling user's ports that exist now.
std::vector<std::string> list_ports(std::string_view prefix);

// True when the process at the other end of the connected socket runs as this user.
bool peer_is_same_user(int socket);

}  // namespace platform
