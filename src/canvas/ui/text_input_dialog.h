// The "Input Text" dialog: the text of a note with its font and colour and a live preview.
// The font and colour are stored the moment they are chosen; OK hands text, font and colour
// to the canvas, which places the note with its next click. UI thread only.
#pragma once

#include <QDialog>

#include "canvas/ui/font_chooser.h"

class QLineEdit;

namespace lensora {

class CanvasServices;

class TextInputDialog : public QDialog {
    Q_OBJECT
  public:
    explicit TextInputDialog(CanvasServices& app, QWidget* parent = nullptr);

    FontChooser chooseFont = &ChooseFontWithColour;

    QString EnteredText() const;
    const LogFont& NoteFont() const { return note_.font; }
    std::uint32_t NoteColour() const { return note_.colour; }
    QLineEdit* TextBox() const { return textBox_; }
    void ChooseNoteFont();

  private:
    CanvasServices& app_;
    FontChoice note_;
    QLineEdit* textBox_ = nullptr;
    QWidget* preview_ = nullptr;
};

}  // namespace lensora
