// One include for the views that run the automatic tools, and which call serves which tool.
// All calls run on the user-interface thread; the view shows the busy cursor around the
// segment searches and edge painting, and converts nothing itself: it passes view pixels
// (client positions) and its ViewTransform (scroll offset and view-to-picture factors).
//
//   Still mode / live code        Clicks collected by the view    Call
//   Edge Detect(Global)           none (menu command)             PaintEdgesGlobal
//   Edge Detect(Portion) 20 / -   dragged rectangle               PaintEdgesInViewRect
//   Auto Line-Length1 23 / -      one drawn segment               AutoLineLength1
//   Auto Line-spacing 18 / 24     two drawn segments              AutoLineSpacing
//   Auto Line Calibration         two drawn segments              AutoLineSpacing(...).distancePx
//   Auto Angle-detection 21 / 25  two drawn segments              AutoAngleDetection
//   Auto circle 19 / 21           SnapClick per left click,       AutoCircle (right click)
//   Auto arc 333 / 23               PointToolReady before the     AutoArc (right click)
//   Auto Line-Length2 24 / 22       right click finishes          AutoLineLength2 (right click)
//
// Each tool call returns an AutoToolResult (or a struct holding one); MakeAutoRecord turns it
// into the MeasureRecord to append. A nullopt result stores nothing.
#pragma once

#include "base/view_transform.h"
#include "detect/auto_line_tools.h"
#include "detect/auto_point_tools.h"
#include "detect/auto_tool_result.h"
#include "detect/edge_painting.h"
#include "detect/grey_region.h"
