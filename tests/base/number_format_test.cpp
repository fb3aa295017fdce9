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
