#include "ui/widgets/MRUFMenu.h"

#include <QAction>

#include "ui/guibase/AcceleratorLabels.h"

QMenu* GenerateMenu(const TMRUF& list, QMenu* menu, const platform::Messenger& target)
{
    if (!menu) return nullptr;
    const int position = list.TgtBase();
    while (menu->actions().size() > position && !menu->actions().at(position)->isSeparator()) {
        QAction* old = menu->actions().at(position);
        menu->removeAction(old);
        delete old;
    }
    for (const TMRUF::MenuItem& item : list.MenuItems()) {
        auto* action = new QAction(menu);
        // The key is the item's mnemonic; a file name's "&" is shown as it stands.
        action->setText(QString::fromStdString(
            menu_label_with_mnemonic(list.AccFormat(), std::string(1, item.key), item.fileName)));
        if (item.shortcut != 0)
            action->setShortcut(
                QKeySequence(Qt::CTRL | Qt::SHIFT | static_cast<Qt::Key>(Qt::Key_0 + (item.shortcut - '0'))));
        QObject::connect(action, &QAction::triggered,
                         [target, message = item.message] { target.SendMessage(message); });
        const auto actions = menu->actions();
        if (item.position < actions.size())
            menu->insertAction(actions.at(item.position), action);
        else
            menu->addAction(action);
    }
    return menu;
}
