// The busy window's animation: a segmented ring whose lit segment runs round
// clockwise, with a dot orbiting the other way, on a dark disc. Outside the
// disc every pixel is the busy window's key colour, with no blend into it.
#include "artwork.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace skingen {
namespace {

constexpr qreal kWaitDiscRadius = 61;

// Every pixel on the disc is a blend between the disc and the light, so the
// frames are drawn as intensity and mapped through one ramp: that keeps the
// palette small and exact.
QColor waitRamp(double t) {
  constexpr QRgb kDisc = qRgb(14, 18, 24);
  constexpr double kAccentAt = 0.78;
  if (t <= kAccentAt) return mix(kDisc, kAccent, t / kAccentAt);
  return mix(kAccent, qRgb(230, 252, 255), (t - kAccentAt) / (1 - kAccentAt));
}

QPainterPath ringSegment(qreal fromDeg, qreal sweepDeg, qreal inner, qreal outer) {
  // Angles run clockwise from twelve o'clock, as the eye reads a dial.
  const auto at = [](qreal deg, qreal radius) {
    const double a = (deg - 90.0) * std::numbers::pi / 180.0;
    return QPointF(radius * std::cos(a), radius * std::sin(a));
  };
  QPainterPath path;
  constexpr int kSteps = 24;
  path.moveTo(at(fromDeg, outer));
  for (int i = 1; i <= kSteps; ++i) path.lineTo(at(fromDeg + sweepDeg * i / kSteps, outer));
  for (int i = kSteps; i >= 0; --i) path.lineTo(at(fromDeg + sweepDeg * i / kSteps, inner));
  path.closeSubpath();
  return path;
}

QImage waitIntensity(int frame) {
  QImage img(kWaitSize, kWaitSize, QImage::Format_RGB32);
  img.fill(Qt::black);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.translate(kWaitSize / 2.0, kWaitSize / 2.0);
  const auto grey = [](double t) { return QColor::fromRgbF(float(t), float(t), float(t)); };

  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(grey(0.22), 1.5));
  p.drawEllipse(QPointF(0, 0), kWaitDiscRadius - 3, kWaitDiscRadius - 3);
  p.setPen(QPen(grey(0.07), 17));
  p.drawEllipse(QPointF(0, 0), 47, 47);

  constexpr int kSegments = 12;
  for (int s = 0; s < kSegments; ++s) {
    const int behind = (frame - s + kSegments) % kSegments;
    const double t = behind == 0 ? 1.0 : std::max(0.1, 0.74 * std::pow(0.72, behind - 1));
    p.fillPath(ringSegment(s * 30.0 + 4, 22, 39, 55), grey(t));
  }

  // A dot orbits the other way inside the ring.
  p.setPen(QPen(grey(0.25), 1.2));
  p.drawEllipse(QPointF(0, 0), 30, 30);
  for (int k = 0; k < 3; ++k) {
    const double a = (-90.0 - 30.0 * (frame - k * 0.6)) * std::numbers::pi / 180.0;
    const QPointF c(24 * std::cos(a), 24 * std::sin(a));
    p.setPen(Qt::NoPen);
    p.setBrush(grey(k == 0 ? 0.9 : 0.9 - 0.3 * k));
    p.drawEllipse(c, 3.0 - 0.6 * k, 3.0 - 0.6 * k);
  }
  p.setBrush(grey(0.16));
  p.drawEllipse(QPointF(0, 0), 7, 7);
  p.end();
  return img;
}

}  // namespace

// Palette index 0 is the busy window's key: everything off the disc.
IndexedAnimation makeWaitAnimation() {
  IndexedAnimation anim;
  anim.palette.push_back(kDialogKey);
  for (int i = 1; i < 256; ++i) anim.palette.push_back(waitRamp((i - 1) / 254.0).rgb());
  const double c = kWaitSize / 2.0;
  for (int f = 0; f < kWaitFrames; ++f) {
    const QImage img = waitIntensity(f);
    std::vector<std::uint8_t> indices;
    indices.reserve(kWaitSize * kWaitSize);
    for (int y = 0; y < kWaitSize; ++y) {
      for (int x = 0; x < kWaitSize; ++x) {
        const bool onDisc = std::hypot(x + 0.5 - c, y + 0.5 - c) <= kWaitDiscRadius;
        const double t = qRed(img.pixel(x, y)) / 255.0;
        indices.push_back(onDisc ? static_cast<std::uint8_t>(1 + std::lround(t * 254)) : 0);
      }
    }
    anim.frames.push_back(std::move(indices));
  }
  return anim;
}

}  // namespace skingen
