// The compressor list: the video encoders of this FFmpeg build that open for the current frame
// size, with a quality slider for those that have one. Shows the choice in force when it opens.
// UI thread only.
#pragma once

#include <QDialog>
#include <vector>

#include "capture/video_encoders.h"

class QListWidget;
class QSlider;
class QLabel;

namespace lensora {

class CompressorDialog : public QDialog {
    Q_OBJECT
  public:
    CompressorDialog(const CompressionOptions& current, int width, int height, int rate,
                     QWidget* parent = nullptr);

    CompressionOptions Choice() const;
    QListWidget* List() const { return list_; }
    QSlider* Quality() const { return quality_; }

  private:
    void OnRowChanged(int row);

    std::vector<VideoEncoderInfo> encoders_;
    QListWidget* list_ = nullptr;
    QSlider* quality_ = nullptr;
    QLabel* qualityValue_ = nullptr;
};

}  // namespace lensora
