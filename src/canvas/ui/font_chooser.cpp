#include "canvas/ui/font_chooser.h"

#include <QColorDialog>
#include <QFontDialog>

#include "platform/qt_drawing_surface.h"

namespace lensora {

QColor ToQColor(std::uint32_t colour) {
    return QtDrawingSurface::ColourOf(colour);
}

std::uint32_t FromQColor(const QColor& c) {
    return static_cast<std::uint32_t>(c.red()) | (static_cast<std::uint32_t>(c.green()) << 8) |
           (static_cast<std::uint32_t>(c.blue()) << 16);
}

std::optional<std::uint32_t> ChooseColour(QWidget* parent, std::uint32_t colour) {
    const QColor chosen = QColorDialog::getColor(ToQColor(colour), parent);
    if (!chosen.isValid()) {
        return std::nullopt;
    }
    return FromQColor(chosen);
}

std::optional<FontChoice> ChooseFontWithColour(QWidget* parent, const FontChoice& current) {
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, QtDrawingSurface::FontFor(current.font), parent);
    if (!ok) {
        return std::nullopt;
    }
    FontChoice result{QtDrawingSurface::LogFontFor(chosen), current.colour};
    if (auto colour = ChooseColour(parent, current.colour)) {
        result.colour = *colour;
    }
    return result;
}

}  // namespace lensora
