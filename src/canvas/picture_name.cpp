#include "canvas/picture_name.h"

#include "base/ini_section.h"

namespace lensora {

std::string PictureCaption(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string_view::npos && name.size() >= 4 && dot == name.size() - 4) {
        name.remove_suffix(4);
    }
    return std::string(name);
}

std::string MagnificationFromPictureName(std::string_view path) {
    const std::string caption = PictureCaption(path);
    const std::size_t first = caption.find('_');
    if (first == std::string::npos) {
        return {};
    }
    std::string_view rest = std::string_view(caption).substr(first + 1);
    if (rest.size() <= 6) {
        return {};
    }
    rest.remove_suffix(6);
    const std::size_t last = rest.rfind('_');
    if (last == std::string_view::npos) {
        return {};
    }
    std::string_view tag = rest.substr(last);
    if (tag.size() < 2 || tag.front() != '_' || tag.back() != 'X') {
        return {};
    }
    tag = tag.substr(1, tag.size() - 2);
    return std::string(tag.substr(0, 31));
}

std::string PictureFileType(std::string_view path) {
    if (path.size() < 3) {
        return {};
    }
    const std::string ext = ToLowerAscii(path.substr(path.size() - 3));
    return ext == "bmp" || ext == "jpg" ? ext : std::string();
}

}  // namespace lensora
