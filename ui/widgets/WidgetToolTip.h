#pragma once
// A tool tip attached to a widget: it hears the pointer enter and leave the widget
// and asks the widget's window and the pointer what the tip's rules need.

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <memory>

#include "ui/widgets/logic/ToolTip.h"

class WidgetToolTip : public QObject, private TipTarget {
public:
    // Named `name`; on the application's shared scheduler and windows unless given.
    explicit WidgetToolTip(const std::string& name, TipScheduler* scheduler = nullptr, TipWindows* windows = nullptr);
    ~WidgetToolTip() override;

    // Watches the widget from now on; -1 for none.
    int32_t SetTarget(QWidget* target);
    TToolTip& Tip() { return mTip; }
    const TToolTip& Tip() const { return mTip; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool WindowActive() const override;
    bool MouseButtonHeld() const override;
    platform::Point PointerOnScreen() const override;

    TToolTip mTip;
    QPointer<QWidget> mTarget;
};
