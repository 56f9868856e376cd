#pragma once
// The Renumber dialog's view: the first new line number, the lowest old number from
// which lines are renumbered, and the step. OK hides the dialog and sends 'rnmr'
// ("NewLine", "OldLine", "Step", each at least 1) to the window's target; Cancel,
// Escape and the close box only hide it. The fields keep their texts between uses.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "session/RenumberFields.h"
#include "ui/guibase/DialogBase.h"

inline constexpr uint32_t kRenumberDialogCode = platform::fourcc("rnmr");

class TRenumView : public TDialogView {
public:
    explicit TRenumView(platform::Rect frame);
    ~TRenumView() override;

    void MessageReceived(platform::Message* message) override;
    // Copies '_BLC' and '_ipc' of the window to this view and focuses New Line.
    void AttachedToWindow() override;
    void IAPChanged(platform::Message* notice) override;
    void LanguageChanged() override;
    // Escape clicks Cancel.
    void ShortCutDown(int32_t rawChar, int32_t key) override;

    bool SetViewProp();
    bool SetViewLabel();
    // The values the fields give; each field then shows its value.
    TRenumberValues CompoToParam();
    void ApplyRenum();
    void ButtonOKClicked();
    void ButtonCancelClicked();

    QLineEdit* NewLineField() const { return mNewLine; }
    QLineEdit* OldLineField() const { return mOldLine; }
    QLineEdit* StepField() const { return mStep; }
    QPushButton* OKButton() const { return mOK; }
    QPushButton* CancelButton() const { return mCancel; }

private:
    QLineEdit* AddField(const char* name, platform::Rect frame);

    QPushButton* mCancel;
    QPushButton* mOK;
    QLineEdit* mNewLine;
    QLineEdit* mOldLine;
    QLineEdit* mStep;
};
