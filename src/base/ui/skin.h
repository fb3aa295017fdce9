// The look of the program's own windows: colours of the dark instrument-panel skin, the
// fonts, and the icons drawn from the SVG files in the icon folder. UI thread only.
#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <QString>

class QPainter;
class QRect;

namespace lensora::skin {

inline const QColor kBackground{0x14, 0x1A, 0x20};
inline const QColor kBackgroundLight{0x1C, 0x24, 0x2C};
inline const QColor kPanel{0x1E, 0x27, 0x30};
inline const QColor kPanelBorder{0x33, 0x41, 0x4D};
inline const QColor kText{0xE8, 0xEE, 0xF3};
inline const QColor kTextDim{0x8A, 0x99, 0xA6};
inline const QColor kAccent{0x3F, 0xD0, 0xC9};
inline const QColor kDanger{0xFF, 0x5C, 0x5C};
inline const QColor kButton{0x26, 0x31, 0x3B};
inline const QColor kButtonHover{0x30, 0x3E, 0x4A};
inline const QColor kButtonPressed{0x1A, 0x5E, 0x5B};

// Where the SVG icons are; set once at start from the resource folder.
void SetIconFolder(const QString& folder);
QString IconFolder();

// The icon file `name` rendered at `size` device-independent pixels; a null pixmap when the
// file is missing or unreadable. `disabled` gives the dimmed look. Cached.
QPixmap IconPixmap(const QString& name, int size, bool disabled = false, qreal dpr = 1.0);
QIcon Icon(const QString& name);

// The font of captions and labels, and the large font of the preview's status texts.
QFont UiFont(int pixelSize, bool bold = false);

// A titled frame around a group of controls.
void PaintGroupFrame(QPainter& p, const QRect& rect, const QString& title);

// Gives the whole application the dark skin: style, palette and style sheet, so that dialogs
// and message boxes match the main window.
void ApplyTheme();

}  // namespace lensora::skin
