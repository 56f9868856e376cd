#include "document/ListDocument.h"

#include <filesystem>

#include "document/ListFileReader.h"
#include "document/ListQuestions.h"
#include "document/ListText.h"
#include "foundation/Common.h"
#include "foundation/StringUtils.h"
#include "listfiles/ListMerge.h"
#include "listfiles/ListSaver.h"
#include "platform/Locale.h"

namespace {

namespace fs = std::filesystem;

const platform::CatalogueText kDocumentTexts[] = {
    {"@Ask_Save %FileName%@", "Save the changes to %FileName%?"},
    {"@Ask_Replace_File %FileName%@", "A file named %FileName% already exists. Replace it?"},
    {"@Err_Cannot_Save_List %FullPathName%@",
     "The list cannot be saved to %FullPathName%. The file there is unchanged."},
};

void register_texts()
{
    static const bool registered = (platform::add_catalogue_texts(kDocumentTexts), true);
    (void)registered;
}

std::string with_placeholder(const char* key, const char* placeholder, const std::string& value)
{
    register_texts();
    return platform::replace_placeholder(platform::get_string(key), placeholder, value);
}

std::string file_name_of(const std::string& path)
{
    return fs::path(path).filename().string();
}

}  // namespace

TListDocument::TListDocument(TListText& text, TListAsker& asker) : mText(text), mAsker(asker)
{
    register_texts();
}

std::string TListDocument::DisplayName() const
{
    if (mAutoBackuped) return platform::get_string("(Auto Backuped List)");
    if (mFilePath.empty()) return platform::get_string("(New List)");
    return file_name_of(mFilePath);
}

void TListDocument::SetFile(const std::string& path)
{
    mAutoBackuped = false;
    mFilePath = path;
}

bool TListDocument::Read(const std::string& path, int32_t encoding, bool replacing, std::string* note,
                         std::string* text)
{
    TListFileRead read = read_list_file(path, encoding, gPrefs.ConvertPC98Chars);
    if (note != nullptr) *note = read.Loaded ? read.List.Note : std::string();
    if (!read.Loaded) {
        mAsker.ShowError(read.Alert);
        return false;
    }
    if (replacing || read.List.LoadedConversion != 0) mLoadedConversion = read.List.LoadedConversion;
    *text = std::move(read.List.Text);
    return true;
}

bool TListDocument::OpenList(const std::string& path, int32_t encoding, std::string* note)
{
    std::string text;
    if (!Read(path, encoding, true, note, &text)) return false;
    mText.ReplaceAll(text);
    mText.SetModified(false);
    return true;
}

bool TListDocument::AddList(const std::string& path, int32_t encoding, std::string* note)
{
    std::string text;
    if (!Read(path, encoding, false, note, &text)) return false;
    mText.InsertAtCaret(text);
    return true;
}

bool TListDocument::MergeList(const std::string& path, int32_t encoding, std::string* note)
{
    std::string text;
    if (!Read(path, encoding, false, note, &text)) return false;
    mText.Append(merged_tail(mText.Text(), text));
    return true;
}

void TListDocument::MakeNew()
{
    mText.ReplaceAll(std::string());
    SetFile(std::string());
    mText.SetModified(false);
}

bool TListDocument::RestoreBackup(const std::string& backupPath, std::string* note)
{
    mAutoBackuped = true;
    return AddList(backupPath, 2, note);  // UTF-8, as the backup was written
}

bool TListDocument::SaveNeedsPanel() const
{
    return mFilePath.empty() || mLoadedConversion != 0;
}

bool TListDocument::WriteList(const std::string& path)
{
    const TListSaveResult saved = save_list_file(path, mText.Text());
    if (!saved.Saved) {
        mAsker.ShowError(with_placeholder("@Err_Cannot_Save_List %FullPathName%@", "%FullPathName%",
                                          saved.WrittenPath.empty() ? path : saved.WrittenPath));
        return false;
    }
    mText.SetModified(false);
    mLoadedConversion = 0;
    return true;
}

bool TListDocument::Save()
{
    if (mFilePath.empty()) return false;
    return WriteList(mFilePath);
}

std::string TListDocument::SaveAsPath(const std::string& folder, const std::string& name)
{
    return add_ext((fs::path(folder) / name).string(), "bas");
}

bool TListDocument::SaveAs(const std::string& path)
{
    std::error_code ec;
    // The panel does not ask: the name it confirmed may have got its extension only now.
    if (fs::exists(fs::symlink_status(path, ec))) {
        TListQuestion question;
        question.Text = with_placeholder("@Ask_Replace_File %FileName%@", "%FileName%", file_name_of(path));
        question.Buttons = {{platform::get_string("Cancel"), 0}, {platform::get_string("Replace"), 'R'}};
        question.EscapeIndex = 0;
        question.Warning = true;
        if (mAsker.Ask(question) != 1) return false;
    }
    if (!WriteList(path)) return false;
    SetFile(path);
    return true;
}

bool TListDocument::WriteBackup(const std::string& backupPath)
{
    std::string text = mText.Text();
    std::error_code ec;
    if (backupPath == mBackupPath && text == mBackupText && fs::exists(backupPath, ec)) return true;
    if (!save_list_file(backupPath, text).Saved) return false;
    mBackupPath = backupPath;
    mBackupText = std::move(text);
    return true;
}

TAskSaveAnswer TListDocument::AskSave()
{
    if (!mText.IsModified()) return TAskSaveAnswer::GoOn;
    TListQuestion question;
    question.Text = with_placeholder("@Ask_Save %FileName%@", "%FileName%", DisplayName());
    question.Buttons = {
        {platform::get_string("Cancel"), 0}, {platform::get_string("No"), 'N'}, {platform::get_string("Yes"), 'Y'}};
    question.EscapeIndex = 0;
    switch (mAsker.Ask(question)) {
    case 1: return TAskSaveAnswer::GoOn;
    case 2: return TAskSaveAnswer::SaveFirst;
    default: return TAskSaveAnswer::Cancel;
    }
}

platform::Message make_save_request(const platform::Message& pending, const platform::Handler* target)
{
    platform::Message request(platform::fourcc("_sav"));
    add_next_msg(&request, pending, target);
    return request;
}
