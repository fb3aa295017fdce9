// Comparison shapes of the live view: a length line of typed length, an angle line at a typed
// position and a tolerance circle of typed radius with plus and minus rings. Values are in
// the current unit; pixel lengths and points are in video-area pixels (a 640x480 frame).
// Plain values held in the live view's own list; user-interface thread only.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <variant>
#include <vector>

#include "base/pixel_point.h"
#include "base/text_keys.h"

namespace lensora {

enum class ReferenceKind : int { kLengthLine = 1, kAngleLine = 2, kToleranceCircle = 3 };

inline constexpr PixelPoint kToleranceCircleCentre{320, 240};
inline constexpr std::int32_t kVideoWidth = 640;
inline constexpr std::int32_t kVideoHeight = 480;
inline constexpr std::int32_t kAngleLineArm = 200;

struct ReferenceShape {
    ReferenceKind kind = ReferenceKind::kLengthLine;
    double tolerancePlus = 0.0;   // unit
    double radius = 0.0;          // unit
    double toleranceMinus = 0.0;  // unit
    std::int32_t radiusPx = 0;
    std::int32_t tolerancePlusPx = 0;
    std::int32_t toleranceMinusPx = 0;
    std::vector<PixelPoint> points;
    std::uint32_t color = 255;
    int penWidth = 2;
    int penStyle = 0;
    std::uint32_t textColor = 255;
    int flag = 0;  // length line: 1 when vertical
};

// Messages of the shapes' dialogs when a typed number is zero or cannot be converted.
namespace shape_text {
inline constexpr TextKey kEnterDigital{"EnterDigital", "Please enter digital!"};
inline constexpr TextKey kEnterDigitalXY{"EnterDigital",
                                         "Please enter digital X[0--640],Y[0--480]!"};
}  // namespace shape_text

// A refused dialog entry: the message to show; the dialog stays open.
struct ShapeInputError {
    TextKey message;
};

template <typename T>
using ShapeResult = std::variant<T, ShapeInputError>;

// A typed length in the unit converted to pixels at s units per pixel, halves rounded away
// from zero; nullopt when s is zero or the result is not a representable pixel length.
std::optional<std::int32_t> UnitsToPixels(double value, double s);

// Tolerance circle centred at (320, 240). All three numbers must be non-zero and convertible.
ShapeResult<ReferenceShape> MakeToleranceCircle(double radius, double tolerancePlus,
                                                double toleranceMinus, double s);

// Angle line with its vertex at (x, y) and arms 200 pixels up and right, kept in the frame.
// Both numbers must be non-zero.
ShapeResult<ReferenceShape> MakeAngleLine(std::int32_t x, std::int32_t y);

// Length line from the first click: to the right when the drag to the second click was more
// horizontal than vertical, else downwards (flag 1). The length must be non-zero.
ShapeResult<ReferenceShape> MakeLengthLine(PixelPoint start, PixelPoint secondClick, double length,
                                           double s);

}  // namespace lensora
