#include "detect/detection_tools.h"

#include <utility>

#include "detect/auto_click_tools.h"
#include "detect/edge_painting.h"

namespace lensora {

DetectionTools::DetectionTools(DetectionHooks hooks)
    : hooks_(std::make_shared<const DetectionHooks>(std::move(hooks))) {}

DetectionTools::~DetectionTools() = default;

std::unique_ptr<ClickTool> DetectionTools::MakeStillTool(StillMode mode, ToolEnv& env) {
    const AutoView view = AutoView::kStill;
    switch (mode) {
        case StillMode::kAutoLineLength1:
            return MakeSegmentTool(SegmentTool::kLineLength1, view, hooks_, env);
        case StillMode::kAutoLineSpacing:
            return MakeSegmentTool(SegmentTool::kLineSpacing, view, hooks_, env);
        case StillMode::kAutoAngle:
            return MakeSegmentTool(SegmentTool::kAngle, view, hooks_, env);
        case StillMode::kAutoCircle:
            return MakePointTool(PointTool::kCircle, view, hooks_, env);
        case StillMode::kAutoArc:
            return MakePointTool(PointTool::kArc, view, hooks_, env);
        case StillMode::kAutoLineLength2:
            return MakePointTool(PointTool::kLineLength2, view, hooks_, env);
        default:
            return nullptr;
    }
}

std::unique_ptr<ClickTool> DetectionTools::MakeLiveTool(LiveKind kind, ToolEnv& env) {
    const AutoView view = AutoView::kLive;
    switch (kind) {
        case LiveKind::kAutoLineSpacing:
            return MakeSegmentTool(SegmentTool::kLineSpacing, view, hooks_, env);
        case LiveKind::kAutoAngle:
            return MakeSegmentTool(SegmentTool::kAngle, view, hooks_, env);
        case LiveKind::kAutoCircle:
            return MakePointTool(PointTool::kCircle, view, hooks_, env);
        case LiveKind::kAutoArc:
            return MakePointTool(PointTool::kArc, view, hooks_, env);
        case LiveKind::kAutoLineLength2:
            return MakePointTool(PointTool::kLineLength2, view, hooks_, env);
        default:
            return nullptr;
    }
}

bool DetectionTools::ProcessSection(PixelPoint corner1, PixelPoint corner2) {
    const ViewTransform mapping = CurrentMapping(*hooks_);
    const PixelPoint view1 = StoredToView(corner1, mapping);
    const PixelPoint view2 = StoredToView(corner2, mapping);
    return Paint(
        [&](CxImage& image) { return PaintEdgesInViewRect(image, view1, view2, mapping); });
}

bool DetectionTools::PaintWholePicture() {
    return Paint([](CxImage& image) { return PaintEdgesGlobal(image); });
}

bool DetectionTools::Paint(const std::function<bool(CxImage&)>& paint) {
    CxImage* picture = hooks_->picture ? hooks_->picture() : nullptr;
    if (picture == nullptr || !picture->IsValid()) {
        return false;
    }
    bool painted = false;
    {
        BusyScope busy(*hooks_);
        painted = paint(*picture);
    }
    if (painted && hooks_->pictureChanged) {
        hooks_->pictureChanged();
    }
    return painted;
}

}  // namespace lensora
