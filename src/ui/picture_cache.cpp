#include "ui/picture_cache.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>

#include "app/controls.h"

namespace korvane::ui {

namespace {

struct Decoded {
  qint64 size = 0;
  QDateTime changed;
  QPixmap picture;
};

QHash<QString, Decoded>& decodedFiles() {
  static QHash<QString, Decoded> files;
  return files;
}

// Pixmaps must go before the application does.
void forgetDecodedFiles() {
  decodedFiles().clear();
}

}  // namespace

std::optional<QPixmap> decodedPicture(const QString& file) {
  const QFileInfo info(file);
  const qint64 size = info.size();
  const QDateTime changed = info.lastModified();
  QHash<QString, Decoded>& files = decodedFiles();
  if (files.isEmpty()) {
    qAddPostRoutine(forgetDecodedFiles);
  }
  if (const auto it = files.constFind(file);
      it != files.constEnd() && it->size == size && it->changed == changed) {
    return it->picture;
  }
  QImageReader reader(file);
  // Any format's header, not only PNG's: the size is known before decoding.
  const QSize claimed = reader.size();
  if (claimed.width() > app::kMaxPictureWidth || claimed.height() > app::kMaxPictureHeight) {
    return std::nullopt;
  }
  const QImage image = reader.read();
  if (image.isNull()) {
    return std::nullopt;
  }
  QPixmap picture = QPixmap::fromImage(image);
  files.insert(file, Decoded{size, changed, picture});
  return picture;
}

}  // namespace korvane::ui
