#include "live/ui/tolerance_circle_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "base/number_format.h"
#include "base/ui/dialog_buttons.h"
#include "base/ui/ui_text.h"
#include "base/user_prompts.h"
#include "live/live_session.h"
#include "measure/reference_shape.h"

namespace lensora {

ToleranceCircleDialog::ToleranceCircleDialog(const QString& unitName, UserPrompts& prompts,
                                             QWidget* parent)
    : QDialog(parent), prompts_(prompts) {
    setObjectName(QStringLiteral("toleranceCircleDialog"));
    setWindowTitle(UiText("TipDrawCircle", "Tolerance Circle"));
    auto* grid = new QGridLayout;
    const auto addRow = [&](int row, const QString& caption, const char* name) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QLatin1String(name));
        box->setMaxLength(31);
        grid->addWidget(new QLabel(caption, this), row, 0);
        grid->addWidget(box, row, 1);
        grid->addWidget(new QLabel(unitName, this), row, 2);
        return box;
    };
    radiusBox_ = addRow(0, UiText("ToleranceRadius", "Radius:"), "radiusBox");
    plusBox_ = addRow(1, UiText("TolerancePlus", "Plus tolerance:"), "plusBox");
    minusBox_ = addRow(2, UiText("ToleranceMinus", "Minus tolerance:"), "minusBox");
    grid->setColumnStretch(1, 1);
    QDialogButtonBox* buttons = OkCancelButtons(*this);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    setMinimumWidth(300);
}

void ToleranceCircleDialog::done(int result) {
    if (result == QDialog::Accepted) {
        // Read as the C library reads a number, whatever the locale: "0.05mm" is 0.05, "abc" 0.
        const double radius = ParseLeadingNumber(radiusBox_->text().toStdString());
        const double plus = ParseLeadingNumber(plusBox_->text().toStdString());
        const double minus = ParseLeadingNumber(minusBox_->text().toStdString());
        if (radius == 0.0 || plus == 0.0 || minus == 0.0) {
            prompts_.Show(GetText(shape_text::kEnterDigital), PromptIcon::Exclamation);
            QLineEdit* wrong = radius == 0.0 ? radiusBox_ : plus == 0.0 ? plusBox_ : minusBox_;
            wrong->setFocus();
            wrong->selectAll();
            return;
        }
        if (accept && !accept(radius, plus, minus)) {
            return;
        }
        radius_ = radius;
        plus_ = plus;
        minus_ = minus;
    }
    QDialog::done(result);
}

ToleranceCircleDialog* OpenToleranceCircleDialog(LiveSession& session, UserPrompts& prompts,
                                                 const QString& unitName, QWidget* parent) {
    if (!session.PrepareToleranceCircle()) {
        return nullptr;
    }
    auto* dialog = new ToleranceCircleDialog(unitName, prompts, parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->accept = [&session](double radius, double plus, double minus) {
        return session.CreateToleranceCircle(radius, plus, minus);
    };
    dialog->open();
    return dialog;
}

}  // namespace lensora
