#pragma once

class QDialog;

// The baseline of the window benchmark: plain QDialogs holding the controls of the component's
// three windows, each control as the stock Qt class it derives from (a text box a QLineEdit, a
// date picker a QDateEdit, the grid a QTableWidget inside a QWidget), as many of each, in the
// same layouts and places, with the same captions and list entries. They read no data and no
// settings: what the component's windows take beyond them is their own. Each is named as the
// window it stands for, with "bare" in front.
namespace BareWindows {

QDialog *Editor();
QDialog *Docket();
QDialog *Batch();

} // namespace BareWindows
