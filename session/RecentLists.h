#pragma once
// The recent lists of the main window: at most ten program-list paths, newest first,
// kept in the settings file "KivoBASIC_MRUF.arc". Every change is written at once,
// Delete All included, so that what the menu shows is what the next start loads.

#include <string>

#include "foundation/MRUF.h"

class TRecentLists {
public:
    // Configures the list as the main window shows it (digit keys from 0, items
    // from the top of the menu, at most ten, '_RRC' items marked with
    // kFromRecentListsField) and loads it from `settingsFile` (empty: no file). A
    // missing or corrupt file leaves it empty.
    explicit TRecentLists(std::string settingsFile);

    TMRUF& List() { return mList; }
    const TMRUF& List() const { return mList; }

    // Moves or puts the path to the front, then saves.
    void Add(const std::string& path);
    // Removes the path if listed, then saves.
    void Remove(const std::string& path);
    // Empties the list, then saves.
    void ClearAll();

private:
    void Save() const;

    std::string mSettingsFile;
    TMRUF mList;
};

// The recent lists' settings file under the settings folder, or empty when there is none.
std::string recent_lists_file();
