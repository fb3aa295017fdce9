#include "live/ui/length_line_dialog.h"

#include <QLineEdit>

#include "base/number_format.h"
#include "base/ui/dialog_buttons.h"
#include "base/ui/ui_text.h"
#include "base/user_prompts.h"
#include "measure/reference_shape.h"

namespace lensora {

LengthLineDialog::LengthLineDialog(const QString& unitName, UserPrompts& prompts, QWidget* parent)
    : QDialog(parent), prompts_(prompts) {
    setObjectName(QStringLiteral("lengthLineDialog"));
    setWindowTitle(UiText("TipRuler", "Length-Line"));
    box_ = LayOutLengthEntry(
        *this, UiText("EnterLineLength", "Please enter the length of the line"), unitName);
    box_->setObjectName(QStringLiteral("lengthBox"));
}

std::optional<double> LengthLineDialog::Ask(const QString& unitName, UserPrompts& prompts,
                                            QWidget* parent) {
    LengthLineDialog dialog(unitName, prompts, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.Length();
}

void LengthLineDialog::done(int result) {
    if (result == QDialog::Accepted) {
        // Read as the C library reads a number, whatever the locale: "2.5mm" is 2.5, "abc" 0.
        const double length = ParseLeadingNumber(box_->text().toStdString());
        if (length == 0.0) {
            prompts_.Show(GetText(shape_text::kEnterDigital), PromptIcon::Exclamation);
            box_->setFocus();
            box_->selectAll();
            return;
        }
        length_ = length;
    }
    QDialog::done(result);
}

}  // namespace lensora
