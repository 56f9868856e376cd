#pragma once
// The handler that a control's messages are meant for, kept with the control. An
// empty target stands for the control's own window.

#include <QWidget>

#include "platform/Messenger.h"

// The widgets that are controls: buttons of every kind, combo boxes, line edits,
// sliders and spin boxes.
bool is_control(const QWidget* widget);

void set_control_target(QWidget* control, const platform::Messenger& target);
// The target set with set_control_target; empty when none was set or it is gone.
platform::Messenger control_target(const QWidget* control);
