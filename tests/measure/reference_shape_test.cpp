#include "measure/reference_shape.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace lensora {
namespace {

template <typename T>
T Made(const ShapeResult<T>& result) {
    EXPECT_TRUE(std::holds_alternative<T>(result));
    return std::holds_alternative<T>(result) ? std::get<T>(result) : T{};
}

std::string_view Refusal(const ShapeResult<ReferenceShape>& result) {
    return std::holds_alternative<ShapeInputError>(result)
               ? std::get<ShapeInputError>(result).message.defaultText
               : "";
}

TEST(ReferenceShape, ToleranceCircleConvertsToPixels) {
    const double s = 0.063829787234 * 10 / 100;  // mm per pixel at rate 100
    const ReferenceShape shape = Made(MakeToleranceCircle(1.0, 0.05, 0.1, s));
    EXPECT_EQ(shape.kind, ReferenceKind::kToleranceCircle);
    EXPECT_EQ(shape.radius, 1.0);
    EXPECT_EQ(shape.tolerancePlus, 0.05);
    EXPECT_EQ(shape.toleranceMinus, 0.1);
    EXPECT_EQ(shape.radiusPx, 157);         // 156.67
    EXPECT_EQ(shape.tolerancePlusPx, 8);    // 7.83
    EXPECT_EQ(shape.toleranceMinusPx, 16);  // 15.67
    EXPECT_EQ(shape.points, (std::vector<PixelPoint>{{320, 240}}));
    EXPECT_EQ(shape.color, 255u);
    EXPECT_EQ(shape.penWidth, 2);
    EXPECT_EQ(shape.penStyle, 0);
    EXPECT_EQ(shape.textColor, 255u);
    EXPECT_EQ(shape.flag, 0);
    EXPECT_EQ(Refusal(MakeToleranceCircle(1.0, 0.0, 0.1, s)), "Please enter digital!");
    EXPECT_EQ(Refusal(MakeToleranceCircle(1.0, 0.1, 0.1, 0.0)), "Please enter digital!");
    EXPECT_EQ(Refusal(MakeToleranceCircle(1e300, 0.1, 0.1, s)), "Please enter digital!");
    EXPECT_EQ(Refusal(MakeToleranceCircle(std::nan(""), 0.1, 0.1, s)), "Please enter digital!");
}

TEST(ReferenceShape, UnitsToPixelsRoundsHalvesAwayFromZero) {
    EXPECT_EQ(UnitsToPixels(0.25, 0.1), 3);  // 2.5 pixels
    EXPECT_EQ(UnitsToPixels(-0.25, 0.1), -3);
    EXPECT_FALSE(UnitsToPixels(1.0, 0.0));
}

TEST(ReferenceShape, AngleLineStaysInTheFrame) {
    const ReferenceShape inside = Made(MakeAngleLine(100, 300));
    EXPECT_EQ(inside.kind, ReferenceKind::kAngleLine);
    EXPECT_EQ(inside.points, (std::vector<PixelPoint>{{100, 300}, {100, 100}, {300, 300}}));
    const ReferenceShape corner = Made(MakeAngleLine(600, 150));
    EXPECT_EQ(corner.points, (std::vector<PixelPoint>{{600, 150}, {600, 0}, {640, 150}}));
    EXPECT_EQ(Refusal(MakeAngleLine(0, 150)), "Please enter digital X[0--640],Y[0--480]!");
    EXPECT_EQ(Refusal(MakeAngleLine(10, 0)), "Please enter digital X[0--640],Y[0--480]!");
}

TEST(ReferenceShape, LengthLineFollowsTheDragDirection) {
    const ReferenceShape across = Made(MakeLengthLine({100, 100}, {150, 120}, 1.0, 0.01));
    EXPECT_EQ(across.kind, ReferenceKind::kLengthLine);
    EXPECT_EQ(across.flag, 0);
    EXPECT_EQ(across.points, (std::vector<PixelPoint>{{100, 100}, {200, 100}}));
    const ReferenceShape down = Made(MakeLengthLine({100, 100}, {90, 30}, 0.5, 0.01));
    EXPECT_EQ(down.flag, 1);
    EXPECT_EQ(down.points, (std::vector<PixelPoint>{{100, 100}, {100, 150}}));
    // A drag as wide as it is high is not more horizontal than vertical.
    EXPECT_EQ(Made(MakeLengthLine({0, 0}, {20, 20}, 0.1, 0.01)).flag, 1);
    EXPECT_EQ(Refusal(MakeLengthLine({0, 0}, {20, 0}, 0.0, 0.01)), "Please enter digital!");
    EXPECT_EQ(Refusal(MakeLengthLine({0, 0}, {20, 0}, 1.0, 0.0)), "Please enter digital!");
}

}  // namespace
}  // namespace lensora
