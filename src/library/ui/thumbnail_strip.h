// The strip of thumbnails below the preview that lists the captured pictures and videos.
#pragma once

#include <QWidget>

namespace lensora {

class ThumbnailStrip : public QWidget {
    Q_OBJECT
  public:
    explicit ThumbnailStrip(QWidget* parent = nullptr);

    // The text shown while the folder holds nothing to list.
    void SetEmptyText(const QString& text);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString emptyText_;
};

}  // namespace lensora
