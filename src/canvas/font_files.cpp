#include "canvas/font_files.h"

#include <fmt/format.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "base/data_folders.h"
#include "base/ini_section.h"
#include "base/utf.h"
#include "measure/ini_table.h"

namespace lensora {
namespace {

void PutInt(std::uint8_t* at, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i) {
        at[i] = static_cast<std::uint8_t>(u >> (8 * i));
    }
}

std::int32_t GetInt(const std::uint8_t* at) {
    std::uint32_t u = 0;
    for (int i = 0; i < 4; ++i) {
        u |= static_cast<std::uint32_t>(at[i]) << (8 * i);
    }
    return static_cast<std::int32_t>(u);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

constexpr std::size_t kFaceOffset = 28;

}  // namespace

std::array<std::uint8_t, LogFont::kRecordBytes> EncodeLogFont(const LogFont& font) {
    std::array<std::uint8_t, LogFont::kRecordBytes> b{};
    PutInt(&b[0], font.height);
    PutInt(&b[4], font.width);
    PutInt(&b[8], font.escapement);
    PutInt(&b[12], font.orientation);
    PutInt(&b[16], font.weight);
    b[20] = font.italic;
    b[21] = font.underline;
    b[22] = font.strikeOut;
    b[23] = font.charSet;
    b[24] = font.outPrecision;
    b[25] = font.clipPrecision;
    b[26] = font.quality;
    b[27] = font.pitchAndFamily;
    const std::size_t units = std::min(font.faceName.size(), LogFont::kFaceNameUnits - 1);
    for (std::size_t i = 0; i < units; ++i) {
        b[kFaceOffset + 2 * i] = static_cast<std::uint8_t>(font.faceName[i] & 0xFF);
        b[kFaceOffset + 2 * i + 1] = static_cast<std::uint8_t>(font.faceName[i] >> 8);
    }
    return b;
}

LogFont DecodeLogFont(std::span<const std::uint8_t, LogFont::kRecordBytes> b) {
    LogFont font;
    font.height = GetInt(&b[0]);
    font.width = GetInt(&b[4]);
    font.escapement = GetInt(&b[8]);
    font.orientation = GetInt(&b[12]);
    font.weight = GetInt(&b[16]);
    font.italic = b[20];
    font.underline = b[21];
    font.strikeOut = b[22];
    font.charSet = b[23];
    font.outPrecision = b[24];
    font.clipPrecision = b[25];
    font.quality = b[26];
    font.pitchAndFamily = b[27];
    for (std::size_t i = 0; i < LogFont::kFaceNameUnits; ++i) {
        const auto unit =
            static_cast<char16_t>(b[kFaceOffset + 2 * i] | (b[kFaceOffset + 2 * i + 1] << 8));
        if (unit == 0) {
            break;
        }
        font.faceName += unit;
    }
    return font;
}

std::string EncodeProfileStruct(std::span<const std::uint8_t> bytes) {
    std::string out;
    out.reserve(2 * bytes.size() + 2);
    unsigned sum = 0;
    for (std::uint8_t b : bytes) {
        out += fmt::format("{:02X}", b);
        sum += b;
    }
    out += fmt::format("{:02X}", sum & 0xFF);
    return out;
}

std::optional<std::array<std::uint8_t, LogFont::kRecordBytes>> DecodeLogFontValue(
    std::string_view value) {
    if (value.size() != 2 * (LogFont::kRecordBytes + 1)) {
        return std::nullopt;
    }
    std::array<std::uint8_t, LogFont::kRecordBytes + 1> all{};
    for (std::size_t i = 0; i < all.size(); ++i) {
        const int hi = HexDigit(value[2 * i]);
        const int lo = HexDigit(value[2 * i + 1]);
        if (hi < 0 || lo < 0) {
            return std::nullopt;
        }
        all[i] = static_cast<std::uint8_t>(hi * 16 + lo);
    }
    unsigned sum = 0;
    for (std::size_t i = 0; i < LogFont::kRecordBytes; ++i) {
        sum += all[i];
    }
    if ((sum & 0xFF) != all.back()) {
        return std::nullopt;
    }
    std::array<std::uint8_t, LogFont::kRecordBytes> record{};
    std::copy_n(all.begin(), record.size(), record.begin());
    return record;
}

std::optional<LogFont> ReadFontFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    // A font file is a few hundred bytes; refuse to read anything much larger.
    std::string text(64 * 1024 + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    if (text.size() > 64 * 1024) {
        return std::nullopt;
    }
    const auto section = ReadIniSection(text, "FONT");
    const auto it = section.find("logfont");
    if (it == section.end()) {
        return std::nullopt;
    }
    const auto bytes = DecodeLogFontValue(it->second);
    if (!bytes) {
        return std::nullopt;
    }
    LogFont font = DecodeLogFont(*bytes);
    font.height = std::clamp(font.height, -kMaxFontHeight, kMaxFontHeight);
    return font;
}

bool WriteFontFile(const std::string& path, const LogFont& font) {
    const auto bytes = EncodeLogFont(font);
    return ReplaceFileAtomically(path, "[FONT]\nLOGFONT=" + EncodeProfileStruct(bytes) + "\n");
}

std::optional<LogFont> ReadNoteFont(std::string_view appFolder) {
    return ReadFontFile(JoinPath(appFolder, kNoteFontFile));
}

std::optional<LogFont> ReadLabelFont(std::string_view appFolder) {
    return ReadFontFile(JoinPath(appFolder, kLabelFontFile));
}

bool WriteNoteFont(std::string_view appFolder, const LogFont& font) {
    return WriteFontFile(JoinPath(appFolder, kNoteFontFile), font);
}

bool WriteLabelFont(std::string_view appFolder, const LogFont& font) {
    return WriteFontFile(JoinPath(appFolder, kLabelFontFile), font);
}

}  // namespace lensora
