// Calibration of the still and live views: choosing the rate a view measures with
// (PrepareRate), the line calibration that derives a new rate from a line of known length, the
// hand-over of a still-view calibration to the live view, and the calibration file that
// remembers one rate per magnification.
//
// Each view has a magnification box and a calibrated-rate box (widgets of the windows). The
// functions here take and return the box texts; the windows put the results into their boxes.
// Rates are plain numbers: a length of d pixels is d * UnitsPerPixel * 10 / EffectiveRate
// (units.h). A usable rate is a finite number in [kMinRate, kMaxRate]; any other box text
// counts as "no number".
//
// Ownership: the program owns one CalibrationState (the rates shared by both views) and each
// view one ViewCalibration referring to it. User-interface thread only.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "base/text_keys.h"
#include "base/units.h"
#include "base/user_prompts.h"

namespace lensora {

inline constexpr double kMinRate = 1e-4;
inline constexpr double kMaxRate = 1e8;
// SharedMagnificationText keeps at most this many characters (UTF-16 units).
inline constexpr std::size_t kSharedMagnificationChars = 48;

// The leading number of a box text (as a C library reads it, locale-independent), or 0 when
// the text has no number or the number is not a usable rate (zero, negative, tiny, huge).
double ParseRateText(std::string_view text);

// A rate as the boxes and the calibration file show it: one decimal ("43.7").
std::string FormatRate(double rate);

// The texts of one view's two boxes.
struct RateBoxTexts {
    std::string_view magnification;
    std::string_view calibratedRate;
};

enum class CalibrationView { Still, Live };
enum class CalibrationTool { Line, AutoLine };

// The rates shared by both views for the whole run (all start at zero / empty).
// rateWorking: set by every PrepareRate and calibration, and scaled for the picture size after
// a calibration; rateStored: the last calibrated rate, shown and saved with one decimal;
// sharedMagnificationText: the magnification of the last calibration, for the hand-over.
struct CalibrationState {
    double rateWorking = 0.0;
    double rateStored = 0.0;
    std::string sharedMagnificationText;
};

// A finished calibration line: its length in pixels of the view, and the units per pixel of
// the unit and camera when it was measured.
struct CalibrationLine {
    double pixelLength = 0.0;
    double unitsPerPixel = 0.0;
};

// What the end of a calibration needs besides the line.
struct CalibrationContext {
    CameraFacts camera;    // large sensor and capture size (live view scaling)
    int pictureWidth = 0;  // size of the still picture (still view scaling)
    int pictureHeight = 0;
    std::string_view unit = unit::kMillimetre;
    int decimals = kDefaultDecimals;
};

struct CalibrationResult {
    bool applied = false;   // a new rate was set: post the view's done-message
    double newRate = 0.0;   // the new rate when applied
    std::string lineLabel;  // the calibration line's new first label, "L:%.*f%s"
};

// The rate state of one view and its calibration sequence:
// idle -> (StartCalibration) waiting for the calibration line -> (FinishCalibration) idle.
class ViewCalibration {
  public:
    ViewCalibration(CalibrationView view, CalibrationState& shared);

    CalibrationView View() const { return view_; }
    const CalibrationState& Shared() const { return shared_; }
    // The divisor every value of this view is measured with; 0 until PrepareRate succeeds.
    double EffectiveRate() const { return effectiveRate_; }

    // Chooses the view's rate when a measuring tool is chosen: the calibrated box's number, or
    // else the magnification's; sets EffectiveRate and the shared rateWorking to it. With no
    // usable number in either box shows "Please input the zoomIn scale!" (exclamation) and
    // fails, leaving both rates as they were.
    bool PrepareRate(const RateBoxTexts& boxes, UserPrompts& prompts);

    // Starts a line calibration: PrepareRate taking the magnification's number where the
    // calibrated box has one (the calibrated number when the magnification has none). On
    // success the view waits for the calibration line; the window then selects the parallel
    // line tool (Line) or the automatic line spacing tool (AutoLine) and shows
    // CalibrationStatusText(tool).
    bool StartCalibration(const RateBoxTexts& boxes, CalibrationTool tool, UserPrompts& prompts);
    bool WaitingForLine() const { return waiting_; }
    CalibrationTool Tool() const { return tool_; }
    // Leaves the waiting state without a calibration (another tool was chosen).
    void CancelCalibration() { waiting_ = false; }

    // The actual-distance dialog's OK check: the typed distance when it is a positive finite
    // number that gives a usable rate for `line`; nullopt means show
    // "Please enter digital!" and keep the dialog open.
    std::optional<double> AcceptActualDistance(std::string_view text,
                                               const CalibrationLine& line) const;

    // Ends the calibration after the dialog: `actualDistance` is the accepted distance, or
    // nullopt for Cancel. On OK sets rateWorking and rateStored to the new rate and
    // sharedMagnificationText to `magnificationText` (cut to 48 characters). Either way scales
    // rateWorking for the picture (still view) or capture (live automatic calibration) size,
    // leaves the waiting state and returns the line's new label computed with rateWorking.
    // When the view is not waiting for a calibration line nothing changes.
    CalibrationResult FinishCalibration(const CalibrationLine& line,
                                        std::optional<double> actualDistance,
                                        std::string_view magnificationText,
                                        const CalibrationContext& context);

  private:
    bool ChooseRate(double rate);
    // The new rate for `actualDistance`, or nullopt when the distance or the rate is unusable.
    std::optional<double> RateFor(double actualDistance, const CalibrationLine& line) const;

    CalibrationView view_;
    CalibrationState& shared_;
    double effectiveRate_ = 0.0;
    bool waiting_ = false;
    CalibrationTool tool_ = CalibrationTool::Line;
};

// Status text of a running calibration: "Line Calibration" / "Auto Line Calibration".
const TextKey& CalibrationStatusText(CalibrationTool tool);

// new rate = (d * U * 10 / effectiveRate) / actual * rateWorking. 0 when any input is not
// usable or the result is not finite.
double NewCalibratedRate(double pixelLength, double unitsPerPixel, double effectiveRate,
                         double actualDistance, double rateWorking);

// Factor applied to rateWorking after a still-view calibration: without a large sensor 0.25
// for a 320x240 picture and 0.5 for 640x480; with one 0.4 for 640x480; otherwise 1.
double StillPictureRateFactor(bool largeSensor, int pictureWidth, int pictureHeight);
// Factor applied to rateWorking after a live calibration: automatic calibration 0.25 at a
// 320x240 capture and 0.5 at 640x480 whatever the camera; otherwise (and always for the manual
// one) 1.
double LiveCaptureRateFactor(CalibrationTool tool, int captureWidth, int captureHeight);

// "L:" + d * U * 10 / rateWorking with `decimals` decimals + unit, e.g. "L:251.489mil".
std::string CalibrationLineLabel(double pixelLength, double unitsPerPixel, double rateWorking,
                                 std::string_view unit, int decimals);

// The calibrated box text stored for magnification `magnification` in the calibration file,
// or "" (empty the box) when the file, the magnification or its entry is missing, or the
// magnification cannot be stored (IniTable::IsStorableName).
std::string LookUpCalibration(const std::string& calibrationFile, std::string_view magnification);

// Stores `rateText` for `magnification`. False when the file is missing or unreadable (it is
// never created here), the magnification cannot be stored, or the rewrite failed.
bool StoreCalibration(const std::string& calibrationFile, std::string_view magnification,
                      std::string_view rateText);

struct CalibrationDone {
    bool applied = false;            // false: no calibrated rate to take over
    std::string calibratedRateText;  // new text of the view's calibrated box
    bool stored = false;             // whether the calibration file was updated
};

// The still window's done-message: its calibrated box becomes rateStored ("%.1f"), PrepareRate
// takes that rounded number as the view's rate, and the rate is stored under the still
// magnification. The window then posts CalibrationHandover to the live window.
CalibrationDone StillCalibrationDone(ViewCalibration& still, std::string_view stillMagnification,
                                     const std::string& calibrationFile, UserPrompts& prompts);

// The texts the live window puts into its boxes on the hand-over, magnification first (its
// look-up may change the calibrated box), then the calibrated rate.
struct HandoverTexts {
    std::string magnification;
    std::string calibratedRate;
};
HandoverTexts CalibrationHandover(const CalibrationState& shared);

// The live window's own done-message: as StillCalibrationDone with the live boxes; the window
// then refreshes its scale overlays if they are shown.
CalibrationDone LiveCalibrationDone(ViewCalibration& live, std::string_view liveMagnification,
                                    const std::string& calibrationFile, UserPrompts& prompts);

}  // namespace lensora
