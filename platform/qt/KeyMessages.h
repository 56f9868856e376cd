#pragma once
// The key-down message ('_KYD' with "raw_char", "key" and "modifiers") of a Qt key
// event, and the modifier reader that platform::modifiers() asks in the application.
//
// The message is built from the key code and the modifiers, never from the event's
// text: with Ctrl held, the text is a control character. Ctrl is the Command key here,
// Alt the Control key that dialog accelerators use.

#include <QKeyEvent>

#include "platform/Message.h"

namespace platform {

uint32_t modifiers_from_qt(Qt::KeyboardModifiers modifiers);
Message key_down_message(int qtKey, Qt::KeyboardModifiers modifiers);
inline Message key_down_message(const QKeyEvent& event)
{
    return key_down_message(event.key(), event.modifiers());
}

// Installs a reader built on QGuiApplication::queryKeyboardModifiers(). Other threads
// (the machine's INP) get the modifiers the GUI thread saw last. Call on the GUI thread.
void install_qt_modifier_reader();

}  // namespace platform
