// Conversions between UTF-8 (the program's string encoding) and UTF-16 (used by the binary
// folder file and by character-counted text buffers). Invalid input is replaced by U+FFFD.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lensora {

std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// True when the bytes are well-formed UTF-8 (no overlongs, no surrogates).
bool IsValidUtf8(std::string_view bytes);

// Cuts a UTF-8 text so that it fits a buffer of `bufferChars` UTF-16 units including the
// terminating zero, never splitting a character. A buffer of 0 or 1 gives "".
std::string FitToBuffer(std::string_view utf8, std::size_t bufferChars);

}  // namespace lensora
