#include "ui/guibase/LabelFitting.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <cmath>
#include <functional>
#include <memory>

#include "ui/guibase/AcceleratorLabels.h"
#include "ui/guibase/ControlLabels.h"

namespace {

// Labels as the language and the accelerator format make them.
const char* const kLabels[] = {"Wrap(W)", "Keep the window on top(K)", "A & B(A)",
                               "\xE6\x8A\x98\xE3\x82\x8A\xE8\xBF\x94\xE3\x81\x97(W)"};

// The text shows whole in `width` pixels, with no more than the margin to spare.
void expect_fits_text(int width, const QWidget* in, const QString& text)
{
    qreal advance = QFontMetricsF(in->font()).horizontalAdvance(text);
    EXPECT_GE(width, advance + 2) << text.toStdString();
    EXPECT_LT(width, advance + 3) << text.toStdString();
}

TEST(LabelFitting, CheckBoxesAndRadioButtonsShowTheirWholeLabel)
{
    QWidget parent;
    auto* box = new QCheckBox(&parent);
    auto* radio = new QRadioButton(&parent);
    for (QAbstractButton* button : {static_cast<QAbstractButton*>(box), static_cast<QAbstractButton*>(radio)}) {
        // From a long label to short ones too: fitting also shrinks.
        button->setGeometry(5, 7, 400, 23);
        for (const char* label : kLabels) {
            set_control_label(button, label);
            if (button == box)
                adjust_cbox_width(box);
            else
                adjust_rbutton_width(radio);
            // As wide as the style needs for the label, and only the margin more.
            EXPECT_GE(button->width(), button->sizeHint().width()) << label;
            EXPECT_LE(button->width(), button->sizeHint().width() + 3) << label;
            EXPECT_EQ(button->geometry().topLeft(), QPoint(5, 7)) << label;
            EXPECT_EQ(button->height(), 23) << label;
        }
    }
}

TEST(LabelFitting, StringViewTakesItsTextWidthAndMargin)
{
    QWidget parent;
    auto* view = new QLabel(&parent);
    view->setGeometry(3, 4, 500, 17);
    for (const char* label : kLabels) {
        view->setText(QString::fromUtf8(label));
        adjust_str_view_width(view);
        expect_fits_text(view->width(), view, view->text());
        EXPECT_EQ(view->height(), 17) << label;
    }
}

TEST(LabelFitting, ButtonTakesItsPreferredWidth)
{
    QWidget parent;
    auto* button = new QPushButton(&parent);
    for (int startWidth : {10, 600}) {
        button->setGeometry(0, 0, startWidth, 26);
        set_control_label(button, merge_accelerator_key(kDefaultAccKeyFormat, "O", "Open..."));
        adjust_button_width(button);
        EXPECT_EQ(button->width(), button->sizeHint().width()) << startWidth;
        EXPECT_EQ(button->height(), 26) << startWidth;
    }
}

// A field and the label whose buddy it is, side by side from x = 10 to x = 309.
template <typename Field>
struct LabelledField {
    LabelledField() : field(new Field(&parent)), label(new QLabel(&parent))
    {
        label->setBuddy(field);
        label->setGeometry(10, 20, 100, 22);
        field->setGeometry(110, 20, 200, 22);
    }
    QWidget parent;
    Field* field;
    QLabel* label;
};

template <typename Field>
void expect_divider_fits(void (*adjust)(Field*))
{
    LabelledField<Field> control;
    for (const char* label : kLabels) {
        set_control_label(control.field, label);
        adjust(control.field);
        QRect labelFrame = control.label->geometry();
        QRect fieldFrame = control.field->geometry();
        expect_fits_text(labelFrame.width(), control.field, QString::fromUtf8(label));
        EXPECT_EQ(labelFrame.topLeft(), QPoint(10, 20)) << label;
        EXPECT_EQ(fieldFrame.left(), labelFrame.right() + 1) << label;
        EXPECT_EQ(fieldFrame.right(), 309) << label;
        EXPECT_EQ(fieldFrame.top(), 20) << label;
        EXPECT_EQ(fieldFrame.height(), 22) << label;
    }
}

void adjust_combo(QComboBox* combo)
{
    adjust_mfield_divider(combo);
}

TEST(LabelFitting, DividerFollowsTheLabelAndTheFieldKeepsItsRightEdge)
{
    expect_divider_fits<QLineEdit>(&adjust_txt_ctrl_divider);
    expect_divider_fits<QComboBox>(&adjust_combo);
}

TEST(LabelFitting, FieldWithoutLabelIsLeftAlone)
{
    QWidget parent;
    auto* field = new QLineEdit(&parent);
    field->setGeometry(110, 20, 200, 22);
    set_control_label(field, "Name(N):");
    adjust_txt_ctrl_divider(field);
    EXPECT_EQ(field->geometry(), QRect(110, 20, 200, 22));
}

}  // namespace
