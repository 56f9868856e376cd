#pragma once
// The two one-line input dialogs of the application: Go to Line ('gtlr') and Run
// with Line Number ('rnlr'). Each sends the typed text under "SISmplIptTxt" to the
// editor view.

#include <memory>

#include "ui/widgets/SimpleInput.h"

inline constexpr uint32_t kGoToLineDialogCode = platform::fourcc("gtlr");
inline constexpr uint32_t kRunLineDialogCode = platform::fourcc("rnlr");

enum class TLineInputKind { GoToLine, RunLine };

// Makes the dialog at `frame` with its model message, target and labels.
std::unique_ptr<TSimpleInputWindow> make_line_input_dialog(TLineInputKind kind, platform::Rect frame,
                                                           const platform::Messenger& target);

// Sets the title, the field label and the buttons from the locale and the user's
// accelerator format.
void set_line_input_labels(TSimpleInputWindow* dialog, TLineInputKind kind);
