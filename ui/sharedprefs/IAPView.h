#pragma once
// The only view of the shared-preferences window. It shows one component for each
// shared preference that the running applications offered it ('iacr'), each from the
// description that the item made, and below them Defaults, Cancel and OK.
//
// For every component it keeps three messages: the value confirmed last (current),
// the value in force in the applications now (working) and the item's default. A
// change made with a control is broadcast at once to every application as '_ipc'
// (and becomes the working value); OK makes the working values current; Cancel, the
// close box and Escape put the current ones back; Defaults puts the defaults in force.
//
// The view has its own registry with the accelerator-format item, signed "IAPView" so
// that it never writes the shared file; it follows the window's own control changes
// only and gives the format of this window's labels.

#include <QPushButton>
#include <optional>
#include <string>
#include <vector>

#include "foundation/InterAppPrefs.h"
#include "ui/guibase/DialogBase.h"
#include "ui/sharedprefs/IAPComponent.h"

// Requests that reach the view through the window's port.
inline constexpr uint32_t kIAPActivateWindowMessage = platform::fourcc("iawr");
inline constexpr uint32_t kIAPAddComponentsMessage = platform::fourcc("iacr");
// Sent by a component's control when the user changes it.
inline constexpr uint32_t kIAPControlChangedMessage = platform::fourcc("ictc");

class TIAPView : public TDialogView {
public:
    explicit TIAPView(platform::Rect frame);
    ~TIAPView() override;

    void MessageReceived(platform::Message* message) override;
    // Lets the window's language-changed notice reach the view too.
    void AttachedToWindow() override;
    void LanguageChanged() override;
    // Escape clicks Cancel; other keys go to the dialog's short cuts.
    void ShortCutDown(int32_t rawChar, int32_t key) override;

    // The entry of each component that SetComponents puts in force.
    enum EntryIndex { kCurrent = 0, kWorking = 1, kDefault = 2 };

    // 'iacr': adds the components whose names are not shown yet, then relabels and fits.
    void IAPAddComponentsRqtd(platform::Message* message);
    // Puts the entry `index` (kCurrent or kDefault) in force for every component.
    void SetComponents(int index);
    void SetViewLabels();
    // 'ictc': the control's new state, broadcast as '_ipc'.
    void IAPControlChanged(platform::Message* message);
    // 'iawr': shows the window, or brings it forward when shown.
    void IAPActivateWindowRqtd();
    void ButtonOKClicked();
    void ButtonCancelClicked();
    void ButtonDefaultsClicked();
    // Broadcasts a notice to every running application, this one included.
    void SendMessage(const platform::Message& notice) const;

    int32_t CountComponents() const { return static_cast<int32_t>(mComponents.size()); }
    // The component of an item, or null.
    TIAPComponent* FindComponent(const std::string& name) const;
    QWidget* ButtonContainer() const { return mButtonContainer; }
    QPushButton* DefaultsButton() const { return mDefaults; }
    QPushButton* CancelButton() const { return mCancel; }
    QPushButton* OKButton() const { return mOK; }

private:
    struct Component {
        std::string name;
        std::optional<platform::Message> entries[3];
        TIAPComponent* view = nullptr;
    };

    Component* Find(const std::string& name);
    TIAPComponent* MakeComponent(const TIAPConfigView& description);
    QPushButton* MakeButton(const char* name, uint32_t what);
    // Stacks the components from the top, puts the buttons below them and sizes the
    // view and its window to hold them all.
    void Fit();

    QPushButton* mCancel = nullptr;
    QPushButton* mDefaults = nullptr;
    QPushButton* mOK = nullptr;
    std::vector<Component> mComponents;
    QWidget* mButtonContainer = nullptr;
    TInterAppPrefs mOwnPrefs;
};
