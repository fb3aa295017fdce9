#include "app/ui/about_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/ui/skin.h"
#include "base/ui/ui_text.h"

namespace lensora {
AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(UiText(text::kAboutTitle, 128));

    auto* logo = new QLabel(this);
    logo->setPixmap(
        skin::IconPixmap(QStringLiteral("lensora.svg"), 72, false, devicePixelRatioF()));
    auto* product = new QLabel(UiText(text::kAboutProduct, 128), this);
    product->setFont(skin::UiFont(16, true));
    auto* version = new QLabel(UiText(text::kAboutVersion, 64) +
                                   QStringLiteral(" %1").arg(QStringLiteral(LENSORA_VERSION)),
                               this);
    auto* description = new QLabel(UiText(text::kAboutDescription, 512), this);
    description->setWordWrap(true);
    auto* licence = new QLabel(UiText(text::kAboutLicence, 512), this);
    licence->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(UiText(text::kOk, 40));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* texts = new QVBoxLayout;
    texts->addWidget(product);
    texts->addWidget(version);
    texts->addSpacing(8);
    texts->addWidget(description);
    texts->addWidget(licence);
    auto* top = new QHBoxLayout;
    top->addWidget(logo, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    setFixedWidth(420);
}

}  // namespace lensora
