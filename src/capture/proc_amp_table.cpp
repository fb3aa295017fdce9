#include "capture/proc_amp_table.h"

#include <fmt/format.h>

#include <algorithm>

namespace lensora {

namespace {

ProcAmpRow MakeRow(PictureControl control, const char* caption, bool shown,
                   std::optional<PictureControl> autoCompanion) {
    ProcAmpRow r;
    r.control = control;
    r.captionKey = caption;
    r.captionDefault = caption;
    r.shown = shown;
    r.autoCompanion = autoCompanion;
    return r;
}

}  // namespace

ProcAmpTable::ProcAmpTable(FrameSource& source) : source_(source) {
    rows_[0] =
        MakeRow(PictureControl::Brightness, "Brightness", true, PictureControl::AutoBrightness);
    rows_[1] = MakeRow(PictureControl::Contrast, "Contrast", true, std::nullopt);
    rows_[2] = MakeRow(PictureControl::Saturation, "Saturation", true, std::nullopt);
    rows_[3] = MakeRow(PictureControl::Sharpness, "Sharpness", true, std::nullopt);
    rows_[4] = MakeRow(PictureControl::Gamma, "Gamma", true, std::nullopt);
    rows_[5] = MakeRow(PictureControl::Hue, "Hue", false, PictureControl::AutoHue);
}

void ProcAmpTable::Load() {
    for (ProcAmpRow& r : rows_) {
        r.available = false;
        r.value = 0;
        const std::optional<ControlRange> range = source_.QueryPictureControl(r.control);
        const std::optional<int> value = source_.PictureControlValue(r.control);
        // A range upside down would make every clamp meaningless: treat it as missing.
        if (!range || !value || range->maximum < range->minimum) {
            r.range = {};
            continue;
        }
        r.range = *range;
        r.range.step = std::max(1, r.range.step);
        r.available = true;
        r.value = *value;
    }
}

void ProcAmpTable::Clear() {
    for (ProcAmpRow& r : rows_) {
        r.available = false;
        r.range = {};
        r.value = 0;
    }
}

bool ProcAmpTable::AnyAvailable() const {
    return std::any_of(rows_.begin(), rows_.end(), [](const ProcAmpRow& r) { return r.available; });
}

void ProcAmpTable::ReadBack(ProcAmpRow& r) {
    if (const std::optional<int> actual = source_.PictureControlValue(r.control)) {
        r.value = *actual;
    }
}

int ProcAmpTable::Set(int row, int value) {
    ProcAmpRow& r = rows_.at(static_cast<std::size_t>(row));
    if (!r.available) {
        return r.value;
    }
    value = std::clamp(value, r.range.minimum, r.range.maximum);
    if (r.autoCompanion) {
        const std::optional<int> automatic = source_.PictureControlValue(*r.autoCompanion);
        if (automatic && *automatic != 0) {
            source_.SetPictureControl(*r.autoCompanion, 0);
        }
    }
    if (source_.SetPictureControl(r.control, value)) {
        r.value = value;
    } else {
        ReadBack(r);
    }
    return r.value;
}

int ProcAmpTable::Step(int row, int direction) {
    const ProcAmpRow& r = rows_.at(static_cast<std::size_t>(row));
    if (!r.available) {
        return r.value;
    }
    const int target = std::clamp(r.value + (direction >= 0 ? r.range.step : -r.range.step),
                                  r.range.minimum, r.range.maximum);
    if (target == r.value) {
        return r.value;
    }
    return Set(row, target);
}

void ProcAmpTable::Default() {
    for (ProcAmpRow& r : rows_) {
        if (!r.available) {
            continue;
        }
        // With its automatic switch on the device picks the value itself; the slider shows
        // the default, and what the device reports afterwards.
        if (r.autoCompanion && source_.QueryPictureControl(*r.autoCompanion) &&
            source_.SetPictureControl(*r.autoCompanion, 1)) {
            r.value = r.range.defaultValue;
            ReadBack(r);
            continue;
        }
        if (source_.SetPictureControl(r.control, r.range.defaultValue)) {
            r.value = r.range.defaultValue;
        } else {
            ReadBack(r);
        }
    }
}

std::string ProcAmpTable::ValueText(int row) const {
    const ProcAmpRow& r = Row(row);
    return r.available ? fmt::format("{:3d}", r.value) : std::string("N/A");
}

}  // namespace lensora
