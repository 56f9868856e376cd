#pragma once
// The backup file of the list, one per running instance of the application.
//
// Each instance holds a lock (flock) on the lock file of its slot as long as it
// runs: the first instance has "AutoSave.bas", a second one running at the same
// time "AutoSave-2.bas", and so on. The kernel drops the lock when the process
// ends, however it ends, so a backup file whose slot is free at start-up was left
// by an instance that did not end normally, and only such a file is offered:
// the own slot's, and those of the other free slots.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TBackupSlot {
public:
    // Claims the first free slot in `folder` (the settings folder "KivoBASIC"); null
    // when no lock can be taken there (then no backup is written).
    static std::unique_ptr<TBackupSlot> Claim(const std::string& folder);
    // Claims every other free slot in `folder` that has a backup file, each left by
    // an instance that did not end normally, in the slots' order. They stay held
    // while the returned slots live, so an instance starting meanwhile does not
    // offer them too; a slot that a running instance holds is left out.
    static std::vector<std::unique_ptr<TBackupSlot>> ClaimLeftOvers(const std::string& folder);
    ~TBackupSlot();  // releases the slot; the backup file stays

    TBackupSlot(const TBackupSlot&) = delete;
    TBackupSlot& operator=(const TBackupSlot&) = delete;

    const std::string& BackupPath() const { return mBackupPath; }
    // Whether a backup file of this slot exists: at start-up, one left by a crash.
    bool HasBackup() const;
    // A declined backup is renamed aside (with the date and time in its name)
    // rather than left to be overwritten by the next backup; returns the new path,
    // or an empty text when the rename failed.
    std::string SetAside() const;
    // Moves this slot's backup file to `to`'s backup path, which has none, so that
    // a restored backup of another slot becomes `to`'s own; false when it failed.
    bool MoveBackupTo(const TBackupSlot& to) const;
    // Removes the backup file, at the normal end.
    void Remove() const;

private:
    TBackupSlot(int fd, std::string backupPath) : mLockFd(fd), mBackupPath(std::move(backupPath)) {}

    int mLockFd;
    std::string mBackupPath;
};

// The settings folder that holds the backup files ($XDG_CONFIG_HOME/TAVREN/KivoBASIC),
// created when missing; empty when there is none.
std::string backup_folder();

// The period of the automatic save in milliseconds for "ASvI" minutes, clamped to
// 1 to 99 minutes (99 minutes fit a timer's int).
int32_t auto_save_period_ms(int32_t minutes);
