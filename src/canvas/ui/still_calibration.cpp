#include "canvas/ui/still_calibration.h"

#include <QLineEdit>
#include <QTimer>

#include <algorithm>
#include <cmath>

#include "canvas/canvas_services.h"
#include "canvas/ui/actual_distance_dialog.h"
#include "canvas/ui/still_canvas.h"
#include "canvas/view_factors.h"

namespace lensora {

StillCalibration::StillCalibration(CanvasServices& app, UserPrompts& prompts, StillCanvas& canvas)
    : app_(app),
      prompts_(prompts),
      canvas_(canvas),
      calibration_(CalibrationView::Still, app.Calibration()) {}

void StillCalibration::SetRateBoxes(QLineEdit* magnification, QLineEdit* calibratedRate) {
    magnificationBox_ = magnification;
    rateBox_ = calibratedRate;
}

RateBoxTexts StillCalibration::BoxTexts(std::string& magnification, std::string& rate) const {
    magnification = magnificationBox_ ? magnificationBox_->text().toStdString() : std::string();
    rate = rateBox_ ? rateBox_->text().toStdString() : std::string();
    return {magnification, rate};
}

bool StillCalibration::PrepareRate() {
    std::string magnification;
    std::string rate;
    return calibration_.PrepareRate(BoxTexts(magnification, rate), prompts_);
}

bool StillCalibration::Start(CalibrationTool tool) {
    std::string magnification;
    std::string rate;
    return calibration_.StartCalibration(BoxTexts(magnification, rate), tool, prompts_);
}

void StillCalibration::LineStored(MeasureRecord& line) {
    if (line.points.size() < 2) {
        return;
    }
    // The rate counts pixels of a 640-wide view of the picture; the line is picture pixels.
    const double k = MeasuringPixelsPerPicturePixel(canvas_.Picture().GetWidth());
    const double dx = (double(line.points[1].x) - line.points[0].x) * k;
    const double dy = (double(line.points[1].y) - line.points[0].y) * k;
    // The dialog opens once the click that stored the line has been handled.
    QTimer::singleShot(0, &canvas_, [this, record = &line, length = std::hypot(dx, dy)] {
        Finish(record, length);
    });
}

void StillCalibration::Finish(MeasureRecord* line, double pixelLength) {
    const auto& records = canvas_.Records().records;
    const bool stillThere = std::any_of(records.begin(), records.end(),
                                        [line](const auto& r) { return r.get() == line; });
    const QString unitName = QString::fromStdString(std::string(MeasureUnit(app_.Settings())));
    const bool regrab = canvas_.grabbing_;
    if (regrab) {
        canvas_.viewport()->releaseMouse();
    }
    canvas_.setEnabled(false);
    const std::optional<double> actual = canvas_.askActualDistance
                                             ? canvas_.askActualDistance(unitName, pixelLength)
                                             : AskActualDistanceDialog(unitName, pixelLength);
    canvas_.setEnabled(true);
    if (regrab && canvas_.grabbing_) {
        canvas_.viewport()->grabMouse();
    }
    const std::string magnification =
        magnificationBox_ ? magnificationBox_->text().toStdString() : std::string();
    CalibrationContext context;
    context.camera = canvas_.PictureCamera();
    context.pictureWidth = canvas_.Picture().GetWidth();
    context.pictureHeight = canvas_.Picture().GetHeight();
    context.unit = MeasureUnit(app_.Settings());
    context.decimals = MeasureDecimals(app_.Settings());
    const CalibrationLine measured{pixelLength, UnitsPerPixel(context.unit, context.camera)};
    const CalibrationResult result =
        calibration_.FinishCalibration(measured, actual, magnification, context);
    if (stillThere && !line->labels.empty()) {
        // The line measures what was typed; without a new rate it reads as any line does at
        // the rate it was drawn with.
        line->labels[0] = result.applied
                              ? "L:" + FormatWithUnit(*actual, context.decimals, context.unit)
                              : CalibrationLineLabel(pixelLength, measured.unitsPerPixel,
                                                     calibration_.EffectiveRate(), context.unit,
                                                     context.decimals);
    }
    if (result.applied) {
        const CalibrationDone done =
            StillCalibrationDone(calibration_, magnification, app_.CalibrationFile(), prompts_);
        if (done.applied) {
            const QString rateText = QString::fromStdString(done.calibratedRateText);
            if (rateBox_) {
                rateBox_->setText(rateText);
            }
            const HandoverTexts handover = CalibrationHandover(app_.Calibration());
            emit canvas_.CalibrationFinished(QString::fromStdString(handover.magnification),
                                             QString::fromStdString(handover.calibratedRate));
        }
        canvas_.RelabelForCurrentScale(stillThere ? line : nullptr);
    }
    canvas_.Repaint();
}

std::optional<double> StillCalibration::AskActualDistanceDialog(const QString& unitName,
                                                                double pixelLength) {
    ActualDistanceDialog dialog(unitName, canvas_.window());
    dialog.accept = [this, pixelLength](const QString& text) {
        const CalibrationLine line{
            pixelLength, UnitsPerPixel(MeasureUnit(app_.Settings()), canvas_.PictureCamera())};
        return calibration_.AcceptActualDistance(text.toStdString(), line);
    };
    dialog.prompts = &prompts_;
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.Distance();
}

}  // namespace lensora
