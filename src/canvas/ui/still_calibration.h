// The line calibration of the still view: the rate check before a measuring tool, the start
// of a calibration from the window's magnification and rate boxes, the actual-distance
// question once the calibration line is drawn, the stored rate and its hand-over to the live
// view. Owned by its StillCanvas and used only from it, on the UI thread.
#pragma once

#include <QPointer>
#include <QString>

#include <optional>
#include <string>

#include "measure/calibration.h"

class QLineEdit;

namespace lensora {

class CanvasServices;
class StillCanvas;
class UserPrompts;
struct MeasureRecord;

class StillCalibration {
  public:
    StillCalibration(CanvasServices& app, UserPrompts& prompts, StillCanvas& canvas);

    // The window's magnification and calibrated-rate boxes, read whenever a tool needs the
    // rate and written after a calibration.
    void SetRateBoxes(QLineEdit* magnification, QLineEdit* calibratedRate);

    ViewCalibration& State() { return calibration_; }
    const ViewCalibration& State() const { return calibration_; }

    // The rate check a measuring tool makes before it starts.
    bool PrepareRate();
    // Starts a calibration with `tool`; false when the rate boxes refused it.
    bool Start(CalibrationTool tool);
    void Cancel() { calibration_.CancelCalibration(); }
    // The calibration line was stored: asks for its actual distance once the click that
    // stored it has been handled.
    void LineStored(MeasureRecord& line);

  private:
    RateBoxTexts BoxTexts(std::string& magnification, std::string& rate) const;
    void Finish(MeasureRecord* line, double pixelLength);
    std::optional<double> AskActualDistanceDialog(const QString& unitName, double pixelLength);

    CanvasServices& app_;
    UserPrompts& prompts_;
    StillCanvas& canvas_;
    ViewCalibration calibration_;
    QPointer<QLineEdit> magnificationBox_;
    QPointer<QLineEdit> rateBox_;
};

}  // namespace lensora
