#include "canvas/ui/pen_setting_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <cstdlib>

#include "base/ui/dialog_buttons.h"
#include "base/ui/ui_text.h"
#include "base/units.h"
#include "canvas/canvas_services.h"
#include "canvas/font_files.h"
#include "platform/qt_drawing_surface.h"

namespace lensora {
namespace {

// A line in the dialog's current pen across the box, 10 pixels in from each side.
class PenPreview : public QWidget {
  public:
    PenPreview(const DrawingSettings& settings, QWidget* parent)
        : QWidget(parent), settings_(settings) {
        setMinimumSize(200, 40);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        p.setPen(QColor(0xB0, 0xB8, 0xC0));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
        QImage image(size(), QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QtDrawingSurface surface(image);
            surface.SetPen(settings_.CurrentPen());
            surface.MoveTo({10, height() / 2});
            surface.LineTo({width() - 10, height() / 2});
        }
        p.drawImage(0, 0, image);
    }

  private:
    const DrawingSettings& settings_;
};

QIcon Swatch(std::uint32_t colour) {
    QPixmap pixmap(14, 14);
    pixmap.fill(ToQColor(colour));
    return QIcon(pixmap);
}

}  // namespace

PenSettingDialog::PenSettingDialog(CanvasServices& app, DrawingSettings& canvas, QWidget* parent)
    : QDialog(parent), app_(app), canvas_(canvas), chosen_(canvas) {
    setObjectName(QStringLiteral("penSettingDialog"));
    setWindowTitle(UiText("TipSetPen", "Pen Setting"));
    chosen_.labelFont = ReadLabelFont(app_.AppFolder()).value_or(DefaultLogFont());

    pages_ = new QTabWidget(this);
    pages_->addTab(BuildPenPage(), UiText("PenSetting", "Pen setting"));
    pages_->addTab(BuildUnitPage(), UiText("UnitSetting", "Unit setting"));

    QDialogButtonBox* buttons = OkCancelButtons(*this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_);
    layout->addWidget(buttons);
}

QWidget* PenSettingDialog::BuildPenPage() {
    auto* page = new QWidget(this);

    widthBox_ = new QSpinBox(page);
    widthBox_->setRange(kMinPenWidth, kMaxPenWidth);
    widthBox_->setValue(std::clamp(chosen_.penWidth, kMinPenWidth, kMaxPenWidth));
    chosen_.penWidth = widthBox_->value();

    auto* typeBox = new QGroupBox(UiText("PenType", "Line Type"), page);
    auto* typeLayout = new QVBoxLayout(typeBox);
    lineTypes_ = new QButtonGroup(this);
    const std::array<QString, 3> typeNames = {UiText("SolidLine", "Solid Line"),
                                              UiText("DashLine", "Dash Line"),
                                              UiText("DotLine", "Dot Line")};
    for (int i = 0; i < 3; ++i) {
        auto* radio = new QRadioButton(typeNames[static_cast<std::size_t>(i)], typeBox);
        lineTypes_->addButton(radio, i);
        typeLayout->addWidget(radio);
    }
    const int shownType = LineTypeShownInDialog(chosen_.penWidth, chosen_.penStyle);
    lineTypes_->button(shownType)->setChecked(true);
    chosen_.penStyle = shownType;

    auto* colourButton = new QPushButton(UiText("PenColor", "Colour"), page);
    colourButton->setObjectName(QStringLiteral("colourButton"));
    colourButton->setIcon(Swatch(chosen_.penColour));
    auto* fontButton = new QPushButton(UiText("Font", "Font"), page);
    fontButton->setObjectName(QStringLiteral("fontButton"));

    rangeList_ = new QComboBox(page);
    for (int range : kDetectionRanges) {
        rangeList_->addItem(QString::number(range));
    }
    rangeList_->setCurrentIndex(DetectionRangeIndex(chosen_.detectionRange));

    auto* previewBox = new QGroupBox(UiText("LinePriview", "Preview"), page);
    preview_ = new PenPreview(chosen_, previewBox);
    auto* previewLayout = new QVBoxLayout(previewBox);
    previewLayout->addWidget(preview_);

    auto* form = new QFormLayout;
    form->addRow(UiText("PenWidth", "Line Width"), widthBox_);
    form->addRow(UiText("PenColorLine", "Line Colour"), colourButton);
    form->addRow(QString(), fontButton);
    form->addRow(UiText("DetectRange", "Detection Range"), rangeList_);
    auto* top = new QHBoxLayout;
    top->addLayout(form, 1);
    top->addWidget(typeBox);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(top);
    layout->addWidget(previewBox);

    connect(widthBox_, &QSpinBox::valueChanged, this, [this](int width) {
        chosen_.penWidth = width;
        preview_->update();
    });
    connect(lineTypes_, &QButtonGroup::idClicked, this, [this](int type) {
        chosen_.penStyle = type;
        preview_->update();
    });
    connect(colourButton, &QPushButton::clicked, this, &PenSettingDialog::ChooseLineColour);
    connect(fontButton, &QPushButton::clicked, this, &PenSettingDialog::ChooseLabelFont);
    connect(rangeList_, &QComboBox::currentIndexChanged, this,
            [this](int index) { chosen_.detectionRange = DetectionRangeForIndex(index); });
    return page;
}

QWidget* PenSettingDialog::BuildUnitPage() {
    auto* page = new QWidget(this);
    AppSettings& settings = app_.Settings();

    auto* unitBox = new QGroupBox(UiText("Units", "Units"), page);
    auto* unitLayout = new QVBoxLayout(unitBox);
    units_ = new QButtonGroup(this);
    for (std::size_t i = 0; i < kDialogUnits.size(); ++i) {
        auto* radio =
            new QRadioButton(QString::fromUtf8(kDialogUnits[i].data(),
                                               static_cast<qsizetype>(kDialogUnits[i].size())),
                             unitBox);
        units_->addButton(radio, static_cast<int>(i));
        unitLayout->addWidget(radio);
    }
    units_->button(UnitButtonIndex(MeasureUnit(settings)))->setChecked(true);

    auto* decimalBox = new QGroupBox(UiText("decimal", "decimal"), page);
    auto* decimalLayout = new QVBoxLayout(decimalBox);
    decimals_ = new QButtonGroup(this);
    for (int d = 2; d <= 5; ++d) {
        auto* radio = new QRadioButton(QString::number(d), decimalBox);
        decimals_->addButton(radio, d);
        decimalLayout->addWidget(radio);
    }
    decimals_->button(DecimalsShownInDialog(MeasureDecimals(settings)))->setChecked(true);

    // Units and decimals are stored the moment they are clicked, whatever the dialog's end.
    connect(units_, &QButtonGroup::idClicked, this, [this](int index) {
        SetUnit(app_.Settings(), app_.Store(), kDialogUnits[static_cast<std::size_t>(index)]);
    });
    connect(decimals_, &QButtonGroup::idClicked, this,
            [this](int decimals) { SetDecimals(app_.Settings(), app_.Store(), decimals); });

    // Stored and taken by the canvas at once, like the units.
    subPixelEdges_ = new QCheckBox(UiText("SubPixelEdges", "Sub-pixel edges"), page);
    subPixelEdges_->setObjectName(QStringLiteral("subPixelEdges"));
    subPixelEdges_->setChecked(settings.subPixelEdges != 0);
    connect(subPixelEdges_, &QCheckBox::toggled, this, [this](bool on) {
        app_.Settings().subPixelEdges = on ? 1 : 0;
        WriteSetting(app_.Store(), setting::kSubPixelEdges, on ? 1 : 0);
        chosen_.subPixelEdges = on;
        canvas_.subPixelEdges = on;
    });

    // Stored at once; labels made from now on take it.
    areaSignificant_ =
        new QCheckBox(UiText("AreaSignificantDigits", "Significant digits for areas"), page);
    areaSignificant_->setObjectName(QStringLiteral("areaSignificantDigits"));
    areaSignificant_->setToolTip(
        UiText("AreaSignificantDigitsTip",
               "Areas keep at least three significant digits, e.g. 0.00196 instead of 0.002"));
    areaSignificant_->setChecked(settings.areaSignificantDigits != 0);
    connect(areaSignificant_, &QCheckBox::toggled, this, [this](bool on) {
        app_.Settings().areaSignificantDigits = on ? 1 : 0;
        WriteSetting(app_.Store(), setting::kAreaSignificantDigits, on ? 1 : 0);
    });

    auto* columns = new QHBoxLayout;
    columns->addWidget(unitBox);
    columns->addWidget(decimalBox);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(columns);
    layout->addWidget(subPixelEdges_);
    layout->addWidget(areaSignificant_);
    return page;
}

void PenSettingDialog::ChooseLineColour() {
    if (auto colour = chooseColour(this, chosen_.penColour)) {
        chosen_.penColour = *colour;
        app_.Settings().lineColor = *colour;
        WriteSetting(app_.Store(), setting::kLineColor, *colour);
        if (auto* button = findChild<QPushButton*>(QStringLiteral("colourButton"))) {
            button->setIcon(Swatch(*colour));
        }
        preview_->update();
    }
}

void PenSettingDialog::ChooseLabelFont() {
    if (auto choice = chooseFont(this, FontChoice{chosen_.labelFont, chosen_.labelColour})) {
        chosen_.labelFont = choice->font;
        chosen_.labelColour = choice->colour;
        app_.Settings().measureTxtColor = choice->colour;
        WriteSetting(app_.Store(), setting::kMeasureTxtColor, choice->colour);
        WriteLabelFont(app_.AppFolder(), choice->font);
    }
}

void PenSettingDialog::accept() {
    AppSettings& settings = app_.Settings();
    settings.lineWidth = static_cast<std::uint32_t>(chosen_.penWidth);
    settings.lineType = static_cast<std::uint32_t>(chosen_.penStyle);
    WriteSetting(app_.Store(), setting::kLineWidth, settings.lineWidth);
    WriteSetting(app_.Store(), setting::kLineType, settings.lineType);
    settings.fontSize = static_cast<std::uint32_t>(std::abs(chosen_.labelFont.height));
    WriteSetting(app_.Store(), setting::kFontSize, settings.fontSize);
    app_.SetLabelFont(chosen_.labelFont);
    canvas_ = chosen_;
    QDialog::accept();
}

}  // namespace lensora
