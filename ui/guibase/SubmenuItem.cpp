#include "ui/guibase/SubmenuItem.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

TSubmenuItemFilter::TSubmenuItemFilter(QMenu* outer, QMenu* submenu)
    : QObject(outer), mOuter(outer), mItem(submenu->menuAction())
{
    outer->installEventFilter(this);
}

bool TSubmenuItemFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != mOuter || !mItem->isEnabled()) return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton || mOuter->actionAt(mouse->position().toPoint()) != mItem) break;
        Trigger();
        return true;
    }
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key != Qt::Key_Return && key != Qt::Key_Enter) || mOuter->activeAction() != mItem) break;
        Trigger();
        return true;
    }
    default: break;
    }
    return QObject::eventFilter(watched, event);
}

void TSubmenuItemFilter::Trigger()
{
    // Closing the menu closes its unfolded submenu and gives the menu bar back.
    mItem->menu()->hide();
    mOuter->hide();
    mItem->trigger();
}
