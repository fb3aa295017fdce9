// Localised texts: the key/value pairs of section "Quillaret" of the current language file,
// looked up by key with the built-in English text as the default.
// The process-wide catalogue is read and replaced on the user-interface thread only.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace lensora {

inline constexpr std::string_view kTextSection = "Quillaret";

// Turns the bytes of a language file into UTF-8: UTF-8 with or without a byte-order mark,
// UTF-16 with a byte-order mark, or else the code page that the file name carries
// ("German1252.ini" is code page 1252). nullopt when the bytes cannot be decoded.
std::optional<std::string> DecodeLanguageFile(std::string_view bytes, std::string_view fileName);

class TextCatalog {
  public:
    // Reads the file; a missing, empty or undecodable file leaves the catalogue empty, so
    // every lookup gives its default. Returns whether any text was loaded.
    bool Load(const std::string& languageFile);
    // Parses INI text (already UTF-8) and keeps the keys of the text section.
    void LoadFromText(std::string_view iniText);
    void Clear() { texts_.clear(); }

    // The text of `key` (matched without regard to case) or `defaultText`, cut to fit a
    // buffer of `bufferChars` UTF-16 units including the terminator.
    std::string Get(std::string_view key, std::string_view defaultText,
                    std::size_t bufferChars) const;

    std::size_t Size() const { return texts_.size(); }

  private:
    std::unordered_map<std::string, std::string> texts_;  // lower-case key -> text
};

TextCatalog& CurrentTexts();

// The localised text of `key`, or `defaultText` when the language has none.
std::string GetText(std::string_view key, std::string_view defaultText,
                    std::size_t bufferChars = 256);

}  // namespace lensora
