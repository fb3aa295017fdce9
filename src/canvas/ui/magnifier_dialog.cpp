#include "canvas/ui/magnifier_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "base/ui/dialog_buttons.h"
#include "base/ui/ui_text.h"

namespace lensora {
namespace {

QGroupBox* Choices(const QString& title, QButtonGroup* group,
                   std::initializer_list<std::pair<QString, int>> items, QWidget* parent) {
    auto* box = new QGroupBox(title, parent);
    auto* row = new QHBoxLayout(box);
    for (const auto& [caption, value] : items) {
        auto* button = new QRadioButton(caption, box);
        group->addButton(button, value);
        row->addWidget(button);
    }
    group->buttons().front()->setChecked(true);
    return box;
}

}  // namespace

MagnifierDialog::MagnifierDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("magnifierDialog"));
    setWindowTitle(UiText("TipMagnifier", "Magnifier"));
    zooms_ = new QButtonGroup(this);
    sizes_ = new QButtonGroup(this);
    auto* zoomBox = Choices(
        UiText("Zoom", "Zoom"), zooms_,
        {{QStringLiteral("2X"), 20}, {QStringLiteral("3X"), 30}, {QStringLiteral("4X"), 40}}, this);
    auto* sizeBox = Choices(
        UiText("magnifierSize", "magnifier Size"), sizes_,
        {{QStringLiteral("100"), 100}, {QStringLiteral("150"), 150}, {QStringLiteral("200"), 200}},
        this);
    QDialogButtonBox* buttons = OkCancelButtons(*this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(zoomBox);
    layout->addWidget(sizeBox);
    layout->addWidget(buttons);
}

int MagnifierDialog::ZoomTenths() const {
    return zooms_->checkedId();
}
int MagnifierDialog::LensSize() const {
    return sizes_->checkedId();
}

}  // namespace lensora
