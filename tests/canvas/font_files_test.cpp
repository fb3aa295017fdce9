#include "canvas/font_files.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace lensora {
namespace {
using test::ReadFile;
using test::TempDir;

LogFont SampleFont() {
    LogFont f = DefaultLogFont();
    f.height = -20;
    f.width = 7;
    f.escapement = 2700;
    f.orientation = -900;
    f.weight = 700;
    f.italic = 1;
    f.underline = 1;
    f.charSet = 0;
    f.faceName = u"DejaVu Sans \u00C4";
    return f;
}

TEST(FontRecord, EncodesThe92ByteLayoutLittleEndian) {
    const auto b = EncodeLogFont(SampleFont());
    EXPECT_EQ(b[0], 0xEC);  // -20
    EXPECT_EQ(b[3], 0xFF);
    EXPECT_EQ(b[8], 0x8C);  // 2700 = 0x0A8C
    EXPECT_EQ(b[9], 0x0A);
    EXPECT_EQ(b[16], 0xBC);  // 700
    EXPECT_EQ(b[20], 1);
    EXPECT_EQ(b[27], 0x32);
    EXPECT_EQ(b[28], 'D');
    EXPECT_EQ(b[29], 0);
    EXPECT_EQ(b[28 + 2 * 12], 0xC4);  // Ä
    EXPECT_EQ(b[91], 0);
    EXPECT_EQ(DecodeLogFont(b), SampleFont());
}

TEST(FontRecord, LongFaceNamesAreCutAndUnterminatedOnesTakeAll32Units) {
    LogFont f = DefaultLogFont();
    f.faceName = std::u16string(40, u'x');
    EXPECT_EQ(DecodeLogFont(EncodeLogFont(f)).faceName.size(), 31u);

    auto bytes = EncodeLogFont(DefaultLogFont());
    for (std::size_t i = 28; i < 92; i += 2) {
        bytes[i] = 'y';
        bytes[i + 1] = 0;
    }
    EXPECT_EQ(DecodeLogFont(bytes).faceName, std::u16string(32, u'y'));
}

TEST(FontFiles, RoundTripThroughBothFiles) {
    TempDir dir;
    ASSERT_TRUE(WriteLabelFont(dir.Str(), SampleFont()));
    ASSERT_TRUE(WriteNoteFont(dir.Str(), DefaultLogFont()));
    EXPECT_EQ(ReadLabelFont(dir.Str()), SampleFont());
    EXPECT_EQ(ReadNoteFont(dir.Str()), DefaultLogFont());
    const std::string text = ReadFile(dir.Sub("Measurefont.ini"));
    EXPECT_EQ(text.substr(0, 15), "[FONT]\nLOGFONT=");
    EXPECT_EQ(text.size(), 15 + 186 + 1u);
}

TEST(FontFiles, DamagedFilesAreRefused) {
    TempDir dir;
    ASSERT_TRUE(WriteLabelFont(dir.Str(), DefaultLogFont()));
    const std::string good = ReadFile(dir.Sub("Measurefont.ini"));
    const auto readWith = [&](const std::string& text) {
        dir.Write("Measurefont.ini", text);
        return ReadLabelFont(dir.Str());
    };
    EXPECT_TRUE(readWith(good));
    std::string changed = good;
    changed[15 + 10] = changed[15 + 10] == '0' ? '1' : '0';  // one byte of the record
    EXPECT_FALSE(readWith(changed));
    EXPECT_FALSE(readWith(good.substr(0, good.size() - 3)));  // truncated
    std::string notHex = good;
    notHex[15 + 4] = 'G';
    EXPECT_FALSE(readWith(notHex));
    EXPECT_FALSE(readWith("[OTHER]\nLOGFONT=" + good.substr(15)));
    EXPECT_FALSE(readWith(""));
    EXPECT_FALSE(ReadNoteFont(dir.Str()));  // missing
    // CRLF line ends and a lower-case key are read as the profile functions read them.
    EXPECT_TRUE(readWith("[font]\r\nlogfont=" + good.substr(15, 186) + "\r\n"));
}

TEST(FontFiles, AbsurdHeightsAreCut) {
    TempDir dir;
    LogFont f = DefaultLogFont();
    f.height = -100000;
    ASSERT_TRUE(WriteLabelFont(dir.Str(), f));
    EXPECT_EQ(ReadLabelFont(dir.Str())->height, -kMaxFontHeight);
}

}  // namespace
}  // namespace lensora
