// The still view on a picture finer or coarser than the screen: clicks become picture pixels
// through the canvas's transform with one rounding, the band and the pointer box come back to
// client pixels, picking works at the screen's tolerance and text boxes keep their screen size.
#include <gtest/gtest.h>

#include "measure/still_interaction.h"
#include "support/fake_interaction_view.h"

namespace lensora::test {
namespace {

using P = PixelPoint;

class StillViewMappingTest : public ::testing::Test {
  protected:
    StillViewMappingTest() {
        // A 1600 x 1200 picture in the fit view: 2.5 picture pixels per view pixel.
        interaction.SetPictureSize(1600, 1200);
        interaction.SetMapping({{0, 0}, 2.5, 2.5});
    }
    void ClickAt(double x, double y) {
        interaction.MouseDownAt({x, y});
        interaction.MouseUpAt({x, y});
    }
    const MeasureRecord& Last() const { return records[records.size() - 1]; }

    FakeInteractionView view;
    StillRecords records;
    AppSettings settings;
    LabelCounters counters;
    StillInteraction interaction{view, records, settings, counters};
};

TEST_F(StillViewMappingTest, ClicksLandOnPicturePixelsBetweenViewPixels) {
    ASSERT_TRUE(interaction.ChooseTool(StillMode::kStraightLine, true));
    ClickAt(40.4, 80.0);   // 101 picture pixels, not 100 or 102.5
    ClickAt(200.2, 80.0);  // 500.5 rounds away from zero
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(Last().points[0], (P{101, 200}));
    EXPECT_EQ(Last().points[1], (P{501, 200}));
    // The band and the pointer box are client pixels.
    interaction.MouseMoveAt({220.0, 100.0});
    ClickAt(210.0, 90.0);
    EXPECT_EQ(Last().points.back(), (P{525, 225}));

    ASSERT_TRUE(interaction.ChooseTool(StillMode::kStraightLine, true));
    ClickAt(10.0, 10.0);
    EXPECT_EQ(view.confinedTo, (PixelBox{0, 0, 640, 480}));
    interaction.MouseMoveAt({30.0, 10.0});
    ASSERT_TRUE(view.shownBand);
    EXPECT_EQ(view.shownBand->from, (P{10, 10}));
    EXPECT_EQ(view.shownBand->to, (P{30, 10}));

    // Outside the picture nothing starts: client x 640 is picture x 1600.
    ASSERT_TRUE(interaction.ChooseTool(StillMode::kStraightLine, true));
    ClickAt(640.0, 10.0);
    EXPECT_FALSE(interaction.MeasurementInProgress());
    ClickAt(639.7, 10.0);
    EXPECT_TRUE(interaction.MeasurementInProgress());
}

TEST_F(StillViewMappingTest, ScrolledActualSizeAddsTheScrollPosition) {
    interaction.SetMapping({{300, 200}, 1.0, 1.0});
    ASSERT_TRUE(interaction.ChooseTool(StillMode::kStraightLine, true));
    ClickAt(10.2, 20.6);
    ClickAt(110.0, 20.0);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(Last().points[0], (P{310, 221}));
    EXPECT_EQ(Last().points[1], (P{410, 220}));
    EXPECT_EQ(interaction.ScrollOffset(), (P{300, 200}));
}

TEST_F(StillViewMappingTest, PickingUsesTheScreensToleranceOnALargePicture) {
    MeasureRecord line;
    line.kind = static_cast<int>(StillKind::kStraightLine);
    line.points = {{100, 500}, {1500, 500}, {}, {}, {}, {}, {0, 0}};
    AppendRecord(records, line);
    ASSERT_TRUE(interaction.ChooseTool(StillMode::kSelect, false));
    // Two view pixels off the line are five picture pixels: still a hit, as on a small picture.
    ClickAt(300.0, 202.0);
    EXPECT_TRUE(records[0].selected);
    ASSERT_TRUE(interaction.ChooseTool(StillMode::kSelect, false));
    ClickAt(300.0, 206.0);
    EXPECT_FALSE(records[0].selected);
}

TEST_F(StillViewMappingTest, TextBoxSpansTheSameScreenPartOnAnyPicture) {
    ASSERT_TRUE(interaction.ChooseTool(StillMode::kText, false));
    interaction.MouseMoveAt({40.0, 40.0});
    ASSERT_TRUE(interaction.ConfirmText("note", DefaultLogFont(), 0));
    ClickAt(40.0, 40.0);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(Last().points[0], (P{100, 100}));
    EXPECT_EQ(Last().points[1], (P{250, 250}));  // 60 view pixels
}

}  // namespace
}  // namespace lensora::test
