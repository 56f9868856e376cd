#pragma once
// The logical label of a control (the merged text with its accelerator letter) is kept
// apart from the widget's text: "&" is shown as it stands, never as a Qt mnemonic.
// A control without a text of its own (a line edit, a combo box) shows its label in
// the QLabel whose buddy it is.

#include <QWidget>
#include <string>

void set_control_label(QWidget* control, const std::string& label);
// The label given with set_control_label, or an empty text.
std::string control_label(const QWidget* control);
