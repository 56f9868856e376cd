#pragma once
// The backup file of the list, one per running instance of the application.
//
// Each instance holds a lock (flock) on the lock file of its slot as long as it
// runs: the first instance has "AutoSave.bas", a second one running at the same
// time "AutoSave-2.bas", and so on. The kernel drops the lock when the process
// ends, however it ends, so a backup file whose slot is free at start-up was left
// by an instance that did not end normally, and only such a file is offered.

#include <cstdint>
#include <memory>
#include <string>

class TBackupSlot {
public:
    // Claims the first free slot in `folder` (the settings folder "KivoBASIC"); null
    // when no lock can be taken there (then no backup is written).
    static std::unique_ptr<TBackupSlot> Claim(const std::string& folder);
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
