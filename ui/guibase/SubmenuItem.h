#pragma once
// A submenu's own item that is also a command: Qt only unfolds a submenu when its item
// is clicked or chosen with Return, and never triggers the item's action. Installed on
// the menu that holds the item, this filter triggers it on a click and on Return or
// Enter, closing the menus as an ordinary item does; the Right key still unfolds the
// submenu, and hovering shows it as before.

#include <QObject>

class QAction;
class QMenu;

class TSubmenuItemFilter : public QObject {
public:
    // `outer` holds `submenu`'s item; the filter belongs to `outer`.
    TSubmenuItemFilter(QMenu* outer, QMenu* submenu);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Trigger();

    QMenu* mOuter;
    QAction* mItem;
};
