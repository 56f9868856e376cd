#include "ui/guibase/MenuFieldItems.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QToolButton>

void delete_mfield_mitems(QWidget* field)
{
    if (auto* combo = qobject_cast<QComboBox*>(field)) {
        combo->clear();
        return;
    }
    auto* tool = qobject_cast<QToolButton*>(field);
    QMenu* menu = tool ? tool->menu() : nullptr;
    if (!menu) return;
    while (!menu->actions().isEmpty()) {
        QAction* item = menu->actions().first();
        menu->removeAction(item);
        // A submenu owns its item's action: deleting the submenu deletes both.
        if (QMenu* submenu = QMenu::menuInAction(item))
            delete submenu;
        else
            delete item;
    }
}
