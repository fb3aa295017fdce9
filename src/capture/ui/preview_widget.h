// The live preview area of the main window: the camera picture with its overlays, or, while
// no camera is connected, black with the green connection message centred.
#pragma once

#include <QWidget>

namespace lensora {

class PreviewWidget : public QWidget {
    Q_OBJECT
  public:
    explicit PreviewWidget(QWidget* parent = nullptr);

    // The status text shown while there is no picture (the connection message).
    void SetStatusText(const QString& text);
    QString StatusText() const { return statusText_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString statusText_;
};

}  // namespace lensora
