// The logical-font record kept with measurement labels and text notes: the fields of the
// platform's 92-byte LOGFONT layout (five 32-bit integers, eight bytes, a face name of 32
// UTF-16 units). Plain value type; the font files read and write it byte for byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace lensora {

struct LogFont {
    static constexpr std::size_t kRecordBytes = 92;
    // Face name capacity in UTF-16 units, the terminating zero included.
    static constexpr std::size_t kFaceNameUnits = 32;

    std::int32_t height = 0;  // negative: character height; |height| is the font size
    std::int32_t width = 0;
    std::int32_t escapement = 0;   // tenths of a degree
    std::int32_t orientation = 0;  // tenths of a degree
    std::int32_t weight = 0;       // 400 normal, 700 bold
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strikeOut = 0;
    std::uint8_t charSet = 0;
    std::uint8_t outPrecision = 0;
    std::uint8_t clipPrecision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitchAndFamily = 0;
    // At most kFaceNameUnits - 1 units; longer names are cut when the record is written.
    std::u16string faceName;

    friend bool operator==(const LogFont&, const LogFont&) = default;
};

// The font used when no font file can be read: 14-pixel Arial, normal weight.
inline LogFont DefaultLogFont() {
    LogFont font;
    font.height = 14;
    font.weight = 400;
    font.charSet = 134;
    font.outPrecision = 3;
    font.clipPrecision = 2;
    font.quality = 1;
    font.pitchAndFamily = 0x32;
    font.faceName = u"Arial";
    return font;
}

}  // namespace lensora
