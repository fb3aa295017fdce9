// The localised OK and Cancel buttons of the program's dialogs, wired to accept and reject,
// and the layout of the dialogs that ask for one length. UI thread only; every widget belongs
// to the dialog.
#pragma once

class QDialog;
class QDialogButtonBox;
class QLineEdit;
class QString;

namespace lensora {

QDialogButtonBox* OkCancelButtons(QDialog& dialog);

// Lays `dialog` out as a prompt line above a number box with the unit's name beside it
// (object name "unitName") and the OK and Cancel buttons; returns the box.
QLineEdit* LayOutLengthEntry(QDialog& dialog, const QString& prompt, const QString& unitName);

}  // namespace lensora
