#include "ui/appdialogs/RenumView.h"

#include "platform/Locale.h"
#include "platform/SystemMessages.h"
#include "ui/guibase/AcceleratorLabels.h"
#include "ui/guibase/ControlLabels.h"
#include "ui/guibase/GeometryQt.h"
#include "ui/guibase/SpyFilter.h"

namespace {

// The three fields: name, frame, label key and accelerator letter.
struct TRenumField {
    const char* name;
    platform::Rect frame;
    const char* labelKey;
    const char* letter;
};

constexpr TRenumField kFields[] = {
    {"TxtCtrlNewLineNum", {10, 10, 180, 29}, "New Line: ", "N"},
    {"TxtCtrlOldLineNum", {10, 35, 180, 54}, "Old Line: ", "L"},
    {"TxtCtrlStep", {10, 60, 180, 79}, "Step: ", "S"},
};

constexpr platform::Rect kCancelFrame{10, 90, 90, 112};
constexpr platform::Rect kOKFrame{100, 90, 180, 112};
// Half the New Line field's width: where each field's text begins.
constexpr float kDivider = (kFields[0].frame.right - kFields[0].frame.left) / 2;

QLabel* label_of(const QLineEdit* field)
{
    for (QLabel* label : field->parentWidget()->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly))
        if (label->buddy() == field) return label;
    return nullptr;
}

}  // namespace

TRenumView::TRenumView(platform::Rect frame) : TDialogView(frame, "RenumView", kFollowNone)
{
    mNewLine = AddField(kFields[0].name, kFields[0].frame);
    mOldLine = AddField(kFields[1].name, kFields[1].frame);
    mStep = AddField(kFields[2].name, kFields[2].frame);
    mCancel = new QPushButton(this);
    mCancel->setObjectName(QStringLiteral("ButtonCancel"));
    mCancel->setGeometry(to_qrect(kCancelFrame));
    mOK = new QPushButton(this);
    mOK->setObjectName(QStringLiteral("ButtonOK"));
    mOK->setGeometry(to_qrect(kOKFrame));
    setTabOrder(mNewLine, mOldLine);
    setTabOrder(mOldLine, mStep);
    setTabOrder(mStep, mCancel);
    setTabOrder(mCancel, mOK);
    // The buttons send their codes to this view.
    QObject::connect(mCancel, &QPushButton::clicked, [this] { platform::Messenger(this).SendMessage(kCancelMessage); });
    QObject::connect(mOK, &QPushButton::clicked, [this] { platform::Messenger(this).SendMessage(kOkMessage); });
    // 190 wide and 10 below the OK button.
    resize(191, static_cast<int>(kOKFrame.bottom) + 10 + 1);
    SetViewProp();
    SetViewLabel();
}

TRenumView::~TRenumView() = default;

QLineEdit* TRenumView::AddField(const char* name, platform::Rect frame)
{
    auto* label = new QLabel(this);
    label->setObjectName(QString::fromLatin1(name));
    auto* field = new QLineEdit(this);
    field->setObjectName(QString::fromLatin1(name));
    label->setBuddy(field);
    label->setGeometry(to_qrect(platform::Rect{frame.left, frame.top, frame.left + kDivider - 1, frame.bottom}));
    field->setGeometry(to_qrect(platform::Rect{frame.left + kDivider, frame.top, frame.right, frame.bottom}));
    return field;
}

bool TRenumView::SetViewProp()
{
    for (QLineEdit* field : {mNewLine, mOldLine, mStep}) {
        field->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (QLabel* label = label_of(field)) label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    mOK->setDefault(true);
    return true;
}

bool TRenumView::SetViewLabel()
{
    const std::string format = current_accelerator_format();
    QLineEdit* fields[] = {mNewLine, mOldLine, mStep};
    for (size_t i = 0; i < std::size(fields); ++i)
        set_control_label(fields[i],
                          merge_accelerator_key(format, kFields[i].letter, platform::get_string(kFields[i].labelKey)));
    set_control_label(mCancel, platform::get_string("Cancel"));
    set_control_label(mOK, platform::get_string("OK"));
    return true;
}

void TRenumView::AttachedToWindow()
{
    if (TBasicWindow* window = Window()) {
        window->AddCommonFilter(new TSpyFilter(platform::kLanguageChangedMessage, platform::Messenger(this)));
        window->AddCommonFilter(new TSpyFilter(kIAPChangedMessage, platform::Messenger(this)));
    }
    mNewLine->setFocus();
}

void TRenumView::MessageReceived(platform::Message* message)
{
    switch (message->what) {
    case kOkMessage: ButtonOKClicked(); break;
    case kCancelMessage: ButtonCancelClicked(); break;
    default: TDialogView::MessageReceived(message); break;
    }
}

void TRenumView::IAPChanged(platform::Message* notice)
{
    std::string item;
    if (notice->FindString("IAP:SrcIAPItem", &item) == platform::kOk && item == "AccKeyFormat2") SetViewLabel();
}

void TRenumView::LanguageChanged()
{
    SetViewLabel();
}

void TRenumView::ShortCutDown(int32_t rawChar, int32_t key)
{
    if (rawChar == platform::kEscapeChar) {
        click_button(mCancel);
        return;
    }
    TDialogView::ShortCutDown(rawChar, key);
}

TRenumberValues TRenumView::CompoToParam()
{
    const TRenumberValues values = read_renumber_fields(mNewLine->text().toStdString(), mOldLine->text().toStdString(),
                                                        mStep->text().toStdString());
    mNewLine->setText(QString::number(values.NewLine));
    mOldLine->setText(QString::number(values.OldLine));
    mStep->setText(QString::number(values.Step));
    return values;
}

void TRenumView::ApplyRenum()
{
    auto* window = dynamic_cast<TDialogWindow*>(Window());
    if (!window) return;
    const TRenumberValues values = CompoToParam();
    platform::Message request(kRenumberDialogCode);
    request.AddInt32("NewLine", values.NewLine);
    request.AddInt32("OldLine", values.OldLine);
    request.AddInt32("Step", values.Step);
    window->Invoke(&request);
}

void TRenumView::ButtonOKClicked()
{
    if (TBasicWindow* window = Window()) window->Hide();
    ApplyRenum();
}

void TRenumView::ButtonCancelClicked()
{
    if (TBasicWindow* window = Window()) window->Hide();
}
