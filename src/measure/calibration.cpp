#include "measure/calibration.h"

#include <cmath>

#include "base/number_format.h"
#include "base/utf.h"
#include "measure/ini_table.h"

namespace lensora {
namespace {

bool IsUsableRate(double rate) {
    return std::isfinite(rate) && rate >= kMinRate && rate <= kMaxRate;
}

// The rate a calibration result becomes once shown and stored with one decimal.
double StoredRate(double rate) {
    return ParseRateText(FormatRate(rate));
}

CalibrationDone CalibrationDoneInView(ViewCalibration& view, std::string_view magnification,
                                      const std::string& calibrationFile, UserPrompts& prompts) {
    CalibrationDone done;
    const std::string rateText = FormatRate(view.Shared().rateStored);
    if (ParseRateText(rateText) == 0.0) {
        return done;
    }
    done.applied = true;
    done.calibratedRateText = rateText;
    // The box now holds the rounded rate, so the view measures with one decimal from here on,
    // exactly as it will after the next start reads the stored text back.
    view.PrepareRate({magnification, rateText}, prompts);
    done.stored = StoreCalibration(calibrationFile, magnification, rateText);
    return done;
}

}  // namespace

double ParseRateText(std::string_view text) {
    const double value = ParseLeadingNumber(text);
    return IsUsableRate(value) ? value : 0.0;
}

std::string FormatRate(double rate) {
    return FormatFixed(rate, 1);
}

ViewCalibration::ViewCalibration(CalibrationView view, CalibrationState& shared)
    : view_(view), shared_(shared) {}

bool ViewCalibration::ChooseRate(double rate) {
    effectiveRate_ = rate;
    shared_.rateWorking = rate;
    return true;
}

bool ViewCalibration::PrepareRate(const RateBoxTexts& boxes, UserPrompts& prompts) {
    const double calibrated = ParseRateText(boxes.calibratedRate);
    if (calibrated != 0.0) {
        return ChooseRate(calibrated);
    }
    const double magnification = ParseRateText(boxes.magnification);
    if (magnification == 0.0) {
        prompts.Show(GetText(text::kEnterRate), PromptIcon::Exclamation);
        return false;
    }
    return ChooseRate(magnification);
}

bool ViewCalibration::StartCalibration(const RateBoxTexts& boxes, CalibrationTool tool,
                                       UserPrompts& prompts) {
    waiting_ = false;
    const double calibrated = ParseRateText(boxes.calibratedRate);
    if (calibrated != 0.0) {
        // The new rate does not depend on the starting rate as long as it is not zero, so a
        // missing magnification falls back to the calibrated number instead of a zero divisor.
        const double magnification = ParseRateText(boxes.magnification);
        ChooseRate(magnification != 0.0 ? magnification : calibrated);
    } else if (!PrepareRate(boxes, prompts)) {
        return false;
    }
    tool_ = tool;
    waiting_ = true;
    return true;
}

std::optional<double> ViewCalibration::AcceptActualDistance(std::string_view text,
                                                            const CalibrationLine& line) const {
    const double actual = ParseLeadingNumber(text);
    if (!RateFor(actual, line)) {
        return std::nullopt;
    }
    return actual;
}

std::optional<double> ViewCalibration::RateFor(double actualDistance,
                                               const CalibrationLine& line) const {
    // A distance has no sign, and a rate that shows as "0.0" (or not at all) would be stored
    // as "no calibration" or worse.
    if (!std::isfinite(actualDistance) || actualDistance <= 0.0) {
        return std::nullopt;
    }
    const double rate = NewCalibratedRate(line.pixelLength, line.unitsPerPixel, effectiveRate_,
                                          actualDistance, effectiveRate_);
    if (StoredRate(rate) == 0.0) {
        return std::nullopt;
    }
    return rate;
}

CalibrationResult ViewCalibration::FinishCalibration(const CalibrationLine& line,
                                                     std::optional<double> actualDistance,
                                                     std::string_view magnificationText,
                                                     const CalibrationContext& context) {
    CalibrationResult result;
    if (!waiting_) {
        return result;
    }
    waiting_ = false;

    // The view's own rate from the start of the calibration is the base: the shared working
    // rate may have been replaced by the other view while this one waited for its line.
    const double base = effectiveRate_;
    shared_.rateWorking = base;
    const std::optional<double> rate =
        actualDistance ? RateFor(*actualDistance, line) : std::nullopt;
    if (rate) {
        shared_.rateWorking = *rate;
        shared_.rateStored = *rate;
        shared_.sharedMagnificationText =
            FitToBuffer(magnificationText, kSharedMagnificationChars + 1);
        result.applied = true;
        result.newRate = *rate;
    }

    const double factor = view_ == CalibrationView::Still
                              ? StillPictureRateFactor(context.camera.largeSensor,
                                                       context.pictureWidth, context.pictureHeight)
                              : LiveCaptureRateFactor(tool_, context.camera.captureWidth,
                                                      context.camera.captureHeight);
    shared_.rateWorking *= factor;
    result.lineLabel = CalibrationLineLabel(line.pixelLength, line.unitsPerPixel,
                                            shared_.rateWorking, context.unit, context.decimals);
    return result;
}

const TextKey& CalibrationStatusText(CalibrationTool tool) {
    return tool == CalibrationTool::AutoLine ? text::kAutoLineCalibration
                                             : text::kStraightlineCalibration;
}

double NewCalibratedRate(double pixelLength, double unitsPerPixel, double effectiveRate,
                         double actualDistance, double rateWorking) {
    if (!std::isfinite(pixelLength) || !std::isfinite(actualDistance) || actualDistance == 0.0 ||
        !std::isfinite(rateWorking)) {
        return 0.0;
    }
    const double measured = pixelLength * PixelScale(unitsPerPixel, effectiveRate);
    const double rate = measured / actualDistance * rateWorking;
    return std::isfinite(rate) ? rate : 0.0;
}

double StillPictureRateFactor(bool largeSensor, int pictureWidth, int pictureHeight) {
    if (largeSensor) {
        return (pictureWidth == 640 && pictureHeight == 480) ? 0.4 : 1.0;
    }
    if (pictureWidth == 320 && pictureHeight == 240) {
        return 0.25;
    }
    if (pictureWidth == 640 && pictureHeight == 480) {
        return 0.5;
    }
    return 1.0;
}

double LiveCaptureRateFactor(CalibrationTool tool, int captureWidth, int captureHeight) {
    if (tool != CalibrationTool::AutoLine) {
        return 1.0;
    }
    if (captureWidth == 320 && captureHeight == 240) {
        return 0.25;
    }
    if (captureWidth == 640 && captureHeight == 480) {
        return 0.5;
    }
    return 1.0;
}

std::string CalibrationLineLabel(double pixelLength, double unitsPerPixel, double rateWorking,
                                 std::string_view unit, int decimals) {
    return "L:" +
           FormatWithUnit(pixelLength * PixelScale(unitsPerPixel, rateWorking), decimals, unit);
}

std::string LookUpCalibration(const std::string& calibrationFile, std::string_view magnification) {
    if (!IniTable::IsStorableName(magnification)) {
        return {};
    }
    IniTable table;
    if (!table.Load(calibrationFile)) {
        return {};
    }
    return table.GetValue(magnification, magnification).value_or(std::string());
}

bool StoreCalibration(const std::string& calibrationFile, std::string_view magnification,
                      std::string_view rateText) {
    IniTable table;
    if (!table.Load(calibrationFile)) {
        return false;
    }
    if (!table.SetValue(magnification, magnification, rateText)) {
        return false;  // the table is dropped unwritten: the file stays as it was
    }
    return table.Close();
}

CalibrationDone StillCalibrationDone(ViewCalibration& still, std::string_view stillMagnification,
                                     const std::string& calibrationFile, UserPrompts& prompts) {
    return CalibrationDoneInView(still, stillMagnification, calibrationFile, prompts);
}

HandoverTexts CalibrationHandover(const CalibrationState& shared) {
    return {shared.sharedMagnificationText, FormatRate(shared.rateStored)};
}

CalibrationDone LiveCalibrationDone(ViewCalibration& live, std::string_view liveMagnification,
                                    const std::string& calibrationFile, UserPrompts& prompts) {
    return CalibrationDoneInView(live, liveMagnification, calibrationFile, prompts);
}

}  // namespace lensora
