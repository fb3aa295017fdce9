// Length units and the pixel-to-length conversion of both views.
//
// A length of d pixels is printed as d * s in the current unit, where
//     s = UnitsPerPixel * 10 / EffectiveRate        (units per pixel of the view)
// and an area of a square pixels as a * s * s. UnitsPerPixel comes from the unit and the camera
// (micrometres per pixel at the reference magnification, converted to the unit); EffectiveRate
// is the divisor the view's PrepareRate chose (calibration.h). Code that builds measured values
// takes s and the unit/decimals from a ScaleContext.
//
// Plain values and functions; the unit settings live in AppSettings and are changed on the
// user-interface thread only.
#pragma once

#include <string>
#include <string_view>

#include "base/persisted_settings.h"
#include "base/settings_store.h"

namespace lensora {

namespace unit {
inline constexpr std::string_view kMillimetre = "mm";
inline constexpr std::string_view kCentimetre = "cm";
inline constexpr std::string_view kMil = "mil";
inline constexpr std::string_view kInch = "inch";
inline constexpr std::string_view kMicrometre = setting::kMicrometreShown;
}  // namespace unit

inline constexpr int kDefaultDecimals = 3;
// Decimals outside this range in the stored settings are replaced by kDefaultDecimals, so that
// a damaged setting cannot ask for thousands of digits.
inline constexpr int kMinDecimals = 0;
inline constexpr int kMaxDecimals = 10;

// The camera facts the conversion depends on. Until a camera reports its own, the program
// assumes a large-sensor camera (one that offers 1600x1200) capturing at 1600x1200.
struct CameraFacts {
    bool largeSensor = true;
    int captureWidth = 1600;
    int captureHeight = 1200;
};

// Micrometres -> `unit`, by exact, case-sensitive name: "µm" 1, "inch" 0.0000394, "mil" 0.0394,
// "cm" 0.0001; "mm" and any other name 0.001 (an unknown name converts as millimetres but is
// still printed with its own name).
double UnitFactor(std::string_view unit);

// Micrometres per camera pixel at the reference magnification: 80 for a large-sensor camera at
// any capture size except 1280x960, else 63.829787234.
double NominalPixelSize(const CameraFacts& camera);

// UnitFactor(unit) * NominalPixelSize(camera): the unit length of one camera pixel at the
// reference magnification.
double UnitsPerPixel(std::string_view unit, const CameraFacts& camera);

// The live tolerance-circle overlay uses its own table (millimetres 0.02963, "µm" 29.63, "cm"
// 0.002963, "inch" 0.0011665354330708663, "mil" 1.1665354330708662) times a capture-size factor:
// large sensor 2.5 at 1600x1200, 2 at 1280x960, else 1; other cameras 2 at 1280x1024, 1 at
// 640x480, else 0.5.
double OverlayUnitsPerPixel(std::string_view unit, const CameraFacts& camera);

// The unit and decimals in use, as kept in AppSettings (read at start-up by AppState).
std::string_view MeasureUnit(const AppSettings& settings);
// The stored decimals, or kDefaultDecimals when the stored value is out of range.
int MeasureDecimals(const AppSettings& settings);

// Chooses the unit (cut to the 5 characters its stored buffer holds) and writes both the unit
// and the decimals to the store. An empty name changes nothing and returns false.
bool SetUnit(AppSettings& settings, SettingsStore& store, std::string_view unitName);
// Chooses 2, 3, 4 or 5 decimals and writes both values; any other count changes nothing and
// returns false.
bool SetDecimals(AppSettings& settings, SettingsStore& store, int decimals);

// Units per pixel of a view: unitsPerPixel * 10 / effectiveRate. 0 when the rate is not a
// positive finite number (PrepareRate never leaves a view with such a rate).
double PixelScale(double unitsPerPixel, double effectiveRate);

// Everything a view needs to turn pixel measures into printed values: s, the printed units per
// pixel (UnitsPerPixel * 10 / EffectiveRate), with the unit and decimals to print with.
struct ScaleContext {
    double s = 0.0;
    std::string unit = std::string(unit::kMillimetre);
    int decimals = kDefaultDecimals;
    // Areas print with at least kAreaSignificantDigits significant digits, more decimals than
    // `decimals` where needed ("Significant digits for areas").
    bool areaSignificant = false;
};
inline constexpr int kAreaSignificantDigits = 3;

ScaleContext MakeScaleContext(const AppSettings& settings, const CameraFacts& camera,
                              double effectiveRate);

// ScaleValue for a length of `pixels` and an area of `squarePixels`.
double ScaleLength(double pixels, const ScaleContext& scale);
double ScaleArea(double squarePixels, const ScaleContext& scale);

// The unit text printed after an area: "µm²" for micrometres, else the unit followed by the
// digit 2 ("mm2").
std::string AreaUnitText(std::string_view unit);

// `value` with the context's decimals followed by its unit ("251.489mil"). A non-finite value
// prints as zero rather than "inf" or "nan".
std::string FormatWithUnit(double value, const ScaleContext& scale);
std::string FormatWithUnit(double value, int decimals, std::string_view unit);

}  // namespace lensora
