#include "live/ui/angle_line_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <cmath>
#include <optional>

#include "base/number_format.h"
#include "base/ui/dialog_buttons.h"
#include "base/ui/ui_text.h"
#include "base/user_prompts.h"
#include "live/live_session.h"
#include "measure/reference_shape.h"

namespace lensora {
namespace {

// A typed coordinate as a whole pixel: the leading number with its fraction dropped, as
// reading an integer would; 0 for no number and for values beyond the pixel range.
std::int32_t TypedPixel(const QLineEdit& box) {
    const double value = ParseLeadingNumber(box.text().toStdString());
    if (!(std::abs(value) < 2147483648.0)) {
        return 0;
    }
    return static_cast<std::int32_t>(value);
}

}  // namespace

AngleLineDialog::AngleLineDialog(UserPrompts& prompts, QWidget* parent)
    : QDialog(parent), prompts_(prompts) {
    setObjectName(QStringLiteral("angleLineDialog"));
    setWindowTitle(UiText("TipMeasureAngle", "Angle-Line"));
    auto* prompt =
        new QLabel(UiText("EnterAngleVertex", "Position of the angle's vertex (pixels)"), this);
    xBox_ = new QLineEdit(this);
    xBox_->setObjectName(QStringLiteral("xBox"));
    yBox_ = new QLineEdit(this);
    yBox_->setObjectName(QStringLiteral("yBox"));
    for (QLineEdit* box : {xBox_, yBox_}) {
        box->setMaxLength(15);
    }
    QDialogButtonBox* buttons = OkCancelButtons(*this);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("X [0–640]:"), xBox_);
    form->addRow(QStringLiteral("Y [0–480]:"), yBox_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(280);
}

void AngleLineDialog::done(int result) {
    if (result == QDialog::Accepted) {
        const std::int32_t x = TypedPixel(*xBox_);
        const std::int32_t y = TypedPixel(*yBox_);
        if (x == 0 || y == 0) {
            prompts_.Show(GetText(shape_text::kEnterDigitalXY), PromptIcon::Exclamation);
            QLineEdit* wrong = x == 0 ? xBox_ : yBox_;
            wrong->setFocus();
            wrong->selectAll();
            return;
        }
        if (accept && !accept(x, y)) {
            return;
        }
        x_ = x;
        y_ = y;
    }
    QDialog::done(result);
}

AngleLineDialog* OpenAngleLineDialog(LiveSession& session, UserPrompts& prompts, QWidget* parent) {
    auto* dialog = new AngleLineDialog(prompts, parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->accept = [&session](std::int32_t x, std::int32_t y) {
        return session.CreateAngleLine(x, y);
    };
    dialog->open();
    return dialog;
}

}  // namespace lensora
