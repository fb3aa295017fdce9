// The "Pen Setting" dialog: a pen page (line width 1 to 3, line type, line colour, label font
// and colour, detection range, preview) and a unit page (unit, decimals and "Sub-pixel edges"
// of the automatic tools). Colours, fonts, unit, decimals and sub-pixel edges are stored the
// moment they are chosen; OK stores width and type and hands
// everything to the canvas's drawing settings. UI thread only.
#pragma once

#include <QDialog>
#include <array>

#include "base/drawing_settings.h"
#include "canvas/ui/font_chooser.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QSpinBox;
class QTabWidget;

namespace lensora {

class CanvasServices;

class PenSettingDialog : public QDialog {
    Q_OBJECT
  public:
    // `canvas` is the calling canvas's settings; it changes only on OK.
    PenSettingDialog(CanvasServices& app, DrawingSettings& canvas, QWidget* parent = nullptr);

    // Replaceable choosers (tests answer them without opening Qt's dialogs).
    ColourChooser chooseColour = &ChooseColour;
    FontChooser chooseFont = &ChooseFontWithColour;

    QSpinBox* WidthBox() const { return widthBox_; }
    QButtonGroup* LineTypes() const { return lineTypes_; }
    QButtonGroup* Units() const { return units_; }
    QButtonGroup* Decimals() const { return decimals_; }
    QComboBox* RangeList() const { return rangeList_; }
    QCheckBox* SubPixelEdges() const { return subPixelEdges_; }
    QCheckBox* AreaSignificantDigits() const { return areaSignificant_; }
    QTabWidget* Pages() const { return pages_; }
    // What the dialog holds now.
    const DrawingSettings& Chosen() const { return chosen_; }

    void ChooseLineColour();
    void ChooseLabelFont();
    void accept() override;

  private:
    QWidget* BuildPenPage();
    QWidget* BuildUnitPage();

    CanvasServices& app_;
    DrawingSettings& canvas_;
    DrawingSettings chosen_;
    QTabWidget* pages_ = nullptr;
    QSpinBox* widthBox_ = nullptr;
    QButtonGroup* lineTypes_ = nullptr;
    QButtonGroup* units_ = nullptr;
    QButtonGroup* decimals_ = nullptr;
    QComboBox* rangeList_ = nullptr;
    QCheckBox* subPixelEdges_ = nullptr;
    QCheckBox* areaSignificant_ = nullptr;
    QWidget* preview_ = nullptr;
};

}  // namespace lensora
