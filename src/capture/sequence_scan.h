// The sequence number of captured files ("..._N0007.jpg", "..._N0003.avi"): the number a name
// carries and the next free one in a folder. Pictures and recordings share it; each passes its
// own extension. Plain functions over the file system; no state.
#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

namespace lensora {

// What a sequence scan found: the next number, and the entries that match the pattern but are
// folders (each gets an error notice; the scan goes on past them).
struct SequenceScan {
    int next = 1;
    std::vector<std::filesystem::path> folders;
};

// The number a file name carries: the leading digits between the last upper-case "N" and the
// last "."; 0 when they hold no digits, -1 when the name has no "N" (it does not count).
// Numbers too large for a counter stop just below the largest int.
long long SequenceNumberOfName(std::string_view fileName);

// Scans `folder` for entries whose names end in `extension` (e.g. ".avi", compared without
// regard to case, as the desktop's file dialogs match them): the largest number plus 1, or 1
// for none. Files of another type are not looked at. A folder that cannot be read scans as
// empty.
SequenceScan ScanSequenceNumbers(const std::filesystem::path& folder, std::string_view extension);

}  // namespace lensora
