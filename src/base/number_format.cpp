#include "base/number_format.h"

#include <algorithm>
#include <cstdlib>

#include <fmt/format.h>

#include <charconv>
#include <cmath>

namespace lensora {

std::string FormatFixed(double value, int decimals) {
    if (decimals < 0) {
        decimals = 0;
    }
    if (!std::isfinite(value)) {
        value = 0.0;
    }
    return fmt::format("{:.{}f}", value, decimals);
}

std::string FormatFixedSignificant(double value, int decimals, int significant) {
    if (decimals < 0) {
        decimals = 0;
    }
    if (!std::isfinite(value) || value == 0.0 || significant <= 0) {
        return FormatFixed(value, decimals);
    }
    // The exponent after rounding to `significant` digits, so that 0.0009996 counts as 0.00100.
    const std::string scientific = fmt::format("{:.{}e}", value, significant - 1);
    const int exponent = std::atoi(scientific.c_str() + scientific.find('e') + 1);
    const int needed = std::min(significant - 1 - exponent, kMaxFixedDecimals);
    return FormatFixed(value, std::max(decimals, needed));
}

double ParseLeadingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' ||
                               text[i] == '\r' || text[i] == '\v' || text[i] == '\f')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // from_chars would also read "inf" and "nan"; only digits and a point may start a number.
    if (i >= text.size() || !((text[i] >= '0' && text[i] <= '9') || text[i] == '.')) {
        return 0.0;
    }
    double value = 0.0;
    const char* first = text.data() + i;
    const char* last = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec != std::errc() || !std::isfinite(value)) {
        return 0.0;
    }
    return negative ? -value : value;
}

}  // namespace lensora
