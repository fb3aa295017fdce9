#include "canvas/ui/still_window.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>

#include "app/app_state.h"
#include "app/command_line.h"
#include "canvas/still_window_commands.h"
#include "canvas/ui/still_canvas.h"
#include "imaging/bmp_bytes.h"
#include "imaging/cx_image.h"
#include "measure/record_lists.h"
#include "support/fake_prompts.h"
#include "support/temp_dir.h"

namespace lensora {
namespace {
using test::FakePrompts;
using test::TempDir;

// A 24-bit picture whose pixel (x, y) from the top has blue x, green y and red 7.
std::string WritePicture(const TempDir& dir, const std::string& name, int w, int h,
                         std::uint32_t type = kImageTypeBmp) {
    CxImage image;
    EXPECT_TRUE(image.Create(w, h, 24));
    for (int y = 0; y < h; ++y) {
        std::uint8_t* row = image.RowFromTop(y);
        for (int x = 0; x < w; ++x) {
            row[3 * x] = static_cast<std::uint8_t>(x);
            row[3 * x + 1] = static_cast<std::uint8_t>(y);
            row[3 * x + 2] = 7;
        }
    }
    const std::string path = dir.Sub(name);
    EXPECT_TRUE(image.SaveToFile(path, type));
    return path;
}

class StillWindowTest : public ::testing::Test {
  protected:
    StillWindowTest()
        : app(store, {dir.Sub("config"), dir.Sub("Documents"), dir.Sub("res"), 1033}) {
        app.Initialise();
    }
    StillWindow* Open(const std::string& path) {
        return StillWindow::Open(app, std::filesystem::path(path), nullptr, prompts, &prompts);
    }

    TempDir dir;
    MemorySettingsStore store;
    AppState app;
    FakePrompts prompts;
};

TEST_F(StillWindowTest, OpensWithTheMagnificationOfItsNameAndItsStoredScale) {
    dir.Write("config/CalibrationIni.ini", "[200]\n200=187.5\n");
    QPointer<StillWindow> w =
        Open(WritePicture(dir, "Still_2016-05-03_142530_200X_N0007.bmp", 320, 240));
    ASSERT_TRUE(w);
    EXPECT_EQ(w->MagnificationBox()->text(), "200");
    EXPECT_EQ(w->ScaleBox()->text(), "187.5");
    EXPECT_EQ(w->size(), QSize(646, 546));
    ASSERT_NE(w->Canvas(), nullptr);
    EXPECT_EQ(w->Canvas()->geometry(), QRect(0, 60, 640, 480));
    delete w;
}

TEST_F(StillWindowTest, A1280By1024PictureGetsTheTallerCanvas) {
    QPointer<StillWindow> w = Open(WritePicture(dir, "plain.bmp", 1280, 1024));
    ASSERT_TRUE(w);
    EXPECT_EQ(w->size(), QSize(647, 578));
    EXPECT_EQ(w->Canvas()->geometry(), QRect(0, 60, 640, 512));
    EXPECT_EQ(w->MagnificationBox()->text(), "");
    delete w;
}

// The message of a refused picture: the failure, the file, and the reason on its own line.
void ExpectRefused(const FakePrompts& prompts, const std::string& path, const std::string& why) {
    ASSERT_FALSE(prompts.shown.empty());
    EXPECT_EQ(prompts.shown.back(), "Can not Open file:\n" + path + "\n" + why);
}

TEST_F(StillWindowTest, MissingAndUndecodableFilesAreReportedWithoutAWindow) {
    EXPECT_EQ(Open(dir.Sub("missing.bmp")), nullptr);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0], "the picture not open,please check the file exist!");

    const std::string junk = dir.Write("junk.bmp", "BM not a picture");
    EXPECT_EQ(Open(junk), nullptr);
    ASSERT_EQ(prompts.shown.size(), 2u);
    EXPECT_NE(prompts.shown.back().find("Can not Open file:\n" + junk + "\n"), std::string::npos);
    const QWidgetList windows = QApplication::topLevelWidgets();
    EXPECT_TRUE(std::none_of(windows.begin(), windows.end(), [](QWidget* w) {
        return qobject_cast<StillWindow*>(w) != nullptr;
    }));  // no empty window left open

    // A 10,000 x 10,000 header without its pixels: refused as cut short, before any
    // allocation.
    test::BmpSpec huge;
    huge.width = 10000;
    huge.height = 10000;
    const std::string hugeBmp = dir.Write("huge.bmp", test::BuildBmp(huge));
    EXPECT_EQ(Open(hugeBmp), nullptr);
    ExpectRefused(prompts, hugeBmp, "BMP pixel offset past end of file");

    // A valid JPEG whose frame header says 12,000 x 9,000: the decoder refuses it by the
    // header's size, so a small picture with its size fields rewritten stands in for it.
    const std::string bigJpeg = WritePicture(dir, "big.jpg", 16, 16, kImageTypeJpeg);
    std::string bytes = test::ReadFile(bigJpeg);
    const std::size_t sof = bytes.find("\xFF\xC0");
    ASSERT_NE(sof, std::string::npos);
    bytes[sof + 5] = static_cast<char>(9000 >> 8);
    bytes[sof + 6] = static_cast<char>(9000 & 0xFF);
    bytes[sof + 7] = static_cast<char>(12000 >> 8);
    bytes[sof + 8] = static_cast<char>(12000 & 0xFF);
    dir.Write("big.jpg", bytes);
    EXPECT_EQ(Open(bigJpeg), nullptr);
    ExpectRefused(prompts, bigJpeg, "The picture is larger than 256 MiB.");
}

TEST_F(StillWindowTest, EscapeDoesNotCloseAndCloseAsksFirst) {
    QPointer<StillWindow> w = Open(WritePicture(dir, "a.bmp", 64, 48));
    ASSERT_TRUE(w);
    w->show();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &escape);
    EXPECT_TRUE(w->isVisible());

    prompts.answers = {PromptAnswer::No, PromptAnswer::Yes};
    EXPECT_FALSE(w->close());
    EXPECT_EQ(prompts.asked.back(), "Are you sure to close?");
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(w);
}

TEST_F(StillWindowTest, RevertAsksBeforeDroppingUnsavedFiltersOrMeasurements) {
    QPointer<StillWindow> w = Open(WritePicture(dir, "b.bmp", 40, 30));
    ASSERT_TRUE(w);
    const auto pixel = [&] { return w->Canvas()->Picture().RowFromTop(3)[3 * 5]; };
    w->OnCommand(still_command::kRevert);  // nothing to lose: no question
    EXPECT_TRUE(prompts.asked.empty());

    EXPECT_EQ(pixel(), 5);
    w->OnCommand(still_command::kNegative);
    EXPECT_EQ(pixel(), 250);
    prompts.answers = {PromptAnswer::No};
    w->OnCommand(still_command::kRevert);
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(pixel(), 250);  // declined: the filter stays
    prompts.answers = {PromptAnswer::Yes};
    w->OnCommand(still_command::kRevert);
    EXPECT_EQ(pixel(), 5);
    EXPECT_FALSE(w->HasUnsavedWork());

    AppendRecord(w->Canvas()->Records(), MeasureRecord{});
    prompts.answers = {PromptAnswer::No};
    w->OnCommand(still_command::kRevert);
    EXPECT_EQ(w->Canvas()->Records().size(), 1u);
    EXPECT_EQ(prompts.asked.size(), 3u);

    // Once saved there is nothing to lose; a new measurement is unsaved again.
    ASSERT_TRUE(w->SaveAnnotatedTo(dir.Sub("b-saved.bmp")));
    EXPECT_FALSE(w->HasUnsavedWork());
    AppendRecord(w->Canvas()->Records(), MeasureRecord{});
    EXPECT_TRUE(w->HasUnsavedWork());
    prompts.answers = {PromptAnswer::Yes};
    w->OnCommand(still_command::kRevert);
    EXPECT_EQ(prompts.asked.size(), 4u);
    EXPECT_TRUE(w->Canvas()->Records().empty());
    delete w;
}

TEST_F(StillWindowTest, CloseWithUnsavedMeasurementsOffersToSave) {
    QPointer<StillWindow> w = Open(WritePicture(dir, "e.bmp", 40, 30));
    ASSERT_TRUE(w);
    w->show();
    AppendRecord(w->Canvas()->Records(), MeasureRecord{});

    prompts.answers = {PromptAnswer::Cancel};
    EXPECT_FALSE(w->close());
    EXPECT_EQ(prompts.asked.back(), "Save changes to...");
    EXPECT_TRUE(w->isVisible());

    // Yes with the chooser cancelled keeps the window and the work.
    prompts.answers = {PromptAnswer::Yes};
    prompts.savePath.reset();
    EXPECT_FALSE(w->close());
    EXPECT_TRUE(w->isVisible());

    // Yes with a path saves, then closes without a second question.
    prompts.answers = {PromptAnswer::Yes};
    prompts.savePath = ChosenPath{dir.Sub("e-measured.bmp"), 0};
    const std::size_t asked = prompts.asked.size();
    EXPECT_TRUE(w->close());
    EXPECT_TRUE(std::filesystem::exists(dir.Sub("e-measured.bmp")));
    // The save question and the chooser, no "Are you sure to close?" after them.
    ASSERT_EQ(prompts.asked.size(), asked + 2);
    EXPECT_EQ(prompts.asked[asked], "Save changes to...");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(w);

    // No closes without saving.
    w = Open(WritePicture(dir, "f.bmp", 40, 30));
    ASSERT_TRUE(w);
    w->show();
    AppendRecord(w->Canvas()->Records(), MeasureRecord{});
    prompts.answers = {PromptAnswer::No};
    EXPECT_TRUE(w->close());
    EXPECT_EQ(prompts.asked.back(), "Save changes to...");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(w);
}

TEST_F(StillWindowTest, SaveAsWritesThePictureOrReportsFailure) {
    QPointer<StillWindow> w = Open(WritePicture(dir, "c.bmp", 40, 30));
    ASSERT_TRUE(w);
    EXPECT_FALSE(w->Saved());
    const std::string target = dir.Sub("saved.bmp");
    EXPECT_TRUE(w->SaveAnnotatedTo(std::filesystem::path(target)));
    EXPECT_EQ(prompts.shown.back(), "Save successfully!");
    EXPECT_TRUE(w->Saved());
    CxImage saved = CxImage::LoadFromFile(target, kImageTypeBmp);
    ASSERT_TRUE(saved.IsValid());
    EXPECT_EQ(saved.GetWidth(), 40);
    EXPECT_EQ(saved.RowFromTop(12)[3 * 9], 9);
    EXPECT_EQ(saved.RowFromTop(12)[3 * 9 + 1], 12);

    EXPECT_FALSE(w->SaveAnnotatedTo(std::filesystem::path(dir.Sub("no/such/folder/x.bmp"))));
    EXPECT_EQ(prompts.shown.back(), "Save fail");
    EXPECT_FALSE(w->SaveAnnotatedTo(std::filesystem::path(dir.Sub("x.png"))));
    delete w;
}

// "grün" in Latin-1 is not valid UTF-8: the name must travel as bytes from argv to the file.
TEST_F(StillWindowTest, ACommandLinePictureWithALatin1NameOpensAndSaves) {
    const std::string source = WritePicture(dir, "Still_gr\xFCn_142530_60X_N0007.bmp", 40, 30);
    const char* argv[] = {"lensora", "--demo-camera", source.c_str()};
    const CommandLine line = ParseCommandLine(3, argv);
    ASSERT_EQ(line.picture.native(), source);

    QPointer<StillWindow> w = Open(line.picture.native());
    ASSERT_TRUE(w);
    EXPECT_EQ(prompts.shown.size(), 0u);
    EXPECT_EQ(w->Canvas()->Picture().GetWidth(), 40);
    EXPECT_EQ(w->MagnificationBox()->text(), "60");
    const std::filesystem::path target = line.picture.parent_path() / "gr\xFCn saved.bmp";
    EXPECT_TRUE(w->SaveAnnotatedTo(target));
    EXPECT_EQ(prompts.shown.back(), "Save successfully!");
    CxImage saved = CxImage::LoadFromFile(target.native(), kImageTypeBmp);
    ASSERT_TRUE(saved.IsValid());
    EXPECT_EQ(saved.RowFromTop(12)[3 * 9 + 1], 12);
    delete w;
}

}  // namespace
}  // namespace lensora

namespace lensora {
namespace {

TEST_F(StillWindowTest, SaveAsAsksForThePathThroughThePrompts) {
    QPointer<StillWindow> w = Open(WritePicture(dir, "d.bmp", 40, 30));
    ASSERT_TRUE(w);
    prompts.savePath.reset();
    w->OnCommand(still_command::kSaveAs);  // cancelled: nothing written
    EXPECT_FALSE(w->Saved());
    // The chooser starts beside the picture, under the picture's name.
    EXPECT_EQ(prompts.starts.back(), std::filesystem::path(dir.Sub("d.bmp")));
    EXPECT_EQ(w->Canvas()->Caption(), "d");
    prompts.savePath = ChosenPath{dir.Sub("chosen"), 1};  // the jpg type
    w->OnCommand(still_command::kSaveAs);
    EXPECT_TRUE(w->Saved());
    EXPECT_TRUE(std::filesystem::exists(dir.Sub("chosen.jpg")));
    delete w;
}

}  // namespace
}  // namespace lensora
