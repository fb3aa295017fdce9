// The localised OK and Cancel buttons of the program's dialogs, wired to accept and reject.
// UI thread only; the box belongs to the dialog.
#pragma once

class QDialog;
class QDialogButtonBox;

namespace lensora {

QDialogButtonBox* OkCancelButtons(QDialog& dialog);

}  // namespace lensora
