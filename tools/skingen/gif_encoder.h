// A minimal GIF89a writer for looping, full-frame, palette animations:
// Qt reads GIFs but cannot write them.
#pragma once

#include <QByteArray>
#include <QRgb>

#include <cstdint>
#include <vector>

namespace skingen {

struct IndexedAnimation {
  std::vector<QRgb> palette;                      // at most 256 colours, shared by all frames
  std::vector<std::vector<std::uint8_t>> frames;  // width x height palette indices each, row by row
};

// One global palette, LZW image data, a NETSCAPE2.0 block that loops forever,
// and the same delay on every frame.
QByteArray encodeGif(const IndexedAnimation& anim, int width, int height, int delayCentiseconds);

}  // namespace skingen
