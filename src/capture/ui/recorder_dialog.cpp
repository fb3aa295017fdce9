#include "capture/ui/recorder_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>

#include "base/ui/ui_text.h"
#include "capture/resolution_steps.h"
#include "capture/ui/compressor_dialog.h"

namespace lensora {

RecorderDialog::RecorderDialog(Camera camera, CompressionOptions& compression, QWidget* parent)
    : QDialog(parent), camera_(std::move(camera)), compression_(compression) {
    setWindowTitle(UiText("RecorderSetting", "Recorder Setting"));
    auto* grid = new QGridLayout(this);
    frameRate_ = new QLineEdit(QStringLiteral("15"), this);
    frameRate_->setObjectName(QStringLiteral("edit1104"));
    limitOn_ = new QCheckBox(UiText("TimerLimit", "Time limit"), this);
    limitOn_->setObjectName(QStringLiteral("check1105"));
    limitOn_->setChecked(true);
    limit_ = new QLineEdit(QStringLiteral("10"), this);
    limit_->setObjectName(QStringLiteral("edit1106"));
    resolution_ = new QComboBox(this);
    resolution_->setObjectName(QStringLiteral("combo1232"));
    for (const std::string& text : ResolutionComboTexts(camera_.largeSensor)) {
        resolution_->addItem(Qs(text));
    }
    compress_ = new QPushButton(UiText("Compress", "Compress"), this);
    ok_ = new QPushButton(UiText("OK", "OK"), this);
    cancel_ = new QPushButton(UiText("Cancel", "Cancel"), this);
    ok_->setDefault(true);

    grid->addWidget(new QLabel(UiText("FrameRate", "Frame rate"), this), 0, 0);
    grid->addWidget(frameRate_, 0, 1);
    grid->addWidget(limitOn_, 1, 0);
    grid->addWidget(limit_, 1, 1);
    grid->addWidget(new QLabel(UiText("Second", "Second"), this), 1, 2);
    grid->addWidget(resolution_, 2, 0, 1, 2);
    grid->addWidget(compress_, 2, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    grid->addLayout(buttons, 3, 0, 1, 3);

    connect(limitOn_, &QCheckBox::toggled, limit_, &QWidget::setEnabled);
    connect(resolution_, &QComboBox::currentIndexChanged, this,
            [this](int index) { ApplyStep(index); });
    connect(compress_, &QPushButton::clicked, this, [this] { ChooseCompressor(); });
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    // 640x480 is selected and applied at once, so that Cancel leaves it in force too.
    const int step = RecorderDefaultStep(camera_.largeSensor);
    {
        QSignalBlocker block(resolution_);
        resolution_->setCurrentIndex(step);
    }
    ApplyStep(step);
}

void RecorderDialog::ApplyStep(int step) {
    const bool applied = camera_.applyStep && camera_.applyStep(step);
    ok_->setEnabled(applied);
    cancel_->setEnabled(applied);
    compress_->setEnabled(applied);
}

void RecorderDialog::ChooseCompressor() {
    const int width = camera_.width ? camera_.width() : 0;
    const int height = camera_.height ? camera_.height() : 0;
    const int rate = camera_.rate ? camera_.rate() : 15;
    std::optional<CompressionOptions> wanted;
    if (chooseCompressor) {
        wanted = chooseCompressor(compression_);
    } else {
        CompressorDialog dialog(compression_, width, height, rate, this);
        if (dialog.exec() == QDialog::Accepted) {
            wanted = dialog.Choice();
        }
    }
    if (!wanted) {
        return;
    }
    std::string error;
    if (!ChooseCompression(compression_, *wanted, width, height, rate, error)) {
        // The previous choice stays in force.
        Message(Qs(error));
    }
}

void RecorderDialog::accept() {
    RecorderForm form;
    form.frameRate = frameRate_->text().toStdString();
    form.limitOn = limitOn_->isChecked();
    form.timeLimit = limit_->text().toStdString();
    const RecorderFormCheck check = CheckRecorderForm(form);
    if (!check.ok) {
        Message(Qs(check.message));
        return;
    }
    limitSeconds_ = check.limitSeconds;
    QDialog::accept();
}

void RecorderDialog::Message(const QString& text) {
    if (showMessage) {
        showMessage(text);
    } else {
        QMessageBox::warning(this, windowTitle(), text);
    }
}

}  // namespace lensora
