// Select, Delete and Move in the still view.
#include <gtest/gtest.h>

#include "measure/still_interaction.h"
#include "support/fake_interaction_view.h"

namespace lensora::test {
namespace {

using P = PixelPoint;
using Points = std::vector<PixelPoint>;
using Texts = std::vector<std::string>;

class StillEditingTest : public ::testing::Test {
  protected:
    StillEditingTest() { interaction.SetPictureSize(640, 480); }

    MeasureRecord& Add(StillKind kind, Points points, Texts labels = {"L:1.000mm"}) {
        MeasureRecord record;
        record.kind = static_cast<int>(kind);
        record.points = std::move(points);
        record.labels = std::move(labels);
        return *AppendRecord(records, std::move(record));
    }
    void Click(int x, int y) {
        interaction.MouseDown({x, y});
        interaction.MouseUp({x, y});
    }
    std::vector<bool> Selection() const {
        std::vector<bool> flags;
        for (const auto& r : records.records) {
            flags.push_back(r->selected);
        }
        return flags;
    }

    FakeInteractionView view;
    StillRecords records;
    AppSettings settings;
    LabelCounters counters;
    StillInteraction interaction{view, records, settings, counters};
};

TEST_F(StillEditingTest, SelectTakesTheFirstHitAndMissesKeepTheSelection) {
    Add(StillKind::kStraightLine, {{0, 10}, {200, 10}, {}, {}, {}, {}, {0, 0}});
    Add(StillKind::kRectangle, {{100, 100}, {200, 200}, {0, 0}});
    Add(StillKind::kRadiusCircle, {{400, 300}, {450, 300}, {0, 0}});
    Add(StillKind::kStraightLine, {{100, 0}, {100, 300}, {}, {}, {}, {}, {0, 0}});
    ASSERT_TRUE(interaction.ChooseTool(StillMode::kSelect, false));
    Click(100, 10);  // lies on both lines: the older wins
    EXPECT_EQ(Selection(), (std::vector<bool>{true, false, false, false}));
    Click(150, 101);
    EXPECT_EQ(Selection(), (std::vector<bool>{false, true, false, false}));
    Click(150, 150);  // inside the rectangle, off its frame: a miss
    EXPECT_EQ(Selection(), (std::vector<bool>{false, true, false, false}));
    Click(400, 351);
    EXPECT_EQ(Selection(), (std::vector<bool>{false, false, true, false}));
    Click(101, 250);
    EXPECT_EQ(Selection(), (std::vector<bool>{false, false, false, true}));
    interaction.DoubleClick({600, 400});
    EXPECT_EQ(Selection(), (std::vector<bool>{false, false, false, true}));
    interaction.SetScrollOffset({100, 0});  // client (0, 10) is picture (100, 10)
    Click(0, 10);
    EXPECT_EQ(Selection(), (std::vector<bool>{true, false, false, false}));
    ASSERT_TRUE(interaction.ChooseTool(StillMode::kRectangle, true));
    EXPECT_EQ(Selection(), (std::vector<bool>{false, false, false, false}));
}

TEST_F(StillEditingTest, FourPointAnglesHaveTheirOwnPickMode) {
    Add(StillKind::kStraightLine, {{0, 10}, {200, 10}, {}, {}, {}, {}, {0, 0}});
    Add(StillKind::kFourPointAngle, {{0, 10}, {200, 10}, {0, 50}, {200, 90}, {5, 5}});
    ASSERT_TRUE(interaction.ChooseTool(StillMode::kSelect, false));
    Click(100, 70);  // only on the four-point angle's second line
    EXPECT_EQ(Selection(), (std::vector<bool>{false, false}));

    ASSERT_TRUE(interaction.ChooseTool(StillMode::kFourPointAngle, true));
    ASSERT_TRUE(interaction.ChooseTool(StillMode::kSelect, false));
    EXPECT_TRUE(interaction.FourPointPickMode());
    Click(100, 10);  // on both: only the four-point angle counts
    EXPECT_EQ(Selection(), (std::vector<bool>{false, true}));
    ASSERT_TRUE(interaction.MoveSelected());
    Click(110, 20);
    EXPECT_EQ(records[1].points[0], (P{10, 20}));

    ASSERT_TRUE(interaction.ChooseTool(StillMode::kRectangle, true));
    ASSERT_TRUE(interaction.ChooseTool(StillMode::kSelect, false));
    EXPECT_FALSE(interaction.FourPointPickMode());
}

TEST_F(StillEditingTest, DeleteAsksOncePerSelectedRecordNewestFirst) {
    Add(StillKind::kCircleLabel, {{10, 10}}, {"A"}).selected = true;
    Add(StillKind::kCircleLabel, {{20, 10}}, {"B"});
    Add(StillKind::kCircleLabel, {{30, 10}}, {"C"}).selected = true;
    Add(StillKind::kCircleLabel, {{40, 10}}, {"D"}).selected = true;
    view.prompts.answers = {PromptAnswer::Yes, PromptAnswer::No, PromptAnswer::Yes};
    interaction.DeleteSelected();
    EXPECT_EQ(view.prompts.asked, Texts(3, "Are you sure to delete?"));
    ASSERT_EQ(records.size(), 2u);  // D (Yes) and A (Yes) went, C (No) stays
    EXPECT_EQ(records[0].labels, Texts{"B"});
    EXPECT_EQ(records[1].labels, Texts{"C"});
    EXPECT_TRUE(view.prompts.shown.empty());

    ClearSelection(records);
    interaction.DeleteSelected();
    EXPECT_EQ(view.prompts.shown, Texts{"Please select a metafile"});
    EXPECT_EQ(records.size(), 2u);
}

TEST_F(StillEditingTest, MoveShiftsEveryPointAndKeepsTheValues) {
    Add(StillKind::kStraightLine,
        {{100, 100}, {200, 100}, {100, 110}, {100, 90}, {200, 110}, {200, 90}, {210, 120}});
    EXPECT_FALSE(interaction.MoveSelected());
    EXPECT_EQ(view.prompts.shown, Texts{"Please select a metafile"});

    interaction.SetScrollOffset({10, 10});
    records[0].selected = true;
    ASSERT_TRUE(interaction.MoveSelected());
    EXPECT_EQ(view.pointer, (P{140, 90}));  // grab point (150, 100) in client pixels
    EXPECT_TRUE(view.captured);
    interaction.MouseMove({160, 110});
    ASSERT_TRUE(view.shownBand);
    EXPECT_EQ(view.shownBand->kind, RubberBandKind::MovedRecord);
    EXPECT_EQ(view.shownBand->record, &records[0]);
    EXPECT_EQ(view.shownBand->shift, (P{10, 10}));  // points + shift = client figure

    Click(190, 140);  // picture (200, 150): shift (50, 50)
    EXPECT_FALSE(interaction.Moving());
    EXPECT_FALSE(view.captured);
    EXPECT_EQ(
        records[0].points,
        (Points{
            {150, 150}, {250, 150}, {150, 160}, {150, 140}, {250, 160}, {250, 140}, {260, 170}}));
    EXPECT_EQ(records[0].labels, Texts{"L:1.000mm"});

    ASSERT_TRUE(interaction.MoveSelected());
    interaction.RightClick({5, 5});  // leaves moving, nothing changes
    EXPECT_FALSE(interaction.Moving());
    EXPECT_EQ(records[0].points[0], (P{150, 150}));
    Click(0, 0);  // a Select-less click after moving does nothing
    EXPECT_EQ(records[0].points[0], (P{150, 150}));

    ASSERT_TRUE(interaction.MoveSelected());  // carried beyond the picture's corner
    Click(0, 0);
    EXPECT_EQ(records[0].points[0], (P{-40, 10}));
    EXPECT_EQ(view.bandFaults, 0);
}

TEST_F(StillEditingTest, CheckEdgeSectionNeedsAnArea) {
    ASSERT_TRUE(interaction.ChooseTool(StillMode::kCheckEdgePortion, true));
    interaction.MouseDown({10, 10});
    EXPECT_TRUE(view.captured);
    interaction.MouseMove({50, 60});
    EXPECT_EQ(view.shownBand->kind, RubberBandKind::Rectangle);
    interaction.MouseUp({10, 60});
    EXPECT_EQ(view.prompts.shown, Texts{"Please select section first"});
    EXPECT_FALSE(view.captured);
    EXPECT_FALSE(view.shownBand);
}

}  // namespace
}  // namespace lensora::test
