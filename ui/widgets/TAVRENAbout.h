#pragma once
// The About box: the application's icon, name and version, and a line naming the
// language of the interface and its translator, above an OK button. OK, Enter, '_cnc'
// and the close box only hide it; it is made once and shown again with Appear.

#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <string>

#include "foundation/InterAppPrefs.h"
#include "ui/guibase/DialogBase.h"

// The base of About views: OK and Cancel close the box.
class TTAVRENAboutView : public TDialogView {
public:
    explicit TTAVRENAboutView(platform::Rect frame);
    ~TTAVRENAboutView() override;

    void MessageReceived(platform::Message* message) override;
    void AttachedToWindow() override {}
    virtual void AllAttached() {}

    virtual void SetAppInfo(const char* name, const char* version) = 0;
    virtual int32_t SetIAPRef(TInterAppPrefs* prefs);
    virtual void SetTranslatorInfo(const char* text) = 0;
    virtual void ButtonOKClicked();

protected:
    TInterAppPrefs* mIAPs = nullptr;
};

// The icon and the text lines, 320 by 196.
class TAppInfoView : public TDialogView {
public:
    explicit TAppInfoView(platform::Rect frame);
    ~TAppInfoView() override;

    // Copies '_BLC' and '_ipc' of the window to this view.
    void AttachedToWindow() override;
    void LanguageChanged() override;

    void SetAppInfo(const char* name, const char* version);
    // Fills the name and version lines from the stored texts; 0.
    int32_t SetAppInfo();
    void SetTranslatorInfo(const char* text);
    // Fills the translator line from the stored template; 0.
    int32_t SetTranslatorInfo();
    int32_t SetIAPRef(TInterAppPrefs* prefs);

    QLabel* NameLine() const { return mName; }
    QLabel* VersionLine() const { return mVersion; }
    QLabel* TranslatorLine() const { return mTranslator; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The application's large icon, transparent when it cannot be read.
    QImage mIcon;
    QFrame* mSep1;
    QFrame* mSep2;
    QLabel* mName;
    QLabel* mVersion;
    QLabel* mTranslator;
    TInterAppPrefs* mIAPs = nullptr;
    std::string mAppName;
    std::string mAppVersion;
    std::string mTranslatorTemplate;
};

// The About view used here: the information view with an OK button below it.
class TSimpleAboutView : public TTAVRENAboutView {
public:
    // Makes its own information view when `info` is null.
    TSimpleAboutView(platform::Rect frame, TAppInfoView* info = nullptr);
    ~TSimpleAboutView() override;

    void AttachedToWindow() override;
    void AllAttached() override;
    void LanguageChanged() override;
    void SetViewLabel();

    void SetAppInfo(const char* name, const char* version) override;
    int32_t SetIAPRef(TInterAppPrefs* prefs) override;
    void SetTranslatorInfo(const char* text) override;

    TAppInfoView* Info() const { return mInfo; }
    QPushButton* OKButton() const { return mOK; }

private:
    QPushButton* mOK;
    TAppInfoView* mInfo;
};

class TTAVRENAboutWindow : public TDialogWindow {
public:
    // Makes a TSimpleAboutView when `view` is null; takes the view's size.
    explicit TTAVRENAboutWindow(platform::Rect frame, TTAVRENAboutView* view = nullptr);
    ~TTAVRENAboutWindow() override;

    void LanguageChanged() override;
    virtual void SetAppInfo(const char* name, const char* version);
    virtual void SetIAPRef(TInterAppPrefs* prefs);
    virtual void SetTranslatorInfo(const char* text);
    // "About %AppName%" from the locale, with the stored name.
    void SetWinTitle();

    TTAVRENAboutView* View() const { return mView; }

private:
    std::string mAppName;
    TTAVRENAboutView* mView;
};
