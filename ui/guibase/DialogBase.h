#pragma once
// The bases of the program's dialogs, and the visible press of a button.
//
// A dialog window holds a target and a model message and sends its result with Invoke.
// Its short-cut keys need no table: Alt plus a letter presses the control whose label
// shows that letter (made with merge_accelerator_key), Enter presses the focused or the
// default button, and each dialog adds its own keys (Escape for Cancel, a function key)
// in its view's ShortCutDown. The keys reach the dialog view through the window's
// TShortCutFilter, taken away from the focused control before it sees them.

#include <QAbstractButton>

#include "ui/guibase/GUIBase.h"

// The dialogs' button codes, sent to their own view.
inline constexpr uint32_t kOkMessage = platform::fourcc("_ok");
inline constexpr uint32_t kCancelMessage = platform::fourcc("_cnc");
inline constexpr uint32_t kDefaultsMessage = platform::fourcc("_dfl");

class TDialogWindow : public TBasicWindow {
public:
    TDialogWindow(platform::Rect frame, const char* title);
    ~TDialogWindow() override;

    platform::Messenger Target() const { return mTarget; }
    void SetTarget(const platform::Messenger& target) { mTarget = target; }
    // The model message, still the window's.
    platform::Message* Message() const { return mMessage.get(); }
    // Takes ownership of `message` (may be null); giving the message already held
    // changes nothing. Always 0.
    platform::status_t SetMessage(platform::Message* message);
    // Sends `message`, or the model message when null, to the target.
    platform::status_t Invoke(const platform::Message* message = nullptr);

    // Adds '_KYD' (KeyDown) to what TBasicWindow handles.
    void MessageReceived(platform::Message* message) override;
    // Hands "raw_char" and "key" to the first view's ShortCutDown when it is a dialog view.
    virtual void KeyDown(platform::Message* message);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    platform::Messenger mTarget;
    std::unique_ptr<platform::Message> mMessage;
};

class TDialogView : public TBasicView {
public:
    TDialogView(platform::Rect frame, const char* name, uint32_t resizingMode);

    // Enter presses the focused button, types a line break into a focused free text
    // area, or presses the default button; any other key goes to ApplyShortCut.
    virtual void ShortCutDown(int32_t rawChar, int32_t key);
    // Presses the first control below `parent`, depth first, whose label's accelerator
    // key is `rawChar`: 0 when one was found, -1 otherwise. A disabled control (or one
    // in a disabled group) is found like any other but left as it is.
    int32_t ApplyShortCut(const QWidget* parent, int32_t rawChar, int32_t key) const;
    // Makes this view the target of `view`, when it is a control, and of the controls
    // below it. Without `force` a control that targets another handler keeps it; one
    // with no target or targeting its own window is retargeted. A control's own parts
    // (the field of a spin box) are not looked into.
    void SetTargetToThis(QWidget* view, bool force) const;
};

// Shows the button pushed for 50 ms, then releases and clicks it; the GUI thread
// goes on meanwhile. A null button is ignored.
void click_button(QAbstractButton* button);
