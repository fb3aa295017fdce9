// The owning record lists of the two views, the working lists of a measurement in progress,
// and the label counters shared by both views. User-interface thread only.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "measure/measure_record.h"

namespace lensora {

// Records of one view, oldest first; drawing walks from the front so later records lie on
// top. The list owns its records: removing an entry destroys it.
struct RecordList {
    std::vector<std::unique_ptr<MeasureRecord>> records;

    std::size_t size() const { return records.size(); }
    bool empty() const { return records.empty(); }
    MeasureRecord& operator[](std::size_t index) { return *records[index]; }
    const MeasureRecord& operator[](std::size_t index) const { return *records[index]; }
};

using StillRecords = RecordList;  // destroyed with the still-image window
using LiveRecords = RecordList;   // lives until Delete All or program end

// Adds at the end and returns the stored record. A null pointer is ignored (returns null).
MeasureRecord* AppendRecord(RecordList& list, std::unique_ptr<MeasureRecord> record);
MeasureRecord* AppendRecord(RecordList& list, MeasureRecord record);
// Destroys the record and closes the gap; false for an index outside the list.
bool RemoveRecord(RecordList& list, std::size_t index);
void ClearRecords(RecordList& list);
// Selects the record at index and deselects every other; an index outside the list only
// deselects.
void SelectOnly(RecordList& list, std::size_t index);
void ClearSelection(RecordList& list);

// Clicks and labels of the measurement being made, copied into a record when it finishes.
struct WorkingLists {
    std::vector<PixelPoint> points;
    std::vector<std::string> labels;

    void Clear() {
        points.clear();
        labels.clear();
    }
};

// The last numbers issued to circle and square labels. One instance is shared by both views
// (SharedLabelCounters); separate instances serve tests.
class LabelCounters {
  public:
    // Increment and return the new number formatted as the label ("1", "2", ...).
    std::string NextCircleLabel();
    std::string NextSquareLabel();

    int circle() const { return circle_; }
    int square() const { return square_; }

    // Both restart: the still view's Select tool, opening one of its tool menus, and the live
    // view's Delete All, Undo and Redo.
    void ResetBoth() { circle_ = square_ = 0; }
    // A live tool was picked: the circle label tool restarts only the square counter, the
    // square label tool only the circle counter, any other tool both.
    void OnLiveToolChosen(LiveKind kind);

  private:
    int circle_ = 0;
    int square_ = 0;
};

LabelCounters& SharedLabelCounters();

}  // namespace lensora
