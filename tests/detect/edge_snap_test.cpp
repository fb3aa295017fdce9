#include "detect/edge_snap.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "detect/auto_point_tools.h"
#include "detect/synthetic_pictures.h"

namespace lensora {
namespace {

using namespace lensora::testing;

CxImage StepPicture() {
    return MakePicture(200, 200, [](int x, int) { return x < 110 ? kDark : kBright; });
}

void SetGrey(CxImage& image, int x, int y, int grey) {
    std::uint8_t* p = image.RowFromTop(y) + 3 * x;
    p[0] = p[1] = p[2] = static_cast<std::uint8_t>(grey);
}

TEST(SnapToEdge, LandsOnTheNearestStrongEdge) {
    // Noise small enough that no pixel pair reaches the 160 contrast.
    for (int noise : {0, 4}) {
        CxImage image = StepPicture();
        AddNoise(image, noise, 4);
        const std::optional<PixelPoint> snapped = SnapToEdge(image, {100, 100}, 20);
        ASSERT_TRUE(snapped) << noise;
        EXPECT_EQ(snapped->x, 110) << noise;
        EXPECT_LE(std::abs(snapped->y - 100), 1) << noise;
        // From the bright side the first dark column.
        EXPECT_EQ(SnapToEdge(image, {115, 60}, 20)->x, 109) << noise;
    }
    // The lowest row of the ring comes first: (110, 101) before (110, 100).
    EXPECT_EQ(SnapToEdge(StepPicture(), {100, 100}, 20), (PixelPoint{110, 101}));
}

TEST(SnapToEdge, StrongestContrastWinsOverNearness) {
    CxImage image = UniformPicture(100, 100, 80);
    SetGrey(image, 51, 50, 230);  // 150 levels at radius 1
    SetGrey(image, 50, 41, 240);  // 160 levels at radius 9
    EXPECT_EQ(SnapToEdge(image, {50, 50}, 20), (PixelPoint{50, 41}));
    // Equal contrast: the nearer ring.
    SetGrey(image, 47, 50, 240);  // 160 levels at radius 3
    EXPECT_EQ(SnapToEdge(image, {50, 50}, 20), (PixelPoint{47, 50}));
    // Beyond the range (ring 19 is the last one looked at).
    CxImage far = UniformPicture(100, 100, 80);
    SetGrey(far, 50, 70, 240);
    EXPECT_EQ(SnapToEdge(far, {50, 50}, 20), (PixelPoint{30, 70}));
    SetGrey(far, 50, 69, 240);
    EXPECT_EQ(SnapToEdge(far, {50, 50}, 20), (PixelPoint{50, 69}));
}

TEST(SnapToEdge, UniformAreaFallsBackToTheLowerLeftCorner) {
    for (int noise : {0, 8}) {
        CxImage image = UniformPicture(200, 150, 120);
        AddNoise(image, noise, 2);
        EXPECT_EQ(SnapToEdge(image, {100, 100}, 20), (PixelPoint{80, 120})) << noise;
        EXPECT_EQ(SnapToEdge(image, {100, 100}, 12), (PixelPoint{88, 112})) << noise;
        // Clipped to the picture near its border and for clicks outside it.
        EXPECT_EQ(SnapToEdge(image, {5, 140}, 20), (PixelPoint{0, 149})) << noise;
        EXPECT_EQ(SnapToEdge(image, {-30, 400}, 20), (PixelPoint{0, 149})) << noise;
        EXPECT_EQ(SnapToEdge(image, {195, 3}, 20), (PixelPoint{175, 23})) << noise;
    }
    const CxImage image = UniformPicture(50, 50, 120);
    EXPECT_EQ(SnapToEdge(image, {20, 20}, 0), (PixelPoint{20, 20}));
    EXPECT_EQ(SnapToEdge(image, {20, 20}, -5), (PixelPoint{20, 20}));
    EXPECT_EQ(SnapToEdge(image, {20, 20}, 1), (PixelPoint{19, 21}));
    EXPECT_EQ(SnapToEdge(image, {20, 20}, 1 << 30), (PixelPoint{0, 49}));
}

TEST(SnapToEdge, RefusesPicturesThatAreNotTwentyFourBit) {
    CxImage grey;
    ASSERT_TRUE(grey.Create(50, 50, 8));
    EXPECT_FALSE(SnapToEdge(grey, {20, 20}, 20));
    EXPECT_FALSE(SnapClick(grey, {20, 20}, ViewTransform{}, 20));
}

TEST(SnapToEdge, ClicksAreConvertedThroughTheViewTransform) {
    const CxImage image = StepPicture();
    // Fit view at half size: view (50, 50) is picture (100, 100), snapped to (110, 101).
    EXPECT_EQ(SnapClick(image, {50, 50}, ViewTransform{0, 0, 2.0, 2.0}, 20), (PixelPoint{55, 51}));
    // Actual size, scrolled.
    EXPECT_EQ(SnapClick(image, {60, 70}, ViewTransform{40, 30, 1.0, 1.0}, 20),
              (PixelPoint{70, 71}));
    const ViewTransform mapping{3, 4, 2.5, 2.5};
    EXPECT_EQ(mapping.ToPicture({10, 11}), (PixelPoint{28, 32}));  // 3 + 25, 4 + 27.5
    EXPECT_EQ(mapping.ToView({28, 32}), (PixelPoint{10, 11}));
    EXPECT_EQ(mapping.ToRecord({10, 11}), (PixelPoint{13, 15}));
}

}  // namespace
}  // namespace lensora
