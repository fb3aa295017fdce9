// The two font files in the settings folder: "logfont.ini" (font of text notes) and
// "Measurefont.ini" (font of measurement labels). Each holds section "FONT", key "LOGFONT":
// the 92-byte logical-font record as two hexadecimal digits a byte, then two digits of the
// byte sum modulo 256. A value of the wrong length, with a wrong checksum or a non-hex digit
// is refused, and the caller falls back to the default font.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/log_font.h"

namespace lensora {

inline constexpr std::string_view kNoteFontFile = "logfont.ini";
inline constexpr std::string_view kLabelFontFile = "Measurefont.ini";
// Font heights beyond this many pixels are cut to it, so that no label is larger than the
// picture it annotates.
inline constexpr std::int32_t kMaxFontHeight = 500;

// The record byte for byte, integers little-endian, face name zero-filled to 32 units (a name
// of 32 units or more is cut to 31 so that the terminator fits).
std::array<std::uint8_t, LogFont::kRecordBytes> EncodeLogFont(const LogFont& font);
// A face name without a terminator takes all 32 units.
LogFont DecodeLogFont(std::span<const std::uint8_t, LogFont::kRecordBytes> bytes);

// The profile encoding of a structure: hex digits of every byte, then of the checksum.
std::string EncodeProfileStruct(std::span<const std::uint8_t> bytes);
std::optional<std::array<std::uint8_t, LogFont::kRecordBytes>> DecodeLogFontValue(
    std::string_view value);

// Reads or writes the font file at `path`. Reading refuses what the font record cannot come
// from; a height beyond kMaxFontHeight is cut to it.
std::optional<LogFont> ReadFontFile(const std::string& path);
bool WriteFontFile(const std::string& path, const LogFont& font);

// The files in the settings folder `appFolder`.
std::optional<LogFont> ReadNoteFont(std::string_view appFolder);
std::optional<LogFont> ReadLabelFont(std::string_view appFolder);
bool WriteNoteFont(std::string_view appFolder, const LogFont& font);
bool WriteLabelFont(std::string_view appFolder, const LogFont& font);

}  // namespace lensora
