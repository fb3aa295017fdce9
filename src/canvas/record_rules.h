// Which drawing rule the tool code of a record follows, for the still view's and the live
// view's numbering alike: the record renderer draws rules, not codes. Constant mapping.
#pragma once

#include <cstddef>
#include <optional>

#include "measure/measure_record.h"

namespace lensora {

// Which tool numbering a record's `kind` follows.
enum class RecordScheme { Still, Live };

// The drawing rules; both numbering schemes map onto them.
enum class Rule {
    TickedLine,        // p0-p1 with end ticks p2-p3, p4-p5; label at p6
    DerivedTicks,      // live: start, end, anchor; ticks derived from the segment
    PlainLine,         // p0-p1; label at p2
    DotLine,           // p0-p1 and the perpendicular from p2; label at p3
    RadiusCircle,      // centre p0 through p1, radius line; labels at p2
    DiameterCircle,    // centre p0 through p1, diameter p1-p2; labels at p3
    ThreePointCircle,  // centre p0 through p1, line p0-p3, marks p2 p1 p3; labels at p4
    AutoCircle,        // centre p0, radius fitRadius; labels at p1
    TwoCircles,        // marks p0-p2, p5-p7; circles around p3, p8; p3-p8; labels p4, p9, p10
    Rectangle,         // corners p0, p1; labels at p2
    Ellipse,           // live: box of corners p0, p1; labels at p2
    Angle,             // p0-p1, p1-p2; label at p3
    FourPointAngle,    // p0-p1, p2-p3; label at p4
    AutoAngleGuided,   // live: as FourPointAngle with dotted guides beside each segment
    Continuous,        // polyline p0, p1, p3, ...; labels at the even points; total
    Polygon,           // closed polygon p0 ... p(n-2); label at p(n-1)
    CircleLabel,       // circle of radius 10 around p0, number centred
    SquareLabel,       // square p0 +-10, number centred
    Text,              // text line at p0
    Arc,               // arc through p0, p1, p2; labels at p3
};

struct RuleInfo {
    Rule rule;
    int tickHalf = 0;  // DerivedTicks only
};

// The rule of a record; nullopt for codes that draw nothing (no tool, reference shapes).
std::optional<RuleInfo> RuleFor(const MeasureRecord& record, RecordScheme scheme);

}  // namespace lensora
