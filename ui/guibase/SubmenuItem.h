#pragma once
// A submenu's own item that is also a command: Qt only unfolds a submenu when its item
// is clicked, chosen with Return or with its mnemonic letter, and never triggers the
// item's action. Installed on the menu that holds the item, this filter triggers it on
// a click, on Return or Enter, and on its letter, closing the menus as an ordinary item
// does; the Right key still unfolds the submenu, and hovering shows it as before.

#include <QObject>

class QAction;
class QKeyEvent;
class QMenu;

class TSubmenuItemFilter : public QObject {
public:
    // `outer` holds `submenu`'s item; the filter belongs to `outer`.
    TSubmenuItemFilter(QMenu* outer, QMenu* submenu);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool IsMnemonic(const QKeyEvent& press) const;
    void Trigger();

    QMenu* mOuter;
    QAction* mItem;
};
