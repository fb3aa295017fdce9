#include "measure/record_lists.h"

#include <limits>

namespace lensora {

MeasureRecord* AppendRecord(RecordList& list, std::unique_ptr<MeasureRecord> record) {
    if (!record) {
        return nullptr;
    }
    list.records.push_back(std::move(record));
    return list.records.back().get();
}

MeasureRecord* AppendRecord(RecordList& list, MeasureRecord record) {
    return AppendRecord(list, std::make_unique<MeasureRecord>(std::move(record)));
}

bool RemoveRecord(RecordList& list, std::size_t index) {
    if (index >= list.records.size()) {
        return false;
    }
    list.records.erase(list.records.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

void ClearRecords(RecordList& list) {
    list.records.clear();
}

void SelectOnly(RecordList& list, std::size_t index) {
    for (std::size_t i = 0; i < list.records.size(); ++i) {
        list.records[i]->selected = (i == index);
    }
}

void ClearSelection(RecordList& list) {
    for (auto& record : list.records) {
        record->selected = false;
    }
}

namespace {

// Wraps like the 32-bit counter it is, instead of overflowing.
int Increment(int value) {
    return value == std::numeric_limits<int>::max() ? 1 : value + 1;
}

}  // namespace

std::string LabelCounters::NextCircleLabel() {
    circle_ = Increment(circle_);
    return std::to_string(circle_);
}

std::string LabelCounters::NextSquareLabel() {
    square_ = Increment(square_);
    return std::to_string(square_);
}

void LabelCounters::OnLiveToolChosen(LiveKind kind) {
    if (kind != LiveKind::kCircleLabel) {
        circle_ = 0;
    }
    if (kind != LiveKind::kSquareLabel) {
        square_ = 0;
    }
}

LabelCounters& SharedLabelCounters() {
    static LabelCounters counters;
    return counters;
}

}  // namespace lensora
