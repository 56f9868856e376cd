#include "ui/guibase/ControlTarget.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "ui/guibase/DialogBase.h"

namespace {

using platform::Messenger;
using platform::Rect;

// A dialog whose view holds one control for each kind of target a control may have,
// one of them inside a group box; a second view stands for another handler.
struct TargetedDialog : ::testing::Test {
    TargetedDialog()
        : window(Rect{0, 0, 399, 299}, "targets"), view(new TDialogView(Rect{0, 0, 399, 199}, "dialog", kFollowAll)),
          other(new TDialogView(Rect{0, 200, 399, 299}, "other", kFollowAll))
    {
        window.AddChild(view);
        window.AddChild(other);
        untargeted = new QPushButton(view);
        toWindow = new QCheckBox(view);
        set_control_target(toWindow, Messenger(&window));
        toOther = new QLineEdit(view);
        set_control_target(toOther, Messenger(other));
        auto* group = new QGroupBox(view);
        nested = new QRadioButton(group);
        spin = new QSpinBox(view);
    }
    TDialogWindow window;
    TDialogView* view;
    TDialogView* other;
    QPushButton* untargeted;
    QCheckBox* toWindow;
    QLineEdit* toOther;
    QRadioButton* nested;
    QSpinBox* spin;
};

TEST_F(TargetedDialog, WithoutForceOnlyControlsOfNoOneOrTheWindowMove)
{
    view->SetTargetToThis(view, false);
    for (QWidget* control : {static_cast<QWidget*>(untargeted), static_cast<QWidget*>(toWindow),
                             static_cast<QWidget*>(nested), static_cast<QWidget*>(spin)})
        EXPECT_EQ(control_target(control), Messenger(view)) << control->metaObject()->className();
    EXPECT_EQ(control_target(toOther), Messenger(other));
    // The spin box is one control: its own field is not a control of the dialog.
    EXPECT_EQ(control_target(spin->findChild<QLineEdit*>()), Messenger());
}

TEST_F(TargetedDialog, WithForceEveryControlMoves)
{
    view->SetTargetToThis(view, true);
    for (QWidget* control : {static_cast<QWidget*>(untargeted), static_cast<QWidget*>(toWindow),
                             static_cast<QWidget*>(toOther), static_cast<QWidget*>(nested)})
        EXPECT_EQ(control_target(control), Messenger(view)) << control->metaObject()->className();
}

TEST_F(TargetedDialog, TargetThatIsGoneCountsAsNone)
{
    delete other;
    other = nullptr;
    EXPECT_EQ(control_target(toOther), Messenger());
    view->SetTargetToThis(toOther, false);
    EXPECT_EQ(control_target(toOther), Messenger(view));
}

}  // namespace
