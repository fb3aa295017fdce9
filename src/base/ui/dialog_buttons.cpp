#include "base/ui/dialog_buttons.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/ui/ui_text.h"

namespace lensora {

QDialogButtonBox* OkCancelButtons(QDialog& dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(UiText("OK", "OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(UiText("Cancel", "Cancel"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return buttons;
}

QLineEdit* LayOutLengthEntry(QDialog& dialog, const QString& prompt, const QString& unitName) {
    auto* promptLabel = new QLabel(prompt, &dialog);
    auto* box = new QLineEdit(&dialog);
    box->setMaxLength(31);
    auto* unit = new QLabel(unitName, &dialog);
    unit->setObjectName(QStringLiteral("unitName"));
    QDialogButtonBox* buttons = OkCancelButtons(dialog);

    auto* row = new QHBoxLayout;
    row->addWidget(box, 1);
    row->addWidget(unit);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(promptLabel);
    layout->addLayout(row);
    layout->addWidget(buttons);
    dialog.setMinimumWidth(280);
    return box;
}

}  // namespace lensora
