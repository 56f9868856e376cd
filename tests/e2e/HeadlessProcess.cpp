#include "tests/e2e/HeadlessProcess.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/TestPaths.h"

extern char** environ;

namespace {

std::string read_all(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string temp_path(const char* stem)
{
    std::string pattern = std::string(P_tmpdir) + "/" + stem + "-XXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd >= 0) close(fd);
    return pattern;
}

// Waits for the child to exit; past the limit (when there is one) it is killed and
// false returned.
bool wait_for_exit(pid_t pid, double limitSeconds, int& status, struct rusage& usage)
{
    if (limitSeconds <= 0) return wait4(pid, &status, 0, &usage) == pid;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(limitSeconds);
    while (std::chrono::steady_clock::now() < deadline) {
        if (wait4(pid, &status, WNOHANG, &usage) == pid) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid, SIGKILL);
    wait4(pid, &status, 0, &usage);
    return false;
}

}  // namespace

THeadlessOutcome run_headless_process(const std::vector<std::string>& args, double limitSeconds)
{
    THeadlessOutcome outcome;
    const std::string outPath = temp_path("kivo-e2e-out");
    const std::string errPath = temp_path("kivo-e2e-err");

    std::vector<std::string> argvText{test_paths::Headless};
    argvText.insert(argvText.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : argvText) argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(), O_WRONLY | O_TRUNC, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(), O_WRONLY | O_TRUNC, 0);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        struct rusage usage {};
        if (wait_for_exit(pid, limitSeconds, status, usage)) {
            if (WIFEXITED(status)) outcome.status = WEXITSTATUS(status);
            outcome.peakRssKib = usage.ru_maxrss;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    outcome.out = read_all(outPath);
    outcome.err = read_all(errPath);
    std::remove(outPath.c_str());
    std::remove(errPath.c_str());
    return outcome;
}
