#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <memory>

#include "app/app_state.h"
#include "canvas/font_files.h"
#include "canvas/ui/pen_setting_dialog.h"
#include "canvas/ui/text_input_dialog.h"
#include "support/temp_dir.h"

namespace lensora {
namespace {
using test::TempDir;

class SettingsDialogTest : public ::testing::Test {
  protected:
    SettingsDialogTest()
        : app(store, {dir.Sub("config"), dir.Sub("Documents"), dir.Sub("res"), 1033}) {
        app.Initialise();
        canvas = InitialDrawingSettings(app.Settings(), app.LabelFont());
    }
    TempDir dir;
    MemorySettingsStore store;
    AppState app;
    DrawingSettings canvas;
};

TEST_F(SettingsDialogTest, SolidIsShownWheneverTheWidthIsNotOne) {
    canvas.penWidth = 2;
    canvas.penStyle = 1;
    PenSettingDialog wide(app, canvas);
    EXPECT_EQ(wide.LineTypes()->checkedId(), 0);
    canvas.penWidth = 1;
    PenSettingDialog thin(app, canvas);
    EXPECT_EQ(thin.LineTypes()->checkedId(), 1);
}

TEST_F(SettingsDialogTest, OkStoresWidthTypeAndFontSizeAndHandsEverythingToTheCanvas) {
    canvas.penWidth = 1;
    PenSettingDialog dialog(app, canvas);
    dialog.WidthBox()->setValue(3);
    dialog.LineTypes()->button(2)->click();
    dialog.RangeList()->setCurrentIndex(2);  // "14"
    LogFont chosen = DefaultLogFont();
    chosen.height = -20;
    dialog.chooseFont = [&](QWidget*, const FontChoice&) {
        return std::optional<FontChoice>(FontChoice{chosen, 0x00FF00});
    };
    dialog.ChooseLabelFont();
    // The font and its colour are stored at once, before OK.
    EXPECT_EQ(ReadLabelFont(app.Environment().appFolder), chosen);
    EXPECT_EQ(store.ReadNumber("font", "MeasureTxtColor"), 0x00FF00u);
    EXPECT_EQ(canvas.labelColour, 255u);  // the canvas changes only on OK

    dialog.accept();
    EXPECT_EQ(store.ReadNumber("font", "Linewidth"), 3u);
    EXPECT_EQ(store.ReadNumber("font", "Linetype"), 2u);
    EXPECT_EQ(store.ReadNumber("font", "fontsize"), 20u);
    EXPECT_EQ(canvas.penWidth, 3);
    EXPECT_EQ(canvas.penStyle, 2);
    EXPECT_EQ(canvas.detectionRange, 14);
    EXPECT_EQ(canvas.labelFont, chosen);
    EXPECT_EQ(canvas.labelColour, 0x00FF00u);
}

TEST_F(SettingsDialogTest, CancelKeepsWhatWasStoredAtOnce) {
    PenSettingDialog dialog(app, canvas);
    dialog.chooseColour = [](QWidget*, std::uint32_t) {
        return std::optional<std::uint32_t>(0x123456);
    };
    dialog.ChooseLineColour();
    dialog.Units()->button(2)->click();     // mil
    dialog.Decimals()->button(5)->click();  // 5
    dialog.WidthBox()->setValue(3);
    dialog.reject();
    EXPECT_EQ(store.ReadNumber("font", "LineColor"), 0x123456u);
    EXPECT_EQ(store.ReadText("Units", "unit"), "mil");
    EXPECT_EQ(store.ReadNumber("Units", "decimal"), 5u);
    EXPECT_EQ(app.Settings().unit, "mil");
    EXPECT_EQ(store.ReadNumber("font", "Linewidth"), 2u);  // first-run value, not 3
    EXPECT_EQ(canvas.penColour, 255u);
}

TEST_F(SettingsDialogTest, SubPixelEdgesIsOnByDefaultAndStoredWithTheUnitsAtOnce) {
    EXPECT_TRUE(canvas.subPixelEdges);
    {
        PenSettingDialog dialog(app, canvas);
        ASSERT_TRUE(dialog.SubPixelEdges()->isChecked());
        dialog.SubPixelEdges()->click();
        dialog.reject();  // like the units, the choice stands without OK
    }
    EXPECT_EQ(store.ReadNumber("Units", "SubPixelEdges"), 0u);
    EXPECT_EQ(app.Settings().subPixelEdges, 0u);
    EXPECT_FALSE(canvas.subPixelEdges);

    // The next start reads it back; a new canvas takes it.
    AppState next(store, {dir.Sub("config"), dir.Sub("Documents"), dir.Sub("res"), 1033});
    next.Initialise();
    EXPECT_FALSE(InitialDrawingSettings(next.Settings(), next.LabelFont()).subPixelEdges);
    PenSettingDialog reopened(next, canvas);
    EXPECT_FALSE(reopened.SubPixelEdges()->isChecked());
}

TEST_F(SettingsDialogTest, MicrometresAreOfferedShownAsTheSignAndStoredAsUm) {
    {
        PenSettingDialog dialog(app, canvas);
        QAbstractButton* micrometre = dialog.Units()->button(4);
        ASSERT_NE(micrometre, nullptr);
        EXPECT_EQ(micrometre->text(), QString::fromUtf8("\xC2\xB5m"));
        micrometre->click();
        dialog.reject();
    }
    EXPECT_EQ(app.Settings().unit, "\xC2\xB5m");
    EXPECT_EQ(store.ReadText("Units", "unit"), "um");

    AppState next(store, {dir.Sub("config"), dir.Sub("Documents"), dir.Sub("res"), 1033});
    next.Initialise();
    EXPECT_EQ(next.Settings().unit, "\xC2\xB5m");
    PenSettingDialog reopened(next, canvas);
    EXPECT_EQ(reopened.Units()->checkedId(), 4);
}

TEST_F(SettingsDialogTest, SignificantDigitsForAreasIsOffByDefaultAndStoredAtOnce) {
    const CameraFacts camera;
    {
        PenSettingDialog dialog(app, canvas);
        ASSERT_NE(dialog.AreaSignificantDigits(), nullptr);
        EXPECT_FALSE(dialog.AreaSignificantDigits()->isChecked());
        EXPECT_EQ(dialog.AreaSignificantDigits()->text(), "Significant digits for areas");
        EXPECT_FALSE(MakeScaleContext(app.Settings(), camera, 10.0).areaSignificant);
        dialog.AreaSignificantDigits()->click();
        dialog.reject();
    }
    EXPECT_EQ(store.ReadNumber("Units", "AreaSigDigits"), 1u);
    EXPECT_TRUE(MakeScaleContext(app.Settings(), camera, 10.0).areaSignificant);

    AppState next(store, {dir.Sub("config"), dir.Sub("Documents"), dir.Sub("res"), 1033});
    next.Initialise();
    EXPECT_TRUE(MakeScaleContext(next.Settings(), camera, 10.0).areaSignificant);
    PenSettingDialog reopened(next, canvas);
    EXPECT_TRUE(reopened.AreaSignificantDigits()->isChecked());
}

TEST_F(SettingsDialogTest, UnknownUnitsAndDecimalsShowTheirFallbackButtons) {
    app.Settings().unit = "um";
    app.Settings().decimals = 7;
    PenSettingDialog dialog(app, canvas);
    EXPECT_EQ(dialog.Units()->checkedId(), 0);     // mm
    EXPECT_EQ(dialog.Decimals()->checkedId(), 5);  // 5
    EXPECT_EQ(dialog.RangeList()->currentText(), "20");
}

TEST_F(SettingsDialogTest, TextDialogStoresTheNoteFontAndColourWhenChosen) {
    TextInputDialog dialog(app);
    EXPECT_EQ(dialog.NoteFont(), DefaultLogFont());
    EXPECT_EQ(dialog.NoteColour(), 255u);  // first-run fontcolor
    LogFont chosen = DefaultLogFont();
    chosen.weight = 700;
    dialog.chooseFont = [&](QWidget*, const FontChoice&) {
        return std::optional<FontChoice>(FontChoice{chosen, 0xFF0000});
    };
    dialog.ChooseNoteFont();
    dialog.TextBox()->setText("Crack 1");
    EXPECT_EQ(dialog.EnteredText(), "Crack 1");
    EXPECT_EQ(ReadNoteFont(app.Environment().appFolder), chosen);
    EXPECT_EQ(store.ReadNumber("font", "fontcolor"), 0xFF0000u);
    TextInputDialog again(app);
    EXPECT_EQ(again.NoteFont(), chosen);
    EXPECT_EQ(again.NoteColour(), 0xFF0000u);
}

}  // namespace
}  // namespace lensora
