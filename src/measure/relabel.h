// Label texts are derived from a record's points: when the unit, the decimals or the rate of a
// view change, every record of that view is relabelled so that one picture never mixes units.
// Pure functions on records; the caller owns the list (UI thread).
#pragma once

#include "base/units.h"
#include "measure/measure_record.h"
#include "measure/record_lists.h"

namespace lensora {

// Recomputes the labels of `record` (a still-view or live-view record, by `live`) for the
// scale `to`. Manual tools are measured again from their stored points; automatic tools,
// whose values came from the picture's edges, have their printed numbers converted from the
// scale `from` they were made with. Angles, texts and records without labels (calibration
// lines, draw-only shapes) are left as they are. Returns whether any label changed.
bool RelabelRecord(MeasureRecord& record, bool live, const ScaleContext& from,
                   const ScaleContext& to);

// RelabelRecord for every record of the list; returns how many records changed.
int RelabelRecords(RecordList& list, bool live, const ScaleContext& from, const ScaleContext& to);

// Whether two scales print the same labels (same units per pixel, unit, decimals and area rule).
bool SameLabelScale(const ScaleContext& a, const ScaleContext& b);

}  // namespace lensora
