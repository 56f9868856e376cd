#include "ui/prefsdialog/PrefsView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QTabWidget>
#include <QToolButton>
#include <algorithm>

#include "foundation/MidiOutMessages.h"
#include "foundation/PrefsMessages.h"
#include "platform/Locale.h"
#include "ui/guibase/AcceleratorLabels.h"
#include "ui/guibase/ControlLabels.h"
#include "ui/guibase/GeometryQt.h"
#include "ui/guibase/LabelFitting.h"
#include "ui/guibase/MenuFieldItems.h"
#include "ui/guibase/SpyFilter.h"
#include "ui/prefsdialog/PrefsNumbers.h"

using platform::Message;

namespace {

// The message a number field sends on every change of its text.
constexpr const char* kFieldMessageProperty = "kivoFieldMessage";

constexpr const char* kAnonymousConsumer = "<anonymous>";
// The id of the consumer a MIDI-output item stands for.
constexpr const char* kConsumerIdProperty = "kivoConsumerId";
// The item roles of the pop-up lists: the int32 value an item's message carries, and
// the name of its field (none for a separator or a font family).
constexpr int kItemValueRole = Qt::UserRole;
constexpr int kItemFieldRole = Qt::UserRole + 1;

// A pop-up list's items: the text key and the value; null key: a separator.
struct MenuItemRow {
    const char* key;
    int32_t value;
};
constexpr MenuItemRow kEncodingItems[] = {
    {"Auto Detect", 0},
    {nullptr, 1},
    {"UTF-8 (ZaRO)", 2},
    {"Shift-JIS (DOS-BASIC)", 3},
    {"JIS / NEC JIS (DISK-BASIC)", 4},
};
constexpr MenuItemRow kCompatModeItems[] = {
    {"Auto Detect", 0},
    {nullptr, 1},
    {"DISK-BASIC", 2},
    {"DOS-BASIC", 3},
};
// The encodings whose lists may hold PC-98 characters: automatic and NEC JIS.
constexpr int kEncodingAutoIndex = 0;
constexpr int kEncodingJisIndex = 4;

// The slider moves are taken at most this often while the thumb is dragged.
constexpr int kSliderIntervalMs = 20;

// Item and tab texts show "&" as it stands.
QString plain_text(const std::string& text)
{
    return QString::fromStdString(text).replace('&', QStringLiteral("&&"));
}

// Places a side-by-side label and field in `frame`, the field beginning `divider`
// pixels after the frame's left edge.
void place_labelled_field(QLabel* label, QWidget* field, const platform::Rect& frame, int divider)
{
    QRect whole = to_qrect(frame);
    label->setGeometry(whole.left(), whole.top(), divider, whole.height());
    field->setGeometry(whole.left() + divider, whole.top(), std::max(0, whole.width() - divider), whole.height());
}

// The system's fonts are wider than those the layout was drawn for: a label that
// would be clipped moves the divider, and the field keeps its right edge.
void keep_label_whole(QWidget* field)
{
    QWidget* parent = field->parentWidget();
    if (!parent) return;
    for (QLabel* label : parent->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        if (label->buddy() == field && label->sizeHint().width() > label->width()) adjust_mfield_divider(field);
}

// A menu field whose longest item would be clipped grows to the right to show it.
void widen_to_contents(QComboBox* field)
{
    if (field && field->width() < field->sizeHint().width()) field->resize(field->sizeHint().width(), field->height());
}

// The roster's consumers with what the producer is connected to, read once.
struct MidiOutState {
    std::vector<platform::MidiConsumer> consumers;
    std::vector<int32_t> connected;

    explicit MidiOutState(const platform::MidiRoster* roster)
    {
        if (!roster) return;
        consumers = roster->Consumers();
        for (const platform::MidiConsumer& consumer : consumers)
            if (roster->IsConnected(consumer.id)) connected.push_back(consumer.id);
    }
    bool IsConnected(int32_t id) const { return std::find(connected.begin(), connected.end(), id) != connected.end(); }
    // Whether a consumer of `name` other than `id` is connected.
    bool OtherConnected(const std::string& name, int32_t id) const
    {
        return std::any_of(consumers.begin(), consumers.end(), [&](const platform::MidiConsumer& consumer) {
            return consumer.id != id && consumer.name == name && IsConnected(consumer.id);
        });
    }
    // Whether the item of consumer `id` shows as chosen under "CoMO" `outputs`: a
    // listed name marks the consumers of that name that are connected; while none is,
    // the first of the name, the one the run view connects.
    bool Chosen(const std::vector<std::string>& outputs, const std::string& name, int32_t id) const
    {
        if (std::find(outputs.begin(), outputs.end(), name) == outputs.end()) return false;
        if (IsConnected(id)) return true;
        if (OtherConnected(name, id)) return false;
        auto first = std::find_if(consumers.begin(), consumers.end(),
                                  [&](const platform::MidiConsumer& consumer) { return consumer.name == name; });
        return first != consumers.end() && first->id == id;
    }
};

}  // namespace

class TPrefsView::NoticeRelay : public platform::Handler {
public:
    explicit NoticeRelay(TAppMessageSink* sink) : platform::Handler("PrefsNoticeRelay"), mSink(sink) {}
    ~NoticeRelay() override
    {
        if (platform::Looper* looper = GetLooper()) looper->RemoveHandler(this);
    }
    void MessageReceived(Message* message) override
    {
        if (mSink) mSink->Post(*message);
    }

private:
    TAppMessageSink* mSink;
};

TPrefsView::TPrefsView(const TPrefsServices& services)
    : TDialogView(kPrefsViewFrame, "PrefView", kFollowNone), mServices(services),
      mRelay(std::make_unique<NoticeRelay>(services.sink)),
      mDelaySender(std::make_unique<TDelaySender>("DelaySender", services.clock))
{
    BuildControls();
    SetMFieldFont();
    SetMFieldDefaultEncoding();
    SetMFieldMidiOut();
    SetMFieldCompatiMode();
    mSliderPending.setSingleShot(true);
    QObject::connect(&mSliderPending, &QTimer::timeout, this, [this] {
        mSliderSent.restart();
        Invoke(Message(prefs_msg::SpeedSliderMoved));
    });
    mSnapshot = gPrefs;
}

TPrefsView::~TPrefsView() = default;

void TPrefsView::BuildControls()
{
    mTabView = new QTabWidget(this);
    mTabView->setObjectName(QString::fromUtf8(kPrefsTabViewName));
    mTabView->setGeometry(to_qrect(kPrefsTabViewFrame));
    for (int i = 0; i < kPrefsControlCount; ++i) {
        const PrefsControlRow& row = kPrefsControls[i];
        QWidget* parent = std::string_view(row.parent) == "PrefView" ? this : Control(row.parent);
        if (QWidget* control = parent ? MakeControl(parent, row) : nullptr) mControls[row.name] = control;
    }
    auto find = [this]<typename T>(T*& member, const char* name) { member = qobject_cast<T*>(Control(name)); };
    find(mCBoxAutoSaveBeforeRun, "CBoxAutoSaveBeforeRun");
    find(mCBoxAutoSaveRegular, "CBoxAutoSaveRegular");
    find(mCBoxBreakAtStart, "CBoxBreakAtStart");
    find(mCBoxConvert98, "CBoxConvert98");
    find(mCBoxShowSplash, "CBoxShowSplash");
    find(mCBoxSpeedControl, "CBoxSpeedControl");
    find(mCBoxWordWrap, "CBoxWordWrap");
    find(mMFieldCompatiMode, "MFieldCompatiMode");
    find(mMFieldDebugWinFontFamily, "MFieldDebugWinFontFamily");
    find(mMFieldDefaultEncoding, "MFieldDefaultEncoding");
    find(mMFieldMainWinFontFamily, "MFieldMainWinFontFamily");
    find(mMFieldMidiOut, "MFieldMidiOut");
    find(mMFieldRunWinFontFamily, "MFieldRunWinFontFamily");
    find(mSliderSpeedControl, "SliderSpeedControl");
    find(mStrViewAutoSaveInterval, "StrViewAutoSaveInterval");
    find(mStrViewSpeedControl, "StrViewSpeedControl");
    find(mTxtCtrlAutoSaveInterval, "TxtCtrlAutoSaveInterval");
    find(mTxtCtrlDebugWinFontSize, "TxtCtrlDebugWinFontSize");
    find(mTxtCtrlMainWinFontSize, "TxtCtrlMainWinFontSize");
    find(mTxtCtrlMidiLatency, "TxtCtrlMidiLatency");
    find(mTxtCtrlRunWinFontSize, "TxtCtrlRunWinFontSize");
    find(mTxtCtrlSpeedControl, "TxtCtrlSpeedControl");
    find(mTxtCtrlSsgVolume, "TxtCtrlSsgVolume");

    // The slider's own label and the labels of its ends sit inside its frame, above
    // and below the groove, and let the mouse through to it.
    QWidget* etc = mSliderSpeedControl->parentWidget();
    const QRect slider = mSliderSpeedControl->geometry();
    auto sliderText = [etc](const char* name, Qt::Alignment alignment) {
        auto* label = new QLabel(etc);
        label->setObjectName(QString::fromUtf8(name));
        label->setAlignment(alignment);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        return label;
    };
    mSliderLabel = sliderText("SliderSpeedControlLabel", Qt::AlignLeft | Qt::AlignTop);
    mSliderLabel->setGeometry(slider.left(), slider.top(), slider.width(), 14);
    mSliderMinLabel = sliderText("SliderSpeedControlMinLabel", Qt::AlignLeft | Qt::AlignBottom);
    mSliderMinLabel->setGeometry(slider.left(), slider.bottom() - 13, slider.width() / 2, 14);
    mSliderMaxLabel = sliderText("SliderSpeedControlMaxLabel", Qt::AlignRight | Qt::AlignBottom);
    mSliderMaxLabel->setGeometry(slider.left() + slider.width() / 2, slider.bottom() - 13, slider.width() / 2, 14);

    mTabView->setCurrentIndex(0);
    auto* ok = qobject_cast<QPushButton*>(Control("ButtonOK"));
    if (ok) ok->setDefault(true);
}

QWidget* TPrefsView::MakeControl(QWidget* parent, const PrefsControlRow& row)
{
    const QString name = QString::fromUtf8(row.name);
    const uint32_t what = row.what;
    QWidget* control = nullptr;
    QLabel* label = nullptr;
    switch (row.kind) {
    case PrefsControlKind::Page: {
        auto* page = new QWidget;
        mTabView->addTab(page, QString());
        control = page;
        break;
    }
    case PrefsControlKind::Box: control = new QGroupBox(parent); break;
    case PrefsControlKind::CheckBox: {
        auto* box = new QCheckBox(parent);
        QObject::connect(box, &QCheckBox::clicked, this, [this, what] { Invoke(Message(what)); });
        control = box;
        break;
    }
    case PrefsControlKind::TextControl: {
        auto* field = new QLineEdit(parent);
        field->setProperty(kFieldMessageProperty, what);
        QObject::connect(field, &QLineEdit::textChanged, this, [this, what] { Invoke(Message(what)); });
        label = new QLabel(parent);
        control = field;
        break;
    }
    case PrefsControlKind::Slider: {
        auto* slider = new QSlider(Qt::Horizontal, parent);
        slider->setRange(kMinSpeedPosition, kMaxSpeedPosition);
        slider->setValue(10);
        slider->setSingleStep(1);
        slider->setPageStep(9);
        slider->setTickPosition(QSlider::TicksBothSides);
        slider->setTickInterval(9);  // six marks: 1, 10, 19, 28, 37 and 46
        QObject::connect(slider, &QSlider::valueChanged, this, [this, slider] {
            if (!slider->isSliderDown()) {
                Invoke(Message(prefs_msg::SpeedSliderMoved));
            } else if (!mSliderSent.isValid() || mSliderSent.elapsed() >= kSliderIntervalMs) {
                mSliderPending.stop();
                mSliderSent.restart();
                Invoke(Message(prefs_msg::SpeedSliderMoved));
            } else if (!mSliderPending.isActive()) {
                mSliderPending.start(static_cast<int>(kSliderIntervalMs - mSliderSent.elapsed()));
            }
        });
        QObject::connect(slider, &QSlider::sliderReleased, this, [this] {
            mSliderPending.stop();
            Invoke(Message(prefs_msg::SpeedSliderMoved));
        });
        control = slider;
        break;
    }
    case PrefsControlKind::StringView: control = new QLabel(parent); break;
    case PrefsControlKind::MenuField: {
        auto* field = new QComboBox(parent);
        field->setPlaceholderText(QString::fromStdString(platform::get_string("Select...")));
        QObject::connect(field, &QComboBox::activated, this, [this, field, what](int index) {
            Message message(what);
            const QString itemField = field->itemData(index, kItemFieldRole).toString();
            if (!itemField.isEmpty())
                message.AddInt32(itemField.toStdString(), field->itemData(index, kItemValueRole).toInt());
            Invoke(message);
        });
        label = new QLabel(parent);
        control = field;
        break;
    }
    case PrefsControlKind::PortsField: {
        auto* field = new QToolButton(parent);
        field->setPopupMode(QToolButton::InstantPopup);
        field->setToolButtonStyle(Qt::ToolButtonTextOnly);
        field->setMenu(new QMenu(field));
        label = new QLabel(parent);
        control = field;
        break;
    }
    case PrefsControlKind::Button: {
        auto* button = new QPushButton(parent);
        button->setAutoDefault(false);
        QObject::connect(button, &QPushButton::clicked, this, [this, what] { Invoke(Message(what)); });
        control = button;
        break;
    }
    }
    control->setObjectName(name);
    if (label) {
        label->setObjectName(name + QStringLiteral("Label"));
        label->setBuddy(control);
        place_labelled_field(label, control, row.frame, row.divider);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    } else if (row.kind != PrefsControlKind::Page) {
        control->setGeometry(to_qrect(row.frame));
    }
    // Every number field shows its text right-aligned.
    if (auto* field = qobject_cast<QLineEdit*>(control)) field->setAlignment(Qt::AlignRight);
    return control;
}

QWidget* TPrefsView::Control(const char* name) const
{
    auto it = mControls.find(name);
    return it == mControls.end() ? nullptr : it->second;
}

QMenu* TPrefsView::MidiOutMenu() const
{
    return mMFieldMidiOut ? mMFieldMidiOut->menu() : nullptr;
}

void TPrefsView::Invoke(const Message& message)
{
    platform::Messenger(this).SendMessage(message);
}

void TPrefsView::AttachedToWindow()
{
    Window()->AddCommonFilter(new TSpyFilter(platform::kLanguageChangedMessage, platform::Messenger(this)));
    Window()->AddCommonFilter(new TSpyFilter(kIAPChangedMessage, platform::Messenger(this)));
    SetViewLabel();
    UpdateCompos();
}

void TPrefsView::SetDelaySender(platform::bigtime_t delay)
{
    if (TBasicWindow* window = Window(); window && !mRelay->GetLooper()) window->AddHandler(mRelay.get());
    mDelaySender->SetTarget(platform::Messenger(mRelay.get()));
    mDelaySender->SetDelay(delay);
}

// --- labels ---

void TPrefsView::SetViewLabel()
{
    const std::string format = current_accelerator_format();
    for (int i = 0; i < kPrefsLabelCount; ++i) {
        const PrefsLabelRow& row = kPrefsLabels[i];
        QWidget* control = Control(row.name);
        if (!control) continue;
        const std::string text = platform::get_string(row.key);
        const std::string label = row.letter ? merge_accelerator_key(format, row.letter, text) : text;
        if (int tab = mTabView->indexOf(control); tab >= 0) {
            mTabView->setTabText(tab, plain_text(label));
            continue;
        }
        if (control == mMFieldMidiOut) {
            // The menu field keeps showing its marks; the label goes beside it.
            set_control_label(control, label);
            if (auto* buddy = findChild<QLabel*>(QStringLiteral("MFieldMidiOutLabel")))
                buddy->setText(plain_text(label));
        } else {
            set_control_label(control, label);
        }
        switch (row.fit) {
        case PrefsFit::CheckBox: adjust_cbox_width(qobject_cast<QCheckBox*>(control)); break;
        case PrefsFit::Divider:
            adjust_mfield_divider(control);
            widen_to_contents(qobject_cast<QComboBox*>(control));
            break;
        case PrefsFit::Unit: adjust_str_view_width(qobject_cast<QLabel*>(control)); break;
        case PrefsFit::None: keep_label_whole(control); break;
        }
        if (control == mCBoxAutoSaveRegular) PlaceAutoSaveRow();
    }
    mSliderLabel->setText(QString::fromStdString(platform::get_string(kPrefsSliderLabelKey)));
    mSliderMinLabel->setText(QString::fromStdString(platform::get_string(kPrefsSliderMinKey)));
    mSliderMaxLabel->setText(QString::fromStdString(platform::get_string(kPrefsSliderMaxKey)));
    UpdateMFieldMidiOut();
}

// The interval field follows the fitted "Save every" check box, and its unit follows
// the field, centred on it.
void TPrefsView::PlaceAutoSaveRow()
{
    QLineEdit* field = mTxtCtrlAutoSaveInterval;
    auto* label = findChild<QLabel*>(QStringLiteral("TxtCtrlAutoSaveIntervalLabel"));
    if (!field || !label) return;
    const QRect box = mCBoxAutoSaveRegular->geometry();
    const int dx = box.left() + box.width() - label->x();
    const int dy = box.top() - label->y();
    label->move(label->pos() + QPoint(dx, dy));
    field->move(field->pos() + QPoint(dx, dy));
    QLabel* unit = mStrViewAutoSaveInterval;
    unit->move(field->geometry().right() + 10, field->y() + (field->height() - unit->height()) / 2);
}

void TPrefsView::LanguageChanged()
{
    SetViewLabel();
    mTabView->update();
}

void TPrefsView::IAPChanged(Message* notice)
{
    std::string item;
    if (notice->FindString("IAP:SrcIAPItem", &item) == platform::kOk && item == "AccKeyFormat2") SetViewLabel();
}

void TPrefsView::ShortCutDown(int32_t rawChar, int32_t key)
{
    if (rawChar == platform::kFunctionKeyChar && key == platform::kF1Key) {
        click_button(qobject_cast<QPushButton*>(Control("ButtonHelp")));
    } else if (rawChar == platform::kEscapeChar) {
        click_button(qobject_cast<QPushButton*>(Control("ButtonCancel")));
    } else {
        TDialogView::ShortCutDown(rawChar, key);
    }
}

// --- menus ---

void TPrefsView::SetMFieldFont()
{
    const QStringList families = mServices.fontFamilies ? mServices.fontFamilies() : QFontDatabase::families();
    for (QComboBox* field : {mMFieldMainWinFontFamily, mMFieldRunWinFontFamily, mMFieldDebugWinFontFamily}) {
        field->clear();
        for (const QString& family : families) field->addItem(family);
        field->setCurrentIndex(-1);
    }
}

namespace {

void fill_menu(QComboBox* field, const MenuItemRow* items, size_t count, const char* itemField)
{
    delete_mfield_mitems(field);
    for (size_t i = 0; i < count; ++i) {
        if (!items[i].key) {
            field->insertSeparator(field->count());
            continue;
        }
        field->addItem(QString::fromStdString(platform::get_string(items[i].key)));
        field->setItemData(field->count() - 1, items[i].value, kItemValueRole);
        field->setItemData(field->count() - 1, QString::fromUtf8(itemField), kItemFieldRole);
    }
    field->setCurrentIndex(-1);
}

}  // namespace

void TPrefsView::SetMFieldDefaultEncoding()
{
    fill_menu(mMFieldDefaultEncoding, kEncodingItems, std::size(kEncodingItems), "Encoding");
}

void TPrefsView::SetMFieldCompatiMode()
{
    fill_menu(mMFieldCompatiMode, kCompatModeItems, std::size(kCompatModeItems), "CompatiMode");
}

void TPrefsView::SetMFieldMidiOut()
{
    QMenu* menu = MidiOutMenu();
    delete_mfield_mitems(mMFieldMidiOut);
    if (mServices.roster) {
        for (const platform::MidiConsumer& consumer : mServices.roster->Consumers()) {
            if (consumer.id < 0 || consumer.name == kAnonymousConsumer) continue;
            QAction* item = menu->addAction(plain_text(consumer.name));
            item->setCheckable(true);
            item->setData(QString::fromStdString(consumer.name));
            item->setProperty(kConsumerIdProperty, consumer.id);
            const int32_t id = consumer.id;
            QObject::connect(item, &QAction::triggered, this, [this, id] {
                Message message(prefs_msg::MidiOutChosen);
                message.AddInt32("be:id", id);
                Invoke(message);
            });
        }
    }
    UpdateMFieldMidiOut();
}

void TPrefsView::UpdateMFieldFontFamily(QComboBox* field, const std::string& family)
{
    // A name cut to fit the preference still marks its family.
    int marked = -1;
    for (int i = 0; i < field->count() && marked < 0; ++i) {
        const std::string label = field->itemText(i).toStdString();
        if (label == family || fit_font_family(label) == family) marked = i;
    }
    if (marked < 0 && field->count() > 0) marked = 0;
    field->setCurrentIndex(marked);
}

void TPrefsView::UpdateMFieldByIndex(QComboBox* field, int32_t index)
{
    const bool isItem = index >= 0 && index < field->count() && !field->itemData(index, kItemFieldRole).isNull();
    field->setCurrentIndex(isItem ? index : -1);
}

// Several outputs may be connected: each is checked, and the field names them all,
// each name once.
void TPrefsView::UpdateMFieldMidiOut()
{
    const std::vector<std::string> outputs = gPrefs.MidiOutputs();
    const MidiOutState state(mServices.roster);
    QStringList marked;
    for (QAction* item : MidiOutMenu()->actions()) {
        const std::string name = item->data().toString().toStdString();
        const bool on = state.Chosen(outputs, name, item->property(kConsumerIdProperty).toInt());
        item->setChecked(on);
        if (on && !marked.contains(QString::fromStdString(name))) marked << QString::fromStdString(name);
    }
    mMFieldMidiOut->setText(marked.isEmpty() ? plain_text(platform::get_string("Ports..."))
                                             : plain_text(marked.join(QStringLiteral(", ")).toStdString()));
}

// --- showing the values ---

// Setting a field's text counts as a change even when the text stays the same, so its
// handler always runs once on the shown text; QLineEdit says nothing in that case.
void TPrefsView::SetTxtCtrlText(QLineEdit* field, const std::string& text)
{
    const QString shown = QString::fromStdString(text);
    if (field->text() == shown) {
        if (!field->signalsBlocked()) Invoke(Message(field->property(kFieldMessageProperty).toUInt()));
        return;
    }
    field->setText(shown);
}

std::string TPrefsView::FieldText(const QLineEdit* field) const
{
    return field->text().toStdString();
}

void TPrefsView::UpdateCompos()
{
    UpdateMFieldFontFamily(mMFieldMainWinFontFamily, gPrefs.MainFontFamily());
    SetTxtCtrlText(mTxtCtrlMainWinFontSize, float_text(gPrefs.MainFontSize));
    UpdateMFieldFontFamily(mMFieldRunWinFontFamily, gPrefs.RunFontFamily());
    SetTxtCtrlText(mTxtCtrlRunWinFontSize, float_text(gPrefs.RunFontSize));
    UpdateMFieldFontFamily(mMFieldDebugWinFontFamily, gPrefs.DebugFontFamily());
    SetTxtCtrlText(mTxtCtrlDebugWinFontSize, float_text(gPrefs.DebugFontSize));

    UpdateMFieldByIndex(mMFieldDefaultEncoding, gPrefs.DefaultEncoding);
    UpdateCBoxConvert98();

    mCBoxWordWrap->setChecked(gPrefs.WordWrap);
    mCBoxAutoSaveRegular->setChecked(gPrefs.AutoSaveRegularly);
    SetTxtCtrlText(mTxtCtrlAutoSaveInterval, std::to_string(gPrefs.AutoSaveInterval.load()));
    mCBoxAutoSaveBeforeRun->setChecked(gPrefs.AutoSaveBeforeRun);
    UpdateTxtCtrlAutoSaveInterval();

    UpdateMFieldMidiOut();

    SetTxtCtrlText(mTxtCtrlMidiLatency, std::to_string(gPrefs.MidiDelay.load() / 1000));
    SetTxtCtrlText(mTxtCtrlSsgVolume, std::to_string(gPrefs.SoundVolume.load()));

    mCBoxShowSplash->setChecked(gPrefs.ShowSplash);
    mCBoxBreakAtStart->setChecked(gPrefs.BreakAtStart);
    mCBoxSpeedControl->setChecked(gPrefs.UseSpeedControl);
    UpdateSpeedControlCompos();

    UpdateMFieldByIndex(mMFieldCompatiMode, gPrefs.CompatMode);
}

void TPrefsView::UpdateCBoxConvert98()
{
    const int marked = mMFieldDefaultEncoding->currentIndex();
    mCBoxConvert98->setEnabled(marked == kEncodingAutoIndex || marked == kEncodingJisIndex);
    mCBoxConvert98->setChecked(gPrefs.ConvertPC98Chars);
}

void TPrefsView::UpdateTxtCtrlAutoSaveInterval()
{
    mTxtCtrlAutoSaveInterval->setEnabled(mCBoxAutoSaveRegular->isChecked());
}

void TPrefsView::UpdateSpeedControlCompos()
{
    const bool on = mCBoxSpeedControl->isChecked();
    mSliderSpeedControl->setEnabled(on);
    UpdateSliderSpeedControl();
    mTxtCtrlSpeedControl->setEnabled(on);
    SetTxtCtrlText(mTxtCtrlSpeedControl, std::to_string(gPrefs.SpeedControlInterval.load()));
    QPalette palette = mStrViewSpeedControl->palette();
    palette.setColor(QPalette::WindowText, on ? QColor(0, 0, 0) : QColor(128, 128, 128));
    mStrViewSpeedControl->setPalette(palette);
    mStrViewSpeedControl->update();
}

void TPrefsView::UpdateSliderSpeedControl()
{
    const QSignalBlocker quiet(mSliderSpeedControl);
    mSliderSpeedControl->setValue(speed_position_of_interval(gPrefs.SpeedControlInterval));
}

// --- edits ---

void TPrefsView::MessageReceived(Message* message)
{
    switch (message->what) {
    case prefs_msg::MainFontSizeEdited:
        FontSizeChanged(mTxtCtrlMainWinFontSize, gPrefs.MainFontSize, kPrefsMainFontChanged);
        break;
    case prefs_msg::RunFontSizeEdited:
        FontSizeChanged(mTxtCtrlRunWinFontSize, gPrefs.RunFontSize, kPrefsRunFontChanged);
        break;
    case prefs_msg::DebugFontSizeEdited:
        FontSizeChanged(mTxtCtrlDebugWinFontSize, gPrefs.DebugFontSize, kPrefsDebugFontChanged);
        break;
    case prefs_msg::MainFontFamilyChosen:
        FontFamilyChanged(mMFieldMainWinFontFamily, &TPrefs::SetMainFontFamily, kPrefsMainFontChanged);
        break;
    case prefs_msg::RunFontFamilyChosen:
        FontFamilyChanged(mMFieldRunWinFontFamily, &TPrefs::SetRunFontFamily, kPrefsRunFontChanged);
        break;
    case prefs_msg::DebugFontFamilyChosen:
        FontFamilyChanged(mMFieldDebugWinFontFamily, &TPrefs::SetDebugFontFamily, kPrefsDebugFontChanged);
        break;
    case prefs_msg::EncodingChosen: MFieldDefaultEncodingChanged(*message); break;
    case prefs_msg::CompatModeChosen: MFieldCompatiModeChanged(*message); break;
    case prefs_msg::Convert98Clicked: gPrefs.ConvertPC98Chars = mCBoxConvert98->isChecked(); break;
    case prefs_msg::AutoSaveBeforeRunClicked: gPrefs.AutoSaveBeforeRun = mCBoxAutoSaveBeforeRun->isChecked(); break;
    case prefs_msg::ShowSplashClicked: gPrefs.ShowSplash = mCBoxShowSplash->isChecked(); break;
    case prefs_msg::BreakAtStartClicked: gPrefs.BreakAtStart = mCBoxBreakAtStart->isChecked(); break;
    case prefs_msg::WordWrapClicked:
        gPrefs.WordWrap = mCBoxWordWrap->isChecked();
        NotifyPrefChange(kPrefsWordWrapChanged);
        break;
    case prefs_msg::AutoSaveRegularClicked:
        gPrefs.AutoSaveRegularly = mCBoxAutoSaveRegular->isChecked();
        UpdateTxtCtrlAutoSaveInterval();
        NotifyPrefChange(kPrefsAutoSaveChanged);
        break;
    case prefs_msg::AutoSaveIntervalEdited: TxtCtrlAutoSaveIntervalChanged(); break;
    case prefs_msg::MidiLatencyEdited: TxtCtrlMidiLatencyChanged(); break;
    case prefs_msg::SsgVolumeEdited: TxtCtrlSsgVolumeChanged(); break;
    case prefs_msg::SpeedControlClicked:
        gPrefs.UseSpeedControl = mCBoxSpeedControl->isChecked();
        UpdateSpeedControlCompos();
        NotifyPrefChange(kPrefsSpeedControlChanged);
        break;
    case prefs_msg::SpeedSliderMoved: SliderSpeedControlChanged(); break;
    case prefs_msg::SpeedIntervalEdited: TxtCtrlSpeedControlChanged(); break;
    case prefs_msg::MidiOutChosen: MFieldMidiOutChanged(*message); break;
    case kRecreateMenuMidiOutRqtd: RecreateMenuMidiOutRqtd(); break;
    case kUpdateMenuMidiOutRqtd: UpdateMenuMidiOutRqtd(); break;
    case kOkMessage: ButtonOKClicked(); break;
    case kCancelMessage: ButtonCancelClicked(); break;
    case kDefaultsMessage: ButtonDefaultsClicked(); break;
    case kHelpMessage: ButtonHelpClicked(); break;
    default: TDialogView::MessageReceived(message); break;
    }
}

void TPrefsView::FontFamilyChanged(QComboBox* field, void (TPrefs::*set)(std::string_view), uint32_t notice)
{
    if (field->currentIndex() < 0) return;
    (gPrefs.*set)(field->currentText().toStdString());
    NotifyPrefChange(notice);
}

// A text without a number, or that reads as not-a-number (which the clamp would let
// through), stores nothing: the size stays as it was.
void TPrefsView::FontSizeChanged(QLineEdit* field, platform::CopyableAtomic<float>& size, uint32_t notice)
{
    const std::optional<double> value = read_decimal_real(FieldText(field));
    if (!value) return;
    size = static_cast<float>(std::clamp(*value, 5.0, 50.0));
    NotifyPrefChange(notice, true);
}

void TPrefsView::MFieldDefaultEncodingChanged(const Message& message)
{
    int32_t encoding = 0;
    if (mMFieldDefaultEncoding->currentIndex() >= 0 && message.FindInt32("Encoding", &encoding) == platform::kOk) {
        gPrefs.DefaultEncoding = encoding;
        NotifyPrefChange(kPrefsDefaultEncodingChanged);
    }
    UpdateCBoxConvert98();
}

void TPrefsView::MFieldCompatiModeChanged(const Message& message)
{
    int32_t mode = 0;
    if (mMFieldCompatiMode->currentIndex() >= 0 && message.FindInt32("CompatiMode", &mode) == platform::kOk)
        gPrefs.CompatMode = mode;
}

void TPrefsView::TxtCtrlAutoSaveIntervalChanged()
{
    gPrefs.AutoSaveInterval = std::clamp(read_decimal_integer(FieldText(mTxtCtrlAutoSaveInterval)), 1, 99);
    NotifyPrefChange(kPrefsAutoSaveChanged);
}

void TPrefsView::TxtCtrlMidiLatencyChanged()
{
    const int64_t micros = int64_t{read_decimal_integer(FieldText(mTxtCtrlMidiLatency))} * 1000;
    gPrefs.MidiDelay = std::clamp<int64_t>(micros, 0, 3000000);
}

void TPrefsView::TxtCtrlSsgVolumeChanged()
{
    gPrefs.SoundVolume = std::clamp(read_decimal_integer(FieldText(mTxtCtrlSsgVolume)), 0, 200);
}

// The field shows the new interval without answering with a 'tscc' of its own.
void TPrefsView::SliderSpeedControlChanged()
{
    gPrefs.SpeedControlInterval = speed_interval_of_position(mSliderSpeedControl->value());
    const QSignalBlocker quiet(mTxtCtrlSpeedControl);
    SetTxtCtrlText(mTxtCtrlSpeedControl, std::to_string(gPrefs.SpeedControlInterval.load()));
}

void TPrefsView::TxtCtrlSpeedControlChanged()
{
    const int64_t interval = read_decimal_integer(FieldText(mTxtCtrlSpeedControl));
    gPrefs.SpeedControlInterval = std::clamp(interval, kMinSpeedInterval, kMaxSpeedInterval);
    UpdateSliderSpeedControl();
}

// A chosen output that is checked leaves the list, one that is not joins it at the
// end. A name stays in the list while another consumer of that name is connected.
void TPrefsView::MFieldMidiOutChanged(const Message& message)
{
    int32_t id = -1;
    if (message.FindInt32("be:id", &id) != platform::kOk || !mServices.roster) return;
    const MidiOutState state(mServices.roster);
    auto consumer =
        std::find_if(state.consumers.begin(), state.consumers.end(), [id](const auto& c) { return c.id == id; });
    if (consumer == state.consumers.end()) return;
    const std::string& name = consumer->name;
    bool removed = false;
    gPrefs.ChangeMidiOutputs([&](std::vector<std::string>& outputs) {
        if (state.Chosen(outputs, name, id)) {
            if (state.OtherConnected(name, id)) return;
            std::erase(outputs, name);
            removed = true;
        } else if (std::find(outputs.begin(), outputs.end(), name) == outputs.end()) {
            outputs.push_back(name);
        }
    });
    UpdateMFieldMidiOut();
    Message notice(kPrefMidiOutChanged);
    notice.AddInt32("be:id", id);
    notice.AddBool("MODis", removed);
    NotifyPrefChange(notice, false);
}

// A connection made outside the dialog is not one that Cancel takes back.
void TPrefsView::UpdateMenuMidiOutRqtd()
{
    mSnapshot.SetMidiOutputs(gPrefs.MidiOutputs());
    UpdateMFieldMidiOut();
}

void TPrefsView::RecreateMenuMidiOutRqtd()
{
    mSnapshot.SetMidiOutputs(gPrefs.MidiOutputs());
    SetMFieldMidiOut();
}

// --- buttons ---

void TPrefsView::ButtonOKClicked()
{
    if (TBasicWindow* window = Window(); window && !window->IsHidden()) window->Hide();
    mSnapshot = gPrefs;
    // A failed save is not reported here: the settings layer reports it.
    gPrefs.SaveToFile();
    NotifyPrefChange(kPrefsConfirmed);
}

void TPrefsView::ButtonCancelClicked()
{
    const TPrefs before = gPrefs;
    if (TBasicWindow* window = Window(); window && !window->IsHidden()) window->Hide();
    gPrefs = mSnapshot;
    NotifyPrefDiffe(before, gPrefs);
    UpdateCompos();
}

void TPrefsView::ButtonDefaultsClicked()
{
    const TPrefs before = gPrefs;
    gPrefs = TPrefs();
    NotifyPrefDiffe(before, gPrefs);
    UpdateCompos();
}

void TPrefsView::ButtonHelpClicked()
{
    NotifyPrefChange(kHelpMessage);
}

// --- notices ---

void TPrefsView::NotifyPrefChange(const Message& notice, bool delayed)
{
    if (delayed) {
        mDelaySender->SendMessage(&notice);
    } else if (mServices.sink) {
        mServices.sink->Post(notice);
    }
}

void TPrefsView::NotifyPrefChange(uint32_t what, bool delayed)
{
    NotifyPrefChange(Message(what), delayed);
}

void TPrefsView::NotifyPrefDiffe(const TPrefs& before, const TPrefs& after)
{
    auto fontDiffers = [](const std::string& a, const std::string& b, float sizeA, float sizeB) {
        return a != b || sizeA != sizeB;
    };
    const bool differs[] = {
        fontDiffers(before.MainFontFamily(), after.MainFontFamily(), before.MainFontSize, after.MainFontSize),
        fontDiffers(before.RunFontFamily(), after.RunFontFamily(), before.RunFontSize, after.RunFontSize),
        fontDiffers(before.DebugFontFamily(), after.DebugFontFamily(), before.DebugFontSize, after.DebugFontSize),
        before.DefaultEncoding.load() != after.DefaultEncoding.load(),
        before.WordWrap.load() != after.WordWrap.load(),
        before.MidiOutputs() != after.MidiOutputs(),
        before.UseSpeedControl.load() != after.UseSpeedControl.load(),
    };
    const uint32_t notices[] = {kPrefsMainFontChanged,        kPrefsRunFontChanged,  kPrefsDebugFontChanged,
                                kPrefsDefaultEncodingChanged, kPrefsWordWrapChanged, kPrefMidiOutChanged,
                                kPrefsSpeedControlChanged};
    for (size_t i = 0; i < std::size(notices); ++i)
        if (differs[i]) NotifyPrefChange(notices[i]);
}
