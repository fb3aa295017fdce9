#include "base/text_catalog.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace lensora {
namespace {
using test::TempDir;

TEST(TextCatalog, LooksUpKeysOfTheTextSectionWithoutRegardToCase) {
    TextCatalog texts;
    texts.LoadFromText(
        "; comment\r\n"
        "[Other]\r\nMsgTitle=Wrong section\r\n"
        "[quillaret]\r\n"
        "  MsgTitle = Lensora DE \r\n"
        "TipLine=\"Linie\"\r\n"
        "Empty=\r\n"
        "msgtitle=second occurrence\r\n"
        "no equals sign\r\n");
    EXPECT_EQ(texts.Get("MSGTITLE", "Lensora", 128), "Lensora DE");
    EXPECT_EQ(texts.Get("TipLine", "Line Measurement", 128), "Linie");
    EXPECT_EQ(texts.Get("Empty", "default", 128), "");  // present but empty stays empty
    EXPECT_EQ(texts.Get("Missing", "English default", 128), "English default");
}

TEST(TextCatalog, ResultsFitTheCallersBuffer) {
    TextCatalog texts;
    texts.LoadFromText("[Quillaret]\nLong=" + std::string(600, 'x') + "\n");
    for (std::size_t size : {16u, 40u, 48u, 60u, 64u, 80u, 128u, 200u, 256u, 512u, 520u}) {
        EXPECT_EQ(texts.Get("Long", "", size).size(), std::min<std::size_t>(600, size - 1));
        EXPECT_EQ(texts.Get("Missing", std::string(600, 'd'), size).size(),
                  std::min<std::size_t>(600, size - 1));
    }
}

TEST(TextCatalog, MissingEmptyOrUndecodableFilesGiveTheEnglishDefaults) {
    TempDir dir;
    TextCatalog texts;
    EXPECT_FALSE(texts.Load(dir.Sub("German1252.ini")));
    EXPECT_FALSE(texts.Load(dir.Write("German1252.ini", "")));
    // Bytes that are not UTF-8 and not valid in the code page its name carries (0x81 is
    // unassigned in code page 1252).
    EXPECT_FALSE(texts.Load(dir.Write("German1252.ini", "[Quillaret]\nMsgTitle=\x81\n")));
    EXPECT_EQ(texts.Get("MsgTitle", "Lensora", 128), "Lensora");
}

TEST(LanguageFileDecoding, AcceptsUtf8Utf16AndTheNamedCodePage) {
    const std::string expected = "[Quillaret]\nTipLine=L\xC3\xA4nge\n";
    EXPECT_EQ(DecodeLanguageFile(expected, "German1252.ini"), expected);
    EXPECT_EQ(DecodeLanguageFile("\xEF\xBB\xBF" + expected, "German1252.ini"), expected);
    EXPECT_EQ(DecodeLanguageFile("[Quillaret]\nTipLine=L\xE4nge\n", "German1252.ini"), expected);

    std::string le = "\xFF\xFE";
    std::string be = "\xFE\xFF";
    for (char16_t c : u"[Quillaret]\nTipLine=L\u00E4nge\n") {
        if (c == 0) {
            break;
        }
        le += static_cast<char>(c & 0xFF);
        le += static_cast<char>(c >> 8);
        be += static_cast<char>(c >> 8);
        be += static_cast<char>(c & 0xFF);
    }
    EXPECT_EQ(DecodeLanguageFile(le, "German1252.ini"), expected);
    EXPECT_EQ(DecodeLanguageFile(be, "German1252.ini"), expected);

    // GBK bytes of "中文" in the simplified Chinese file, Cyrillic in the Bulgarian one.
    EXPECT_EQ(DecodeLanguageFile("\xD6\xD0\xCE\xC4", "/x/Chinese936.ini"),
              "\xE4\xB8\xAD\xE6\x96\x87");
    EXPECT_EQ(DecodeLanguageFile("\xC1\xFA\xEB", "Bulgarian442.ini"), "\xD0\x91\xD1\x8A\xD0\xBB");
}

TEST(TextCatalog, GetTextUsesTheProcessWideCatalogue) {
    CurrentTexts().LoadFromText("[Quillaret]\nMsgTitle=Titel\n");
    EXPECT_EQ(GetText("MsgTitle", "Lensora"), "Titel");
    CurrentTexts().Clear();
    EXPECT_EQ(GetText("MsgTitle", "Lensora"), "Lensora");
}

}  // namespace
}  // namespace lensora
