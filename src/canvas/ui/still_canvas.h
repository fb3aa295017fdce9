// The canvas of the still-image window: the opened picture with its measurements, double
// buffered through a memory surface of the view's size. Display mode 1 fits the picture to a
// 640-wide view; mode 2 shows it at its own size with scroll bars. Owns the picture, the
// still view's records and its drawing settings; they are destroyed with the canvas.
// UI thread only.
#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <QString>

#include "canvas/drawing_settings.h"
#include "imaging/cx_image.h"
#include "measure/record_lists.h"

namespace lensora {

class AppState;

class StillCanvas : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr int kFitMode = 1;
    static constexpr int kActualSizeMode = 2;

    StillCanvas(AppState& app, int displayMode, QWidget* parent = nullptr);
    ~StillCanvas() override;

    // Loads the picture (converted to 24 bits so that detection and filters work on every
    // picture); false when it cannot be decoded.
    bool Load(const QString& path);
    bool HasPicture() const { return picture_.IsValid(); }

    CxImage& Picture() { return picture_; }
    const QString& Path() const { return path_; }
    QString Caption() const { return caption_; }
    int DisplayMode() const { return displayMode_; }
    QPoint ScrollPosition() const;
    StillRecords& Records() { return records_; }
    DrawingSettings& Drawing() { return drawing_; }

    // The view in pixels: 640 x 480 (640 x 512 for a 1280 x 1024 picture) in fit mode, the
    // visible part of the picture in actual-size mode.
    QSize ViewSize() const;

    // Runs an image operation of the image-process menu and repaints.
    bool ApplyImageOperation(int command);

    // Renders the view as it is shown now (picture, records, caption).
    QImage RenderView();

    // Draws the picture and the records at the picture's own resolution and saves it as BMP
    // or JPEG by the path's extension. False for another extension or when writing fails.
    bool SaveAnnotated(const QString& path);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void UpdateScrollRanges();

    AppState& app_;
    int displayMode_;
    QString path_;
    QString caption_;
    CxImage picture_;
    StillRecords records_;
    DrawingSettings drawing_;
    QImage back_;  // the memory surface, of the view's size
};

// The canvas size in fit mode for a picture of the given size.
QSize FitViewSize(int pictureWidth, int pictureHeight);

}  // namespace lensora
