#include "platform/LocalPort.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/PortReceiver.h"

using namespace platform;

namespace {

// A port name no other test (or test process) uses.
std::string fresh_name(const char* what)
{
    static int counter = 0;
    return std::string("kivo-test-") + what + "-" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
}

struct Record {
    int32_t code;
    std::string data;
};

// A raw connection to the abstract address, checking nothing: what a foreign or
// careless writer does.
int raw_connect(const std::string& abstractName)
{
    int fd = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, abstractName.data(), abstractName.size());
    socklen_t length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + abstractName.size());
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), length) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

TEST(LocalPortTest, OnePortHasOneOwnerAndGoesWithIt)
{
    std::string name = fresh_name("owner");
    EXPECT_EQ(find_port(name, 100000), kNameNotFound);
    int owner = create_port(name);
    ASSERT_GE(owner, 0);
    EXPECT_LT(create_port(name), 0) << "a second owner of the same name";
    std::vector<std::string> listed = list_ports(name);
    EXPECT_NE(std::find(listed.begin(), listed.end(), name), listed.end());

    int writer = find_port(name, 100000);
    EXPECT_GE(writer, 0);
    close_port(writer);
    close_port(owner);
    EXPECT_EQ(find_port(name, 100000), kNameNotFound);
    listed = list_ports(name);
    EXPECT_EQ(std::find(listed.begin(), listed.end(), name), listed.end());
}

TEST(LocalPortTest, RecordsKeepEachWritersOrderAndTheirBytes)
{
    std::string name = fresh_name("order");
    PortReceiver receiver(create_port(name));
    constexpr int kPerWriter = 200;
    auto write_all = [&](int32_t base) {
        int port = find_port(name, 2000000);
        ASSERT_GE(port, 0);
        for (int i = 0; i < kPerWriter; ++i) {
            std::string data(static_cast<size_t>(i % 7), static_cast<char>(i));
            ASSERT_EQ(write_port(port, base + i, data, 2000000), kOk);
        }
        close_port(port);
    };
    std::thread first(write_all, 1000);
    std::thread second(write_all, 5000);

    std::vector<int32_t> next = {1000, 5000};
    for (int n = 0; n < 2 * kPerWriter; ++n) {
        Record record;
        ASSERT_TRUE(receiver.Receive(&record.code, &record.data));
        int writer = record.code >= 5000 ? 1 : 0;
        ASSERT_EQ(record.code, next[writer]) << "out of order";
        int i = record.code - (writer ? 5000 : 1000);
        EXPECT_EQ(record.data, std::string(static_cast<size_t>(i % 7), static_cast<char>(i)));
        ++next[writer];
    }
    first.join();
    second.join();
}

TEST(LocalPortTest, BadRecordsAreDroppedAndTheWriterIsStillHeard)
{
    std::string name = fresh_name("bad");
    PortReceiver receiver(create_port(name));
    int raw = raw_connect(port_address(name));
    ASSERT_GE(raw, 0);
    int size = 1 << 20;
    ::setsockopt(raw, SOL_SOCKET, SO_SNDBUF, &size, sizeof size);

    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"shorter than a code", std::string("\x01\x02", 2)},
        {"longer than a record may be", std::string(kMaxPortRecord + 100, 'x')},
    };
    for (const Case& c : cases)
        ASSERT_EQ(::send(raw, c.bytes.data(), c.bytes.size(), 0), ssize_t(c.bytes.size())) << c.what;
    std::string good("\x07\x00\x00\x00ok", 6);
    ASSERT_EQ(::send(raw, good.data(), good.size(), 0), ssize_t(good.size()));

    Record record;
    ASSERT_TRUE(receiver.Receive(&record.code, &record.data));
    EXPECT_EQ(record.code, 7);
    EXPECT_EQ(record.data, "ok");
    ::close(raw);
    EXPECT_EQ(write_port(-1, 0, "", 0), kBadValue);
    EXPECT_EQ(write_port(0, 0, std::string(kMaxPortRecord, 'x'), 0), kBadValue);
}

TEST(LocalPortTest, WakeEndsAWaitEvenWhenItComesFirst)
{
    PortReceiver receiver(create_port(fresh_name("wake")));
    int32_t code;
    std::string data;
    receiver.Wake();
    EXPECT_FALSE(receiver.Receive(&code, &data));

    std::thread waker([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        receiver.Wake();
    });
    EXPECT_FALSE(receiver.Receive(&code, &data));
    waker.join();

    PortReceiver none(-1);
    EXPECT_FALSE(none.Receive(&code, &data));
}

TEST(LocalPortTest, AFullPortTimesTheWriterOut)
{
    std::string name = fresh_name("full");
    int owner = create_port(name);  // listening, never read
    ASSERT_GE(owner, 0);
    int port = find_port(name, 100000);
    ASSERT_GE(port, 0);
    std::string chunk(32 * 1024, 'x');
    status_t status = kOk;
    for (int i = 0; i < 1000 && status == kOk; ++i) status = write_port(port, 0, chunk, 50000);
    EXPECT_EQ(status, kTimedOut);
    close_port(port);
    close_port(owner);
}

// Another user's writer is turned away by the reader, and another user's port is
// not taken for ours by a writer. Needs root to become another user.
TEST(LocalPortTest, AnotherUsersPeerIsRefusedBothWays)
{
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
    constexpr uid_t kNobody = 65534;

    std::string name = fresh_name("uid");
    PortReceiver receiver(create_port(name));
    std::string ours = port_address(name);
    pid_t child = ::fork();
    if (child == 0) {
        if (::setuid(kNobody) != 0) ::_exit(2);
        int fd = raw_connect(ours);
        if (fd < 0) ::_exit(3);
        const char foreign[] = "\x01\x00\x00\x00foreign";
        ::send(fd, foreign, sizeof foreign - 1, 0);
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);
    int port = find_port(name, 100000);
    ASSERT_GE(port, 0);
    ASSERT_EQ(write_port(port, 2, "own", 100000), kOk);
    Record record;
    ASSERT_TRUE(receiver.Receive(&record.code, &record.data));
    EXPECT_EQ(record.code, 2);
    EXPECT_EQ(record.data, "own");
    close_port(port);

    // A squatter of another user on our address.
    std::string squatted = fresh_name("squat");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    std::string address = port_address(squatted);
    child = ::fork();
    if (child == 0) {
        ::close(ready[0]);
        if (::setuid(kNobody) != 0) ::_exit(2);
        int fd = ::socket(AF_UNIX, SOCK_SEQPACKET, 0);
        sockaddr_un where{};
        where.sun_family = AF_UNIX;
        std::memcpy(where.sun_path + 1, address.data(), address.size());
        socklen_t length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + address.size());
        if (::bind(fd, reinterpret_cast<sockaddr*>(&where), length) != 0 || ::listen(fd, 4) != 0) ::_exit(3);
        char c = 'r';
        if (::write(ready[1], &c, 1) != 1) ::_exit(4);
        ::close(ready[1]);
        ::pause();
        ::_exit(0);
    }
    ::close(ready[1]);
    char c;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    ::close(ready[0]);
    EXPECT_EQ(find_port(squatted, 100000), kNotAllowed);
    ::kill(child, SIGKILL);
    ::waitpid(child, &status, 0);
}
