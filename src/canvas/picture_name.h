// What a picture's file name tells the still window: its caption (the name without folder and
// extension) and the magnification tag that snapshots carry ("..._200X_N0001.bmp" -> "200").
#pragma once

#include <string>
#include <string_view>

namespace lensora {

// The file name without its folder and without its four-character extension (".bmp",
// ".jpg"); a name without such an extension is kept whole.
std::string PictureCaption(std::string_view path);

// The magnification in the name: after the first "_", without the last six characters, the
// part from the last "_" on must read "_<M>X"; M (at most 31 characters) is returned, else "".
std::string MagnificationFromPictureName(std::string_view path);

// "bmp" or "jpg" by the last three characters of the path, without regard to case; "" for
// anything else.
std::string PictureFileType(std::string_view path);

}  // namespace lensora
