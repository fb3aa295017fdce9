#include "base/units.h"

#include <cmath>

#include "base/number_format.h"
#include "base/utf.h"

namespace lensora {
namespace {

constexpr double kSmallSensorPixelUm = 63.829787234;
constexpr double kLargeSensorPixelUm = 80.0;

bool IsSize(const CameraFacts& camera, int width, int height) {
    return camera.captureWidth == width && camera.captureHeight == height;
}

void WriteUnitSettings(const AppSettings& settings, SettingsStore& store) {
    WriteUnitName(store, settings.unit);
    WriteSetting(store, setting::kDecimal, settings.decimals);
}

}  // namespace

double UnitFactor(std::string_view unit) {
    if (unit == unit::kMicrometre) {
        return 1.0;
    }
    if (unit == unit::kInch) {
        return 0.0000394;
    }
    if (unit == unit::kMil) {
        return 0.0394;
    }
    if (unit == unit::kCentimetre) {
        return 0.0001;
    }
    return 0.001;
}

double NominalPixelSize(const CameraFacts& camera) {
    if (camera.largeSensor && !IsSize(camera, 1280, 960)) {
        return kLargeSensorPixelUm;
    }
    return kSmallSensorPixelUm;
}

double UnitsPerPixel(std::string_view unit, const CameraFacts& camera) {
    return UnitFactor(unit) * NominalPixelSize(camera);
}

double OverlayUnitsPerPixel(std::string_view unit, const CameraFacts& camera) {
    double perPixel = 0.02963;
    if (unit == unit::kMicrometre) {
        perPixel = 29.63;
    } else if (unit == unit::kInch) {
        perPixel = 0.0011665354330708663;
    } else if (unit == unit::kMil) {
        perPixel = 1.1665354330708662;
    } else if (unit == unit::kCentimetre) {
        perPixel = 0.002963;
    }
    double factor = 1.0;
    if (camera.largeSensor) {
        if (IsSize(camera, 1600, 1200)) {
            factor = 2.5;
        } else if (IsSize(camera, 1280, 960)) {
            factor = 2.0;
        }
    } else {
        if (IsSize(camera, 1280, 1024)) {
            factor = 2.0;
        } else if (!IsSize(camera, 640, 480)) {
            factor = 0.5;
        }
    }
    return perPixel * factor;
}

std::string_view MeasureUnit(const AppSettings& settings) {
    return settings.unit;
}

int MeasureDecimals(const AppSettings& settings) {
    if (settings.decimals > static_cast<std::uint32_t>(kMaxDecimals)) {
        return kDefaultDecimals;
    }
    return static_cast<int>(settings.decimals);
}

bool SetUnit(AppSettings& settings, SettingsStore& store, std::string_view unitName) {
    std::string fitted = FitToBuffer(unitName, setting::kUnitBufferChars);
    if (fitted.empty()) {
        return false;
    }
    settings.unit = std::move(fitted);
    WriteUnitSettings(settings, store);
    return true;
}

bool SetDecimals(AppSettings& settings, SettingsStore& store, int decimals) {
    if (decimals < 2 || decimals > 5) {
        return false;
    }
    settings.decimals = static_cast<std::uint32_t>(decimals);
    WriteUnitSettings(settings, store);
    return true;
}

double PixelScale(double unitsPerPixel, double effectiveRate) {
    if (!std::isfinite(effectiveRate) || effectiveRate <= 0.0 || !std::isfinite(unitsPerPixel)) {
        return 0.0;
    }
    return unitsPerPixel * 10.0 / effectiveRate;
}

ScaleContext MakeScaleContext(const AppSettings& settings, const CameraFacts& camera,
                              double effectiveRate) {
    ScaleContext scale;
    scale.unit = std::string(MeasureUnit(settings));
    scale.decimals = MeasureDecimals(settings);
    scale.areaSignificant = settings.areaSignificantDigits != 0;
    scale.s = PixelScale(UnitsPerPixel(scale.unit, camera), effectiveRate);
    return scale;
}

double ScaleLength(double pixels, const ScaleContext& scale) {
    return pixels * scale.s;
}

double ScaleArea(double squarePixels, const ScaleContext& scale) {
    const double s = scale.s;
    return squarePixels * s * s;
}

std::string AreaUnitText(std::string_view unit) {
    if (unit == unit::kMicrometre) {
        return std::string(unit) + "\u00B2";
    }
    return std::string(unit) + "2";
}

std::string FormatWithUnit(double value, const ScaleContext& scale) {
    return FormatWithUnit(value, scale.decimals, scale.unit);
}

std::string FormatWithUnit(double value, int decimals, std::string_view unit) {
    std::string text = FormatFixed(value, decimals);
    text += unit;
    return text;
}

}  // namespace lensora
