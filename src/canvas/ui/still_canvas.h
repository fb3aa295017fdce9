// The canvas of the still-image window: the opened picture with its measurements, double
// buffered through a memory surface of the view's size. Display mode 1 fits the whole picture
// at one scale into the 640 x 480 (640 x 512) view; mode 2 shows it at its own size with
// scroll bars. Records are kept in picture pixels, so they and their values do not depend on
// the mode. It forwards its mouse
// events to the still view's interaction, draws the rubber band in NOT-XOR mode over the
// memory surface and runs the magnifier. Owns the picture, the still view's records, its
// drawing settings and its line calibration (StillCalibration, which holds the rate); they
// are destroyed with the canvas.
// UI thread only.
#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <QString>
#include <filesystem>

#include <memory>
#include <optional>

#include "base/drawing_settings.h"
#include "base/view_transform.h"
#include "canvas/ui/still_calibration.h"
#include "imaging/cx_image.h"
#include "measure/calibration.h"
#include "measure/interaction_view.h"
#include "measure/record_lists.h"
#include "measure/still_interaction.h"

class QLineEdit;

namespace lensora {

class CanvasServices;
class DetectionTools;
class MagnifierLens;

class StillCanvas : public QAbstractScrollArea, private InteractionView {
    Q_OBJECT
  public:
    static constexpr int kFitMode = 1;
    static constexpr int kActualSizeMode = 2;

    // `prompts` answers the canvas's questions and outlives it.
    StillCanvas(CanvasServices& app, int displayMode, UserPrompts& prompts,
                QWidget* parent = nullptr);
    ~StillCanvas() override;

    // Loads the picture (converted to 24 bits so that detection and filters work on every
    // picture); false when it cannot be decoded.
    bool Load(const std::filesystem::path& path);
    bool HasPicture() const { return picture_.IsValid(); }
    // Switches between the fit view and actual size; records, image operations, the rate and
    // the chosen tool stay (records are picture pixels).
    void SetDisplayMode(int displayMode);

    // The window's magnification and calibrated-rate boxes, read whenever a tool needs the
    // rate and written after a calibration.
    void SetRateBoxes(QLineEdit* magnification, QLineEdit* calibratedRate);

    CxImage& Picture() { return picture_; }
    QString Caption() const { return caption_; }
    int DisplayMode() const { return displayMode_; }
    QPoint ScrollPosition() const;
    StillRecords& Records() { return records_; }
    // Recomputes every record's labels when the unit, decimals, area rule or rate differ from
    // those the labels were made with, so one picture never mixes units; `keep` keeps its
    // labels (the calibration line reads what was typed).
    void RelabelForCurrentScale(const MeasureRecord* keep = nullptr);
    DrawingSettings& Drawing() { return drawing_; }
    StillInteraction& Interaction() { return *interaction_; }
    ViewCalibration& RateState() { return calibrationFlow_.State(); }

    // The sensor class of the last camera seen (the large sensor until one is seen); the
    // capture size is always the picture's own, so that a picture reads the same whatever
    // the camera runs at now.
    void SetLastCamera(const CameraFacts& camera) { lastCamera_ = camera; }
    CameraFacts PictureCamera() const {
        return {lastCamera_.largeSensor, picture_.GetWidth(), picture_.GetHeight()};
    }

    // The view in pixels: 640 x 480 (640 x 512 for a 1280 x 1024 picture) in fit mode, the
    // visible part of the picture in actual-size mode.
    QSize ViewSize() const;

    // A tool command of the toolbar or a popup menu. False when it selects no tool or the
    // rate check refused it.
    bool ChooseCommand(int command);
    // No tool (before Save As, for instance).
    void ChooseNoTool();
    // Starts a line calibration with the parallel line or the automatic line spacing tool.
    bool StartCalibration(CalibrationTool tool);
    // The text tool with a confirmed text.
    bool EnterText(const QString& text, const LogFont& font, std::uint32_t colour);
    // The magnifier tool: zoom in tenths (20, 30, 40) and lens size in pixels.
    void ChooseMagnifier(int zoomTenths, int lensSize);
    // "Edge Detect(Global)" on the picture in memory.
    bool PaintEdgesGlobal();

    // Runs an image operation of the image-process menu and repaints.
    bool ApplyImageOperation(int command);

    // Renders the view as it is shown now (picture, records, preview, caption), without the
    // rubber band.
    QImage RenderView();

    // Draws the picture and the records at the picture's own resolution and saves it as BMP
    // or JPEG by the path's extension. False for another extension or when writing fails.
    bool SaveAnnotated(const std::filesystem::path& path);

    // Asks for the actual distance of a calibration line (nullopt: Cancel). Tests replace it.
    std::function<std::optional<double>(const QString& unitName, double pixelLength)>
        askActualDistance;

  signals:
    void ToolNameChanged(const QString& name);
    // A calibration gave a new rate: the calibrated box shows `rateText`; the window hands
    // the calibration over to the live view.
    void CalibrationFinished(const QString& magnification, const QString& rateText);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    // The calibration flow shares the canvas's mouse grab, records and signals.
    friend class StillCalibration;

    // InteractionView
    void Repaint() override;
    void InvalidateRect(const PixelBox& rect) override;
    void ShowRubberBand(const RubberBand& band) override;
    void EraseRubberBand() override;
    void CaptureMouse() override;
    void ReleaseMouse() override;
    void ConfinePointer(const PixelBox& area) override;
    void FreePointer() override;
    DrawingSettings CurrentDrawingSettings() const override { return drawing_; }
    ScaleContext CurrentScale() const override;
    bool PrepareRate() override;
    UserPrompts& Prompts() override { return prompts_; }
    void ShowToolName(std::string_view caption) override;
    void SetPointerPosition(PixelPoint client) override;

    void UpdateScrollRanges();
    void RenderScene();
    // View -> picture: the scroll position as origin, the display factor on both axes.
    ViewTransform Mapping() const;
    // Picture pixels per view pixel.
    double DisplayFactor() const;
    // Stored picture pixels -> view pixels, as records are drawn.
    ViewTransform ToViewDrawing() const;
    void DrawBand(const RubberBand& band);
    PointD ClientOf(const QMouseEvent* event) const;

    CanvasServices& app_;
    UserPrompts& prompts_;
    int displayMode_;
    std::filesystem::path path_;
    QString caption_;
    CxImage picture_;
    CameraFacts lastCamera_;
    StillRecords records_;
    DrawingSettings drawing_;
    StillCalibration calibrationFlow_;
    std::optional<ScaleContext> labelScale_;  // the scale the records' labels were made with
    std::unique_ptr<DetectionTools> autoTools_;
    std::unique_ptr<StillInteraction> interaction_;
    QImage back_;  // the memory surface, of the view's size
    bool sceneDirty_ = true;
    std::optional<RubberBand> band_;  // as drawn on back_, client coordinates
    std::optional<PixelBox> confine_;
    bool grabbing_ = false;
    int magnifierZoom_ = 20;
    int magnifierSize_ = 100;
    MagnifierLens* lens_ = nullptr;
};

// The canvas size in fit mode for a picture of the given size.
QSize FitViewSize(int pictureWidth, int pictureHeight);

}  // namespace lensora
