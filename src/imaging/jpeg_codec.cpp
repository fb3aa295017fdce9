#include "imaging/jpeg_codec.h"

#include "imaging/cx_image.h"
#include "imaging/image_messages.h"

namespace lensora {

bool CxImageJPG::Decode(CxImage& image, CxFile&) {
    image.Destroy();
    image.SetLastError(image_message::kUnknownDecode);
    return false;
}

bool CxImageJPG::Encode(const CxImage& image, CxFile&) {
    image.SetLastError(image_message::kUnknownEncode);
    return false;
}

}  // namespace lensora
