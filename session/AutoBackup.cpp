#include "session/AutoBackup.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <filesystem>

#include "foundation/Common.h"
#include "foundation/TAVRENUtils.h"

namespace {

namespace fs = std::filesystem;

constexpr int kMaxSlots = 64;

// Slot 1 keeps the name the application always used.
std::string slot_name(int slot, const char* extension)
{
    return slot == 1 ? std::string("AutoSave") + extension : "AutoSave-" + std::to_string(slot) + extension;
}

// Locks the slot's lock file: the descriptor, -1 when a running instance holds the
// slot, or -2 when the lock file cannot be opened or locked at all.
int lock_slot(const std::string& folder, int slot)
{
    const std::string lockPath = (fs::path(folder) / slot_name(slot, ".lock")).string();
    const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return -2;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return fd;
    const int error = errno;
    ::close(fd);
    return error == EWOULDBLOCK ? -1 : -2;
}

}  // namespace

std::unique_ptr<TBackupSlot> TBackupSlot::Claim(const std::string& folder)
{
    if (folder.empty()) return nullptr;
    for (int slot = 1; slot <= kMaxSlots; ++slot) {
        const int fd = lock_slot(folder, slot);
        if (fd == -2) return nullptr;
        if (fd >= 0)
            return std::unique_ptr<TBackupSlot>(
                new TBackupSlot(fd, (fs::path(folder) / slot_name(slot, ".bas")).string()));
    }
    return nullptr;
}

std::vector<std::unique_ptr<TBackupSlot>> TBackupSlot::ClaimLeftOvers(const std::string& folder)
{
    std::vector<std::unique_ptr<TBackupSlot>> slots;
    if (folder.empty()) return slots;
    for (int slot = 1; slot <= kMaxSlots; ++slot) {
        const std::string backupPath = (fs::path(folder) / slot_name(slot, ".bas")).string();
        std::error_code ec;
        if (!fs::is_regular_file(backupPath, ec)) continue;
        // The lock is taken before the file is looked at again: a slot freed by a
        // normal end meanwhile has lost its file.
        const int fd = lock_slot(folder, slot);
        if (fd < 0) continue;
        std::unique_ptr<TBackupSlot> held(new TBackupSlot(fd, backupPath));
        if (held->HasBackup()) slots.push_back(std::move(held));
    }
    return slots;
}

TBackupSlot::~TBackupSlot()
{
    ::close(mLockFd);
}

bool TBackupSlot::HasBackup() const
{
    std::error_code ec;
    return fs::is_regular_file(mBackupPath, ec);
}

std::string TBackupSlot::SetAside() const
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    const fs::path backup(mBackupPath);
    const std::string stem = backup.stem().string() + "-declined-" + stamp;
    // Never replace an older declined backup: count on until a name is free.
    for (int n = 1; n <= kMaxSlots; ++n) {
        const fs::path aside =
            backup.parent_path() / (n == 1 ? stem + ".bas" : stem + "-" + std::to_string(n) + ".bas");
        std::error_code ec;
        if (fs::exists(fs::symlink_status(aside, ec))) continue;
        // link + unlink: unlike rename, link never replaces a file that appeared meanwhile.
        if (::link(mBackupPath.c_str(), aside.c_str()) != 0) {
            if (errno == EEXIST) continue;
            return {};
        }
        ::unlink(mBackupPath.c_str());
        return aside.string();
    }
    return {};
}

bool TBackupSlot::MoveBackupTo(const TBackupSlot& to) const
{
    // link + unlink, as for setting aside: a file that appeared at `to` stays.
    if (::link(mBackupPath.c_str(), to.mBackupPath.c_str()) != 0) return false;
    ::unlink(mBackupPath.c_str());
    return true;
}

void TBackupSlot::Remove() const
{
    ::unlink(mBackupPath.c_str());
}

std::string backup_folder()
{
    std::string entry;
    if (get_settings_entry("KivoBASIC", "AutoSave.bas", &entry) != 0) return {};
    return fs::path(entry).parent_path().string();
}

int32_t auto_save_period_ms(int32_t minutes)
{
    return std::clamp(minutes, kMinAutoSaveInterval, kMaxAutoSaveInterval) * 60000;
}
