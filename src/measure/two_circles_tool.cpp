#include "measure/two_circles_tool.h"

#include <array>

#include "measure/measured_values.h"

namespace lensora {

namespace {

constexpr int kCentre1 = 3;
constexpr int kRadius1Anchor = 4;
constexpr int kRadius2Anchor = 9;
constexpr int kDistanceAnchor = 10;

}  // namespace

void TwoCirclesTool::Reset() {
    working_.Clear();
    clicks_ = 0;
    following_ = -1;
}

ToolStep TwoCirclesTool::Refuse() {
    Reset();
    return StepOf(false, true, true);
}

ToolStep TwoCirclesTool::Click(PixelPoint p) {
    auto& points = working_.points;
    ++clicks_;
    ToolStep step = StepOf(clicks_ == 1, true, false);
    switch (clicks_) {
        case 1:
        case 2:
        case 5:
        case 6:
            points.push_back(p);
            return step;
        case 3: {
            points.push_back(p);
            auto first = TwoCirclesFirstLabel(points[0], points[1], points[2], env_.Scale());
            if (!first) {
                return Refuse();
            }
            points.push_back(first->centre);
            points.push_back(p);
            working_.labels = {std::move(first->labels.at(0))};  // "R:" of circle 1
            following_ = kRadius1Anchor;
            return step;
        }
        case 4:
            points[kRadius1Anchor] = p;
            following_ = -1;
            return step;
        case 7: {
            points.push_back(p);
            const std::array<PixelPoint, 6> clicks{points[0], points[1], points[2],
                                                   points[5], points[6], points[7]};
            auto values = TwoCirclesLabels(clicks, env_.Scale());
            if (!values) {
                return Refuse();
            }
            points[kCentre1] = values->centre1;
            points.push_back(values->centre2);
            points.push_back(p);
            working_.labels = std::move(values->labels);
            following_ = kRadius2Anchor;
            return step;
        }
        case 8:
            points[kRadius2Anchor] = p;
            points.push_back(p);
            following_ = kDistanceAnchor;
            return step;
        default: {
            points[kDistanceAnchor] = p;
            MeasureRecord record = env_.MakeRecord(kind_);
            record.points = std::move(points);
            record.labels = std::move(working_.labels);
            Reset();
            step.ended = true;
            step.record = std::move(record);
            return step;
        }
    }
}

std::optional<PixelBox> TwoCirclesTool::Move(PixelPoint p) {
    if (following_ < 0 || working_.points[following_] == p) {
        return std::nullopt;
    }
    const std::size_t line = following_ == kRadius1Anchor   ? 0
                             : following_ == kRadius2Anchor ? 1
                                                            : 2;
    const std::vector<std::string> label{working_.labels.at(line)};
    const PixelBox before = LabelArea(working_.points[following_], label, kDefaultLineGap);
    working_.points[following_] = p;
    return UnionRect(before, LabelArea(p, label, kDefaultLineGap));
}

}  // namespace lensora
