#pragma once
// Closing for good a window held through a pointer.

#include <QWidget>
#include <type_traits>

// Hides `window` at once when called on the GUI thread and destroys it once control
// is back in the event loop, so a window may close itself from one of its own
// handlers. Safe from any thread while the window exists.
void quit_window(QWidget* window);

// Quits the window that `window` points to and sets the caller's pointer to null; a
// null argument or null window changes nothing, so a second call does nothing.
template <typename Window>
void close_window(Window** window)
{
    static_assert(std::is_base_of_v<QWidget, Window>, "close_window takes a pointer to a window");
    if (!window || !*window) return;
    quit_window(*window);
    *window = nullptr;
}
