#include "canvas/ui/actual_distance_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/ui/dialog_buttons.h"
#include "base/ui/ui_text.h"
#include "base/user_prompts.h"
#include "platform/qt_user_prompts.h"

namespace lensora {

ActualDistanceDialog::ActualDistanceDialog(const QString& unitName, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("actualDistanceDialog"));
    setWindowTitle(UiText("TipCalibration", "Calibration"));
    auto* prompt = new QLabel(UiText("EnterActualDistance", "Please enter actual distance"), this);
    box_ = new QLineEdit(this);
    box_->setObjectName(QStringLiteral("distanceBox"));
    box_->setMaxLength(31);
    auto* unit = new QLabel(unitName, this);
    QDialogButtonBox* buttons = OkCancelButtons(*this);

    auto* row = new QHBoxLayout;
    row->addWidget(box_, 1);
    row->addWidget(unit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addLayout(row);
    layout->addWidget(buttons);
    setMinimumWidth(280);
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
