#include "ui/window_shape.h"

#include <QBitmap>
#include <QPixmap>

namespace korvane::ui {

QRegion keyColourRegion(const QImage& image, const QColor& key) {
  if (image.isNull()) {
    return {};
  }
  // In the image mask the key colour pixels are the set bits; the region of a
  // bitmap covers its clear bits, so the key colour is left out.
  const QImage mask =
      image.convertToFormat(QImage::Format_RGB32).createMaskFromColor(key.rgb(), Qt::MaskInColor);
  return QRegion(QBitmap::fromImage(mask));
}

QPoint centredOn(const QSize& screen, const QSize& window) {
  return {screen.width() / 2 - window.width() / 2, screen.height() / 2 - window.height() / 2};
}

}  // namespace korvane::ui
