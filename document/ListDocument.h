#pragma once
// The program list as a document: its text (through TListText), its identity (new,
// restored from the backup, or with a file), the conversion it was read with, and
// the operations that read it from and write it to files: open, insert, merge, New,
// Save, Save As, the backup copy and the question whether to save it first.
//
// It shows its alerts and asks its questions through the injected TListAsker and
// sends no messages: the editor view posts the requests and continuations around it.

#include <cstdint>
#include <string>

#include "platform/Message.h"

class TListAsker;
class TListText;

namespace platform {
class Handler;
}

// What the save question's answer asks of the operation that would lose the list.
enum class TAskSaveAnswer {
    GoOn,       // not modified, or "No": go on, the changes are lost
    Cancel,     // "Cancel" (or Escape): drop the operation
    SaveFirst,  // "Yes": save with the operation as continuation, stop for now
};

class TListDocument {
public:
    TListDocument(TListText& text, TListAsker& asker);

    TListText& Text() { return mText; }
    const TListText& Text() const { return mText; }

    // --- identity ---
    // The list's file, empty for a new or restored list.
    const std::string& FilePath() const { return mFilePath; }
    bool AutoBackuped() const { return mAutoBackuped; }
    int32_t LoadedConversion() const { return mLoadedConversion; }
    // "(Auto Backuped List)", "(New List)" or the file's name.
    std::string DisplayName() const;
    // Gives the list a file (empty: none) and makes it no longer the restored one.
    void SetFile(const std::string& path);

    // --- reading --- (true when the file was read and its text placed; `note` gets
    // the read's status-bar note, empty after a failure, which has shown an alert)
    // Replaces the text, marked not modified. The caller gives the list the file.
    bool OpenList(const std::string& path, int32_t encoding, std::string* note);
    // Inserts at the insertion point.
    bool AddList(const std::string& path, int32_t encoding, std::string* note);
    // Appends after the end, on a line of its own.
    bool MergeList(const std::string& path, int32_t encoding, std::string* note);
    // Menu New once the question allowed it: empty text, no file, not modified.
    void MakeNew();
    // Takes the backup file's text as the restored list (the text is empty here).
    bool RestoreBackup(const std::string& backupPath, std::string* note);

    // --- writing ---
    // Save goes through the save panel for a list with no file, or read with a
    // conversion (or repaired), so such a file is never overwritten in place.
    bool SaveNeedsPanel() const;
    // Writes the text to the list's own file: clears the modified mark and the
    // conversion. A failure shows an alert naming the file and changes nothing.
    bool Save();
    // The file a name typed into the save panel stands for: "bas" added by add_ext.
    static std::string SaveAsPath(const std::string& folder, const std::string& name);
    // Save As to `path` (already through SaveAsPath): asks before replacing an
    // existing file, writes, and gives the list the file. False when the user
    // declined or the write failed (alert shown; the list keeps its file and mark).
    bool SaveAs(const std::string& path);
    // Writes the backup copy: the text's bytes, leaving the modified mark, the
    // conversion and the file alone; no alert. A backup that already holds the text
    // (written by this document, and still there) is not written again: a program
    // that runs itself would otherwise rewrite it before every run.
    bool WriteBackup(const std::string& backupPath);

    // --- the save question ---
    TAskSaveAnswer AskSave();

private:
    // `replacing`: the text read replaces the whole list, so its conversion is the
    // list's. An insert or merge only raises it: a converted list stays converted.
    bool Read(const std::string& path, int32_t encoding, bool replacing, std::string* note, std::string* text);
    bool WriteList(const std::string& path);

    TListText& mText;
    TListAsker& mAsker;
    std::string mFilePath;
    bool mAutoBackuped = false;
    int32_t mLoadedConversion = 0;
    std::string mBackupPath;  // the backup last written, and the text written there
    std::string mBackupText;
};

// The '_sav' request the save question's "Yes" posts to the editor view: it carries
// `pending` and its target as continuation, sent once the save has succeeded.
platform::Message make_save_request(const platform::Message& pending, const platform::Handler* target);
