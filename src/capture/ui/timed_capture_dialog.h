// The timed capture dialog: interval, number of snapshots and start date and time (filled with
// the current time when it opens), the completed count and the size estimate. Start runs the
// worker, which requests snapshots through `requestSnapshot`; the button reads Stop while a
// series runs. The dialog closes by itself one interval after the last snapshot; Cancel or
// closing stops the worker first (it ends within 10 ms). UI thread; the clock outlives it.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "capture/timed_capture.h"

class QLabel;
class QPushButton;
class QSpinBox;

namespace lensora {

class TimedCaptureDialog : public QDialog {
    Q_OBJECT
  public:
    struct Frame {
        int width = 0;
        int height = 0;
        bool largeSensor = true;
    };

    TimedCaptureDialog(TimedCaptureClock& clock, Frame frame, std::function<void()> requestSnapshot,
                       QWidget* parent = nullptr);
    ~TimedCaptureDialog() override;

    QSpinBox* Field(int control) const;  // 1017..1025
    QPushButton* StartButton() const { return start_; }
    QLabel* CompletedLabel() const { return completed_; }
    QLabel* SizeLabel() const { return size_; }
    bool Running() const { return worker_->Running(); }
    // Replaces the message box of a refused start (tests).
    std::function<void(const QString&)> showMessage;

    void StartStop();
    void reject() override;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void UpdateSizeEstimate();
    void ShowStopped();

    TimedCaptureClock& clock_;
    Frame frame_;
    std::unique_ptr<TimedCaptureWorker> worker_;
    QSpinBox* fields_[9] = {};  // 1017..1025
    QPushButton* start_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QLabel* completed_ = nullptr;
    QLabel* size_ = nullptr;
};

}  // namespace lensora
