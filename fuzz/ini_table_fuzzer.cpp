// Feeds arbitrary calibration-file text to IniTable: the first byte gives the length of a
// section/key name taken from the following bytes, the rest is the file. Besides not crashing,
// a value that SetValue accepted must be the one GetValue then reads.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "measure/ini_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t nameLength = std::min<std::size_t>(data[0] % 16, input.size() - 1);
    const std::string name(input.substr(1, nameLength));
    const std::string_view text = input.substr(1 + nameLength);

    lensora::IniTable table;
    table.LoadFromText(text);
    (void)table.GetValue(name, name);
    if (table.SetValue(name, name, "12.5")) {
        const auto value = table.GetValue(name, name);
        if (!value || *value != "12.5") {
            __builtin_trap();
        }
    }
    return 0;
}
