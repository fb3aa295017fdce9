// The live view's drawing: its records over the camera frame (own colours, no highlight,
// derived end ticks, dotted guides of the automatic angle), the date and time stamp, and the
// composition of a live frame and of a snapshot with their overlays. Stateless; runs on the
// user-interface thread for live frames and snapshots alike, since it reads LiveRecords,
// which only that thread changes.
#pragma once

#include <span>
#include <string>

#include "base/drawing_surface.h"
#include "canvas/live_overlays.h"
#include "canvas/record_renderer.h"
#include "measure/record_lists.h"
#include "measure/reference_shape.h"

namespace lensora {

struct LocalDateTime {
    int year = 1970;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// "year-month-day hour:minute:second" without leading zeros ("2026-3-7 9:05:01" reads
// "2026-3-7 9:5:1").
std::string DateTimeStampText(const LocalDateTime& time);

// The stamp at (0, height - 14) in the surface's current font and text colour.
void DrawDateTimeStamp(DrawingSurface& surface, const LocalDateTime& time);

struct LiveLabelStyle {
    int decimals = kDefaultDecimals;  // of the continuous line's total
    std::string unit = std::string(unit::kMillimetre);
    LogFont surfaceFont = SurfaceDefaultFont();
};

// Every live record, stored for a 640x480 video area, at the given display factors.
void DrawLiveRecords(DrawingSurface& surface, const LiveRecords& records,
                     const ViewTransform& display, const LiveLabelStyle& style);

struct LiveOverlaySwitches {
    bool dateTime = false;
    bool whiteCross = false;
    bool crossRuler = false;
    bool rings = false;
    bool referenceShapes = true;
};

struct LiveFrameInput {
    const DibView* frame = nullptr;  // null: the surface keeps what it holds
    // Where the frame is stretched to; an empty box means the whole surface.
    PixelBox frameDestination;
    const LiveRecords* records = nullptr;
    std::span<const ReferenceShape> shapes;
    ViewTransform display;  // video-area pixels -> surface pixels
    LiveLabelStyle labels;
    LiveOverlaySwitches switches;
    LocalDateTime now;
    // Font and colour the surface holds when the stamp is drawn.
    LogFont stampFont = SurfaceDefaultFont();
    std::uint32_t stampColour = 0xFFFFFF;
    RulerSettings ruler;  // also the rings' pixels per unit
    ReferenceContext reference;
};

// One live frame: the frame stretched to the surface, the records, then whichever of the
// date and time stamp, white cross, cross ruler, concentric rings and reference shapes are
// switched on, in that order.
void ComposeLiveFrame(DrawingSurface& surface, const LiveFrameInput& input);

struct SnapshotOverlayInput {
    const DibView* frame = nullptr;
    const LiveRecords* records = nullptr;
    int captureWidth = 640;
    int captureHeight = 480;
    LiveLabelStyle labels;
    bool whiteCross = false;
    bool crossRuler = false;
    RulerSettings ruler;  // pixels per unit of the live display; scaled here
};

// A snapshot at capture size (the surface's size): the frame pixel for pixel, the records at
// SnapshotRecordScale, then the white cross and the cross ruler (pixels per unit times
// SnapshotRulerScale) when switched on. No date and time stamp. False without a frame.
bool ComposeSnapshot(DrawingSurface& surface, const SnapshotOverlayInput& input);

}  // namespace lensora
