#include "ui/guibase/ControlLabels.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QVariant>

namespace {
constexpr const char* kLabelProperty = "kivoLabel";

QString without_mnemonic(const std::string& label)
{
    return QString::fromStdString(label).replace('&', QStringLiteral("&&"));
}
}  // namespace

void set_control_label(QWidget* control, const std::string& label)
{
    if (!control) return;
    control->setProperty(kLabelProperty, QString::fromStdString(label));
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(without_mnemonic(label));
    } else if (auto* box = qobject_cast<QGroupBox*>(control)) {
        box->setTitle(without_mnemonic(label));
    } else if (auto* text = qobject_cast<QLabel*>(control)) {
        text->setText(QString::fromStdString(label));
    } else if (QWidget* parent = control->parentWidget()) {
        for (QLabel* buddyLabel : parent->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
            if (buddyLabel->buddy() == control) buddyLabel->setText(without_mnemonic(label));
    }
}

std::string control_label(const QWidget* control)
{
    if (!control) return {};
    return control->property(kLabelProperty).toString().toStdString();
}
