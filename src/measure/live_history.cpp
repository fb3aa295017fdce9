#include "measure/live_history.h"

namespace lensora {

void LiveHistory::AddRecord(MeasureRecord record) {
    AppendRecord(records_, std::move(record));
    order_.push_back(Item::Record);
    redo_.clear();
}

void LiveHistory::AddShape(ReferenceShape shape) {
    shapes_.push_back(std::move(shape));
    order_.push_back(Item::Shape);
    redo_.clear();
}

std::optional<LiveHistory::Item> LiveHistory::Newest() {
    // Entries whose list has been emptied elsewhere are skipped.
    while (!order_.empty()) {
        const Item item = order_.back();
        if ((item == Item::Record && !records_.empty()) ||
            (item == Item::Shape && !shapes_.empty())) {
            return item;
        }
        order_.pop_back();
    }
    if (!records_.empty()) {
        return Item::Record;
    }
    if (!shapes_.empty()) {
        return Item::Shape;
    }
    return std::nullopt;
}

bool LiveHistory::Undo() {
    const std::optional<Item> item = Newest();
    if (!item) {
        return false;
    }
    if (!order_.empty()) {
        order_.pop_back();
    }
    if (*item == Item::Record) {
        redo_.emplace_back(std::move(records_.records.back()));
        records_.records.pop_back();
    } else {
        redo_.emplace_back(std::move(shapes_.back()));
        shapes_.pop_back();
    }
    return true;
}

bool LiveHistory::Redo() {
    if (redo_.empty()) {
        return false;
    }
    Undone item = std::move(redo_.back());
    redo_.pop_back();
    if (auto* record = std::get_if<std::unique_ptr<MeasureRecord>>(&item)) {
        AppendRecord(records_, std::move(*record));
        order_.push_back(Item::Record);
    } else {
        shapes_.push_back(std::move(std::get<ReferenceShape>(item)));
        order_.push_back(Item::Shape);
    }
    return true;
}

void LiveHistory::DeleteAll() {
    ClearRecords(records_);
    shapes_.clear();
    order_.clear();
    redo_.clear();
}

}  // namespace lensora
