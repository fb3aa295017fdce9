// The CAD export: an AutoCAD R12 (AC1009) ASCII DXF drawing written by hand. HEADER with
// $ACADVER and the drawing's extents; TABLES with the line type "Continuous" ("Solid line") and
// the layers "0", "Layer1" and "Layer2" (colour 1); ENTITIES with LINE, CIRCLE and open or
// closed POLYLINE/VERTEX/SEQEND on "Layer2"; EOF. R12 has no units variable: coordinates are
// in the measuring unit. Numbers are printed with six decimals whatever the locale.
// Plain value types and functions.
#pragma once

#include <string>
#include <vector>

#include "canvas/record_rules.h"
#include "export/export_file.h"
#include "export/export_result.h"
#include "export/export_scale.h"
#include "base/pixel_point.h"
#include "measure/record_lists.h"

namespace lensora {

inline constexpr const char* kDxfLayer = "Layer2";

// Drawing coordinates (measuring units, y up) of the entities of one export.
class DxfDrawing {
  public:
    void AddLine(PointD from, PointD to);
    void AddCircle(PointD centre, double radius);
    // Consecutive repeated vertices are dropped; fewer than two vertices add nothing.
    void AddPolyline(std::vector<PointD> vertices, bool closed);

    int Lines() const { return lines_; }
    int Circles() const { return circles_; }
    int Polylines() const { return polylines_; }

    // The whole file.
    std::string Text() const;

  private:
    void Extend(PointD p, double margin = 0.0);

    std::string entities_;
    int lines_ = 0;
    int circles_ = 0;
    int polylines_ = 0;
    bool any_ = false;
    PointD min_;
    PointD max_;
};

// The entities of every record that has a shape in the drawing, in list order (labels, text
// and arcs have none). `scale` must be usable.
DxfDrawing BuildDxf(const RecordList& records, RecordScheme scheme, const ExportScale& scale);

// Writes the drawing; fails with a reason when the scale is not usable or the file cannot be
// written.
ExportResult ExportDxf(const std::string& path, const RecordList& records, RecordScheme scheme,
                       const ExportScale& scale, const FileSeam& seam = SystemFileSeam());

}  // namespace lensora
