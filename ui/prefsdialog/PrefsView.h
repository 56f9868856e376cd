#pragma once
// The preferences dialog's view: four pages of controls that edit gPrefs live. Every
// change is written to gPrefs at once and announced to the application through the
// message sink ('pmfc', 'prfc', 'pdfc' for the font sizes 1.5 s after the last
// change, the other notices at once). OK keeps and saves the values, Cancel (also
// Escape and the close box) puts back those last confirmed and announces what that
// changed, Defaults puts every preference to its default, Help asks for the help.
//
// The view keeps a snapshot of the preferences as last confirmed: taken when it is
// built and on every OK; its MIDI outputs also follow connections made outside the
// dialog ('ummr', 'rmmc'), so that Cancel does not undo them.

#include <QElapsedTimer>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "foundation/Common.h"
#include "foundation/DelaySender.h"
#include "platform/MidiRoster.h"
#include "session/AppMessageSink.h"
#include "ui/guibase/DialogBase.h"
#include "ui/prefsdialog/PrefsLayout.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QSlider;
class QTabWidget;
class QToolButton;

// What the dialog uses from the rest of the program.
struct TPrefsServices {
    // Where the notices and the Help request go (the application). Required.
    TAppMessageSink* sink = nullptr;
    // The outputs the MIDI-output menu lists; null: the menu stays empty.
    platform::MidiRoster* roster = nullptr;
    // The installed font families, in the order the menus list them; empty: the
    // system's (QFontDatabase::families).
    std::function<QStringList()> fontFamilies;
    // The clock the font-size notices wait by; null: the system clock. It must
    // outlive the dialog.
    const platform::TimerClock* clock = nullptr;
};

// How long the font-size notices wait for the typing to pause.
inline constexpr platform::bigtime_t kPrefsFontNoticeDelay = 1500000;

class TPrefsView : public TDialogView {
public:
    explicit TPrefsView(const TPrefsServices& services);
    ~TPrefsView() override;

    void MessageReceived(platform::Message* message) override;
    // Lets the window's language and shared-preference notices reach the view too.
    void AttachedToWindow() override;
    void IAPChanged(platform::Message* notice) override;
    void LanguageChanged() override;
    // F1 clicks Help, Escape Cancel; other keys go to the dialog's short cuts.
    void ShortCutDown(int32_t rawChar, int32_t key) override;

    // The delayed notices wait in the window's looper from now on, `delay`
    // microseconds after the last change of their kind.
    void SetDelaySender(platform::bigtime_t delay = kPrefsFontNoticeDelay);
    // How many delayed notices wait now.
    int32_t CountPendingNotices() const { return mDelaySender->CountPending(); }

    // Every visible label, in the accelerator format of the shared preferences.
    void SetViewLabel();
    // Shows every value of gPrefs in the controls.
    void UpdateCompos();
    // Rebuilds the MIDI-output menu from the roster, and marks it.
    void SetMFieldMidiOut();
    void UpdateMFieldMidiOut();

    void ButtonOKClicked();
    void ButtonCancelClicked();
    void ButtonDefaultsClicked();
    void ButtonHelpClicked();

    // A control by its name, or null.
    QWidget* Control(const char* name) const;
    QTabWidget* TabView() const { return mTabView; }
    // The MIDI-output menu's items.
    QMenu* MidiOutMenu() const;
    const TPrefs& Snapshot() const { return mSnapshot; }

private:
    void BuildControls();
    QWidget* MakeControl(QWidget* parent, const PrefsControlRow& row);
    // Posts a control's message to this view.
    void Invoke(const platform::Message& message);

    void SetMFieldFont();
    void SetMFieldDefaultEncoding();
    void SetMFieldCompatiMode();
    void UpdateMFieldFontFamily(QComboBox* field, const std::string& family);
    void UpdateMFieldByIndex(QComboBox* field, int32_t index);
    void UpdateCBoxConvert98();
    void UpdateTxtCtrlAutoSaveInterval();
    void UpdateSpeedControlCompos();
    void UpdateSliderSpeedControl();
    void PlaceAutoSaveRow();

    // The handlers of the controls' messages.
    void FontFamilyChanged(QComboBox* field, void (TPrefs::*set)(std::string_view), uint32_t notice);
    void FontSizeChanged(QLineEdit* field, platform::CopyableAtomic<float>& size, uint32_t notice);
    void MFieldDefaultEncodingChanged(const platform::Message& message);
    void MFieldCompatiModeChanged(const platform::Message& message);
    void TxtCtrlAutoSaveIntervalChanged();
    void TxtCtrlMidiLatencyChanged();
    void TxtCtrlSsgVolumeChanged();
    void SliderSpeedControlChanged();
    void TxtCtrlSpeedControlChanged();
    void MFieldMidiOutChanged(const platform::Message& message);
    void UpdateMenuMidiOutRqtd();
    void RecreateMenuMidiOutRqtd();

    void NotifyPrefChange(const platform::Message& notice, bool delayed);
    void NotifyPrefChange(uint32_t what, bool delayed = false);
    // The notices for what differs between the two, in the order the receivers expect.
    void NotifyPrefDiffe(const TPrefs& before, const TPrefs& after);

    void SetTxtCtrlText(QLineEdit* field, const std::string& text);
    std::string FieldText(const QLineEdit* field) const;

    TPrefsServices mServices;
    std::map<std::string, QWidget*> mControls;
    QTabWidget* mTabView = nullptr;
    QCheckBox* mCBoxAutoSaveBeforeRun = nullptr;
    QCheckBox* mCBoxAutoSaveRegular = nullptr;
    QCheckBox* mCBoxBreakAtStart = nullptr;
    QCheckBox* mCBoxConvert98 = nullptr;
    QCheckBox* mCBoxShowSplash = nullptr;
    QCheckBox* mCBoxSpeedControl = nullptr;
    QCheckBox* mCBoxWordWrap = nullptr;
    QComboBox* mMFieldCompatiMode = nullptr;
    QComboBox* mMFieldDebugWinFontFamily = nullptr;
    QComboBox* mMFieldDefaultEncoding = nullptr;
    QComboBox* mMFieldMainWinFontFamily = nullptr;
    QToolButton* mMFieldMidiOut = nullptr;
    QComboBox* mMFieldRunWinFontFamily = nullptr;
    QSlider* mSliderSpeedControl = nullptr;
    QLabel* mStrViewAutoSaveInterval = nullptr;
    QLabel* mStrViewSpeedControl = nullptr;
    QLineEdit* mTxtCtrlAutoSaveInterval = nullptr;
    QLineEdit* mTxtCtrlDebugWinFontSize = nullptr;
    QLineEdit* mTxtCtrlMainWinFontSize = nullptr;
    QLineEdit* mTxtCtrlMidiLatency = nullptr;
    QLineEdit* mTxtCtrlRunWinFontSize = nullptr;
    QLineEdit* mTxtCtrlSpeedControl = nullptr;
    QLineEdit* mTxtCtrlSsgVolume = nullptr;
    QLabel* mSliderLabel = nullptr;
    QLabel* mSliderMinLabel = nullptr;
    QLabel* mSliderMaxLabel = nullptr;

    // Slider moves are taken at most every 20 ms while the thumb is dragged.
    QElapsedTimer mSliderSent;
    QTimer mSliderPending;

    // Passes the delayed notices on to the sink from the window's looper.
    class NoticeRelay;
    std::unique_ptr<NoticeRelay> mRelay;
    std::unique_ptr<TDelaySender> mDelaySender;
    TPrefs mSnapshot;
};
