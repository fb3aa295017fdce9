// Locale-independent number formatting and parsing. The process locale may use a decimal
// comma; every number the program prints or reads uses a point.
#pragma once

#include <string>
#include <string_view>

namespace lensora {

// `value` with exactly `decimals` digits after the point, rounded as printf's "%.*f" does
// ("6.383"). A non-finite value prints as "0" with the same decimals, so that no label or
// file ever shows "inf" or "nan".
std::string FormatFixed(double value, int decimals);
// `value` in fixed notation with at least `decimals` decimals and, where that is not enough, as
// many more as give `significant` significant digits (0.00196 -> "0.00196" with 3 decimals and
// 3 digits), at most kMaxFixedDecimals. Zero and non-finite values print with `decimals`.
inline constexpr int kMaxFixedDecimals = 12;
std::string FormatFixedSignificant(double value, int decimals, int significant);

// The leading decimal number of a text, as a C library's strtod reads it in the "C" locale:
// leading blanks skipped, an optional sign, digits with an optional point and exponent; the
// rest of the text ignored. 0 when the text does not start with a number, and for values that
// are not finite or do not fit a double.
double ParseLeadingNumber(std::string_view text);

}  // namespace lensora
