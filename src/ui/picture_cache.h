#pragma once

#include <QPixmap>
#include <QString>
#include <optional>

namespace korvane::ui {

// The skin's pictures as decoded: five tab bars showing title_base_1 share
// one decoding. A file is decoded again when it changed on disk (another
// size or time of change), so a new picture still shows at the next state
// change. Holds one entry per file name, and the skin names a few dozen.
// Nothing when the file cannot be decoded or its header claims a picture
// larger than any control could show, which is refused before decoding.
std::optional<QPixmap> decodedPicture(const QString& file);

}  // namespace korvane::ui
