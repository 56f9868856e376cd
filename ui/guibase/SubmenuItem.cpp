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
        const auto* press = static_cast<QKeyEvent*>(event);
        const int key = press->key();
        const bool chosen = (key == Qt::Key_Return || key == Qt::Key_Enter) && mOuter->activeAction() == mItem;
        if (!chosen && !IsMnemonic(*press)) break;
        Trigger();
        return true;
    }
    default: break;
    }
    return QObject::eventFilter(watched, event);
}

bool TSubmenuItemFilter::IsMnemonic(const QKeyEvent& press) const
{
    // The letter alone, or held with Alt or Shift, as the menu takes its mnemonics.
    const Qt::KeyboardModifiers held = press.modifiers() & ~(Qt::AltModifier | Qt::ShiftModifier | Qt::KeypadModifier);
    const QKeySequence mnemonic = QKeySequence::mnemonic(mItem->text());
    return held == Qt::NoModifier && !mnemonic.isEmpty() && mnemonic[0].key() == press.key();
}

void TSubmenuItemFilter::Trigger()
{
    // Closing the menu closes its unfolded submenu and gives the menu bar back.
    mItem->menu()->hide();
    mOuter->hide();
    mItem->trigger();
}
