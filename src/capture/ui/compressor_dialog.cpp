#include "capture/ui/compressor_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include "base/ui/ui_text.h"

namespace lensora {

CompressorDialog::CompressorDialog(const CompressionOptions& current, int width, int height,
                                   int rate, QWidget* parent)
    : QDialog(parent), encoders_(ListVideoEncoders(width, height, rate)) {
    setWindowTitle(UiText("CompressTilte", "Compress Format Selection"));
    auto* layout = new QVBoxLayout(this);
    list_ = new QListWidget(this);
    const std::string currentName = current.encoder.empty() ? "rawvideo" : current.encoder;
    int currentRow = 0;
    for (std::size_t i = 0; i < encoders_.size(); ++i) {
        list_->addItem(Qs(encoders_[i].label));
        if (encoders_[i].name == currentName) {
            currentRow = static_cast<int>(i);
        }
    }
    layout->addWidget(list_);
    auto* qualityRow = new QHBoxLayout;
    qualityRow->addWidget(new QLabel(tr("Quality"), this));
    quality_ = new QSlider(Qt::Horizontal, this);
    quality_->setRange(1, 100);
    quality_->setValue(current.quality > 0 ? current.quality : kDefaultEncoderQuality);
    qualityValue_ = new QLabel(QString::number(quality_->value()), this);
    qualityValue_->setMinimumWidth(30);
    qualityRow->addWidget(quality_);
    qualityRow->addWidget(qualityValue_);
    layout->addLayout(qualityRow);
    auto* buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Horizontal, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(quality_, &QSlider::valueChanged, qualityValue_,
            [this](int value) { qualityValue_->setText(QString::number(value)); });
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) { OnRowChanged(row); });
    list_->setCurrentRow(currentRow);
    OnRowChanged(currentRow);
    buttons->button(QDialogButtonBox::Ok)->setEnabled(!encoders_.empty());
}

void CompressorDialog::OnRowChanged(int row) {
    const bool hasQuality = row >= 0 && row < static_cast<int>(encoders_.size()) &&
                            encoders_[static_cast<std::size_t>(row)].hasQuality;
    quality_->setEnabled(hasQuality);
    qualityValue_->setEnabled(hasQuality);
}

CompressionOptions CompressorDialog::Choice() const {
    const int row = list_->currentRow();
    if (row < 0 || row >= static_cast<int>(encoders_.size())) {
        return {};
    }
    const VideoEncoderInfo& info = encoders_[static_cast<std::size_t>(row)];
    CompressionOptions options;
    options.encoder = info.name == "rawvideo" ? std::string() : info.name;
    options.quality = info.hasQuality ? quality_->value() : 0;
    return options;
}

}  // namespace lensora
