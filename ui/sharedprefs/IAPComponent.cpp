#include "ui/sharedprefs/IAPComponent.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <algorithm>

#include "ui/guibase/ControlLabels.h"

namespace {

// Gap between a pop-up field's label and its menu.
constexpr int kLabelGap = 5;

// Frames keep their right and bottom edges inclusive.
int width_of(const platform::Rect& frame)
{
    return static_cast<int>(frame.right - frame.left) + 1;
}
int height_of(const platform::Rect& frame)
{
    return static_cast<int>(frame.bottom - frame.top) + 1;
}

}  // namespace

TIAPComponent::TIAPComponent(const TIAPConfigView& description, QWidget* parent, ChangeSink changed)
    : QWidget(parent), mDescription(description), mChanged(std::move(changed))
{
    setObjectName(QString::fromStdString(mDescription.name));
    if (mDescription.control.kind == TIAPControl::Kind::CheckBox)
        BuildCheckBox();
    else
        BuildPopUpField();
    SetLabel("");
}

QWidget* TIAPComponent::Control() const
{
    if (mCheckBox) return mCheckBox;
    return mPopUp;
}

void TIAPComponent::BuildCheckBox()
{
    mCheckBox = new QCheckBox(this);
    mCheckBox->setObjectName(QString::fromStdString(mDescription.control.name));
    mCheckBox->setChecked(mDescription.control.value != 0);
    // clicked, not toggled: only the user's changes (and the Alt short-cut) count.
    QObject::connect(mCheckBox, &QCheckBox::clicked, this, [this](bool checked) {
        mDescription.control.value = checked ? 1 : 0;
        mChanged(mDescription.control.message);
    });
}

void TIAPComponent::BuildPopUpField()
{
    mPopUp = new QComboBox(this);
    mPopUp->setObjectName(QString::fromStdString(mDescription.control.name));
    mPopUp->setFocusPolicy(Qt::StrongFocus);
    mPopUpLabel = new QLabel(this);
    mPopUpLabel->setBuddy(mPopUp);
    int markedRow = -1;
    const std::vector<TIAPMenuEntry>& entries = mDescription.control.entries;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].separator) {
            mPopUp->insertSeparator(mPopUp->count());
        } else {
            if (entries[i].marked && markedRow < 0) markedRow = mPopUp->count();
            mPopUp->addItem(QString::fromStdString(entries[i].label));
        }
        mEntryOfRow.push_back(i);
    }
    // With no entry marked the field shows the menu's title.
    mPopUp->setPlaceholderText(QString::fromStdString(mDescription.control.title));
    mPopUp->setCurrentIndex(markedRow);
    QObject::connect(mPopUp, &QComboBox::activated, this, [this](int row) { EntryChosen(row); });
}

void TIAPComponent::EntryChosen(int row)
{
    if (row < 0 || static_cast<size_t>(row) >= mEntryOfRow.size()) return;
    std::vector<TIAPMenuEntry>& entries = mDescription.control.entries;
    size_t chosen = mEntryOfRow[static_cast<size_t>(row)];
    if (entries[chosen].separator) return;
    // A radio menu: the chosen entry is the one marked.
    for (size_t i = 0; i < entries.size(); ++i) entries[i].marked = i == chosen;
    mChanged(entries[chosen].message);
}

void TIAPComponent::SetLabel(const std::string& text)
{
    const TIAPControl& control = mDescription.control;
    int controlWidth = width_of(control.frame);
    int controlHeight = height_of(control.frame);
    QWidget* shown = Control();
    set_control_label(shown, text);
    if (mCheckBox) {
        controlWidth = std::max(controlWidth, mCheckBox->sizeHint().width());
        controlHeight = std::max(controlHeight, mCheckBox->sizeHint().height());
        mCheckBox->setGeometry(0, 0, controlWidth, controlHeight);
    } else {
        // The menu starts right after the label, as a pop-up field's divider does.
        int divider = text.empty() ? 0 : mPopUpLabel->sizeHint().width() + kLabelGap;
        QSize menu = mPopUp->sizeHint();
        controlWidth = std::max(controlWidth, divider + menu.width());
        controlHeight = std::max(controlHeight, menu.height());
        mPopUpLabel->setGeometry(0, 0, divider, controlHeight);
        mPopUp->setGeometry(divider, 0, controlWidth - divider, controlHeight);
    }
    // The view keeps the room around the control that the item gave it.
    int width = std::max(width_of(mDescription.frame), controlWidth);
    int height = controlHeight + std::max(0, height_of(mDescription.frame) - height_of(control.frame));
    resize(width, height);
}
