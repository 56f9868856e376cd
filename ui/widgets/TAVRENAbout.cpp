#include "ui/widgets/TAVRENAbout.h"

#include <QPainter>

#include "platform/Locale.h"
#include "ui/guibase/AcceleratorLabels.h"
#include "ui/guibase/AppIcons.h"
#include "ui/guibase/ControlLabels.h"
#include "ui/guibase/GeometryQt.h"
#include "ui/guibase/SpyFilter.h"

namespace {

QLabel* centred_line(QWidget* parent, const char* name, platform::Rect frame)
{
    auto* line = new QLabel(parent);
    line->setObjectName(QString::fromLatin1(name));
    line->setAlignment(Qt::AlignCenter);
    line->setGeometry(to_qrect(frame));
    return line;
}

QFrame* separator(QWidget* parent, const char* name, platform::Rect frame)
{
    auto* line = new QFrame(parent);
    line->setObjectName(QString::fromLatin1(name));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(to_qrect(frame));
    return line;
}

QString text_of(const std::string& key)
{
    return QString::fromStdString(platform::get_string(key));
}

}  // namespace

// TTAVRENAboutView

TTAVRENAboutView::TTAVRENAboutView(platform::Rect frame) : TDialogView(frame, "AboutView", kFollowNone) {}

TTAVRENAboutView::~TTAVRENAboutView() = default;

void TTAVRENAboutView::MessageReceived(platform::Message* message)
{
    if (message->what == kOkMessage || message->what == kCancelMessage) {
        ButtonOKClicked();
        return;
    }
    TDialogView::MessageReceived(message);
}

int32_t TTAVRENAboutView::SetIAPRef(TInterAppPrefs* prefs)
{
    mIAPs = prefs;
    return 0;
}

void TTAVRENAboutView::ButtonOKClicked()
{
    if (TBasicWindow* window = Window()) window->Hide();
}

// TAppInfoView

TAppInfoView::TAppInfoView(platform::Rect frame) : TDialogView(frame, "AppInfoView", kFollowNone)
{
    resize(321, 197);
    mName = centred_line(this, "StrViewAppName", {50, 20, 230, 32});
    mVersion = centred_line(this, "StrViewAppVer", {240, 20, 310, 32});
    mTranslator = centred_line(this, "StrViewCright", {10, 80, 310, 92});
    mSep1 = separator(this, "BoxSep1", {0, 105, 320, 106});
    mSep2 = separator(this, "BoxSep2", {0, 195, 320, 196});
    // A missing icon leaves a transparent image: the space stays empty.
    get_icons(&mIcon, nullptr);
}

TAppInfoView::~TAppInfoView() = default;

void TAppInfoView::AttachedToWindow()
{
    if (TBasicWindow* window = Window()) {
        window->AddCommonFilter(new TSpyFilter(platform::kLanguageChangedMessage, platform::Messenger(this)));
        window->AddCommonFilter(new TSpyFilter(kIAPChangedMessage, platform::Messenger(this)));
    }
}

void TAppInfoView::LanguageChanged()
{
    TDialogView::LanguageChanged();
    SetAppInfo();
    SetTranslatorInfo();
}

void TAppInfoView::SetAppInfo(const char* name, const char* version)
{
    mAppName = name ? name : "";
    mAppVersion = version ? version : "";
    SetAppInfo();
}

int32_t TAppInfoView::SetAppInfo()
{
    mName->setText(text_of(mAppName));
    mVersion->setText(text_of(mAppVersion));
    return 0;
}

void TAppInfoView::SetTranslatorInfo(const char* text)
{
    mTranslatorTemplate = text ? text : "";
    SetTranslatorInfo();
}

int32_t TAppInfoView::SetTranslatorInfo()
{
    const std::string translator = locale_text_with_default("$TranslatorName$", "TAVREN");
    std::string line = platform::get_string(mTranslatorTemplate);
    line = platform::replace_placeholder(line, "%LangNameInNative%",
                                         locale_text_with_default("$LangNameInNative$", "English"));
    line = platform::replace_placeholder(line, "%TranslatorName%", translator);
    mTranslator->setText(QString::fromStdString(line));
    return 0;
}

int32_t TAppInfoView::SetIAPRef(TInterAppPrefs* prefs)
{
    mIAPs = prefs;
    if (prefs) prefs->AddObserver(platform::Messenger(this));
    return 0;
}

void TAppInfoView::paintEvent(QPaintEvent* event)
{
    TDialogView::paintEvent(event);
    if (mIcon.isNull()) return;
    QPainter painter(this);
    painter.drawImage(QPoint(10, 10), mIcon);
}

// TSimpleAboutView

TSimpleAboutView::TSimpleAboutView(platform::Rect frame, TAppInfoView* info)
    : TTAVRENAboutView(frame), mInfo(info ? info : new TAppInfoView(platform::Rect{0, 0, 1, 1}))
{
    mInfo->setParent(this);
    mOK = new QPushButton(this);
    mOK->setObjectName(QStringLiteral("ButtonOK"));
    mOK->setGeometry(to_qrect(platform::Rect{120, 180, 200, 202}));
    const platform::Rect infoFrame = from_qrect(mInfo->geometry());
    const float buttonRight = static_cast<float>(mOK->width() - 1);
    mOK->move(static_cast<int>((infoFrame.right - buttonRight) * 0.5f), static_cast<int>(infoFrame.bottom) + 15);
    resize(static_cast<int>(infoFrame.right) + 1, mOK->geometry().bottom() + 10 + 1);
    QObject::connect(mOK, &QPushButton::clicked, [this] { platform::Messenger(this).SendMessage(kOkMessage); });
    SetViewLabel();
    mOK->setDefault(true);
}

TSimpleAboutView::~TSimpleAboutView() = default;

void TSimpleAboutView::AttachedToWindow()
{
    TBasicWindow* window = Window();
    if (!window) return;
    window->AddCommonFilter(new TSpyFilter(platform::kLanguageChangedMessage, platform::Messenger(this)));
    // The information view is this view's child: it joins the window's handlers here.
    window->AddHandler(mInfo);
    mInfo->AttachedToWindow();
}

void TSimpleAboutView::AllAttached()
{
    mOK->setFocus();
}

void TSimpleAboutView::LanguageChanged()
{
    TTAVRENAboutView::LanguageChanged();
    SetViewLabel();
}

void TSimpleAboutView::SetViewLabel()
{
    set_control_label(mOK, platform::get_string("OK"));
}

void TSimpleAboutView::SetAppInfo(const char* name, const char* version)
{
    mInfo->SetAppInfo(name, version);
}

int32_t TSimpleAboutView::SetIAPRef(TInterAppPrefs* prefs)
{
    mIAPs = prefs;
    return mInfo->SetIAPRef(prefs);
}

void TSimpleAboutView::SetTranslatorInfo(const char* text)
{
    mInfo->SetTranslatorInfo(text);
}

// TTAVRENAboutWindow

TTAVRENAboutWindow::TTAVRENAboutWindow(platform::Rect frame, TTAVRENAboutView* view) : TDialogWindow(frame, "")
{
    const platform::Rect atOrigin{0, 0, frame.right - frame.left, frame.bottom - frame.top};
    mView = view ? view : new TSimpleAboutView(atOrigin);
    mView->move(0, 0);
    setFixedSize(mView->size());
    AddChild(mView);
    mView->AllAttached();
}

TTAVRENAboutWindow::~TTAVRENAboutWindow() = default;

void TTAVRENAboutWindow::LanguageChanged()
{
    SetWinTitle();
}

void TTAVRENAboutWindow::SetAppInfo(const char* name, const char* version)
{
    mAppName = name ? name : "";
    SetWinTitle();
    mView->SetAppInfo(name, version);
}

void TTAVRENAboutWindow::SetIAPRef(TInterAppPrefs* prefs)
{
    mView->SetIAPRef(prefs);
}

void TTAVRENAboutWindow::SetTranslatorInfo(const char* text)
{
    mView->SetTranslatorInfo(text);
}

void TTAVRENAboutWindow::SetWinTitle()
{
    std::string title = platform::replace_placeholder(platform::get_string("About %AppName%"), "%AppName%",
                                                      platform::get_string(mAppName));
    setWindowTitle(QString::fromStdString(title));
}
