// The recorder dialog shown before each recording: frame rate, time limit (or none: 1800 s),
// the capture resolution and the compressor. It opens at the defaults every time and applies
// 640x480 at once; another resolution applies the moment it is chosen. OK, Cancel and
// Compress are enabled only while the last resolution was applied. The compression options
// belong to the caller and last for the run. UI thread only.
#pragma once

#include <QDialog>
#include <functional>
#include <optional>

#include "capture/recorder_settings.h"
#include "capture/video_encoders.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace lensora {

class RecorderDialog : public QDialog {
    Q_OBJECT
  public:
    struct Camera {
        bool largeSensor = true;
        // Applies a resolution step; false when the camera refused it.
        std::function<bool(int step)> applyStep;
        // The frame size and stream rate now in force (for the compressor's test).
        std::function<int()> width, height, rate;
    };

    RecorderDialog(Camera camera, CompressionOptions& compression, QWidget* parent = nullptr);

    // The recording's limit in seconds once accepted.
    int LimitSeconds() const { return limitSeconds_; }

    QLineEdit* FrameRateEdit() const { return frameRate_; }
    QCheckBox* LimitCheck() const { return limitOn_; }
    QLineEdit* LimitEdit() const { return limit_; }
    QComboBox* ResolutionCombo() const { return resolution_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CompressButton() const { return compress_; }

    // Replaces the compressor list dialog (tests): returns the wanted options or nothing.
    std::function<std::optional<CompressionOptions>(const CompressionOptions& current)>
        chooseCompressor;
    // Replaces the message box of a refused field or encoder (tests).
    std::function<void(const QString&)> showMessage;

    void accept() override;

  private:
    void ApplyStep(int step);
    void ChooseCompressor();
    void Message(const QString& text);

    Camera camera_;
    CompressionOptions& compression_;
    int limitSeconds_ = 0;
    QLineEdit* frameRate_ = nullptr;
    QCheckBox* limitOn_ = nullptr;
    QLineEdit* limit_ = nullptr;
    QComboBox* resolution_ = nullptr;
    QPushButton* compress_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace lensora
