// Choosing a font with its colour for labels and notes: Qt's font chooser, then its colour
// chooser for the text colour. Dialogs take the chooser as a function so that tests can answer.
#pragma once

#include <QColor>
#include <functional>
#include <optional>

#include "base/log_font.h"

class QWidget;

namespace lensora {

struct FontChoice {
    LogFont font;
    std::uint32_t colour = 0;  // 0x00BBGGRR
};

using FontChooser = std::function<std::optional<FontChoice>(QWidget* parent, const FontChoice&)>;
using ColourChooser =
    std::function<std::optional<std::uint32_t>(QWidget* parent, std::uint32_t colour)>;

// Font first; cancelling it chooses nothing. Cancelling the colour keeps the old colour.
std::optional<FontChoice> ChooseFontWithColour(QWidget* parent, const FontChoice& current);
std::optional<std::uint32_t> ChooseColour(QWidget* parent, std::uint32_t colour);

QColor ToQColor(std::uint32_t colour);
std::uint32_t FromQColor(const QColor& colour);

}  // namespace lensora
