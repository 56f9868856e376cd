#include "platform/SettingsFolder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace platform {

namespace {

bool is_directory(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Closes a file descriptor when it goes out of scope.
struct FdCloser {
    int fd;
    ~FdCloser()
    {
        if (fd >= 0) ::close(fd);
    }
};

// The umask without changing it (which would race with other threads).
mode_t current_umask()
{
    std::FILE* status = std::fopen("/proc/self/status", "re");
    if (!status) return 022;
    mode_t mask = 022;
    char line[256];
    while (std::fgets(line, sizeof line, status)) {
        unsigned value;
        if (std::sscanf(line, "Umask: %o", &value) == 1) {
            mask = static_cast<mode_t>(value);
            break;
        }
    }
    std::fclose(status);
    return mask;
}

// A replaced file keeps its permissions; a new one gets what a plain create gives.
mode_t new_file_mode(const std::string& path)
{
    struct stat st;
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return st.st_mode & 07777;
    return 0666 & ~current_umask();
}

}  // namespace

status_t create_directory(const std::string& path, unsigned mode)
{
    if (path.empty()) return kBadValue;
    if (is_directory(path)) return kOk;
    // Make every prefix that ends before a "/", then the whole path.
    for (size_t at = path.find('/', 1);; at = path.find('/', at + 1)) {
        std::string prefix = at == std::string::npos ? path : path.substr(0, at);
        if (!prefix.empty() && ::mkdir(prefix.c_str(), static_cast<mode_t>(mode)) != 0 && errno != EEXIST)
            return kIoError;
        if (at == std::string::npos) break;
    }
    return is_directory(path) ? kOk : kIoError;
}

status_t user_settings_directory(std::string* path)
{
    std::string dir;
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/') {
        dir = config;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || home[0] != '/') return kError;
        dir = std::string(home) + "/.config";
    }
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    if (create_directory(dir, 0777) != kOk) return kError;
    *path = dir;
    return kOk;
}

status_t read_file(const std::string& path, size_t maxSize, std::string* contents)
{
    // O_NONBLOCK so that a FIFO put in the file's place cannot hang the open.
    FdCloser file{::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
    if (file.fd < 0) return kIoError;
    struct stat st;
    if (::fstat(file.fd, &st) != 0 || !S_ISREG(st.st_mode)) return kIoError;
    std::string data;
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        ssize_t n = ::read(file.fd, buffer.data(), buffer.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return kIoError;
        }
        if (n == 0) break;
        if (data.size() + static_cast<size_t>(n) > maxSize) return kBadData;
        data.append(buffer.data(), static_cast<size_t>(n));
    }
    *contents = std::move(data);
    return kOk;
}

status_t write_file_atomically(const std::string& path, std::string_view contents)
{
    size_t slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.empty()) return kBadValue;

    std::string temp =
        (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + "." + name + ".XXXXXX";
    int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return kIoError;
    bool ok = true;
    {
        FdCloser file{fd};
        ok = ::fchmod(fd, new_file_mode(path)) == 0;
        size_t written = 0;
        while (ok && written < contents.size()) {
            ssize_t n = ::write(fd, contents.data() + written, contents.size() - written);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0)
                ok = false;
            else
                written += static_cast<size_t>(n);
        }
        ok = ok && ::fsync(fd) == 0;
        file.fd = -1;
        ok = (::close(fd) == 0) && ok;
    }
    if (!ok || ::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str());
        return kIoError;
    }
    // Make the rename itself durable.
    FdCloser dir{::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (dir.fd >= 0) ::fsync(dir.fd);
    return kOk;
}

}  // namespace platform
