#pragma once
// Fitting controls to their labels after the labels changed (with the language or the
// accelerator format). Each measures the label in the control's own font, rounds the
// width up to the next whole pixel and adds a fixed margin; the height stays. Call
// on the GUI thread. A null control is ignored.

class QAbstractButton;
class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QWidget;

// A text control is a field with the QLabel whose buddy it is, side by side. Its
// divider is where the label ends and the field begins, counted from the label's
// left edge: the label's width + 2. The field keeps its right edge. A field with no
// such label is left alone.
void adjust_txt_ctrl_divider(QLineEdit* field);
// The same for a menu field: a QComboBox, or a QToolButton with a menu.
void adjust_mfield_divider(QWidget* field);
// The text's width + 2.
void adjust_str_view_width(QLabel* view);
// The label's width + the style's box and gap before the label + 2.
void adjust_cbox_width(QCheckBox* box);
void adjust_rbutton_width(QRadioButton* button);
// The button's preferred width, no margin.
void adjust_button_width(QAbstractButton* button);
