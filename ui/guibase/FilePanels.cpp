#include "ui/guibase/FilePanels.h"

#include <dirent.h>

#include <QAbstractItemView>
#include <QCompleter>
#include <QFileDialog>
#include <QLineEdit>

#include <string>

namespace {
bool is_one_entry_name(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

bool can_open_folder(const std::string& path)
{
    DIR* folder = opendir(path.c_str());
    if (!folder) return false;
    closedir(folder);
    return true;
}
}  // namespace

platform::status_t get_save_ref(const platform::Message* reply, platform::EntryRef* ref)
{
    if (!reply || !ref) return platform::kBadValue;
    platform::EntryRef directory;
    if (platform::status_t status = reply->FindRef("directory", &directory); status != platform::kOk) return status;
    std::string name;
    if (platform::status_t status = reply->FindString("name", &name); status != platform::kOk) return status;
    if (!is_one_entry_name(name)) return platform::kBadValue;
    if (directory.path.empty() || !can_open_folder(directory.path)) return platform::kIoError;
    std::string path = directory.path;
    if (path.back() != '/') path += '/';
    ref->path = path + name;
    return platform::kOk;
}

platform::status_t set_file_panel_priority(QFileDialog* panel, int32_t /*priority*/)
{
    return panel ? platform::kOk : platform::kError;
}

void give_keys_back_when_panel_closes(QFileDialog* panel)
{
    if (!panel) return;
    QObject::connect(panel, &QDialog::finished, panel, [panel] {
        for (const QLineEdit* field : panel->findChildren<QLineEdit*>())
            if (QCompleter* completer = field->completer(); completer && completer->popup()->isVisible())
                completer->popup()->hide();
        if (QWidget* owner = panel->parentWidget(); owner && owner->isVisible()) owner->window()->activateWindow();
    });
}
