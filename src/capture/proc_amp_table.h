// The picture properties of the video settings: one row per property (brightness, contrast,
// saturation, sharpness, gamma, hue), each with the device's range, its current value and, where
// the device has one, its automatic companion switch. Reads and writes go straight to the frame
// source; the table only keeps what the dialog shows. Not thread-safe: the UI thread (or a test)
// owns it. The source must outlive the table.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "capture/frame_source.h"

namespace lensora {

struct ProcAmpRow {
    PictureControl control = PictureControl::Brightness;
    std::string captionKey;      // text key of the caption
    std::string captionDefault;  // its built-in English text
    bool shown = true;           // hue's row exists but stays hidden
    std::optional<PictureControl> autoCompanion;
    bool available = false;  // false: the device lacks the control ("N/A", row disabled)
    ControlRange range;
    int value = 0;
};

class ProcAmpTable {
  public:
    static constexpr int kRows = 6;

    explicit ProcAmpTable(FrameSource& source);

    // Reads every row's range and value from the opened device; rows of a missing control (or
    // every row, with no device open) become unavailable.
    void Load();
    // Marks every row unavailable (the camera went away).
    void Clear();
    bool AnyAvailable() const;

    const ProcAmpRow& Row(int row) const { return rows_.at(static_cast<std::size_t>(row)); }

    // Sets a row to `value`, clamped to its range. An automatic companion that is on is
    // switched off first, or the device would ignore the value. When the device refuses, the
    // row takes the value the device actually holds. Returns the row's value afterwards.
    int Set(int row, int value);
    // Moves a row by one step of the control up (+1) or down (-1), clamped; nothing is sent
    // when the value would not change.
    int Step(int row, int direction);
    // Every available row back to the device's default: the automatic companion on where
    // there is one, else the default value.
    void Default();
    // The value with "%3d", or "N/A" for an unavailable row.
    std::string ValueText(int row) const;

  private:
    void ReadBack(ProcAmpRow& r);

    FrameSource& source_;
    std::array<ProcAmpRow, kRows> rows_;
};

}  // namespace lensora
