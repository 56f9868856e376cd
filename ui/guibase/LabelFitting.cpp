#include "ui/guibase/LabelFitting.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <cmath>
#include <string>

#include "ui/guibase/ControlLabels.h"

namespace {

// The space kept free behind every label.
constexpr int kLabelMargin = 2;

int text_width(const QFont& font, const QString& text)
{
    return static_cast<int>(std::ceil(QFontMetricsF(font).horizontalAdvance(text)));
}

// The logical label, or the button's own text when it was set without one.
QString label_text(const QWidget* control)
{
    std::string label = control_label(control);
    if (!label.empty()) return QString::fromStdString(label);
    if (auto* button = qobject_cast<const QAbstractButton*>(control))
        return button->text().replace(QStringLiteral("&&"), QStringLiteral("&"));
    return {};
}

QLabel* buddy_label_of(QWidget* field)
{
    QWidget* parent = field->parentWidget();
    if (!parent) return nullptr;
    for (QLabel* label : parent->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        if (label->buddy() == field) return label;
    return nullptr;
}

void set_divider(QWidget* field)
{
    if (!field) return;
    QLabel* label = buddy_label_of(field);
    if (!label) return;
    int divider = text_width(field->font(), label_text(field)) + kLabelMargin;
    int left = label->x();
    int right = field->geometry().right();
    label->setGeometry(left, label->y(), divider, label->height());
    int fieldLeft = left + divider;
    field->setGeometry(fieldLeft, field->y(), std::max(0, right - fieldLeft + 1), field->height());
}

// The width of the check box or radio button's indicator and of the gap before the
// label, as the style draws them.
int indicator_and_gap(const QAbstractButton* button, bool radio)
{
    QStyleOptionButton option;
    option.initFrom(button);
    const QStyle* style = button->style();
    int indicator =
        style->pixelMetric(radio ? QStyle::PM_ExclusiveIndicatorWidth : QStyle::PM_IndicatorWidth, &option, button);
    int gap = style->pixelMetric(radio ? QStyle::PM_RadioButtonLabelSpacing : QStyle::PM_CheckBoxLabelSpacing, &option,
                                 button);
    // The style adds 4 pixels around a label of its own.
    return indicator + gap + 4;
}

void fit_width(QWidget* control, int width)
{
    control->resize(width, control->height());
}

void fit_marked_button(QAbstractButton* button, bool radio)
{
    if (!button) return;
    fit_width(button, text_width(button->font(), label_text(button)) + indicator_and_gap(button, radio) + kLabelMargin);
}

}  // namespace

void adjust_txt_ctrl_divider(QLineEdit* field)
{
    set_divider(field);
}

void adjust_mfield_divider(QWidget* field)
{
    set_divider(field);
}

void adjust_str_view_width(QLabel* view)
{
    if (!view) return;
    fit_width(view, text_width(view->font(), view->text()) + kLabelMargin);
}

void adjust_cbox_width(QCheckBox* box)
{
    fit_marked_button(box, false);
}

void adjust_rbutton_width(QRadioButton* button)
{
    fit_marked_button(button, true);
}

void adjust_button_width(QAbstractButton* button)
{
    if (!button) return;
    fit_width(button, button->sizeHint().width());
}
