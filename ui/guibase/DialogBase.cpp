#include "ui/guibase/DialogBase.h"

#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

#include "platform/qt/KeyMessages.h"
#include "ui/guibase/AcceleratorLabels.h"
#include "ui/guibase/ControlLabels.h"
#include "ui/guibase/ControlTarget.h"
#include "ui/guibase/ShortCutFilter.h"

namespace {

// How long click_button shows a button pushed.
constexpr int kButtonPressMs = 50;

// The kinds of control that ApplyShortCut tells apart, in the order they are tried.
enum class ControlKind { None, Button, CheckBox, MenuField, RadioButton, OtherControl };

ControlKind kind_of(const QWidget* widget)
{
    if (qobject_cast<const QCheckBox*>(widget)) return ControlKind::CheckBox;
    if (qobject_cast<const QRadioButton*>(widget)) return ControlKind::RadioButton;
    if (qobject_cast<const QComboBox*>(widget)) return ControlKind::MenuField;
    if (auto* tool = qobject_cast<const QToolButton*>(widget); tool && tool->menu()) return ControlKind::MenuField;
    if (qobject_cast<const QAbstractButton*>(widget)) return ControlKind::Button;
    if (qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QAbstractSlider*>(widget) ||
        qobject_cast<const QAbstractSpinBox*>(widget))
        return ControlKind::OtherControl;
    return ControlKind::None;
}

std::string label_of(const QWidget* widget)
{
    std::string label = control_label(widget);
    if (label.empty())
        if (auto* button = qobject_cast<const QAbstractButton*>(widget))
            label = button->text().replace(QStringLiteral("&&"), QStringLiteral("&")).toStdString();
    return label;
}

// A free text area, not the field of a labelled text control.
QWidget* free_text_area(QWidget* focus)
{
    for (QWidget* w = focus; w; w = w->parentWidget()) {
        if (qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QTextEdit*>(w)) return w;
        if (w->isWindow()) break;
    }
    return nullptr;
}

QPushButton* default_button_of(QWidget* window)
{
    for (QPushButton* button : window->findChildren<QPushButton*>())
        if (button->isDefault()) return button;
    return nullptr;
}

}  // namespace

// TDialogWindow

TDialogWindow::TDialogWindow(platform::Rect frame, const char* title) : TBasicWindow(frame, title)
{
    AddCommonFilter(new TShortCutFilter(nullptr));
    qApp->installEventFilter(this);
}

TDialogWindow::~TDialogWindow() = default;

platform::status_t TDialogWindow::SetMessage(platform::Message* message)
{
    if (message != mMessage.get()) mMessage.reset(message);
    return 0;
}

platform::status_t TDialogWindow::Invoke(const platform::Message* message)
{
    const platform::Message* toSend = message ? message : mMessage.get();
    if (!toSend) return platform::kBadValue;
    return mTarget.SendMessage(*toSend);
}

void TDialogWindow::MessageReceived(platform::Message* message)
{
    if (message->what == platform::kKeyDownMessage) {
        KeyDown(message);
        return;
    }
    TBasicWindow::MessageReceived(message);
}

void TDialogWindow::KeyDown(platform::Message* message)
{
    auto* view = dynamic_cast<TDialogView*>(ChildAt(0));
    if (!view) return;
    int32_t rawChar = 0;
    int32_t key = 0;
    message->FindInt32("raw_char", &rawChar);
    message->FindInt32("key", &key);
    view->ShortCutDown(rawChar, key);
}

// Short-cut keys are taken before the focused control sees them and go through the
// window's queue and filters like any message; other keys reach the control as usual.
bool TDialogWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
    if (static_cast<QWidget*>(watched)->window() != this) return false;
    platform::Message keyDown = platform::key_down_message(*static_cast<QKeyEvent*>(event));
    if (!TShortCutFilter::IsShortCutKey(keyDown)) return false;
    PostMessage(keyDown);
    return true;
}

// TDialogView

TDialogView::TDialogView(platform::Rect frame, const char* name, uint32_t resizingMode)
    : TBasicView(frame, name, resizingMode)
{
    setBackgroundRole(QPalette::Window);
    setAutoFillBackground(true);
}

void TDialogView::ShortCutDown(int32_t rawChar, int32_t key)
{
    if (rawChar != platform::kEnterChar) {
        ApplyShortCut(this, rawChar, key);
        return;
    }
    QWidget* focus = window()->focusWidget();
    if (auto* button = qobject_cast<QPushButton*>(focus)) {
        click_button(button);
    } else if (QWidget* area = free_text_area(focus)) {
        if (auto* plain = qobject_cast<QPlainTextEdit*>(area)) plain->insertPlainText(QStringLiteral("\n"));
        if (auto* rich = qobject_cast<QTextEdit*>(area)) rich->insertPlainText(QStringLiteral("\n"));
    } else {
        click_button(default_button_of(window()));
    }
}

int32_t TDialogView::ApplyShortCut(const QWidget* parent, int32_t rawChar, int32_t key) const
{
    for (QObject* object : parent->children()) {
        if (!object->isWidgetType()) continue;
        auto* child = static_cast<QWidget*>(object);
        ControlKind kind = kind_of(child);
        // A letter byte of 0x80 or more is negative here and never matches.
        char letter = kind == ControlKind::None ? 0 : short_cut_from_label(label_of(child));
        if (letter != 0 && static_cast<int32_t>(static_cast<signed char>(letter)) == rawChar) {
            // A greyed control still takes its letter, so that a later control with the
            // same letter is not pressed instead, but it changes nothing.
            if (!child->isEnabled()) return 0;
            switch (kind) {
            case ControlKind::Button: click_button(static_cast<QAbstractButton*>(child)); break;
            case ControlKind::CheckBox: {
                auto* box = static_cast<QCheckBox*>(child);
                box->setFocus(Qt::ShortcutFocusReason);
                box->setChecked(!box->isChecked());
                emit box->clicked(box->isChecked());
                break;
            }
            case ControlKind::RadioButton: {
                auto* radio = static_cast<QRadioButton*>(child);
                radio->setFocus(Qt::ShortcutFocusReason);
                radio->setChecked(true);
                emit radio->clicked(true);
                break;
            }
            case ControlKind::MenuField:
            case ControlKind::OtherControl: child->setFocus(Qt::ShortcutFocusReason); break;
            case ControlKind::None: break;
            }
            return 0;
        }
        if (ApplyShortCut(child, rawChar, key) == 0) return 0;
    }
    return -1;
}

void TDialogView::SetTargetToThis(QWidget* view, bool force) const
{
    if (!view) return;
    if (is_control(view)) {
        platform::Messenger target = control_target(view);
        auto* window = dynamic_cast<const TBasicWindow*>(view->window());
        if (force || target == platform::Messenger() || (window && target == platform::Messenger(window)))
            set_control_target(view, platform::Messenger(this));
        return;
    }
    for (QObject* child : view->children())
        if (child->isWidgetType()) SetTargetToThis(static_cast<QWidget*>(child), force);
}

void click_button(QAbstractButton* button)
{
    if (!button) return;
    button->setDown(true);
    button->repaint();
    // The timer goes with the button when the button goes first.
    QTimer::singleShot(kButtonPressMs, button, [button] {
        button->setDown(false);
        button->click();
    });
}
