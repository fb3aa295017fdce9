#include "app/command_line.h"

#include <gtest/gtest.h>

namespace lensora {
namespace {

TEST(CommandLineTest, OptionsAndTheFirstPictureAreRead) {
    const char* none[] = {"lensora"};
    const CommandLine empty = ParseCommandLine(1, none);
    EXPECT_FALSE(empty.demoCamera);
    EXPECT_TRUE(empty.forcedCamera.empty());
    EXPECT_TRUE(empty.picture.empty());

    const char* argv[] = {"lensora", "--camera", "/dev/video2", "a.bmp", "--demo-camera", "b.bmp"};
    const CommandLine line = ParseCommandLine(6, argv);
    EXPECT_TRUE(line.demoCamera);
    EXPECT_EQ(line.forcedCamera, "/dev/video2");
    EXPECT_EQ(line.picture, "a.bmp");

    const char* joined[] = {"lensora", "--camera=/dev/video5", "--unknown", "--camera"};
    const CommandLine other = ParseCommandLine(4, joined);
    EXPECT_EQ(other.forcedCamera, "/dev/video5");  // a trailing "--camera" without a device
    EXPECT_TRUE(other.picture.empty());            // options never name the picture
}

}  // namespace
}  // namespace lensora
