// The live view's records and comparison shapes with Undo, Redo and Delete All. Undo takes
// back the newest item made (a record or a comparison shape) and keeps it on the redo stack;
// Redo brings back the item undone last; making a new item clears the redo stack, so Redo
// never brings back something older over something newer. Every operation takes constant
// time except Delete All. Refers to the lists the main window owns; user-interface thread
// only.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

#include "measure/comparison_shapes.h"
#include "measure/record_lists.h"

namespace lensora {

class LiveHistory {
  public:
    LiveHistory(LiveRecords& records, ReferenceShapes& shapes)
        : records_(records), shapes_(shapes) {}

    void AddRecord(MeasureRecord record);
    void AddShape(ReferenceShape shape);
    // False when there is nothing to undo or redo.
    bool Undo();
    bool Redo();
    // Destroys every record, shape and redo entry.
    void DeleteAll();

    std::size_t RedoDepth() const { return redo_.size(); }

  private:
    enum class Item : unsigned char { Record, Shape };
    using Undone = std::variant<std::unique_ptr<MeasureRecord>, ReferenceShape>;

    // Which list holds the newest item; falls back to whichever is not empty when the lists
    // were changed from outside.
    std::optional<Item> Newest();

    LiveRecords& records_;
    ReferenceShapes& shapes_;
    std::vector<Item> order_;  // kinds of the items present, oldest first
    std::vector<Undone> redo_;
};

}  // namespace lensora
