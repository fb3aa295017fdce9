// Automatic tools plug into both views through AutoToolHandler: clicks, the right button
// that finishes them, and the check-edge section.
#include <gtest/gtest.h>

#include "measure/live_interaction.h"
#include "measure/still_interaction.h"
#include "support/fake_interaction_view.h"

namespace lensora::test {
namespace {

using P = PixelPoint;

// Collects clicks; the right button finishes once three points are set.
class FakeAutoTool : public ClickTool {
  public:
    FakeAutoTool(int kind, ToolEnv& env) : kind_(kind), env_(env) {}
    ToolStep Click(PixelPoint p) override {
        working_.points.push_back(p);
        return StepOf(working_.points.size() == 1, true, false);
    }
    ToolStep RightClick(PixelPoint) override {
        if (working_.points.size() < 3) {
            return UnusedStep();
        }
        ToolStep step = StepOf(false, true, true);
        step.record = env_.MakeRecord(kind_);
        step.record->points = working_.points;
        step.record->labels = {"A", "R", "G"};
        step.anchorIndex = -1;
        working_.Clear();
        return step;
    }
    bool InProgress() const override { return !working_.points.empty(); }
    void Reset() override { working_.Clear(); }
    const WorkingLists& Working() const override { return working_; }

  private:
    int kind_;
    ToolEnv& env_;
    WorkingLists working_;
};

class FakeHandler : public AutoToolHandler {
  public:
    std::unique_ptr<ClickTool> MakeStillTool(StillMode mode, ToolEnv& env) override {
        return std::make_unique<FakeAutoTool>(static_cast<int>(*StillModeToKind(mode)), env);
    }
    std::unique_ptr<ClickTool> MakeLiveTool(LiveKind kind, ToolEnv& env) override {
        return std::make_unique<FakeAutoTool>(static_cast<int>(kind), env);
    }
    bool ProcessSection(PixelPoint a, PixelPoint b) override {
        sections.push_back({a, b});
        return true;
    }
    std::vector<std::pair<P, P>> sections;
};

struct Rig {
    FakeInteractionView view;
    RecordList records;
    ReferenceShapes shapes;
    AppSettings settings;
    LabelCounters counters;
    FakeHandler handler;
};

TEST(AutoToolRoutingTest, StillRightButtonFinishesOrCancels) {
    Rig rig;
    StillInteraction still(rig.view, rig.records, rig.settings, rig.counters, &rig.handler);
    still.SetPictureSize(640, 480);
    ASSERT_TRUE(still.ChooseCommand(1317));  // automatic circle
    for (P p : {P{10, 10}, P{50, 10}, P{30, 40}}) {
        still.MouseDown(p);
    }
    EXPECT_TRUE(rig.view.captured);
    still.RightClick({5, 5});
    ASSERT_EQ(rig.records.size(), 1u);
    EXPECT_EQ(rig.records[0].kind, 19);
    EXPECT_EQ(rig.records[0].points.size(), 3u);
    EXPECT_FALSE(rig.view.captured);

    still.MouseDown({10, 10});
    still.RightClick({5, 5});  // too few points: cancels
    EXPECT_FALSE(still.MeasurementInProgress());
    EXPECT_EQ(rig.records.size(), 1u);

    ASSERT_TRUE(still.ChooseCommand(1266));  // check edge (portion)
    still.MouseDown({10, 10});
    still.MouseUp({60, 70});
    ASSERT_EQ(rig.handler.sections.size(), 1u);
    EXPECT_EQ(rig.handler.sections[0].second, (P{60, 70}));
}

TEST(AutoToolRoutingTest, LiveRightButtonFinishesOrOpensTheMenu) {
    Rig rig;
    LiveInteraction live(rig.view, rig.records, rig.shapes, rig.settings, rig.counters,
                         &rig.handler);
    live.SetViewTransform(kVideoAreaInMainWindow);
    ASSERT_TRUE(live.ChooseCommand(1207));  // automatic arc
    EXPECT_EQ(live.RightClick({300, 300}), LiveRightClick::ShowContextMenu);
    for (P p : {P{110, 110}, P{150, 110}, P{130, 140}}) {
        live.MouseDown(p);
    }
    EXPECT_EQ(live.RightClick({300, 300}), LiveRightClick::ToolFinished);
    ASSERT_EQ(rig.records.size(), 1u);
    EXPECT_EQ(rig.records[0].kind, 23);
    EXPECT_EQ(rig.records[0].points[0], (P{12, 61}));
    EXPECT_FALSE(rig.view.captured);
}

TEST(AutoToolRoutingTest, WithoutAHandlerAutomaticToolsTakeNoClicks) {
    Rig rig;
    StillInteraction still(rig.view, rig.records, rig.settings, rig.counters);
    still.SetPictureSize(640, 480);
    ASSERT_TRUE(still.ChooseTool(StillMode::kAutoArc, true));
    still.MouseDown({10, 10});
    still.RightClick({10, 10});
    EXPECT_FALSE(still.MeasurementInProgress());
    EXPECT_TRUE(rig.records.empty());
}

}  // namespace
}  // namespace lensora::test
