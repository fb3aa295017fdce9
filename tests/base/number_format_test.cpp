#include "base/number_format.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

namespace lensora {
namespace {

TEST(NumberFormat, FixedDecimalsRoundLikePrintfAndIgnoreTheLocale) {
    std::setlocale(LC_ALL, "de_DE.UTF-8");       // a decimal comma, where the system has it
    EXPECT_EQ(FormatFixed(6.3825, 3), "6.383");  // 6.3825 is stored just above the half
    EXPECT_EQ(FormatFixed(2.5, 0), "2");         // half to even, as printf
    EXPECT_EQ(FormatFixed(-0.0004, 3), "-0.000");
    EXPECT_EQ(FormatFixed(1.0 / 0.0, 2), "0.00");
    EXPECT_EQ(FormatFixed(std::nan(""), 1), "0.0");
    EXPECT_EQ(FormatFixed(3.14159, -1), "3");
    std::setlocale(LC_ALL, "C");
}

TEST(NumberFormat, SignificantDigitsAddDecimalsOnlyWhereNeeded) {
    EXPECT_EQ(FormatFixedSignificant(0.00196, 3, 3), "0.00196");
    EXPECT_EQ(FormatFixedSignificant(0.000123, 3, 3), "0.000123");
    EXPECT_EQ(FormatFixedSignificant(-0.000123, 3, 3), "-0.000123");
    // Enough digits already: exactly the plain decimals.
    EXPECT_EQ(FormatFixedSignificant(12.3456, 3, 3), "12.346");
    EXPECT_EQ(FormatFixedSignificant(0.123, 3, 3), "0.123");
    EXPECT_EQ(FormatFixedSignificant(0.1, 2, 3), "0.100");
    EXPECT_EQ(FormatFixedSignificant(1.5e12, 3, 3), "1500000000000.000");
    // Rounding that carries into the next power of ten needs one decimal less.
    EXPECT_EQ(FormatFixedSignificant(0.0009996, 3, 3), "0.00100");
    EXPECT_EQ(FormatFixedSignificant(0.0009994, 3, 3), "0.000999");
    // Zero, non-finite and vanishing values stay short.
    EXPECT_EQ(FormatFixedSignificant(0.0, 3, 3), "0.000");
    EXPECT_EQ(FormatFixedSignificant(std::nan(""), 3, 3), "0.000");
    EXPECT_EQ(FormatFixedSignificant(1.0 / 0.0, 2, 3), "0.00");
    EXPECT_EQ(FormatFixedSignificant(1e-300, 3, 3), "0.000000000000");
    EXPECT_EQ(FormatFixedSignificant(4.9e-324, 3, 3), "0.000000000000");  // smallest denormal
}

TEST(NumberFormat, LeadingNumberReadsLikeStrtodWithoutInfinities) {
    EXPECT_DOUBLE_EQ(ParseLeadingNumber("60"), 60.0);
    EXPECT_DOUBLE_EQ(ParseLeadingNumber("  12.5x"), 12.5);
    EXPECT_DOUBLE_EQ(ParseLeadingNumber("+7"), 7.0);
    EXPECT_DOUBLE_EQ(ParseLeadingNumber("-3.25"), -3.25);
    EXPECT_DOUBLE_EQ(ParseLeadingNumber(".5"), 0.5);
    EXPECT_DOUBLE_EQ(ParseLeadingNumber("1e2mm"), 100.0);
    EXPECT_DOUBLE_EQ(ParseLeadingNumber("abc"), 0.0);
    EXPECT_DOUBLE_EQ(ParseLeadingNumber(""), 0.0);
    EXPECT_DOUBLE_EQ(ParseLeadingNumber("inf"), 0.0);
    EXPECT_DOUBLE_EQ(ParseLeadingNumber("nan"), 0.0);
    EXPECT_DOUBLE_EQ(ParseLeadingNumber("1e999"), 0.0);
    EXPECT_DOUBLE_EQ(ParseLeadingNumber("12,5"), 12.0);
}

}  // namespace
}  // namespace lensora
