// The magnifier's settings dialog: zoom 2x, 3x or 4x (20, 30, 40 tenths) and lens size 100,
// 150 or 200 pixels, the first of each preselected. UI thread only.
#pragma once

#include <QDialog>

class QButtonGroup;

namespace lensora {

class MagnifierDialog : public QDialog {
    Q_OBJECT
  public:
    explicit MagnifierDialog(QWidget* parent = nullptr);

    int ZoomTenths() const;
    int LensSize() const;
    QButtonGroup* Zooms() const { return zooms_; }
    QButtonGroup* Sizes() const { return sizes_; }

  private:
    QButtonGroup* zooms_ = nullptr;
    QButtonGroup* sizes_ = nullptr;
};

}  // namespace lensora
