#include "platform/PortReceiver.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "platform/LocalPort.h"

namespace platform {

PortReceiver::PortReceiver(int listener)
    : mListener(listener), mWake(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)), mBuffer(kMaxPortRecord + 1)
{}

PortReceiver::~PortReceiver()
{
    Close();
    if (mWake >= 0) ::close(mWake);
}

void PortReceiver::Wake() const
{
    if (mWake < 0) return;
    uint64_t one = 1;
    // A full counter already means "woken"; nothing else can fail here.
    [[maybe_unused]] ssize_t n = ::write(mWake, &one, sizeof one);
}

void PortReceiver::Close()
{
    for (int fd : mWriters) ::close(fd);
    mWriters.clear();
    if (mListener >= 0) ::close(mListener);
    mListener = -1;
}

void PortReceiver::DropWriter(size_t index)
{
    ::close(mWriters[index]);
    mWriters.erase(mWriters.begin() + static_cast<std::ptrdiff_t>(index));
}

void PortReceiver::Accept()
{
    int fd = ::accept4(mListener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0) return;
    if (!peer_is_same_user(fd) || mWriters.size() >= kMaxWriters) {
        ::close(fd);
        return;
    }
    mWriters.push_back(fd);
}

bool PortReceiver::ReadFrom(size_t index, int32_t* code, std::string* data)
{
    iovec part{mBuffer.data(), mBuffer.size()};
    msghdr record{};
    record.msg_iov = &part;
    record.msg_iovlen = 1;
    ssize_t n = ::recvmsg(mWriters[index], &record, MSG_DONTWAIT);
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return false;
    if (n <= 0) {  // the writer closed its end, or the connection failed
        DropWriter(index);
        return false;
    }
    // A record that did not fit, or that cannot hold its code, is dropped whole.
    if ((record.msg_flags & MSG_TRUNC) || static_cast<size_t>(n) > kMaxPortRecord || n < 4) return false;
    uint32_t raw = 0;
    for (int i = 0; i < 4; ++i) raw |= static_cast<uint32_t>(static_cast<unsigned char>(mBuffer[i])) << (8 * i);
    *code = static_cast<int32_t>(raw);
    data->assign(mBuffer.data() + 4, static_cast<size_t>(n) - 4);
    return true;
}

bool PortReceiver::Receive(int32_t* code, std::string* data)
{
    if (mListener < 0) return false;
    for (;;) {
        std::vector<pollfd> watched;
        watched.push_back({mWake, POLLIN, 0});
        watched.push_back({mListener, POLLIN, 0});
        for (int fd : mWriters) watched.push_back({fd, POLLIN, 0});
        // Without a wake-up descriptor the wait is bounded, so that a stop is still seen.
        int ready = ::poll(watched.data(), watched.size(), mWake >= 0 ? -1 : 100);
        if (ready < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (ready == 0) return false;
        if (watched[0].revents & POLLIN) {
            uint64_t count;
            [[maybe_unused]] ssize_t n = ::read(mWake, &count, sizeof count);
            return false;
        }
        // Writers first, so that a record already sent is not held up by new connections.
        for (size_t i = watched.size(); i-- > 2;) {
            if (!watched[i].revents) continue;
            if (ReadFrom(i - 2, code, data)) return true;
        }
        if (watched[1].revents & POLLIN) Accept();
    }
}

}  // namespace platform
