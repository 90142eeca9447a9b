#pragma once

#include <QByteArray>
#include <QImage>

namespace skingen {

// The application icon as SVG text, and painted at size x size pixels.
QByteArray iconSvg();
QImage iconImage(int size);

// The hicolor sizes the icon ships in.
inline constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

}  // namespace skingen
