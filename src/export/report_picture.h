// The report's picture as JPEG bytes, encoded by the image container at its usual quality.
// Plain function; any thread.
#pragma once

#include <optional>

#include "export/docx_writer.h"

namespace lensora {

class CxImage;

// nullopt when the image is not valid or cannot be encoded.
std::optional<ExportPicture> JpegPicture(const CxImage& image);

}  // namespace lensora
