#include "measure/record_lists.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "measure/tool_catalog.h"

namespace lensora {
namespace {

TEST(MeasureRecord, DefaultsAndCreationFromDrawingSettings) {
    const MeasureRecord fresh = NewRecord();
    EXPECT_EQ(fresh.penWidth, 1);
    EXPECT_EQ(fresh.penStyle, 0);
    EXPECT_EQ(fresh.penColor, 255u);
    EXPECT_EQ(fresh.kind, 100);
    EXPECT_EQ(fresh.labelColor, 255u);
    EXPECT_FALSE(fresh.selected);
    EXPECT_EQ(fresh.lineGap, 12);
    EXPECT_EQ(fresh.fitRadius, 0.0);
    EXPECT_TRUE(fresh.points.empty() && fresh.labels.empty());

    AppSettings settings;
    settings.lineWidth = 3;
    settings.lineType = 2;
    settings.fontSize = 20;
    ViewDrawingStyle style;
    style.penColor = 0xFF00FF00;  // top byte is not part of the colour
    style.labelColor = 0x123456;
    style.labelFont.height = -20;
    const MeasureRecord record = NewRecord(StillKind::kRectangle, settings, style);
    EXPECT_EQ(record.kind, 3);
    EXPECT_EQ(record.penWidth, 3);
    EXPECT_EQ(record.penStyle, 2);
    EXPECT_EQ(record.penColor, 0x00FF00u);
    EXPECT_EQ(record.labelColor, 0x123456u);
    EXPECT_EQ(record.labelFont.height, -20);
    EXPECT_EQ(record.lineGap, 18);
    // The same tool in the live view carries its own code.
    EXPECT_EQ(NewRecord(LiveKind::kRectangle, settings, style).kind, 5);
}

TEST(MeasureRecord, LineGapTableBoundaries) {
    const std::pair<int, int> table[] = {
        {-5, 12}, {0, 12},  {1, 12},  {13, 12}, {14, 13}, {15, 13}, {16, 14},    {17, 16},
        {19, 16}, {20, 18}, {21, 18}, {22, 20}, {24, 20}, {25, 22}, {27, 22},    {28, 24},
        {29, 24}, {30, 26}, {32, 26}, {33, 28}, {35, 28}, {36, 30}, {37, 30},    {38, 36},
        {48, 36}, {49, 48}, {64, 48}, {65, 72}, {96, 72}, {97, 12}, {100000, 12}};
    for (const auto& [size, gap] : table) {
        EXPECT_EQ(LineGapForFontSize(size), gap) << "font size " << size;
    }
}

TEST(MeasureRecord, DrawOnlyRecordsHaveOneEmptyLinePerValue) {
    EXPECT_EQ(EmptyLabels(StillKind::kRadiusCircle), std::vector<std::string>(3));
    EXPECT_EQ(EmptyLabels(StillKind::kStraightLine), std::vector<std::string>(1));
    EXPECT_EQ(EmptyLabels(StillKind::kRectangle).size(), 3u);
}

MeasureRecord Tagged(int kind) {
    MeasureRecord record;
    record.kind = kind;
    return record;
}

TEST(RecordLists, AppendRemoveClearKeepOrder) {
    StillRecords list;
    for (int kind : {1, 2, 3, 4}) {
        AppendRecord(list, Tagged(kind));
    }
    EXPECT_EQ(AppendRecord(list, std::unique_ptr<MeasureRecord>()), nullptr);
    ASSERT_EQ(list.size(), 4u);
    EXPECT_TRUE(RemoveRecord(list, 1));
    EXPECT_FALSE(RemoveRecord(list, 3));
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].kind, 1);
    EXPECT_EQ(list[1].kind, 3);
    EXPECT_EQ(list[2].kind, 4);
    ClearRecords(list);
    EXPECT_TRUE(list.empty());
    EXPECT_FALSE(RemoveRecord(list, 0));
}

TEST(RecordLists, SelectOnlyDeselectsTheOthers) {
    LiveRecords list;
    for (int kind : {1, 2, 3}) {
        AppendRecord(list, Tagged(kind))->selected = true;
    }
    SelectOnly(list, 1);
    EXPECT_FALSE(list[0].selected);
    EXPECT_TRUE(list[1].selected);
    EXPECT_FALSE(list[2].selected);
    SelectOnly(list, 99);
    EXPECT_FALSE(list[1].selected);
    list[2].selected = true;
    ClearSelection(list);
    EXPECT_FALSE(list[2].selected);
}

TEST(RecordLists, WorkingListsClear) {
    WorkingLists working{{{1, 2}, {3, 4}}, {"1.000mm"}};
    working.Clear();
    EXPECT_TRUE(working.points.empty() && working.labels.empty());
}

TEST(LabelCounters, NumbersAndResetRules) {
    LabelCounters counters;
    EXPECT_EQ(counters.NextCircleLabel(), "1");
    EXPECT_EQ(counters.NextCircleLabel(), "2");
    EXPECT_EQ(counters.NextSquareLabel(), "1");
    counters.ResetBoth();  // the Select tool
    EXPECT_EQ(counters.NextCircleLabel(), "1");
    EXPECT_EQ(counters.NextSquareLabel(), "1");
    // Picking the live circle label tool restarts only the square counter, and the reverse.
    counters.OnLiveToolChosen(LiveKind::kCircleLabel);
    EXPECT_EQ(counters.circle(), 1);
    EXPECT_EQ(counters.square(), 0);
    counters.NextSquareLabel();
    counters.OnLiveToolChosen(LiveKind::kSquareLabel);
    EXPECT_EQ(counters.circle(), 0);
    EXPECT_EQ(counters.square(), 1);
    counters.NextCircleLabel();
    counters.OnLiveToolChosen(LiveKind::kRectangle);
    EXPECT_EQ(counters.circle(), 0);
    EXPECT_EQ(counters.square(), 0);
    EXPECT_EQ(&SharedLabelCounters(), &SharedLabelCounters());
}

TEST(ToolCatalog, StillModesMapToTheirRecordCodes) {
    EXPECT_EQ(StillModeToKind(StillMode::kStraightLine), StillKind::kStraightLine);
    EXPECT_EQ(int(*StillModeToKind(StillMode::kStraightLine)), 1);
    EXPECT_EQ(int(*StillModeToKind(StillMode::kRadiusCircle)), 2);
    EXPECT_EQ(int(*StillModeToKind(StillMode::kRectangle)), 3);
    EXPECT_EQ(int(*StillModeToKind(StillMode::kText)), 4);
    EXPECT_EQ(int(*StillModeToKind(StillMode::kArc)), 222);
    EXPECT_FALSE(StillModeToKind(StillMode::kSelect));
    EXPECT_FALSE(StillModeToKind(StillMode::kMagnifier));
    EXPECT_FALSE(StillModeToKind(StillMode::kCheckEdgePortion));
    EXPECT_FALSE(StillModeToKind(StillMode::kNone));
    // The same tool has another code in each view.
    const ToolInfo* rect = FindStillTool(StillMode::kRectangle);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->liveKind, LiveKind::kRectangle);
    EXPECT_EQ(int(*rect->liveKind), 5);
}

TEST(ToolCatalog, CommandsCaptionsAndLayoutsAreConsistent) {
    std::set<int> commands, stillModes, stillKinds, liveKinds;
    for (const ToolInfo& tool : ToolCatalog()) {
        for (int command : {tool.stillDrawCommand, tool.stillMeasureCommand, tool.liveCommand}) {
            if (command != 0) {
                EXPECT_TRUE(commands.insert(command).second) << "command " << command;
                EXPECT_EQ(FindToolByCommand(command), &tool);
            }
        }
        if (tool.stillMode) {
            EXPECT_TRUE(stillModes.insert(int(*tool.stillMode)).second);
        }
        if (tool.stillKind) {
            EXPECT_TRUE(stillKinds.insert(int(*tool.stillKind)).second);
            EXPECT_GT(tool.stillPoints.fixed, 0) << tool.defaultCaption;
        }
        if (tool.liveKind) {
            EXPECT_TRUE(liveKinds.insert(int(*tool.liveKind)).second);
        }
        EXPECT_FALSE(tool.defaultCaption.empty());
    }
    EXPECT_EQ(liveKinds.size(), 25u);
    const ToolInfo* circle = FindToolByCommand(1255);
    ASSERT_NE(circle, nullptr);
    EXPECT_EQ(circle->captionKey, "Threepointcircle");
    EXPECT_EQ(circle->defaultCaption, "Three Points Circle");
    EXPECT_EQ(circle->stillPoints.Count(0), 5);
    const ToolInfo* path = FindStillTool(StillMode::kContinuousLine);
    EXPECT_EQ(path->stillPoints.Count(3), 7);
    EXPECT_EQ(path->drawCaption, "Continue Line");
    EXPECT_EQ(FindStillTool(StillMode::kPolygon)->stillPoints.Count(4), 5);
    EXPECT_EQ(FindLiveTool(LiveKind::kAutoArc)->liveCaption, "Auto Circle-Arc ");
    EXPECT_EQ(FindToolByCommand(0), nullptr);
    EXPECT_EQ(FindToolByCommand(12345), nullptr);
}

TEST(ToolCatalog, SecondPressTogglesOnlyTheDrawingTools) {
    EXPECT_TRUE(LiveToolToggles(LiveKind::kStraightLine));
    EXPECT_TRUE(LiveToolToggles(LiveKind::kFourPointAngle));
    EXPECT_TRUE(LiveToolToggles(LiveKind::kArc));
    EXPECT_FALSE(LiveToolToggles(LiveKind::kCircleLabel));
    EXPECT_FALSE(LiveToolToggles(LiveKind::kAutoCircle));
    EXPECT_FALSE(LiveToolToggles(LiveKind::kNone));
}

}  // namespace
}  // namespace lensora
