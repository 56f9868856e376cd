#include "foundation/MRUF.h"

#include <algorithm>

namespace {

constexpr uint32_t kRefsReceived = platform::fourcc("_RRC");

char item_key(int32_t number)
{
    return number <= 9 ? static_cast<char>('0' + number) : static_cast<char>('A' + (number - 10));
}

std::string file_name_of(const std::string& path)
{
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

TMRUF::TMRUF() : mMessage(kRefsReceived) {}

void TMRUF::AddMRUF(const std::string& path)
{
    int32_t found = FindMRUF(path);
    if (found >= 0) {
        std::string kept = std::move(mPaths[found]);
        mPaths.erase(mPaths.begin() + found);
        mPaths.push_front(std::move(kept));
        return;
    }
    mPaths.push_front(path);
    DeleteExtraMRUF();
}

std::optional<std::string> TMRUF::RemoveMRUF(int32_t index)
{
    if (index < 0 || index >= CountMRUFs()) return std::nullopt;
    std::string removed = std::move(mPaths[index]);
    mPaths.erase(mPaths.begin() + index);
    return removed;
}

std::optional<std::string> TMRUF::RemoveMRUF(const std::string& path)
{
    int32_t found = FindMRUF(path);
    if (found < 0) return std::nullopt;
    return RemoveMRUF(found);
}

int32_t TMRUF::FindMRUF(const std::string& path) const
{
    auto it = std::find(mPaths.begin(), mPaths.end(), path);
    return it == mPaths.end() ? -1 : static_cast<int32_t>(it - mPaths.begin());
}

const char* TMRUF::MRUFAt(int32_t index) const
{
    if (index < 0 || index >= CountMRUFs()) return nullptr;
    return mPaths[index].c_str();
}

void TMRUF::ClearMRUF()
{
    mPaths.clear();
}

void TMRUF::DeleteExtraMRUF()
{
    while (CountMRUFs() > mMax) mPaths.pop_back();
}

void TMRUF::SetMaxMRUF(int32_t max)
{
    mMax = std::clamp(max, 1, kMaxLimit);
    DeleteExtraMRUF();
}

std::vector<TMRUF::MenuItem> TMRUF::MenuItems() const
{
    std::vector<MenuItem> items;
    for (int32_t i = 0; i < CountMRUFs(); ++i) {
        const std::string& path = mPaths[i];
        int32_t number = i + mTriggerBase;
        MenuItem item{mTgtBase + i, item_key(number), file_name_of(path), 0, mMessage};
        item.message.AddRef("refs", platform::EntryRef{path});
        if (mShowSC && number >= 0 && number <= 9) item.shortcut = static_cast<char>('0' + number);
        items.push_back(std::move(item));
    }
    return items;
}

platform::status_t TMRUF::Archive(platform::Message* into, bool deep) const
{
    platform::status_t status = TArchivable::Archive(into, deep);
    if (!into) return status;
    for (auto it = mPaths.rbegin(); it != mPaths.rend(); ++it) status |= into->AddString("MRUF", *it);
    return status;
}

int32_t TMRUF::Unarchive(const platform::Message& from)
{
    TArchivable::Unarchive(from);
    ClearMRUF();
    std::string path;
    for (int32_t i = 0; from.FindString("MRUF", i, &path) == platform::kOk; ++i) {
        // No file's path holds a NUL byte: such an entry is damage, not a path.
        if (path.find('\0') != std::string::npos) continue;
        AddMRUF(path);
    }
    return 0;
}
