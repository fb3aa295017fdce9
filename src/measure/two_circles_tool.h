// Click sequence of the two-circles tool: three clicks on circle 1 (its radius label appears
// at the third and follows the pointer until the fourth click places it), three clicks on
// circle 2 (its radius and the centre distance are computed at the seventh), then the
// eighth and ninth clicks place the second radius label and the distance label, and the
// record is stored. The points are kept in the record's layout from the start (p3, p8
// centres; p4, p9, p10 label anchors) so the canvas can preview them.
// User-interface thread only.
#pragma once

#include "measure/click_tool.h"

namespace lensora {

class TwoCirclesTool final : public ClickTool {
  public:
    TwoCirclesTool(int kind, ToolEnv& env) : kind_(kind), env_(env) {}

    ToolStep Click(PixelPoint p) override;
    std::optional<PixelBox> Move(PixelPoint p) override;
    bool InProgress() const override { return clicks_ > 0; }
    void Reset() override;
    const WorkingLists& Working() const override { return working_; }

  private:
    ToolStep Refuse();

    int kind_;
    ToolEnv& env_;
    WorkingLists working_;
    int clicks_ = 0;
    int following_ = -1;  // index of the label anchor that follows the pointer, or -1
};

}  // namespace lensora
