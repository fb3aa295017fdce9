#include "capture/ui/recorder_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace lensora {
namespace {

struct Harness {
    std::vector<int> applied;
    bool refuse = false;
    std::vector<QString> messages;
    CompressionOptions compression{"mjpeg", 90};

    std::unique_ptr<RecorderDialog> Open(bool largeSensor) {
        RecorderDialog::Camera camera;
        camera.largeSensor = largeSensor;
        camera.applyStep = [this](int step) {
            applied.push_back(step);
            return !refuse;
        };
        camera.width = [] { return 640; };
        camera.height = [] { return 480; };
        camera.rate = [] { return 15; };
        auto dialog = std::make_unique<RecorderDialog>(std::move(camera), compression);
        dialog->showMessage = [this](const QString& text) { messages.push_back(text); };
        return dialog;
    }
};

TEST(RecorderDialog, OpensAtTheDefaultsAndApplies640x480AtOnce) {
    Harness h;
    auto dialog = h.Open(true);
    EXPECT_EQ(h.applied, std::vector<int>{0});
    EXPECT_EQ(dialog->ResolutionCombo()->currentText(), "640*480");
    EXPECT_EQ(dialog->FrameRateEdit()->text(), "15");
    EXPECT_EQ(dialog->LimitEdit()->text(), "10");
    EXPECT_TRUE(dialog->LimitCheck()->isChecked());
    EXPECT_TRUE(dialog->OkButton()->isEnabled());

    Harness small;
    auto other = small.Open(false);
    EXPECT_EQ(small.applied, std::vector<int>{1});
    EXPECT_EQ(other->ResolutionCombo()->currentText(), "640*480");

    // A refused size disables OK and Compress until a size applies.
    h.refuse = true;
    dialog->ResolutionCombo()->setCurrentIndex(2);
    EXPECT_EQ(h.applied, (std::vector<int>{0, 2}));
    EXPECT_FALSE(dialog->OkButton()->isEnabled());
    EXPECT_FALSE(dialog->CompressButton()->isEnabled());
    h.refuse = false;
    dialog->ResolutionCombo()->setCurrentIndex(1);
    EXPECT_TRUE(dialog->OkButton()->isEnabled());
}

TEST(RecorderDialog, OkChecksTheFieldsAndGivesTheLimit) {
    Harness h;
    auto dialog = h.Open(true);
    dialog->FrameRateEdit()->setText("31");
    dialog->accept();
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    ASSERT_EQ(h.messages.size(), 1u);
    dialog->FrameRateEdit()->setText("30");
    dialog->LimitEdit()->setText("25");
    dialog->accept();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->LimitSeconds(), 25);

    auto unlimited = h.Open(true);
    unlimited->LimitCheck()->setChecked(false);
    EXPECT_FALSE(unlimited->LimitEdit()->isEnabled());
    unlimited->accept();
    EXPECT_EQ(unlimited->LimitSeconds(), 1800);
}

TEST(RecorderDialog, AnEncoderThatCannotOpenKeepsThePreviousOne) {
    Harness h;
    auto dialog = h.Open(true);
    dialog->chooseCompressor = [](const CompressionOptions&) {
        return std::optional<CompressionOptions>(CompressionOptions{"h263", 0});
    };
    dialog->CompressButton()->click();
    EXPECT_EQ(h.compression, (CompressionOptions{"mjpeg", 90}));
    ASSERT_EQ(h.messages.size(), 1u);
    EXPECT_NE(h.messages[0].indexOf("640x480"), -1) << h.messages[0].toStdString();

    dialog->chooseCompressor = [](const CompressionOptions&) {
        return std::optional<CompressionOptions>(CompressionOptions{"ffv1", 0});
    };
    dialog->CompressButton()->click();
    EXPECT_EQ(h.compression.encoder, "ffv1");
}

}  // namespace
}  // namespace lensora
