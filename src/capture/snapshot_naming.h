// Names of snapshot files: the file type from the ImageFormat setting, the sequence number found
// in the picture folder, the magnification text allowed in a name, and the name itself
// ("Still_2016-05-03_142530_60X_N0007.jpg"). Plain functions; the folder scan runs on the
// user-interface thread (it may show a notice through the prompts).
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

#include "capture/sequence_scan.h"

namespace lensora {

class UserPrompts;

// ImageFormat 1 writes BMP; any other value (2 is what the menu writes) JPEG.
inline constexpr std::uint32_t kImageFormatBmp = 1;
inline constexpr std::uint32_t kImageFormatJpeg = 2;
inline bool IsBmpFormat(std::uint32_t imageFormat) {
    return imageFormat == kImageFormatBmp;
}
// ".bmp" or ".jpg".
std::string_view SnapshotExtension(std::uint32_t imageFormat);

// The magnification text takes at most this many characters of a name.
inline constexpr std::size_t kMagnificationChars = 23;

// True when `text` can stand in a file name: no '/' and no NUL (either could place the file
// outside the picture folder or cut its name).
bool IsNameSafeMagnification(std::string_view text);
// The text as it goes into a name: cut to kMagnificationChars characters (never inside a
// UTF-8 sequence), with any '/' or NUL replaced by '_', so that no text can lead out of the
// picture folder.
std::string MagnificationForName(std::string_view text);

// The sequence scan of the picture folder (ScanSequenceNumbers); each folder among the matches
// also shows "Picture Error" through `prompts` (when given).
SequenceScan ScanSequenceNumber(const std::string& folder, std::string_view extension,
                                UserPrompts* prompts);

// "Still_%4d-%02d-%02d_%02d%02d%02d[_<M>X]_N%04d<ext>" from the local time `time`; the year
// is space-padded to four places. `magnification` is used as MagnificationForName gives it;
// when that is empty the name has no magnification part.
std::string SnapshotFileName(const std::tm& time, std::string_view magnification, int sequence,
                             std::string_view extension);

}  // namespace lensora
