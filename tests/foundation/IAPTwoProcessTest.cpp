// Two applications sharing one window through the port: the stand-in application
// iap_peer runs twice, in a settings folder and under a port name of the test's own.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <string>

#include "IAPTestSupport.h"
#include "SettingsTestSupport.h"
#include "tests/TestPaths.h"

extern char** environ;

namespace {

// One running iap_peer with a pipe to its input and one from its output.
class Peer {
public:
    Peer()
    {
        int in[2], out[2];
        if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], 0);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        char* argv[] = {const_cast<char*>(test_paths::IapPeer), nullptr};
        if (posix_spawn(&mPid, test_paths::IapPeer, &actions, nullptr, argv, environ) != 0) mPid = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(in[0]);
        ::close(out[1]);
        mInput = in[1];
        mOutput = out[0];
    }
    ~Peer()
    {
        if (mInput >= 0) ::close(mInput);
        if (mPid > 0) {
            int status;
            ::waitpid(mPid, &status, 0);
        }
        if (mOutput >= 0) ::close(mOutput);
    }
    void Send(const std::string& command)
    {
        std::string line = command + "\n";
        ASSERT_EQ(::write(mInput, line.data(), line.size()), ssize_t(line.size()));
    }
    // The next line the peer prints; empty after ten seconds without one.
    std::string Line()
    {
        for (;;) {
            size_t end = mBuffered.find('\n');
            if (end != std::string::npos) {
                std::string line = mBuffered.substr(0, end);
                mBuffered.erase(0, end + 1);
                return line;
            }
            pollfd ready{mOutput, POLLIN, 0};
            if (::poll(&ready, 1, 10000) <= 0) return "";
            char chunk[512];
            ssize_t n = ::read(mOutput, chunk, sizeof chunk);
            if (n <= 0) return "";
            mBuffered.append(chunk, static_cast<size_t>(n));
        }
    }
    // The next `count` lines in byte order: for lines of two threads that may come either way.
    std::vector<std::string> Lines(size_t count)
    {
        std::vector<std::string> lines;
        while (lines.size() < count) lines.push_back(Line());
        std::sort(lines.begin(), lines.end());
        return lines;
    }
    void Kill()
    {
        ::kill(mPid, SIGKILL);
        int status;
        ::waitpid(mPid, &status, 0);
        mPid = -1;
    }

private:
    pid_t mPid = -1;
    int mInput = -1;
    int mOutput = -1;
    std::string mBuffered;
};

const std::string kComponentsLine = "got iacr AccKeyFormat2 FlatToolBar";

}  // namespace

class IAPTwoProcessFixture : public SettingsDirFixture {
protected:
    PortNameScope ports;
};

TEST_F(IAPTwoProcessFixture, TheSecondApplicationReachesTheFirstOnesWindowUntilThatOneDies)
{
    Peer a, b;
    ASSERT_EQ(a.Line(), "ready");
    ASSERT_EQ(b.Line(), "ready");

    using Expected = std::vector<std::string>;
    a.Send("show");
    EXPECT_EQ(a.Lines(2), (Expected{"done 0", kComponentsLine})) << "A made the window";

    b.Send("show");
    EXPECT_EQ(b.Line(), "done 0");
    EXPECT_EQ(a.Line(), "got iawr");
    EXPECT_EQ(a.Line(), kComponentsLine);

    b.Send("close 0");
    EXPECT_EQ(b.Line(), "done -1") << "B did not open the window";
    a.Send("close 0");
    EXPECT_EQ(a.Lines(2), (Expected{"done 0", "got _QRQ"}));

    a.Kill();
    b.Send("show");
    EXPECT_EQ(b.Lines(2), (Expected{"done 0", kComponentsLine})) << "B made a window of its own";
}
