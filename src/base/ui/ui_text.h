// Localised texts for widgets: GetText's UTF-8 result as a QString.
#pragma once

#include <QString>

#include "base/text_keys.h"

namespace lensora {

inline QString UiText(std::string_view key, std::string_view defaultText,
                      std::size_t bufferChars = 128) {
    return QString::fromStdString(GetText(key, defaultText, bufferChars));
}

inline QString UiText(const TextKey& text, std::size_t bufferChars = 256) {
    return QString::fromStdString(GetText(text, bufferChars));
}

}  // namespace lensora
