#include "gif_encoder.h"

#include <algorithm>

namespace skingen {
namespace {

class BitPacker {
 public:
  void put(int code, int width) {
    acc_ |= static_cast<std::uint32_t>(code) << bits_;
    bits_ += width;
    while (bits_ >= 8) {
      bytes_.push_back(static_cast<char>(acc_ & 0xff));
      acc_ >>= 8;
      bits_ -= 8;
    }
  }
  QByteArray finish() {
    if (bits_ > 0) bytes_.push_back(static_cast<char>(acc_ & 0xff));
    acc_ = 0;
    bits_ = 0;
    return bytes_;
  }

 private:
  QByteArray bytes_;
  std::uint32_t acc_ = 0;
  int bits_ = 0;
};

// Variable-width LZW as GIF wants it: codes grow from 9 to 12 bits, and the
// table restarts with a clear code when it is full.
QByteArray lzwEncode(const std::vector<std::uint8_t>& indices) {
  constexpr int kMinCodeSize = 8;
  constexpr int kClear = 1 << kMinCodeSize;
  constexpr int kEnd = kClear + 1;
  constexpr int kMaxCodes = 4096;
  constexpr int kMaxWidth = 12;
  std::vector<std::uint16_t> child(static_cast<std::size_t>(kMaxCodes) * 256,
                                   0);  // 0: no entry yet
  BitPacker out;
  int width = kMinCodeSize + 1;
  int next = kEnd + 1;  // next free table entry
  int emitted = 0;      // data codes since the last clear
  // A decoder counts the same data codes and widens once the count no longer
  // fits; the end code after the last data code follows the same rule.
  const auto putData = [&](int code) {
    out.put(code, width);
    ++emitted;
    if (kEnd + emitted >= (1 << width) && width < kMaxWidth) ++width;
  };

  out.put(kClear, width);
  int prefix = -1;
  for (std::uint8_t b : indices) {
    if (prefix < 0) {
      prefix = b;
      continue;
    }
    std::uint16_t& slot = child[static_cast<std::size_t>(prefix) * 256 + b];
    if (slot != 0) {
      prefix = slot;
      continue;
    }
    putData(prefix);
    if (next < kMaxCodes) {
      slot = static_cast<std::uint16_t>(next++);
    } else {
      out.put(kClear, width);
      std::fill(child.begin(), child.end(), 0);
      width = kMinCodeSize + 1;
      next = kEnd + 1;
      emitted = 0;
    }
    prefix = b;
  }
  if (prefix >= 0) putData(prefix);
  out.put(kEnd, width);
  return out.finish();
}

// Little-endian 16-bit field.
void putWord(QByteArray& out, int v) {
  out.append(static_cast<char>(v & 0xff));
  out.append(static_cast<char>((v >> 8) & 0xff));
}

}  // namespace

QByteArray encodeGif(const IndexedAnimation& anim, int width, int height, int delayCentiseconds) {
  QByteArray out("GIF89a");
  putWord(out, width);
  putWord(out, height);
  out.append(static_cast<char>(0xF7));  // global table of 256 entries, 8-bit colour
  out.append('\0');                     // background: the key
  out.append('\0');
  for (std::size_t i = 0; i < 256; ++i) {
    const QRgb c = i < anim.palette.size() ? anim.palette[i] : qRgb(0, 0, 0);
    out.append(static_cast<char>(qRed(c)));
    out.append(static_cast<char>(qGreen(c)));
    out.append(static_cast<char>(qBlue(c)));
  }
  // Loop forever.
  out.append("\x21\xFF\x0B", 3);
  out.append("NETSCAPE2.0");
  out.append("\x03\x01", 2);
  putWord(out, 0);
  out.append('\0');

  for (const auto& frame : anim.frames) {
    out.append("\x21\xF9\x04", 3);
    out.append(static_cast<char>(0x04));  // keep this frame when the next is drawn; no transparency
    putWord(out, delayCentiseconds);
    out.append('\0');
    out.append('\0');

    out.append(static_cast<char>(0x2C));
    putWord(out, 0);
    putWord(out, 0);
    putWord(out, width);
    putWord(out, height);
    out.append('\0');

    out.append(static_cast<char>(8));
    const QByteArray data = lzwEncode(frame);
    for (qsizetype pos = 0; pos < data.size(); pos += 255) {
      const qsizetype n = std::min<qsizetype>(255, data.size() - pos);
      out.append(static_cast<char>(n));
      out.append(data.mid(pos, n));
    }
    out.append('\0');
  }
  out.append(static_cast<char>(0x3B));
  return out;
}

}  // namespace skingen
