#include "base/utf.h"

#include <gtest/gtest.h>

namespace lensora {
namespace {

TEST(Utf, RoundTripsThroughUtf16IncludingSurrogatePairs) {
    const std::string text = "Lensora files \xC3\xA4\xE4\xB8\xAD\xF0\x9F\x94\xAC";  // ä 中 🔬
    const std::u16string wide = Utf8ToUtf16(text);
    EXPECT_EQ(wide.size(), 14u + 1 + 1 + 2);
    EXPECT_EQ(Utf16ToUtf8(wide), text);
}

TEST(Utf, MalformedInputBecomesReplacementAndIsNotValid) {
    EXPECT_FALSE(IsValidUtf8("\xC3"));
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));           // overlong "/"
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));       // surrogate
    EXPECT_TRUE(IsValidUtf8("\xEF\xBF\xBD plain"));  // a real U+FFFD is fine
    EXPECT_EQ(Utf8ToUtf16("a\xFF"
                          "b"),
              u"a\uFFFDb");
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

TEST(Utf, FitToBufferCountsUtf16UnitsAndKeepsCharactersWhole) {
    EXPECT_EQ(FitToBuffer("Lensora", 0), "");
    EXPECT_EQ(FitToBuffer("Lensora", 1), "");
    EXPECT_EQ(FitToBuffer("Lensora", 5), "Lens");
    EXPECT_EQ(FitToBuffer("Lensora", 8), "Lensora");
    // The emoji needs two units; with room for only one it is dropped whole.
    EXPECT_EQ(FitToBuffer("ab\xF0\x9F\x94\xAC", 4), "ab");
    EXPECT_EQ(FitToBuffer("ab\xF0\x9F\x94\xAC", 5), "ab\xF0\x9F\x94\xAC");
}

}  // namespace
}  // namespace lensora
