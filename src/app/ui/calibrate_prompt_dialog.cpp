#include "app/ui/calibrate_prompt_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "base/text_keys.h"

namespace lensora {

CalibratePromptDialog::CalibratePromptDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("calibratePrompt"));
    setWindowTitle(QString::fromStdString(GetText(text::kMsgTitle)));
    setModal(true);

    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    auto* message =
        new QLabel(QString::fromStdString(GetText(text::kCalibrateBeforeMeasure)), this);
    message->setWordWrap(true);
    checkBox_ = new QCheckBox(QString::fromStdString(GetText(text::kTipPrompt)), this);
    checkBox_->setChecked(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QString::fromStdString(GetText(text::kOk, 40)));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addWidget(message, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(checkBox_);
    layout->addWidget(buttons);
    setMinimumWidth(320);
}

bool CalibratePromptDialog::ShowNextTime() const {
    return checkBox_->isChecked();
}

}  // namespace lensora
