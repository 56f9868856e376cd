#include "ui/widgets/SimpleInput.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

#include "ui/guibase/ControlLabels.h"
#include "ui/guibase/GeometryQt.h"

namespace {

constexpr uint32_t kSimpleInputModel = platform::fourcc("SItc");

// A frame in the parent's coordinates, right and bottom edges inclusive.
platform::Rect frame_of(const QWidget* w)
{
    return from_qrect(w->geometry());
}
float bounds_right(const QWidget* w)
{
    return static_cast<float>(w->width() - 1);
}

void resize_bounds_width(QWidget* w, float right)
{
    w->resize(static_cast<int>(std::lround(right)) + 1, w->height());
}

// The width a button wants for its label, to the next whole pixel.
float preferred_width(const QPushButton* button)
{
    return std::ceil(static_cast<float>(button->sizeHint().width()));
}

}  // namespace

TSimpleInputView::TSimpleInputView(platform::Rect frame, int32_t mode)
    : TDialogView(platform::Rect{0, 0, frame.right - frame.left, frame.bottom - frame.top}, "SimpleInputView",
                  kFollowNone),
      mMode(mode >= kButtonWidthFixed && mode <= kButtonWidthFitted ? mode : kButtonWidthFixed)
{
    mFieldLabel = new QLabel(this);
    mFieldLabel->setObjectName(QStringLiteral("TxtCtrlData"));
    mField = new QLineEdit(this);
    mField->setObjectName(QStringLiteral("TxtCtrlData"));
    mFieldLabel->setBuddy(mField);
    mCancel = new QPushButton(this);
    mCancel->setObjectName(QStringLiteral("ButtonCancel"));
    mCancel->setGeometry(to_qrect(platform::Rect{70, 40, 150, 62}));
    mDefault = new QPushButton(this);
    mDefault->setObjectName(QStringLiteral("ButtonDefault"));
    mDefault->setGeometry(to_qrect(platform::Rect{160, 40, 240, 62}));
    mDefault->setDefault(true);
    SetDivider(34);
    // The view: 250 wide, 10 below the default button.
    resize(251, static_cast<int>(frame_of(mDefault).bottom) + 10 + 1);

    QObject::connect(mCancel, &QPushButton::clicked, [this] { platform::Messenger(this).SendMessage(kCancelMessage); });
    QObject::connect(mDefault, &QPushButton::clicked, [this] { platform::Messenger(this).SendMessage(kOkMessage); });
}

TSimpleInputView::~TSimpleInputView() = default;

void TSimpleInputView::SetDivider(float divider)
{
    const platform::Rect field{10, 10, 240, 29};
    mFieldLabel->setGeometry(to_qrect(platform::Rect{field.left, field.top, field.left + divider - 1, field.bottom}));
    mField->setGeometry(to_qrect(platform::Rect{field.left + divider, field.top, field.right, field.bottom}));
}

void TSimpleInputView::AttachedToWindow()
{
    mField->setFocus();
}

void TSimpleInputView::MessageReceived(platform::Message* message)
{
    switch (message->what) {
    case kOkMessage: ButtonOKClicked(); break;
    case kCancelMessage: ButtonCancelClicked(); break;
    default: TDialogView::MessageReceived(message); break;
    }
}

void TSimpleInputView::ShortCutDown(int32_t rawChar, int32_t key)
{
    if (rawChar == platform::kEscapeChar) {
        click_button(mCancel);
        return;
    }
    TDialogView::ShortCutDown(rawChar, key);
}

void TSimpleInputView::ButtonOKClicked()
{
    auto* window = dynamic_cast<TDialogWindow*>(Window());
    if (!window) return;
    platform::Message* model = window->Message();
    if (model) {
        model->RemoveName(kSimpleInputTextField);
        model->AddString(kSimpleInputTextField, Text());
    }
    window->Invoke();
    window->Hide();
    mLastText = Text();
}

void TSimpleInputView::ButtonCancelClicked()
{
    if (TBasicWindow* window = Window()) window->Hide();
    SetText(mLastText);
}

void TSimpleInputView::SetButtonLabel(int32_t which, const std::string& label)
{
    QPushButton* button = which == B_CANCEL_BUTTON ? mCancel : which == B_DEFAULT_BUTTON ? mDefault : nullptr;
    if (!button) return;
    // Measured without the default button's look.
    mDefault->setDefault(false);
    set_control_label(button, label);
    AdjustButtonWidth(button);
    AdjustButtonArrange();
    mDefault->setDefault(true);
}

void TSimpleInputView::AdjustButtonWidth(QPushButton* button)
{
    switch (mMode) {
    case kButtonWidthSame: {
        float widest = std::max(preferred_width(mCancel), preferred_width(mDefault));
        resize_bounds_width(mCancel, widest);
        resize_bounds_width(mDefault, widest);
        break;
    }
    case kButtonWidthFitted: resize_bounds_width(button, preferred_width(button)); break;
    default: resize_bounds_width(button, 80); break;
    }
}

void TSimpleInputView::AdjustButtonArrange()
{
    const float right = bounds_right(this);
    const float defaultLeft = right - (bounds_right(mDefault) + 10);
    mDefault->move(static_cast<int>(std::lround(defaultLeft)), mDefault->y());
    const float cancelLeft = defaultLeft - (bounds_right(mCancel) + 10);
    mCancel->move(static_cast<int>(std::lround(cancelLeft)), mCancel->y());
}

std::string TSimpleInputView::Text() const
{
    return mField->text().toStdString();
}

void TSimpleInputView::SetText(const std::string& text)
{
    mField->setText(QString::fromStdString(text));
}

void TSimpleInputView::SetLabel(const std::string& label)
{
    set_control_label(mField, label);
    // The field begins 2 pixels after the label's text.
    SetDivider(std::ceil(static_cast<float>(
                   QFontMetricsF(mFieldLabel->font()).horizontalAdvance(QString::fromStdString(label)))) +
               2);
}

void TSimpleInputView::SelectAll()
{
    mField->setFocus();
    mField->selectAll();
}

TSimpleInputWindow::TSimpleInputWindow(platform::Rect frame, const char* title, int32_t mode)
    : TDialogWindow(frame, title)
{
    mView = new TSimpleInputView(frame, mode);
    setFixedSize(mView->size());
    AddChild(mView);
    SetMessage(new platform::Message(kSimpleInputModel));
}

TSimpleInputWindow::~TSimpleInputWindow() = default;

bool TSimpleInputWindow::QuitRequested()
{
    mView->ButtonCancelClicked();
    return TDialogWindow::QuitRequested();
}

void TSimpleInputWindow::Appear()
{
    mView->SelectAll();
    TDialogWindow::Appear();
}
