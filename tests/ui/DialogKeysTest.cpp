#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <memory>
#include <vector>

#include "ui/guibase/AcceleratorLabels.h"
#include "ui/guibase/ControlLabels.h"
#include "ui/guibase/DialogBase.h"

namespace {

using platform::Rect;

// A dialog with the controls of the key tests; Escape clicks Cancel, as the program's
// dialogs do in their own ShortCutDown.
class KeysView : public TDialogView {
public:
    KeysView() : TDialogView(Rect{0, 0, 399, 299}, "keys", kFollowAll)
    {
        open = make<QPushButton>("O", "Open", 0);
        cancel = make<QPushButton>("C", "Cancel", 1);
        wrap = make<QCheckBox>("W", "Wrap", 2);
        radio = make<QRadioButton>("R", "Radio", 3);
        name = new QLineEdit(this);
        auto* nameLabel = new QLabel(this);
        nameLabel->setBuddy(name);
        set_control_label(name, merge_accelerator_key(kDefaultAccKeyFormat, "N", "Name:"));
        name->setGeometry(10, 160, 100, 20);
        notes = new QPlainTextEdit(this);
        notes->setGeometry(10, 190, 200, 80);
        ok = make<QPushButton>("K", "OK", 4);
        ok->setDefault(true);
    }

    void ShortCutDown(int32_t rawChar, int32_t key) override
    {
        if (rawChar == platform::kEscapeChar) {
            click_button(cancel);
            return;
        }
        TDialogView::ShortCutDown(rawChar, key);
    }

    template <typename T>
    T* make(const char* key, const char* label, int row)
    {
        auto* control = new T(this);
        set_control_label(control, merge_accelerator_key(kDefaultAccKeyFormat, key, label));
        control->setGeometry(10, 10 + row * 30, 120, 24);
        return control;
    }

    QPushButton* open;
    QPushButton* cancel;
    QCheckBox* wrap;
    QRadioButton* radio;
    QLineEdit* name;
    QPlainTextEdit* notes;
    QPushButton* ok;
};

struct DialogFixture : ::testing::Test {
    DialogFixture() : window(Rect{100, 100, 499, 399}, "dialog"), view(new KeysView)
    {
        window.AddChild(view);
        window.show();
        window.activateWindow();
        QApplication::setActiveWindow(&window);
    }
    void Key(QWidget* to, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(to, key, modifiers);
        for (int i = 0; i < 5; ++i) QApplication::processEvents();
    }
    TDialogWindow window;
    KeysView* view;
};

TEST_F(DialogFixture, AltLetterPressesTheButtonVisiblyThenClicks)
{
    QSignalSpy clicked(view->open, &QPushButton::clicked);
    // The letter shows the button pushed at once and clicks it only later.
    view->ShortCutDown('o', 0);
    EXPECT_TRUE(view->open->isDown());
    EXPECT_EQ(clicked.count(), 0);
    EXPECT_TRUE(clicked.wait(5000));
    EXPECT_FALSE(view->open->isDown());
    // Typed with Alt in a text field, the letter reaches the button, not the field.
    view->name->setFocus();
    Key(view->name, Qt::Key_O, Qt::AltModifier);
    EXPECT_TRUE(clicked.count() == 2 || clicked.wait(5000));
    EXPECT_TRUE(view->name->text().isEmpty());
}

TEST_F(DialogFixture, CheckBoxTogglesAndInvokesEachTime)
{
    QSignalSpy clicked(view->wrap, &QCheckBox::clicked);
    for (bool expected : {true, false}) {
        Key(view->notes, Qt::Key_W, Qt::AltModifier);
        EXPECT_EQ(view->wrap->isChecked(), expected);
        EXPECT_TRUE(view->wrap->hasFocus());
    }
    EXPECT_EQ(clicked.count(), 2);
}

TEST_F(DialogFixture, RadioButtonThatIsOnStaysOnAndInvokes)
{
    QSignalSpy clicked(view->radio, &QRadioButton::clicked);
    for (int i = 0; i < 2; ++i) {
        Key(view->notes, Qt::Key_R, Qt::AltModifier);
        EXPECT_TRUE(view->radio->isChecked());
    }
    EXPECT_EQ(clicked.count(), 2);
}

TEST_F(DialogFixture, TextFieldOnlyTakesTheFocus)
{
    view->notes->setFocus();
    Key(view->notes, Qt::Key_N, Qt::AltModifier);
    EXPECT_TRUE(view->name->hasFocus());
    EXPECT_TRUE(view->name->text().isEmpty());
    EXPECT_TRUE(view->notes->toPlainText().isEmpty());
}

TEST_F(DialogFixture, EnterPressesFocusedDefaultOrTypesALineBreak)
{
    struct Case {
        const char* name;
        QWidget* focus;
        QPushButton* pressed;
    };
    const Case cases[] = {
        {"text field presses the default", view->name, view->ok},
        {"focused button is pressed", view->open, view->open},
        {"free text area gets a line break", view->notes, nullptr},
    };
    for (const Case& c : cases) {
        QSignalSpy okClicked(view->ok, &QPushButton::clicked);
        QSignalSpy openClicked(view->open, &QPushButton::clicked);
        view->notes->clear();
        c.focus->setFocus();
        Key(c.focus, Qt::Key_Return);
        if (c.pressed) {
            QSignalSpy pressed(c.pressed, &QPushButton::clicked);
            EXPECT_TRUE(okClicked.count() + openClicked.count() > 0 || pressed.wait(5000)) << c.name;
        }
        EXPECT_EQ(okClicked.count(), c.pressed == view->ok ? 1 : 0) << c.name;
        EXPECT_EQ(openClicked.count(), c.pressed == view->open ? 1 : 0) << c.name;
        EXPECT_EQ(view->notes->toPlainText(), c.pressed ? QString() : QStringLiteral("\n")) << c.name;
    }
}

TEST_F(DialogFixture, EscapePressesCancelAndPlainLettersAreTyped)
{
    QSignalSpy cancelled(view->cancel, &QPushButton::clicked);
    view->name->setFocus();
    Key(view->name, Qt::Key_O);
    Key(view->name, Qt::Key_Escape);
    EXPECT_TRUE(cancelled.count() == 1 || cancelled.wait(5000));
    EXPECT_EQ(view->name->text(), QStringLiteral("o"));
}

// A dialog whose controls are added by the test, in tree order; a free text area
// holds the focus at first.
struct LetterFixture : ::testing::Test {
    LetterFixture()
        : window(Rect{100, 100, 499, 399}, "letters"),
          view(new TDialogView(Rect{0, 0, 399, 299}, "letters", kFollowAll))
    {
        notes = new QPlainTextEdit(view);
        notes->setGeometry(200, 10, 150, 80);
        window.AddChild(view);
        window.show();
        QApplication::setActiveWindow(&window);
        notes->setFocus();
    }
    template <typename T>
    T* Add(QWidget* parent, const char* key, const char* label)
    {
        auto* control = new T(parent);
        set_control_label(control, merge_accelerator_key(kDefaultAccKeyFormat, key, label));
        control->setGeometry(10, 10 + mRows++ * 30, 120, 24);
        return control;
    }
    TDialogWindow window;
    TDialogView* view;
    QPlainTextEdit* notes;

private:
    int mRows = 0;
};

TEST_F(LetterFixture, TwoControlsWithOneLetterOnlyTheFirstInTreeOrderReacts)
{
    // The first in tree order sits in a group and stands below the second.
    auto* group = new QWidget(view);
    group->setGeometry(0, 100, 150, 40);
    QCheckBox* first = Add<QCheckBox>(group, "S", "Sound");
    QCheckBox* second = Add<QCheckBox>(view, "S", "Speed");
    group->show();
    QSignalSpy firstClicked(first, &QCheckBox::clicked);
    QSignalSpy secondClicked(second, &QCheckBox::clicked);
    for (bool expected : {true, false}) {
        EXPECT_EQ(view->ApplyShortCut(view, 's', 0), 0);
        EXPECT_EQ(first->isChecked(), expected);
        EXPECT_TRUE(first->hasFocus());
        EXPECT_FALSE(second->isChecked());
    }
    EXPECT_EQ(firstClicked.count(), 2);
    EXPECT_EQ(secondClicked.count(), 0);
}

TEST_F(LetterFixture, ADisabledControlKeepsItsLetterButChangesNothing)
{
    // Each kind twice with one letter: the first disabled, the second enabled.
    struct Twins {
        const char* kind;
        char letter;
        QWidget* disabled;
        QWidget* enabled;
    };
    const Twins twins[] = {
        {"button", 'b', Add<QPushButton>(view, "B", "Bold"), Add<QPushButton>(view, "B", "Blink")},
        {"check box", 'x', Add<QCheckBox>(view, "X", "Convert PC-98"), Add<QCheckBox>(view, "X", "Extend")},
        {"radio button", 'r', Add<QRadioButton>(view, "R", "Red"), Add<QRadioButton>(view, "R", "Rose")},
        {"text field", 'n', Add<QLineEdit>(view, "N", "Name:"), Add<QLineEdit>(view, "N", "Number:")},
    };
    // A disabled group keeps its controls from changing as well.
    auto* group = new QWidget(view);
    group->setGeometry(150, 100, 150, 40);
    QCheckBox* inGroup = Add<QCheckBox>(group, "G", "Grid");
    QCheckBox* afterGroup = Add<QCheckBox>(view, "G", "Grey");
    group->setEnabled(false);
    group->show();

    auto changed = [](QWidget* w) {
        auto* button = qobject_cast<QAbstractButton*>(w);
        return w->hasFocus() || (button && (button->isDown() || button->isChecked()));
    };
    for (const Twins& t : twins) {
        SCOPED_TRACE(t.kind);
        t.disabled->setEnabled(false);
        std::vector<std::unique_ptr<QSignalSpy>> clicks;
        for (QWidget* w : {t.disabled, t.enabled})
            if (auto* button = qobject_cast<QAbstractButton*>(w))
                clicks.push_back(std::make_unique<QSignalSpy>(button, &QAbstractButton::clicked));
        EXPECT_EQ(view->ApplyShortCut(view, t.letter, 0), 0);
        EXPECT_FALSE(changed(t.disabled));
        EXPECT_FALSE(changed(t.enabled));
        EXPECT_TRUE(notes->hasFocus());
        for (const auto& spy : clicks) EXPECT_EQ(spy->count(), 0);
    }
    EXPECT_EQ(view->ApplyShortCut(view, 'g', 0), 0);
    EXPECT_FALSE(changed(inGroup));
    EXPECT_FALSE(changed(afterGroup));
}

TEST(DialogWindow, SameModelMessageChangesNothingAndInvokeSendsIt)
{
    TDialogWindow dialog(Rect{0, 0, 99, 99}, "model");
    auto* message = new platform::Message(kOkMessage);
    dialog.SetMessage(message);
    dialog.SetMessage(message);  // the one already held: kept, not freed
    EXPECT_EQ(dialog.Message(), message);
    EXPECT_EQ(dialog.Message()->what, kOkMessage);
    EXPECT_NE(dialog.Invoke(), platform::kOk);  // no target yet

    TBasicWindow target(Rect{0, 0, 99, 99}, "target");
    dialog.SetTarget(platform::Messenger(&target));
    EXPECT_EQ(dialog.Invoke(), platform::kOk);
    EXPECT_EQ(target.CountQueued(), 1);
}

}  // namespace
