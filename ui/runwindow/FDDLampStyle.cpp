#include "ui/runwindow/FDDLampStyle.h"

#include <QAction>
#include <QMenuBar>
#include <QPainter>
#include <QStyleOptionMenuItem>

namespace {

bool lamp_lit(const QStyleOption* option, const QWidget* widget)
{
    const auto* bar = qobject_cast<const QMenuBar*>(widget);
    if (bar == nullptr) return false;
    const QAction* action = bar->actionAt(option->rect.center());
    return action != nullptr && action->property(kFDDLampProperty).toBool();
}

}  // namespace

void TFDDLampStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                                const QWidget* widget) const
{
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (element != CE_MenuBarItem || item == nullptr || !lamp_lit(option, widget)) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    // Lit: the item's frame less a pixel at the left and top and two at the bottom.
    const QRect frame = option->rect;
    painter->save();
    painter->fillRect(QRect(QPoint(frame.left() + 1, frame.top() + 1), QPoint(frame.right(), frame.bottom() - 2)),
                      QColor::fromRgba(kFDDAccessLampColor));
    painter->setPen(Qt::black);
    painter->setFont(widget->font());
    painter->drawText(frame, Qt::AlignCenter | Qt::TextShowMnemonic | Qt::TextSingleLine, item->text);
    painter->restore();
}
