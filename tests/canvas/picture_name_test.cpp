#include "canvas/picture_name.h"

#include <gtest/gtest.h>

namespace lensora {
namespace {

TEST(PictureName, MagnificationTagOfSnapshotNames) {
    // Snapshot names: "Still_2016-05-03_142530_60X_N0007.jpg".
    EXPECT_EQ(MagnificationFromPictureName("/p/Still_2016-05-03_142530_200X_N0001.bmp"), "200");
    EXPECT_EQ(MagnificationFromPictureName("Still_2016-05-03_142530_60X_N0007.jpg"), "60");
    EXPECT_EQ(MagnificationFromPictureName("Still_2016-05-03_142530_12.5X_N0012.jpg"), "12.5");
    EXPECT_EQ(MagnificationFromPictureName("Still_2016-05-03_142530_200_N0001.bmp"), "");
    EXPECT_EQ(MagnificationFromPictureName("Still_2016-05-03_142530_N0007.jpg"), "");
    EXPECT_EQ(MagnificationFromPictureName("Still_200X_N0001.bmp"), "");  // no "_" before M
    EXPECT_EQ(MagnificationFromPictureName("photo.bmp"), "");
    EXPECT_EQ(MagnificationFromPictureName("a_b.bmp"), "");
    EXPECT_EQ(MagnificationFromPictureName("a__X_N0001.bmp"), "");  // "_X": nothing between
    const std::string longTag = "Still_2016-05-03_142530_" + std::string(40, '9') + "X_N0001.bmp";
    EXPECT_EQ(MagnificationFromPictureName(longTag).size(), 31u);
}

TEST(PictureName, CaptionAndFileType) {
    EXPECT_EQ(PictureCaption("/home/u/Picture/Still_1.bmp"), "Still_1");
    EXPECT_EQ(PictureCaption("noext"), "noext");
    EXPECT_EQ(PictureCaption("/a.b/archive.tiff"), "archive.tiff");
    EXPECT_EQ(PictureFileType("x.BMP"), "bmp");
    EXPECT_EQ(PictureFileType("x.Jpg"), "jpg");
    EXPECT_EQ(PictureFileType("x.jpeg"), "");
    EXPECT_EQ(PictureFileType("pg"), "");
    EXPECT_EQ(PictureFileType("xjpg"), "jpg");
    EXPECT_EQ(PictureFileType("x.png"), "");
}

}  // namespace
}  // namespace lensora
