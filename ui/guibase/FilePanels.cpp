#include "ui/guibase/FilePanels.h"

#include <dirent.h>

#include <QAbstractItemView>
#include <QCompleter>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenuBar>

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
    // A panel opened from a menu chosen by keyboard opens while the menu bar holds the
    // keys, and the bar gives them back only if it still holds them when its menu
    // closes, which it no longer does once the panel has them: the owner would come back
    // with its menu bar focused, taking no typing. The bar then lets go of the focus, and
    // the owner's activation gives it to the owner's first focusable widget (the list,
    // the run screen).
    QObject::connect(panel, &QDialog::finished, panel, [panel] {
        for (const QLineEdit* field : panel->findChildren<QLineEdit*>())
            if (QCompleter* completer = field->completer(); completer && completer->popup()->isVisible())
                completer->popup()->hide();
        QWidget* owner = panel->parentWidget();
        if (!owner || !owner->isVisible()) return;
        QWidget* window = owner->window();
        if (QWidget* focus = window->focusWidget(); qobject_cast<QMenuBar*>(focus)) focus->clearFocus();
        window->activateWindow();
    });
}
