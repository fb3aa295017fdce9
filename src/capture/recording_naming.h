// The name of a new recording ("Video_..._N0007.avi"); its number comes from the sequence scan
// of the video folder. Plain functions; no state.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

#include "capture/sequence_scan.h"

namespace lensora {

// "Video_2016-05-03_142530_N0003.avi": the year space-padded to 4, the other fields 2 digits,
// N at least 4 digits.
std::string RecordingFileName(const std::tm& localTime, int sequence);

// The fixed notice for a folder in the video folder that matches the recording pattern.
inline constexpr std::string_view kRecordingFolderError = "AVI Error";

}  // namespace lensora
