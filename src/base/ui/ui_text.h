// Texts for widgets: UTF-8 strings of the core and GetText's results as QStrings.
#pragma once

#include <QString>

#include "base/text_keys.h"

namespace lensora {

// A UTF-8 text of the core as a QString.
inline QString Qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

inline QString UiText(std::string_view key, std::string_view defaultText,
                      std::size_t bufferChars = 128) {
    return QString::fromStdString(GetText(key, defaultText, bufferChars));
}

inline QString UiText(const TextKey& text, std::size_t bufferChars = 256) {
    return QString::fromStdString(GetText(text, bufferChars));
}

}  // namespace lensora
