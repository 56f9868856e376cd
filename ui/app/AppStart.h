#pragma once
// What the windowed application does once Qt is up and before its application object
// is made: where the executable lives, the reader of the held modifier keys (the
// settings are loaded next, and Shift+Ctrl+Alt+Meta held at start resets them), and
// the preferences and exit states from their files.

// `argv[0]` gives the executable; a missing or damaged file leaves the defaults.
void prepare_application(int argc, char** argv);
