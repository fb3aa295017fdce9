// Moving stored records: the grab point the pointer is put on when a record is picked for
// moving, and the shift of every point of a record. Shifts saturate at the 32-bit range so
// a record carried far outside the picture never overflows. Pure functions.
#pragma once

#include <cstdint>

#include "measure/measure_record.h"

namespace lensora {

// p + (dx, dy), each coordinate clamped to the 32-bit range.
PixelPoint OffsetPoint(PixelPoint p, std::int64_t dx, std::int64_t dy);
// Shifts every point; values and labels stay as they are.
void ShiftRecord(MeasureRecord& record, std::int64_t dx, std::int64_t dy);

// Where a still-view record is grabbed: the centre of circles (p0; p3 of the two circles, p4
// of the arcs), p0 of labels and text, else the midpoint of p0 and p1. A record without
// points is grabbed at (0, 0).
PixelPoint GrabPoint(const MeasureRecord& record);

}  // namespace lensora
