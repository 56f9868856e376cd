#include "ui/guibase/ControlTarget.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QVariant>

Q_DECLARE_METATYPE(platform::Messenger)

namespace {
constexpr const char* kTargetProperty = "kivoTarget";
}  // namespace

bool is_control(const QWidget* widget)
{
    return qobject_cast<const QAbstractButton*>(widget) || qobject_cast<const QComboBox*>(widget) ||
           qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QAbstractSlider*>(widget) ||
           qobject_cast<const QAbstractSpinBox*>(widget);
}

void set_control_target(QWidget* control, const platform::Messenger& target)
{
    if (!control) return;
    control->setProperty(kTargetProperty, QVariant::fromValue(target));
}

platform::Messenger control_target(const QWidget* control)
{
    if (!control) return {};
    platform::Messenger target = control->property(kTargetProperty).value<platform::Messenger>();
    return target.IsValid() ? target : platform::Messenger();
}
