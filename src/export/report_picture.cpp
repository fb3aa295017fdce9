#include "export/report_picture.h"

#include "imaging/cx_file.h"
#include "imaging/cx_image.h"

namespace lensora {

std::optional<ExportPicture> JpegPicture(const CxImage& image) {
    if (!image.IsValid()) {
        return std::nullopt;
    }
    CxMemFile file;
    if (!image.Encode(&file, kImageTypeJpeg) || file.DataSize() == 0) {
        return std::nullopt;
    }
    ExportPicture picture;
    picture.bytes.assign(reinterpret_cast<const char*>(file.Data()), file.DataSize());
    picture.format = ExportPicture::Format::Jpeg;
    picture.width = image.GetWidth();
    picture.height = image.GetHeight();
    return picture;
}

}  // namespace lensora
