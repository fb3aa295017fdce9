#include "capture/ui/timed_capture_dialog.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>

#include "base/ui/ui_text.h"

namespace lensora {
namespace {

constexpr int kFirstControl = 1017;
enum Index { kYear, kMonth, kDay, kHour, kMinute, kSecond, kMinutes, kSeconds, kNumber };

}  // namespace

TimedCaptureDialog::TimedCaptureDialog(TimedCaptureClock& clock, Frame frame,
                                       std::function<void()> requestSnapshot, QWidget* parent)
    : QDialog(parent), clock_(clock), frame_(frame) {
    setWindowTitle(UiText("CaptureSetting", "Capture Setting"));
    // The spin boxes allow a little beyond the valid ranges; Start checks them and says why.
    const int ranges[9][2] = {{2000, 2100}, {0, 99},   {0, 99}, {0, 99},  {0, 99},
                              {0, 99},      {0, 9999}, {0, 99}, {0, 9999}};
    for (int i = 0; i < 9; ++i) {
        fields_[i] = new QSpinBox(this);
        fields_[i]->setObjectName(QStringLiteral("edit%1").arg(kFirstControl + i));
        fields_[i]->setRange(ranges[i][0], ranges[i][1]);
    }
    const CalendarTime now = clock_.Now();
    const int values[9] = {now.year, now.month, now.day, now.hour, now.minute, now.second, 0, 3, 8};
    for (int i = 0; i < 9; ++i) {
        fields_[i]->setValue(values[i]);
    }
    start_ = new QPushButton(UiText("Start", "Start"), this);
    cancel_ = new QPushButton(UiText("Cancel", "Cancel"), this);
    completed_ = new QLabel(QStringLiteral("0"), this);
    size_ = new QLabel(this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(UiText("StartTime", "Start Time"), this), 0, 0);
    for (int i = kYear; i <= kSecond; ++i) {
        grid->addWidget(fields_[i], 0, 1 + i);
    }
    grid->addWidget(new QLabel(UiText("Interval", "Interval"), this), 1, 0);
    grid->addWidget(fields_[kMinutes], 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("min"), this), 1, 2);
    grid->addWidget(fields_[kSeconds], 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("s"), this), 1, 4);
    grid->addWidget(new QLabel(UiText("Capture", "Capture"), this), 2, 0);
    grid->addWidget(fields_[kNumber], 2, 1);
    grid->addWidget(new QLabel(UiText("Frame", "Frame"), this), 2, 2);
    grid->addWidget(new QLabel(UiText("Completed", "Completed"), this), 3, 0);
    grid->addWidget(completed_, 3, 1);
    grid->addWidget(new QLabel(UiText("Frame", "Frame"), this), 3, 2);
    grid->addWidget(new QLabel(UiText("FileSize", "File Size"), this), 4, 0);
    grid->addWidget(size_, 4, 1, 1, 2);
    grid->addWidget(start_, 5, 5);
    grid->addWidget(cancel_, 5, 6);

    QPointer<TimedCaptureDialog> self(this);
    TimedCaptureWorker::Hooks hooks;
    hooks.requestSnapshot = std::move(requestSnapshot);
    hooks.completed = [self](int n) {
        QMetaObject::invokeMethod(
            self, [self, n] { self->completed_->setNum(n); }, Qt::QueuedConnection);
    };
    hooks.finished = [self] {
        QMetaObject::invokeMethod(
            self, [self] { self->accept(); }, Qt::QueuedConnection);
    };
    worker_ = std::make_unique<TimedCaptureWorker>(clock_, std::move(hooks));

    connect(start_, &QPushButton::clicked, this, [this] { StartStop(); });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(fields_[kNumber], &QSpinBox::editingFinished, this, [this] { UpdateSizeEstimate(); });
    UpdateSizeEstimate();
}

TimedCaptureDialog::~TimedCaptureDialog() {
    worker_->StopAndWait();
}

QSpinBox* TimedCaptureDialog::Field(int control) const {
    const int i = control - kFirstControl;
    return i >= 0 && i < 9 ? fields_[i] : nullptr;
}

void TimedCaptureDialog::UpdateSizeEstimate() {
    size_->setText(Qs(TimedCaptureSizeText(fields_[kNumber]->value(), frame_.width, frame_.height,
                                           frame_.largeSensor)));
}

void TimedCaptureDialog::StartStop() {
    if (worker_->Running()) {
        worker_->StopAndWait();
        ShowStopped();
        return;
    }
    TimedCaptureForm form;
    form.intervalSeconds = fields_[kSeconds]->value();
    form.intervalMinutes = fields_[kMinutes]->value();
    form.number = fields_[kNumber]->value();
    form.start = {fields_[kYear]->value(), fields_[kMonth]->value(),  fields_[kDay]->value(),
                  fields_[kHour]->value(), fields_[kMinute]->value(), fields_[kSecond]->value()};
    const TimedCaptureCheck check = CheckTimedCaptureForm(form, clock_.Now());
    if (!check.ok) {
        const QString text = check.message == kSetTimerFailText
                                 ? UiText(kSetTimerFailKey, kSetTimerFailText)
                                 : Qs(check.message);
        if (showMessage) {
            showMessage(text);
        } else {
            QMessageBox::warning(this, windowTitle(), text);
        }
        return;
    }
    completed_->setNum(0);
    worker_->Start(form.start, check.intervalMs, form.number);
    start_->setText(UiText("Stop", "Stop"));
}

void TimedCaptureDialog::ShowStopped() {
    completed_->setNum(0);
    start_->setText(UiText("Start", "Start"));
}

void TimedCaptureDialog::reject() {
    worker_->StopAndWait();
    QDialog::reject();
}

void TimedCaptureDialog::closeEvent(QCloseEvent* event) {
    worker_->StopAndWait();
    QDialog::closeEvent(event);
}

}  // namespace lensora
