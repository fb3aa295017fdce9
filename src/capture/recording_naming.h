// Names of captured files: the next sequence number in a folder ("..._N0007.avi") and the name
// of a new recording. The sequence scan takes the extension, so pictures and recordings share
// it. Plain functions over the file system; no state.
#pragma once

#include <ctime>
#include <filesystem>
#include <string>
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
long long SequenceNumberOfName(std::string_view fileName);

// Scans `folder` for entries whose names end in `extension` (e.g. ".avi", compared without
// regard to case, as the capture folders were always matched): the largest number plus 1, or 1
// for none. A folder that cannot be read scans as empty.
SequenceScan ScanSequenceNumbers(const std::filesystem::path& folder, std::string_view extension);

// "Video_2016-05-03_142530_N0003.avi": the year space-padded to 4, the other fields 2 digits,
// N at least 4 digits.
std::string RecordingFileName(const std::tm& localTime, int sequence);

// The fixed notice for a folder in the video folder that matches the recording pattern.
inline constexpr std::string_view kRecordingFolderError = "AVI Error";

}  // namespace lensora
