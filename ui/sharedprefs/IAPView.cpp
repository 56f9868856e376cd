#include "ui/sharedprefs/IAPView.h"

#include <algorithm>

#include "foundation/IAPItemAccKeyFormat.h"
#include "foundation/IAPPort.h"
#include "platform/Locale.h"
#include "ui/guibase/AcceleratorLabels.h"
#include "ui/guibase/ControlLabels.h"
#include "ui/guibase/SpyFilter.h"

namespace {

// Sizes in pixels. The button row alone is 301 by 43: right and bottom edges 300
// and 42, as a new window with no components shows.
constexpr int kMinWidth = 301;
constexpr int kContainerHeight = 43;
constexpr int kButtonWidth = 81;
constexpr int kButtonHeight = 23;
constexpr int kMargin = 10;

// The buttons, in the order they are made, each placed by its left edge's distance
// from the right edge of the container (the buttons keep to the right).
struct ButtonRow {
    const char* name;
    uint32_t what;
    int leftFromRight;
};
constexpr ButtonRow kButtons[] = {
    {"ButtonDefaults", kDefaultsMessage, 290},
    {"ButtonCancel", kCancelMessage, 180},
    {"ButtonOK", kOkMessage, 90},
};

}  // namespace

TIAPView::TIAPView(platform::Rect frame) : TDialogView(frame, "IAPView", kFollowAll)
{
    mOwnPrefs.SetAppSignatureRef("IAPView");
    mOwnPrefs.AddItem(new TIAPItemAccKeyFormat);

    mButtonContainer = new QWidget(this);
    mButtonContainer->setObjectName(QStringLiteral("ButtonContainer"));
    mButtonContainer->setBackgroundRole(QPalette::Window);
    mButtonContainer->setAutoFillBackground(true);
    mDefaults = MakeButton(kButtons[0].name, kButtons[0].what);
    mCancel = MakeButton(kButtons[1].name, kButtons[1].what);
    mOK = MakeButton(kButtons[2].name, kButtons[2].what);
    mOK->setDefault(true);
    SetViewLabels();
}

TIAPView::~TIAPView() = default;

QPushButton* TIAPView::MakeButton(const char* name, uint32_t what)
{
    auto* button = new QPushButton(mButtonContainer);
    button->setObjectName(QString::fromUtf8(name));
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, this,
                     [this, what] { platform::Messenger(this).SendMessage(what); });
    return button;
}

void TIAPView::AttachedToWindow()
{
    Window()->AddCommonFilter(new TSpyFilter(platform::kLanguageChangedMessage, platform::Messenger(this)));
    Fit();
}

void TIAPView::MessageReceived(platform::Message* message)
{
    switch (message->what) {
    case kIAPActivateWindowMessage: IAPActivateWindowRqtd(); break;
    case kIAPAddComponentsMessage: IAPAddComponentsRqtd(message); break;
    case platform::kQuitRequestedMessage:
        // The window decides: it hides and reverts, and stays.
        if (TBasicWindow* window = Window()) window->PostMessage(platform::kQuitRequestedMessage);
        break;
    case kIAPControlChangedMessage: IAPControlChanged(message); break;
    case kOkMessage: ButtonOKClicked(); break;
    case kCancelMessage: ButtonCancelClicked(); break;
    case kDefaultsMessage: ButtonDefaultsClicked(); break;
    default: TDialogView::MessageReceived(message); break;
    }
}

void TIAPView::LanguageChanged()
{
    SetViewLabels();
}

void TIAPView::ShortCutDown(int32_t rawChar, int32_t key)
{
    if (rawChar == platform::kEscapeChar) {
        click_button(mCancel);
        return;
    }
    TDialogView::ShortCutDown(rawChar, key);
}

TIAPView::Component* TIAPView::Find(const std::string& name)
{
    auto it = std::find_if(mComponents.begin(), mComponents.end(), [&](const Component& c) { return c.name == name; });
    return it == mComponents.end() ? nullptr : &*it;
}

TIAPComponent* TIAPView::FindComponent(const std::string& name) const
{
    for (const Component& component : mComponents)
        if (component.name == name) return component.view;
    return nullptr;
}

TIAPComponent* TIAPView::MakeComponent(const TIAPConfigView& description)
{
    auto* component = new TIAPComponent(description, this, [this](const platform::Message& message) {
        platform::Messenger(this).SendMessage(message);
    });
    component->show();
    return component;
}

namespace {

// The description in an entry that names the component `name`; false when the entry
// holds no description of the schema, or one of another item.
bool description_of(const platform::Message& entry, const std::string& name, TIAPConfigView* description)
{
    return read_config_view(entry, description) && description->name == name;
}

}  // namespace

void TIAPView::IAPAddComponentsRqtd(platform::Message* message)
{
    for (const std::string& name : message->FieldNames()) {
        uint32_t type;
        int32_t count;
        if (message->GetInfo(name, &type, &count) != platform::kOk || type != platform::kMessageType) continue;
        if (Find(name)) continue;  // shown already: its entries stay as they are
        platform::Message current;
        TIAPConfigView description;
        // Another application's description that we cannot build is left out whole.
        if (message->FindMessage(name, 0, &current) != platform::kOk || !description_of(current, name, &description))
            continue;
        Component component;
        component.name = name;
        component.entries[kCurrent] = current;
        component.entries[kWorking] = current;
        platform::Message fallback;
        TIAPConfigView unused;
        if (message->FindMessage(name, 2, &fallback) == platform::kOk && description_of(fallback, name, &unused))
            component.entries[kDefault] = fallback;
        component.view = MakeComponent(description);
        mComponents.push_back(std::move(component));
    }
    SetViewLabels();
}

void TIAPView::SetComponents(int index)
{
    for (Component& component : mComponents) {
        const std::optional<platform::Message>& entry = component.entries[index];
        TIAPConfigView description;
        if (!entry || !description_of(*entry, component.name, &description)) continue;
        TIAPComponent* old = component.view;
        component.view = MakeComponent(description);
        old->hide();
        old->deleteLater();
        component.entries[kWorking] = *entry;
        SendMessage(*entry);
    }
    // The rebuilt controls come without labels.
    SetViewLabels();
}

void TIAPView::SetViewLabels()
{
    std::string format;
    mOwnPrefs.GetString("AccKeyFormat2", &format);
    for (const Component& component : mComponents) {
        const std::string& controlName = component.view->ControlName();
        std::string key = controlName.substr(0, 1);
        std::string label = platform::get_string(controlName.substr(1));
        component.view->SetLabel(merge_accelerator_key(format, key, label));
    }
    set_control_label(mDefaults, merge_accelerator_key(format, "D", platform::get_string("Defaults")));
    set_control_label(mCancel, platform::get_string("Cancel"));
    set_control_label(mOK, platform::get_string("OK"));
    Fit();
}

void TIAPView::IAPControlChanged(platform::Message* message)
{
    std::string name;
    if (message->FindString("IAP:SrcIAPItem", &name) != platform::kOk) return;
    Component* component = Find(name);
    if (!component) return;
    // The notice carries the control's new state: a check box has no value field.
    archive_config_view(component->view->Description(), message);
    message->what = kIAPChangedMessage;
    component->entries[kWorking] = *message;
    SendMessage(*message);
    mOwnPrefs.SetValue(*message);
    SetViewLabels();
}

void TIAPView::IAPActivateWindowRqtd()
{
    if (TBasicWindow* window = Window()) window->Appear();
}

void TIAPView::ButtonOKClicked()
{
    if (TBasicWindow* window = Window(); window && !window->IsHidden()) window->Hide();
    // Every change has been broadcast already; OK only makes it the one Cancel keeps.
    for (Component& component : mComponents)
        if (component.entries[kWorking]) component.entries[kCurrent] = component.entries[kWorking];
}

void TIAPView::ButtonCancelClicked()
{
    if (TBasicWindow* window = Window(); window && !window->IsHidden()) window->Hide();
    SetComponents(kCurrent);
}

void TIAPView::ButtonDefaultsClicked()
{
    // The window stays open and the current entries stay, so that Cancel returns to them.
    SetComponents(kDefault);
    SetViewLabels();
}

void TIAPView::SendMessage(const platform::Message& notice) const
{
    iap_broadcast(notice);
}

void TIAPView::Fit()
{
    int width = kMinWidth;
    int top = kMargin;
    bool any = false;
    for (const Component& component : mComponents) {
        component.view->move(kMargin, top);
        QRect frame = component.view->geometry();
        top = frame.bottom() + kMargin;
        width = std::max(width, frame.right() + kMargin + 1);
        any = true;
    }
    int containerTop = any ? top : 0;
    mButtonContainer->setGeometry(0, containerTop, width, kContainerHeight);
    QPushButton* buttons[] = {mDefaults, mCancel, mOK};  // in the order of kButtons
    for (size_t i = 0; i < std::size(buttons); ++i)
        buttons[i]->setGeometry(width - 1 - kButtons[i].leftFromRight, kMargin, kButtonWidth, kButtonHeight);
    QSize size(width, containerTop + kContainerHeight);
    // The window first: its resize moves the view, which is then set as it must be.
    if (TBasicWindow* window = Window()) window->setFixedSize(size);
    setGeometry(0, 0, size.width(), size.height());
}
