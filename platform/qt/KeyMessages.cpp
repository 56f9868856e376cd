#include "platform/qt/KeyMessages.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QThread>
#include <atomic>

#include "platform/Modifiers.h"
#include "platform/SystemMessages.h"

namespace platform {

namespace {

struct KeyChar {
    int qtKey;
    int32_t rawChar;
};

// Keys without a character of their own.
constexpr KeyChar kSpecialKeys[] = {
    {Qt::Key_Backspace, kBackspaceChar},
    {Qt::Key_Tab, kTabChar},
    {Qt::Key_Backtab, kTabChar},
    {Qt::Key_Return, kEnterChar},
    {Qt::Key_Enter, kEnterChar},
    {Qt::Key_Escape, kEscapeChar},
    {Qt::Key_Home, 0x01},
    {Qt::Key_End, 0x04},
    {Qt::Key_Insert, 0x05},
    {Qt::Key_PageUp, 0x0B},
    {Qt::Key_PageDown, 0x0C},
    {Qt::Key_Left, 0x1C},
    {Qt::Key_Right, 0x1D},
    {Qt::Key_Up, 0x1E},
    {Qt::Key_Down, 0x1F},
    {Qt::Key_Delete, 0x7F},
};

int32_t function_key_code(int qtKey)
{
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) return kF1Key + (qtKey - Qt::Key_F1);
    if (qtKey == Qt::Key_Print) return kPrintKey;
    if (qtKey == Qt::Key_ScrollLock) return kScrollKey;
    if (qtKey == Qt::Key_Pause) return kPauseKey;
    return 0;
}

int32_t raw_char_of(int qtKey)
{
    for (const KeyChar& special : kSpecialKeys)
        if (special.qtKey == qtKey) return special.rawChar;
    if (function_key_code(qtKey) != 0) return kFunctionKeyChar;
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 'a' + (qtKey - Qt::Key_A);
    // Qt's codes of the other printable ASCII keys are their characters.
    if (qtKey >= Qt::Key_Space && qtKey <= Qt::Key_AsciiTilde) return qtKey;
    return 0;
}

std::atomic<uint32_t> gLastSeenModifiers{0};

// Keeps the modifiers of every key event for the readers on other threads.
class ModifierWatcher : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)
            gLastSeenModifiers.store(modifiers_from_qt(static_cast<QKeyEvent*>(event)->modifiers()));
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

uint32_t modifiers_from_qt(Qt::KeyboardModifiers modifiers)
{
    uint32_t result = 0;
    if (modifiers & Qt::ShiftModifier) result |= kShiftKey;
    if (modifiers & Qt::ControlModifier) result |= kCommandKey;
    if (modifiers & Qt::AltModifier) result |= kControlKey;
    if (modifiers & Qt::MetaModifier) result |= kOptionKey;
    return result;
}

Message key_down_message(int qtKey, Qt::KeyboardModifiers modifiers)
{
    Message message(kKeyDownMessage);
    message.AddInt32("raw_char", raw_char_of(qtKey));
    message.AddInt32("key", function_key_code(qtKey));
    message.AddInt32("modifiers", static_cast<int32_t>(modifiers_from_qt(modifiers)));
    return message;
}

void install_qt_modifier_reader()
{
    static QPointer<ModifierWatcher> watcher;
    if (!watcher) {
        watcher = new ModifierWatcher;
        watcher->setParent(QCoreApplication::instance());
        QCoreApplication::instance()->installEventFilter(watcher);
    }
    set_modifier_reader([] {
        QCoreApplication* app = QCoreApplication::instance();
        if (app && QThread::currentThread() == app->thread())
            return modifiers_from_qt(QGuiApplication::queryKeyboardModifiers());
        return gLastSeenModifiers.load();
    });
}

}  // namespace platform
