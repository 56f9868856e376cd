#include "platform/LocalPort.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <set>

namespace platform {

namespace {

std::string decimal(unsigned long value)
{
    char digits[24];
    auto result = std::to_chars(digits, digits + sizeof digits, value);
    return std::string(digits, result.ptr);
}

// The socket address of an abstract name: a zero byte, then the name (no terminator).
bool make_address(std::string_view name, sockaddr_un* address, socklen_t* length)
{
    std::string abstractName = port_address(name);
    std::memset(address, 0, sizeof *address);
    address->sun_family = AF_UNIX;
    if (abstractName.empty() || abstractName.size() + 1 > sizeof address->sun_path) return false;
    std::memcpy(address->sun_path + 1, abstractName.data(), abstractName.size());
    *length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + abstractName.size());
    return true;
}

// SO_SNDTIMEO bounds both a blocked connect and a blocked send of a Unix socket;
// zero means no bound, which kInfiniteTimeout asks for.
bool set_send_timeout(int socket, bigtime_t timeout)
{
    timeval value{};
    if (timeout != kInfiniteTimeout) {
        bigtime_t us = std::max<bigtime_t>(timeout, 1);
        value.tv_sec = static_cast<time_t>(us / 1000000);
        value.tv_usec = static_cast<suseconds_t>(us % 1000000);
    }
    return ::setsockopt(socket, SOL_SOCKET, SO_SNDTIMEO, &value, sizeof value) == 0;
}

}  // namespace

std::string port_address(std::string_view name)
{
    return std::string(name) + "." + decimal(::geteuid());
}

bool peer_is_same_user(int socket)
{
    ucred credentials{};
    socklen_t size = sizeof credentials;
    if (::getsockopt(socket, SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0 || size != sizeof credentials)
        return false;
    return credentials.uid == ::geteuid();
}

int create_port(std::string_view name)
{
    sockaddr_un address;
    socklen_t length;
    if (!make_address(name, &address, &length)) return kBadValue;
    int fd = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    if (fd < 0) return kError;
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), length) != 0 || ::listen(fd, 16) != 0) {
        ::close(fd);
        return kError;
    }
    return fd;
}

int find_port(std::string_view name, bigtime_t timeout)
{
    sockaddr_un address;
    socklen_t length;
    if (!make_address(name, &address, &length)) return kBadValue;
    int fd = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    if (fd < 0) return kError;
    if (!set_send_timeout(fd, timeout)) {
        ::close(fd);
        return kError;
    }
    int result;
    do {
        result = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), length);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        int error = errno;
        ::close(fd);
        if (error == EAGAIN || error == ETIMEDOUT) return kTimedOut;
        return kNameNotFound;
    }
    if (!peer_is_same_user(fd)) {
        ::close(fd);
        return kNotAllowed;
    }
    return fd;
}

status_t write_port(int port, int32_t code, std::string_view data, bigtime_t timeout)
{
    if (port < 0) return kBadValue;
    if (data.size() + 4 > kMaxPortRecord) return kBadValue;
    if (!set_send_timeout(port, timeout)) return kIoError;
    unsigned char header[4];
    uint32_t raw = static_cast<uint32_t>(code);
    for (int i = 0; i < 4; ++i) header[i] = static_cast<unsigned char>(raw >> (8 * i));
    iovec parts[2] = {{header, sizeof header}, {const_cast<char*>(data.data()), data.size()}};
    msghdr record{};
    record.msg_iov = parts;
    record.msg_iovlen = data.empty() ? 1 : 2;
    for (;;) {
        ssize_t sent = ::sendmsg(port, &record, MSG_NOSIGNAL);
        if (sent >= 0) return kOk;
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) return kTimedOut;
        return kIoError;
    }
}

void close_port(int port)
{
    if (port >= 0) ::close(port);
}

std::vector<std::string> list_ports(std::string_view prefix)
{
    // The kernel lists every Unix socket here; abstract names show with a leading '@'.
    std::ifstream table("/proc/net/unix");
    std::string suffix = "." + decimal(::geteuid());
    std::set<std::string> names;
    std::string line;
    std::getline(table, line);  // the column titles
    while (std::getline(table, line)) {
        size_t at = line.rfind(' ');
        if (at == std::string::npos || at + 1 >= line.size() || line[at + 1] != '@') continue;
        std::string_view path = std::string_view(line).substr(at + 2);
        if (path.size() <= suffix.size() || path.substr(path.size() - suffix.size()) != suffix) continue;
        path.remove_suffix(suffix.size());
        if (path.substr(0, prefix.size()) == prefix) names.emplace(path);
    }
    return {names.begin(), names.end()};
}

}  // namespace platform
