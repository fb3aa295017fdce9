#include "base/text_catalog.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <fstream>
#include <iterator>

#include "base/ini_section.h"
#include "base/utf.h"

namespace lensora {
namespace {

std::optional<std::string> Iconv(std::string_view bytes, const char* from) {
    iconv_t cd = iconv_open("UTF-8", from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return std::nullopt;
    }
    std::string out(bytes.size() * 4 + 16, '\0');
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    const std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<std::size_t>(-1)) {
        return std::nullopt;
    }
    out.resize(out.size() - outLeft);
    return out;
}

std::optional<std::string> DecodeUtf16(std::string_view bytes, bool bigEndian) {
    if (bytes.size() % 2 != 0) {
        bytes.remove_suffix(1);
    }
    std::u16string wide;
    wide.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto b0 = static_cast<unsigned char>(bytes[i]);
        const auto b1 = static_cast<unsigned char>(bytes[i + 1]);
        wide += static_cast<char16_t>(bigEndian ? (b0 << 8) | b1 : (b1 << 8) | b0);
    }
    return Utf16ToUtf8(wide);
}

// The iconv name of the code page in a language file's name. Two files carry numbers that
// are not the code page of their script: Bulgarian is Cyrillic and Persian is Arabic script.
std::string CharsetForFileName(std::string_view fileName) {
    const std::size_t slash = fileName.find_last_of('/');
    std::string_view stem = slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
    stem = stem.substr(0, stem.find('.'));
    if (stem.starts_with("Bulgarian")) {
        return "CP1251";
    }
    if (stem.starts_with("Persian")) {
        return "CP1256";
    }
    std::size_t digits = stem.size();
    while (digits > 0 && std::isdigit(static_cast<unsigned char>(stem[digits - 1]))) {
        --digits;
    }
    if (digits == stem.size()) {
        return "CP1252";
    }
    return "CP" + std::string(stem.substr(digits));
}

}  // namespace

std::optional<std::string> DecodeLanguageFile(std::string_view bytes, std::string_view fileName) {
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
        if (!IsValidUtf8(bytes)) {
            return std::nullopt;
        }
        return std::string(bytes);
    }
    if (bytes.starts_with("\xFF\xFE")) {
        return DecodeUtf16(bytes.substr(2), false);
    }
    if (bytes.starts_with("\xFE\xFF")) {
        return DecodeUtf16(bytes.substr(2), true);
    }
    if (IsValidUtf8(bytes)) {
        return std::string(bytes);
    }
    return Iconv(bytes, CharsetForFileName(fileName).c_str());
}

bool TextCatalog::Load(const std::string& languageFile) {
    texts_.clear();
    std::ifstream in(languageFile, std::ios::binary);
    if (!in) {
        return false;
    }
    // Language files are a few kilobytes; anything far larger is not one.
    constexpr std::size_t kMaxBytes = 4 << 20;
    std::string bytes;
    bytes.resize(kMaxBytes + 1);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    if (bytes.size() > kMaxBytes) {
        return false;
    }
    auto text = DecodeLanguageFile(bytes, languageFile);
    if (!text) {
        return false;
    }
    LoadFromText(*text);
    return !texts_.empty();
}

void TextCatalog::LoadFromText(std::string_view iniText) {
    texts_ = ReadIniSection(iniText, kTextSection);
}

std::string TextCatalog::Get(std::string_view key, std::string_view defaultText,
                             std::size_t bufferChars) const {
    auto it = texts_.find(ToLowerAscii(key));
    return FitToBuffer(it == texts_.end() ? defaultText : std::string_view(it->second),
                       bufferChars);
}

TextCatalog& CurrentTexts() {
    static TextCatalog catalog;
    return catalog;
}

std::string GetText(std::string_view key, std::string_view defaultText, std::size_t bufferChars) {
    return CurrentTexts().Get(key, defaultText, bufferChars);
}

}  // namespace lensora
