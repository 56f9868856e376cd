#pragma once
// One component of the shared-preferences window: the control that an item described
// (IAPConfigView.h), built as Qt widgets. The component keeps the description in step
// with the control, so that it can be archived again with the state the user chose.
//
// A check box becomes a QCheckBox; a pop-up field a QComboBox with its label in a
// QLabel in front (the label's width decides where the menu starts).

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "foundation/IAPConfigView.h"
#include "platform/Message.h"

class QCheckBox;
class QComboBox;
class QLabel;

class TIAPComponent : public QWidget {
public:
    // `changed` gets the control's message (a menu entry's for a pop-up field) each
    // time the user changes the control.
    using ChangeSink = std::function<void(const platform::Message& message)>;

    TIAPComponent(const TIAPConfigView& description, QWidget* parent, ChangeSink changed);

    const std::string& ItemName() const { return mDescription.name; }
    // The accelerator letter, then the locale key of the label.
    const std::string& ControlName() const { return mDescription.control.name; }
    // The QCheckBox or the QComboBox.
    QWidget* Control() const;
    // The description with the control's present state.
    const TIAPConfigView& Description() const { return mDescription; }

    // Shows `text` as the control's label and fits the component around the control.
    void SetLabel(const std::string& text);

private:
    void BuildCheckBox();
    void BuildPopUpField();
    void EntryChosen(int comboIndex);

    TIAPConfigView mDescription;
    ChangeSink mChanged;
    QCheckBox* mCheckBox = nullptr;
    QComboBox* mPopUp = nullptr;
    QLabel* mPopUpLabel = nullptr;
    // For each row of the combo box, the index of its entry in the description.
    std::vector<size_t> mEntryOfRow;
};
