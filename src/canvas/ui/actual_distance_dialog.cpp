#include "canvas/ui/actual_distance_dialog.h"

#include <QLineEdit>
#include <QPushButton>

#include "base/ui/dialog_buttons.h"
#include "base/ui/ui_text.h"
#include "base/user_prompts.h"
#include "platform/qt_user_prompts.h"

namespace lensora {

ActualDistanceDialog::ActualDistanceDialog(const QString& unitName, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("actualDistanceDialog"));
    setWindowTitle(UiText("TipCalibration", "Calibration"));
    box_ = LayOutLengthEntry(*this, UiText("EnterActualDistance", "Please enter actual distance"),
                             unitName);
    box_->setObjectName(QStringLiteral("distanceBox"));
}

void ActualDistanceDialog::done(int result) {
    if (result == QDialog::Accepted) {
        const std::optional<double> distance = accept ? accept(box_->text()) : std::nullopt;
        if (!distance) {
            const std::string text = GetText("EnterDigital", "Please enter digital!");
            if (prompts != nullptr) {
                prompts->Show(text, PromptIcon::Exclamation);
            } else {
                QtUserPrompts(this).Show(text, PromptIcon::Exclamation);
            }
            box_->setFocus();
            box_->selectAll();
            return;
        }
        distance_ = *distance;
    }
    QDialog::done(result);
}

}  // namespace lensora
