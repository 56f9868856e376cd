#include "ui/widgets/WidgetToolTip.h"

#include <QCursor>
#include <QEvent>
#include <QGuiApplication>

#include "ui/widgets/QtTipScheduler.h"
#include "ui/widgets/ToolTipWindow.h"

WidgetToolTip::WidgetToolTip(const std::string& name, TipScheduler* scheduler, TipWindows* windows)
    : mTip(name, scheduler ? scheduler : &QtTipScheduler::Shared(), windows ? windows : &QtTipWindows::Shared())
{}

WidgetToolTip::~WidgetToolTip()
{
    if (mTarget) mTarget->removeEventFilter(this);
}

int32_t WidgetToolTip::SetTarget(QWidget* target)
{
    if (!target) return -1;
    if (mTarget) mTarget->removeEventFilter(this);
    mTarget = target;
    target->installEventFilter(this);
    return mTip.SetTarget(this);
}

bool WidgetToolTip::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == mTarget) {
        if (event->type() == QEvent::Enter)
            mTip.Post(TToolTip::kMouseEntered);
        else if (event->type() == QEvent::Leave)
            mTip.Post(TToolTip::kMouseExited);
    }
    return false;
}

bool WidgetToolTip::WindowActive() const
{
    return mTarget && mTarget->window()->isActiveWindow();
}

bool WidgetToolTip::MouseButtonHeld() const
{
    return QGuiApplication::mouseButtons() != Qt::NoButton;
}

platform::Point WidgetToolTip::PointerOnScreen() const
{
    QPoint at = QCursor::pos();
    return {static_cast<float>(at.x()), static_cast<float>(at.y())};
}
