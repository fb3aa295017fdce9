// InteractionView for tests: counts repaints, keeps the rubber band and capture state, and
// checks that the band is always erased before another is shown (the NOT-XOR rule).
#pragma once

#include <deque>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "base/view_transform.h"
#include "measure/interaction_view.h"
#include "support/fake_prompts.h"

namespace lensora {
inline void PrintTo(const PixelPoint& p, std::ostream* os) {
    *os << "(" << p.x << ", " << p.y << ")";
}
}  // namespace lensora

namespace lensora::test {

// The live tests click in the coordinates of a main window that shows the 640 x 480 video
// area with its top-left corner at (98, 49).
inline constexpr ViewTransform kVideoAreaInMainWindow{{-98, -49}};

class FakeInteractionView : public InteractionView {
  public:
    void Repaint() override { ++repaints; }
    void InvalidateRect(const PixelBox& rect) override { invalidated.push_back(rect); }
    RubberBandDrawing BandDrawing() const override { return bandDrawing; }
    void ShowRubberBand(const RubberBand& band) override {
        if (shownBand && bandDrawing == RubberBandDrawing::NotXor) {
            ++bandFaults;  // a shown band must be erased first
        }
        shownBand = band;
        ++bandsShown;
    }
    void EraseRubberBand() override {
        if (!shownBand) {
            ++bandFaults;  // erasing nothing would draw a stray figure
        }
        ++erases;
        shownBand.reset();
    }
    void CaptureMouse() override {
        captured = true;
        ++captures;
    }
    void ReleaseMouse() override { captured = false; }
    void ConfinePointer(const PixelBox& area) override { confinedTo = area; }
    void FreePointer() override { confinedTo.reset(); }
    DrawingSettings CurrentDrawingSettings() const override { return drawing; }
    ScaleContext CurrentScale() const override { return scale; }
    bool PrepareRate() override {
        ++rateChecks;
        return rateAccepted;
    }
    UserPrompts& Prompts() override { return prompts; }
    void ShowToolName(std::string_view caption) override { toolName = caption; }
    void SetPointerPosition(PixelPoint client) override { pointer = client; }
    void SetMoveCursor(bool on) override { moveCursor = on; }
    std::optional<double> AskReferenceLength(std::string_view unitName) override {
        askedUnits.emplace_back(unitName);
        if (lengths.empty()) {
            return std::nullopt;
        }
        std::optional<double> answer = lengths.front();
        lengths.pop_front();
        return answer;
    }

    // One pixel prints as 0.01 mm with three decimals: 100 pixels read "1.000mm".
    ScaleContext scale{0.01, "mm", 3};
    DrawingSettings drawing;
    FakePrompts prompts;
    bool rateAccepted = true;
    int rateChecks = 0;
    int repaints = 0;
    std::vector<PixelBox> invalidated;
    std::optional<RubberBand> shownBand;
    int bandsShown = 0;
    int bandFaults = 0;
    int erases = 0;
    RubberBandDrawing bandDrawing = RubberBandDrawing::NotXor;
    bool captured = false;
    int captures = 0;
    std::optional<PixelBox> confinedTo;
    std::string toolName;
    std::optional<PixelPoint> pointer;
    bool moveCursor = false;
    std::deque<std::optional<double>> lengths;
    std::vector<std::string> askedUnits;
};

}  // namespace lensora::test
