// Reading one section of INI text the way the platform's profile functions read it: section
// names and keys matched without regard to case, blanks around keys and values trimmed, one
// pair of enclosing quotes removed, lines starting with ';' ignored, the first occurrence of a
// key kept.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

namespace lensora {

// Keys are returned in lower case.
std::unordered_map<std::string, std::string> ReadIniSection(std::string_view iniText,
                                                            std::string_view section);

std::string ToLowerAscii(std::string_view s);

}  // namespace lensora
