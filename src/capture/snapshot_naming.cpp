#include "capture/snapshot_naming.h"

#include <fmt/format.h>
#include <algorithm>

#include "base/user_prompts.h"

namespace lensora {
namespace {

constexpr std::string_view kPictureError = "Picture Error";

}  // namespace

std::string_view SnapshotExtension(std::uint32_t imageFormat) {
    return IsBmpFormat(imageFormat) ? ".bmp" : ".jpg";
}

bool IsNameSafeMagnification(std::string_view text) {
    return text.find('/') == std::string_view::npos && text.find('\0') == std::string_view::npos;
}

std::string MagnificationForName(std::string_view text) {
    std::string out;
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const bool startsCharacter = (c & 0xC0) != 0x80;
        if (startsCharacter && ++chars > kMagnificationChars) {
            break;
        }
        out.push_back(c == '/' || c == '\0' ? '_' : char(c));
    }
    return out;
}

SequenceScan ScanSequenceNumber(const std::string& folder, std::string_view extension,
                                UserPrompts* prompts) {
    SequenceScan scan = ScanSequenceNumbers(folder, extension);
    if (prompts != nullptr) {
        for (std::size_t i = 0; i < scan.folders.size(); ++i) {
            prompts->Show(kPictureError, PromptIcon::None);
        }
    }
    return scan;
}

std::string SnapshotFileName(const std::tm& t, std::string_view magnification, int sequence,
                             std::string_view extension) {
    const std::string m = MagnificationForName(magnification);
    const std::string stamp =
        fmt::format("Still_{:4d}-{:02d}-{:02d}_{:02d}{:02d}{:02d}", t.tm_year + 1900, t.tm_mon + 1,
                    t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
    if (m.empty()) {
        return fmt::format("{}_N{:04d}{}", stamp, sequence, extension);
    }
    return fmt::format("{}_{}X_N{:04d}{}", stamp, m, sequence, extension);
}

}  // namespace lensora
