// BASIC file names and opening them inside their drive folder.

#include "machine/files/BasicFileName.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr mode_t kNewFileMode = 0666;

bool is_c_space(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Set once the kernel has said it has no openat2; the walk below is used from then on.
std::atomic<bool> gNoOpenat2{false};

int openat2_beneath(int dirFd, const char* path, int flags)
{
    open_how how{};
    how.flags = static_cast<uint64_t>(flags);
    how.mode = (flags & O_CREAT) != 0 ? kNewFileMode : 0;
    how.resolve = RESOLVE_BENEATH | RESOLVE_NO_MAGICLINKS;
    long fd;
    do {
        fd = ::syscall(SYS_openat2, dirFd, path, &how, sizeof how);
    } while (fd < 0 && errno == EINTR);
    return static_cast<int>(fd);
}

int openat_retry(int dirFd, const char* path, int flags, mode_t mode)
{
    int fd;
    do {
        fd = ::openat(dirFd, path, flags, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// Without openat2: step through the components one folder at a time and follow no
// link at all, which is stricter than RESOLVE_BENEATH but never leads out.
int walk_beneath(int dirFd, const std::string& name, int flags)
{
    if (!name.empty() && name[0] == '/') {
        errno = EXDEV;
        return -1;
    }
    std::vector<std::string> parts;
    std::string part;
    for (size_t i = 0; i <= name.size(); ++i) {
        if (i == name.size() || name[i] == '/') {
            if (part == "..") {
                errno = EXDEV;
                return -1;
            }
            if (!part.empty() && part != ".") parts.push_back(part);
            part.clear();
        } else {
            part += name[i];
        }
    }
    if (parts.empty()) parts.push_back(".");

    int cur = dirFd;
    int owned = -1;
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
        const int next = openat_retry(cur, parts[i].c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC, 0);
        int err = errno;
        if (next < 0) {
            struct stat st;
            if (::fstatat(cur, parts[i].c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode)) err = EXDEV;
            if (owned >= 0) ::close(owned);
            errno = err;
            return -1;
        }
        if (owned >= 0) ::close(owned);
        owned = cur = next;
    }
    const int fd = openat_retry(cur, parts.back().c_str(), flags | O_NOFOLLOW, kNewFileMode);
    int err = errno;
    if (fd < 0 && err == ELOOP) err = EXDEV;
    if (fd >= 0 && (flags & O_PATH) != 0) {
        struct stat st;
        if (::fstat(fd, &st) == 0 && S_ISLNK(st.st_mode)) {
            ::close(fd);
            if (owned >= 0) ::close(owned);
            errno = EXDEV;
            return -1;
        }
    }
    if (owned >= 0) ::close(owned);
    errno = err;
    return fd;
}

int resolve_open(int dirFd, const std::string& name, int flags)
{
    const char* path = name.empty() ? "." : name.c_str();
    if (!gNoOpenat2.load(std::memory_order_relaxed)) {
        const int fd = openat2_beneath(dirFd, path, flags);
        if (fd >= 0 || errno != ENOSYS) return fd;
        gNoOpenat2.store(true, std::memory_order_relaxed);
    }
    return walk_beneath(dirFd, name, flags);
}

TBeneathOpen failure(int err)
{
    TBeneathOpen r;
    r.Error = err;
    switch (err) {
    case ENOENT: r.Result = TBeneathResult::NotFound; break;
    case EXDEV: r.Result = TBeneathResult::Escapes; break;
    default: r.Result = TBeneathResult::Failed; break;
    }
    return r;
}

TBeneathOpen not_regular(int fd)
{
    ::close(fd);
    TBeneathOpen r;
    r.Result = TBeneathResult::NotRegular;
    return r;
}

TBeneathOpen bad_name()
{
    TBeneathOpen r;
    r.Result = TBeneathResult::BadName;
    r.Error = EINVAL;
    return r;
}

bool is_regular(int fd)
{
    struct stat st;
    return ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

int32_t basic_drive_number(const std::string& name)
{
    if (name.find(':') == std::string::npos) return 1;
    size_t i = 0;
    while (i < name.size() && is_c_space(name[i])) ++i;
    bool negative = false;
    if (i < name.size() && (name[i] == '+' || name[i] == '-')) {
        negative = name[i] == '-';
        ++i;
    }
    int64_t value = 0;
    for (; i < name.size() && name[i] >= '0' && name[i] <= '9'; ++i) {
        value = value * 10 + (name[i] - '0');
        if (value > static_cast<int64_t>(INT32_MAX) + 1) value = static_cast<int64_t>(INT32_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

std::string basic_file_part(const std::string& name)
{
    const size_t colon = name.find(':');
    return colon == std::string::npos ? name : name.substr(colon + 1);
}

bool has_control_byte(const std::string& name)
{
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) return true;
    }
    return false;
}

TBeneathOpen open_beneath(int dirFd, const std::string& name, int flags,
                          const std::function<bool(const struct stat&)>& inUse)
{
    if (has_control_byte(name)) return bad_name();
    // Look before opening: a device must not even be opened, since opening alone can
    // act on it, and a name that leads out must not create anything.
    const int probe = resolve_open(dirFd, name, O_PATH | O_CLOEXEC);
    if (probe >= 0) {
        if (!is_regular(probe)) return not_regular(probe);
        ::close(probe);
    } else if (errno != ENOENT || (flags & O_CREAT) == 0) {
        return failure(errno);
    }

    // Non-blocking so that a FIFO swapped in meanwhile cannot hang the open.
    const int fd = resolve_open(dirFd, name, (flags & ~O_TRUNC) | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return failure(errno);
    if (!is_regular(fd)) return not_regular(fd);
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        return failure(err);
    }
    if ((flags & O_ACCMODE) != O_RDONLY && st.st_nlink > 1) {
        ::close(fd);
        TBeneathOpen r;
        r.Result = TBeneathResult::Linked;
        return r;
    }
    if (inUse && inUse(st)) {
        ::close(fd);
        TBeneathOpen r;
        r.Result = TBeneathResult::InUse;
        return r;
    }
    if ((flags & O_TRUNC) != 0 && ::ftruncate(fd, 0) != 0) {
        const int err = errno;
        ::close(fd);
        return failure(err);
    }
    const int fl = ::fcntl(fd, F_GETFL);
    if (fl < 0 || ::fcntl(fd, F_SETFL, fl & ~O_NONBLOCK) < 0) {
        const int err = errno;
        ::close(fd);
        return failure(err);
    }
    TBeneathOpen r;
    r.Result = TBeneathResult::Ok;
    r.Fd = fd;
    return r;
}

TBeneathOpen probe_beneath(int dirFd, const std::string& name)
{
    if (has_control_byte(name)) return bad_name();
    const int fd = resolve_open(dirFd, name, O_PATH | O_CLOEXEC);
    if (fd < 0) return failure(errno);
    if (!is_regular(fd)) return not_regular(fd);
    ::close(fd);
    TBeneathOpen r;
    r.Result = TBeneathResult::Ok;
    return r;
}

int open_drive_folder(const std::string& folderPath)
{
    if (folderPath.empty()) {
        errno = ENOENT;
        return -1;
    }
    return openat_retry(AT_FDCWD, folderPath.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC, 0);
}

void use_resolve_walk_for_tests(bool on)
{
    gNoOpenat2.store(on, std::memory_order_relaxed);
}
