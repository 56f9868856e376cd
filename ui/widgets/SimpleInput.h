#pragma once
// A small dialog that asks for one line of text (a line number or a label). OK sends
// the model message with the text under "SISmplIptTxt" to the target and hides the
// dialog; Cancel, Escape and the close box hide it and put back the text last sent.
// It is made once and shown again and again.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <string>

#include "ui/guibase/DialogBase.h"

// How a button is sized when its label is set.
enum button_width : int32_t {
    kButtonWidthFixed = 0,   // 80 wide
    kButtonWidthSame = 1,    // both fitted to their labels, then both as wide as the wider
    kButtonWidthFitted = 2,  // the relabelled button fitted to its label
};

// Which button SetButtonLabel relabels.
enum file_panel_button : int32_t {
    B_CANCEL_BUTTON = 0,
    B_DEFAULT_BUTTON = 1,
};

inline constexpr const char* kSimpleInputTextField = "SISmplIptTxt";

class TSimpleInputView : public TDialogView {
public:
    // A mode outside 0 to 2 counts as 0.
    TSimpleInputView(platform::Rect frame, int32_t mode);
    ~TSimpleInputView() override;

    void MessageReceived(platform::Message* message) override;
    void AttachedToWindow() override;
    // Escape clicks Cancel.
    void ShortCutDown(int32_t rawChar, int32_t key) override;
    virtual void ButtonCancelClicked();
    virtual void ButtonOKClicked();

    // Any `which` but the two buttons' changes nothing.
    void SetButtonLabel(int32_t which, const std::string& label);
    void AdjustButtonWidth(QPushButton* button);
    void AdjustButtonArrange();

    std::string Text() const;
    void SetText(const std::string& text);
    void SetLabel(const std::string& label);
    void SelectAll();

    QPushButton* CancelButton() const { return mCancel; }
    QPushButton* DefaultButton() const { return mDefault; }
    QLineEdit* TextField() const { return mField; }

private:
    // The x where the field begins, from the text control's left edge.
    void SetDivider(float divider);

    int32_t mMode;
    QPushButton* mDefault;
    QPushButton* mCancel;
    std::string mLastText;
    QLabel* mFieldLabel;
    QLineEdit* mField;
};

class TSimpleInputWindow : public TDialogWindow {
public:
    // Keeps the frame's top-left corner and takes the view's size, 250 by 72.
    TSimpleInputWindow(platform::Rect frame, const char* title, int32_t mode);
    ~TSimpleInputWindow() override;

    // Closing acts as Cancel; the window is only hidden.
    bool QuitRequested() override;
    // Shows the text last sent (or put back), all selected, in the focused field.
    void Appear() override;

    void SetLabel(const std::string& label) { mView->SetLabel(label); }
    void SetText(const std::string& text) { mView->SetText(text); }
    std::string Text() const { return mView->Text(); }
    void SetButtonLabel(int32_t which, const std::string& label) { mView->SetButtonLabel(which, label); }
    TSimpleInputView* View() const { return mView; }

private:
    TSimpleInputView* mView;
};
