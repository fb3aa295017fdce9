#include "canvas/ui/text_input_dialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/ui/dialog_buttons.h"
#include "base/ui/ui_text.h"
#include "canvas/canvas_services.h"
#include "canvas/font_files.h"
#include "platform/qt_drawing_surface.h"

namespace lensora {
namespace {

// The note as it will look: its font and colour on a transparent background, 2 pixels from
// the left edge, centred vertically.
class NotePreview : public QWidget {
  public:
    NotePreview(const FontChoice& note, const QLineEdit& text, QWidget* parent)
        : QWidget(parent), note_(note), text_(text) {
        setMinimumSize(260, 60);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        p.setFont(QtDrawingSurface::FontFor(note_.font));
        p.setPen(QtDrawingSurface::ColourOf(note_.colour));
        const QFontMetrics fm = p.fontMetrics();
        p.drawText(2, height() / 2 - fm.height() / 2 + fm.ascent(), text_.text());
    }

  private:
    const FontChoice& note_;
    const QLineEdit& text_;
};

}  // namespace

TextInputDialog::TextInputDialog(CanvasServices& app, QWidget* parent)
    : QDialog(parent), app_(app) {
    setObjectName(QStringLiteral("textInputDialog"));
    setWindowTitle(UiText("TextSetting", "Input Text"));
    note_.font = ReadNoteFont(app_.AppFolder()).value_or(DefaultLogFont());
    note_.colour =
        UsableColour(ReadSetting(app_.Store(), setting::kFontColor, app_.Settings().fontColor));

    auto* prompt = new QLabel(UiText("EnterText", "Please enter text:"), this);
    textBox_ = new QLineEdit(this);
    textBox_->setMaxLength(255);
    auto* fontButton = new QPushButton(UiText("Font", "Text Font"), this);
    fontButton->setObjectName(QStringLiteral("fontButton"));
    auto* previewBox = new QGroupBox(UiText("Preview", "Preview"), this);
    preview_ = new NotePreview(note_, *textBox_, previewBox);
    auto* previewLayout = new QVBoxLayout(previewBox);
    previewLayout->addWidget(preview_);

    QDialogButtonBox* buttons = OkCancelButtons(*this);
    connect(fontButton, &QPushButton::clicked, this, &TextInputDialog::ChooseNoteFont);
    connect(textBox_, &QLineEdit::textChanged, preview_, qOverload<>(&QWidget::update));

    auto* row = new QHBoxLayout;
    row->addWidget(textBox_, 1);
    row->addWidget(fontButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addLayout(row);
    layout->addWidget(previewBox);
    layout->addWidget(buttons);
}

QString TextInputDialog::EnteredText() const {
    return textBox_->text();
}

void TextInputDialog::ChooseNoteFont() {
    if (auto choice = chooseFont(this, note_)) {
        note_ = *choice;
        app_.Settings().fontColor = note_.colour;
        WriteSetting(app_.Store(), setting::kFontColor, note_.colour);
        WriteNoteFont(app_.AppFolder(), note_.font);
        preview_->update();
    }
}

}  // namespace lensora
