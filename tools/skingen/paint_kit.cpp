#include "paint_kit.h"

#include <QPainter>
#include <QRadialGradient>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace skingen {

QColor colour(QRgb rgb, int alpha) {
  QColor c = QColor::fromRgb(rgb);
  c.setAlpha(alpha);
  return c;
}

QColor mix(QRgb a, QRgb b, double t) {
  const auto channel = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
  return QColor(channel(qRed(a), qRed(b)), channel(qGreen(a), qGreen(b)),
                channel(qBlue(a), qBlue(b)));
}

int keyDistance(QRgb a, QRgb b) {
  return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
         std::abs(qBlue(a) - qBlue(b));
}

QPainterPath chamfered(const QRectF& r, Cuts c) {
  QPainterPath path;
  path.moveTo(r.left() + c.tl, r.top());
  path.lineTo(r.right() - c.tr, r.top());
  path.lineTo(r.right(), r.top() + c.tr);
  path.lineTo(r.right(), r.bottom() - c.br);
  path.lineTo(r.right() - c.br, r.bottom());
  path.lineTo(r.left() + c.bl, r.bottom());
  path.lineTo(r.left(), r.bottom() - c.bl);
  path.lineTo(r.left(), r.top() + c.tl);
  path.closeSubpath();
  return path;
}

// Half-pixel inset so a 1-pixel outline lands on whole pixels.
QRectF crisp(const QRectF& r) {
  return r.adjusted(0.5, 0.5, -0.5, -0.5);
}

QLinearGradient vertical(const QRectF& r, const QColor& top, const QColor& bottom) {
  QLinearGradient g(r.topLeft(), r.bottomLeft());
  g.setColorAt(0, top);
  g.setColorAt(1, bottom);
  return g;
}

QLinearGradient horizontal(const QRectF& r, const QColor& left, const QColor& right) {
  QLinearGradient g(r.topLeft(), r.topRight());
  g.setColorAt(0, left);
  g.setColorAt(1, right);
  return g;
}

QPen roundPen(const QColor& c, qreal width) {
  QPen pen(c, width);
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  return pen;
}

// A lit line: a few wide, faint passes under a sharp core.
void glowStroke(QPainter& p, const QPainterPath& path, QRgb c, qreal width, int alpha) {
  for (int i = 4; i >= 1; --i) p.strokePath(path, roundPen(colour(c, alpha / i), width + 2.0 * i));
  p.strokePath(path, roundPen(colour(c), width));
}

QPainterPath line(QPointF a, QPointF b) {
  QPainterPath path;
  path.moveTo(a);
  path.lineTo(b);
  return path;
}

// A raised plate: gradient body, a sheen line under the top edge, a crisp rim.
void plate(QPainter& p, const QRectF& r, Cuts cuts, QRgb top, QRgb bottom, const QColor& rim,
           int sheen) {
  const QPainterPath body = chamfered(r, cuts);
  p.fillPath(body, vertical(r, colour(top), colour(bottom)));
  if (sheen > 0) {
    p.save();
    p.setClipPath(body);
    p.fillRect(QRectF(r.left(), r.top() + 1, r.width(), 1), colour(kWhite, sheen));
    p.restore();
  }
  p.strokePath(chamfered(crisp(r), cuts), QPen(rim, 1));
}

// A recess: near-black floor, shadow under the top edge, catch light on the bottom edge.
void well(QPainter& p, const QRectF& r, Cuts cuts) {
  const QPainterPath floor = chamfered(r, cuts);
  p.fillPath(floor, colour(kWell));
  p.save();
  p.setClipPath(floor);
  p.fillRect(QRectF(r.left(), r.top(), r.width(), std::min<qreal>(6, r.height() / 2)),
             vertical(QRectF(r.left(), r.top(), 1, std::min<qreal>(6, r.height() / 2)),
                      colour(kBlack, 150), colour(kBlack, 0)));
  p.restore();
  p.strokePath(chamfered(crisp(r), cuts), QPen(colour(kInk), 1));
  p.fillRect(QRectF(r.left() + cuts.bl + 1, r.bottom(), r.width() - cuts.bl - cuts.br - 2, 1),
             colour(kEdge, 150));
}

// Carbon-fibre weave: alternating half cells, barely lighter than the ground.
void weave(QPainter& p, const QRectF& area, int alpha) {
  constexpr int kCell = 6;
  for (int y = int(area.top()); y < area.bottom(); y += kCell)
    for (int x = int(area.left()); x < area.right(); x += kCell)
      p.fillRect(((x / kCell + y / kCell) % 2) ? QRectF(x, y, kCell, kCell / 2)
                                               : QRectF(x, y, kCell / 2, kCell),
                 colour(kWhite, alpha));
}

void rivet(QPainter& p, QPointF c, qreal r) {
  QRadialGradient g(c - QPointF(r * 0.4, r * 0.4), r * 1.6);
  g.setColorAt(0, colour(kEdgeLight));
  g.setColorAt(1, colour(kBase0));
  p.setPen(QPen(colour(kInk), 1));
  p.setBrush(g);
  p.drawEllipse(c, r, r);
  p.setBrush(Qt::NoBrush);
}

QPainterPath hexagon(QPointF c, qreal r, qreal rotationDeg) {
  QPainterPath path;
  for (int i = 0; i < 6; ++i) {
    const double a = (rotationDeg + 60.0 * i) * std::numbers::pi / 180.0;
    const QPointF pt = c + QPointF(r * std::cos(a), r * std::sin(a));
    if (i == 0)
      path.moveTo(pt);
    else
      path.lineTo(pt);
  }
  path.closeSubpath();
  return path;
}

// Offsets a clockwise (on screen) polygon inwards by d.
QPolygonF inset(const QPolygonF& poly, qreal d) {
  const auto n = poly.size();
  const auto inward = [](QPointF from, QPointF to) {
    const QPointF v = to - from;
    const qreal len = std::hypot(v.x(), v.y());
    return QPointF(-v.y() / len, v.x() / len);
  };
  QPolygonF out;
  for (qsizetype i = 0; i < n; ++i) {
    const QPointF a = poly[(i + n - 1) % n];
    const QPointF b = poly[i];
    const QPointF c = poly[(i + 1) % n];
    const QPointF p1 = a + inward(a, b) * d;
    const QPointF d1 = b - a;
    const QPointF p2 = b + inward(b, c) * d;
    const QPointF d2 = c - b;
    const qreal den = d1.x() * d2.y() - d1.y() * d2.x();
    if (std::abs(den) < 1e-9) {
      out << b + inward(a, b) * d;
      continue;
    }
    const qreal t = ((p2.x() - p1.x()) * d2.y() - (p2.y() - p1.y()) * d2.x()) / den;
    out << p1 + d1 * t;
  }
  return out;
}

// The key colour marks everything outside the shape; pixels inside that come
// too close to it are pushed away so the mask stays exactly the shape.
namespace {

QImage shapeMask(QSize size, const QPainterPath& shape) {
  QImage mask(size, QImage::Format_ARGB32_Premultiplied);
  mask.fill(Qt::transparent);
  QPainter p(&mask);
  p.fillPath(shape, Qt::black);  // no antialiasing: a pixel is in or out
  return mask;
}

}  // namespace

QImage applyColourKey(const QImage& art, const QPainterPath& shape, QRgb key) {
  const QImage mask = shapeMask(art.size(), shape);
  QImage out = art.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < out.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
    const auto* inside = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
    for (int x = 0; x < out.width(); ++x) {
      if (qAlpha(inside[x]) == 0)
        row[x] = key;
      else if (keyDistance(row[x], key) < kMinKeyDistance)
        row[x] = qRgb(std::min(255, qRed(row[x]) + kMinKeyDistance), qGreen(row[x]), qBlue(row[x]));
    }
  }
  return out;
}

// Checks a written image against its shape: outside exactly the key, inside
// clearly not the key, and the outline really is a shape, not a plain rectangle.
bool verifyColourKey(const QImage& written, const QPainterPath& shape, QRgb key, std::string& why) {
  const QImage img = written.convertToFormat(QImage::Format_ARGB32);
  const QImage mask = shapeMask(img.size(), shape);
  long outside = 0;
  for (int y = 0; y < img.height(); ++y) {
    for (int x = 0; x < img.width(); ++x) {
      const QRgb px = img.pixel(x, y);
      const bool in = qAlpha(mask.pixel(x, y)) != 0;
      if (qAlpha(px) != 255) {
        why = "pixel not opaque at " + std::to_string(x) + "," + std::to_string(y);
        return false;
      }
      if (!in && (px & 0xffffff) != (key & 0xffffff)) {
        why = "non-key pixel outside the shape at " + std::to_string(x) + "," + std::to_string(y);
        return false;
      }
      if (in && keyDistance(px, key) < kMinKeyDistance) {
        why = "near-key pixel inside the shape at " + std::to_string(x) + "," + std::to_string(y);
        return false;
      }
      outside += in ? 0 : 1;
    }
  }
  QRect box;
  for (int y = 0; y < mask.height(); ++y)
    for (int x = 0; x < mask.width(); ++x)
      if (qAlpha(mask.pixel(x, y)) != 0) box |= QRect(x, y, 1, 1);
  const std::array corners{box.topLeft(), box.topRight(), box.bottomLeft(), box.bottomRight()};
  const bool rectangular = std::all_of(corners.begin(), corners.end(),
                                       [&](QPoint c) { return qAlpha(mask.pixel(c)) != 0; });
  if (rectangular || outside == 0) {
    why = "the shape is a plain rectangle";
    return false;
  }
  return true;
}

QImage canvas(QSize size, const QColor& fill) {
  QImage img(size, QImage::Format_ARGB32_Premultiplied);
  img.fill(fill);
  return img;
}

QImage paintImage(QSize size, const std::function<void(QPainter&)>& paint) {
  QImage img = canvas(size);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  paint(p);
  p.end();
  return img;
}

}  // namespace skingen
