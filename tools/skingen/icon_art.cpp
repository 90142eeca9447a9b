// The application icon: one drawing, written as SVG and painted as PNGs at the
// hicolor sizes. Both come from the same table of shapes, so they agree.
#include "icon_art.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>

namespace skingen {
namespace {

constexpr qreal kUnits = 256;  // the drawing's own square

struct RoundedBox {
  qreal x, y, w, h, radius;
  QRgb fill;
};
struct Line {
  qreal x1, y1, x2, y2, width;
  QRgb colour;
};

// Dark plate with the window's teal rim, a light mouse seen from above, its
// button split and a teal wheel.
constexpr RoundedBox kPlate{16, 16, 224, 224, 44, 0xff2a1414};
constexpr QRgb kRim = 0xff008080;
constexpr qreal kRimWidth = 8;
constexpr RoundedBox kBody{74, 36, 108, 184, 54, 0xffdfe3e8};
constexpr Line kSplit[] = {{128, 36, 128, 112, 6, 0xff2a1414}, {74, 112, 182, 112, 6, 0xff2a1414}};
constexpr RoundedBox kWheel{118, 58, 20, 36, 10, 0xff00b3a4};

QString hex(QRgb c) {
  return QColor(c).name(QColor::HexRgb);
}

QString num(qreal v) {
  return QString::number(v, 'g', 6);
}

QString svgBox(const RoundedBox& b, const QString& extra = {}) {
  return QStringLiteral(
             "  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\" fill=\"%6\"%7/>\n")
      .arg(num(b.x), num(b.y), num(b.w), num(b.h), num(b.radius), hex(b.fill), extra);
}

void paintBox(QPainter& p, const RoundedBox& b) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(b.fill));
  p.drawRoundedRect(QRectF(b.x, b.y, b.w, b.h), b.radius, b.radius);
}

}  // namespace

QByteArray iconSvg() {
  QString svg = QStringLiteral(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
      "viewBox=\"0 0 256 256\">\n");
  svg += svgBox(
      kPlate, QStringLiteral(" stroke=\"%1\" stroke-width=\"%2\"").arg(hex(kRim), num(kRimWidth)));
  svg += svgBox(kBody);
  for (const Line& l : kSplit) {
    svg += QStringLiteral(
               "  <line x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%4\" stroke=\"%5\" "
               "stroke-width=\"%6\" stroke-linecap=\"round\"/>\n")
               .arg(num(l.x1), num(l.y1), num(l.x2), num(l.y2), hex(l.colour), num(l.width));
  }
  svg += svgBox(kWheel);
  svg += QStringLiteral("</svg>\n");
  return svg.toUtf8();
}

QImage iconImage(int size) {
  QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / kUnits, size / kUnits);
  paintBox(p, kPlate);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(kRim), kRimWidth));
  p.drawRoundedRect(QRectF(kPlate.x, kPlate.y, kPlate.w, kPlate.h), kPlate.radius, kPlate.radius);
  paintBox(p, kBody);
  for (const Line& l : kSplit) {
    p.setPen(QPen(QColor(l.colour), l.width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(l.x1, l.y1), QPointF(l.x2, l.y2));
  }
  paintBox(p, kWheel);
  p.end();
  return img.convertToFormat(QImage::Format_ARGB32);
}

}  // namespace skingen
