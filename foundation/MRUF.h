#pragma once
// A list of recently used paths, the most recent first, bounded by a maximum. It
// saves itself into a settings file and reads itself back, and it describes the
// block of menu items that shows it; the GUI turns those descriptions into items.

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Archivable.h"
#include "platform/Message.h"

class TMRUF : public TArchivable {
public:
    // The most paths a list may keep, whatever SetMaxMRUF asks for.
    static constexpr int32_t kMaxLimit = 20;

    // No paths, a maximum of 10, menu position and number base 0, no shortcuts, no
    // accelerator format, and the model message '_RRC' without fields.
    TMRUF();
    ~TMRUF() override = default;

    // A path already listed (equal byte for byte) moves to the front; a new one is
    // put at the front and the oldest beyond the maximum are dropped.
    void AddMRUF(const std::string& path);
    // Removes the entry and returns it; nothing when the index or path is not listed.
    std::optional<std::string> RemoveMRUF(int32_t index);
    std::optional<std::string> RemoveMRUF(const std::string& path);
    // The index of the path, or -1.
    int32_t FindMRUF(const std::string& path) const;
    // The path at the index, owned by the list; null for an index outside the list.
    const char* MRUFAt(int32_t index) const;
    int32_t CountMRUFs() const { return static_cast<int32_t>(mPaths.size()); }
    void ClearMRUF();
    // Drops the oldest paths while there are more than the maximum.
    void DeleteExtraMRUF();

    // Index in the target menu of the first recent item.
    void SetTgtBase(int32_t position) { mTgtBase = position; }
    int32_t TgtBase() const { return mTgtBase; }
    // The number shown as the key of the first item.
    void SetTriggerBase(int32_t base) { mTriggerBase = base; }
    void SetShowSC(bool show) { mShowSC = show; }
    // Clamped to 1 to kMaxLimit; drops the paths beyond it.
    void SetMaxMRUF(int32_t max);
    int32_t MaxMRUF() const { return mMax; }
    void SetAccFormat(const std::string& format) { mAccFormat = format; }
    const std::string& AccFormat() const { return mAccFormat; }
    // The message that every item sends, with the item's path added under "refs".
    void SetMessage(const platform::Message& message) { mMessage = message; }

    // What one menu item of the list shows and sends.
    struct MenuItem {
        int32_t position;           // index in the target menu
        char key;                   // '0'-'9', then 'A' on
        std::string fileName;       // the part of the path after its last '/'
        char shortcut;              // the digit chosen with Ctrl+Shift, or 0 for none
        platform::Message message;  // a copy of the model message with "refs"
    };
    // One item per path, most recent first. A path that no longer exists still
    // gets its item; the receiver finds out when it opens it.
    std::vector<MenuItem> MenuItems() const;

    // "MRUF": one string per path, from the oldest to the most recent; absent when
    // the list is empty.
    status_t Archive(platform::Message* into, bool deep) const override;
    // Replaces the list by the archive's "MRUF" entries, leaving out any that holds a
    // NUL byte; always 0.
    int32_t Unarchive(const platform::Message& from) override;

private:
    bool mShowSC = false;
    int32_t mTgtBase = 0;
    int32_t mTriggerBase = 0;
    int32_t mMax = 10;
    std::deque<std::string> mPaths;
    std::string mAccFormat;
    platform::Message mMessage;
};
