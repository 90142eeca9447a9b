// The drawing kit shared by all skin pictures: the palette, the plate and
// recess primitives, and the colour-key step for shaped windows.
#pragma once

#include <QColor>
#include <QImage>
#include <QLinearGradient>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QRectF>

#include <functional>
#include <string>

class QPainter;

namespace skingen {

inline constexpr QRgb kMainKey = qRgb(128, 0, 0);  // see-through in the main window
inline constexpr QRgb kDialogKey =
    qRgb(192, 220, 192);  // see-through in dialogs and the busy window

inline constexpr QRgb kInk = qRgb(6, 8, 11);
inline constexpr QRgb kWell = qRgb(10, 12, 16);
inline constexpr QRgb kBase0 = qRgb(14, 17, 22);
inline constexpr QRgb kBase1 = qRgb(21, 25, 32);
inline constexpr QRgb kPanel0 = qRgb(26, 31, 39);
inline constexpr QRgb kPanel1 = qRgb(35, 41, 51);
inline constexpr QRgb kPanel2 = qRgb(47, 54, 66);
inline constexpr QRgb kEdge = qRgb(56, 64, 76);
inline constexpr QRgb kEdgeLight = qRgb(88, 98, 114);
inline constexpr QRgb kAccent = qRgb(0, 212, 255);
inline constexpr QRgb kAccentLight = qRgb(160, 242, 255);
inline constexpr QRgb kAccentMid = qRgb(8, 120, 150);
inline constexpr QRgb kAccentDeep = qRgb(5, 58, 74);
inline constexpr QRgb kAmber = qRgb(255, 176, 32);
inline constexpr QRgb kRecord = qRgb(255, 58, 74);
inline constexpr QRgb kWhite = qRgb(255, 255, 255);
inline constexpr QRgb kBlack = qRgb(0, 0, 0);

// A pixel inside a keyed shape must differ from the key by at least this much
// (sum of channel differences), so the window's mask never eats into it.
inline constexpr int kMinKeyDistance = 48;

// The three pictures of a state family: _1, _2, _3.
enum class State { Normal, Hover, Selected };

// Corner cuts of a chamfered rectangle.
struct Cuts {
  qreal tl = 0;
  qreal tr = 0;
  qreal br = 0;
  qreal bl = 0;
};

QColor colour(QRgb rgb, int alpha = 255);
QColor mix(QRgb a, QRgb b, double t);
int keyDistance(QRgb a, QRgb b);

QPainterPath chamfered(const QRectF& r, Cuts c);
QRectF crisp(const QRectF& r);
QLinearGradient vertical(const QRectF& r, const QColor& top, const QColor& bottom);
QLinearGradient horizontal(const QRectF& r, const QColor& left, const QColor& right);
QPen roundPen(const QColor& c, qreal width);
QPainterPath line(QPointF a, QPointF b);
QPainterPath hexagon(QPointF c, qreal r, qreal rotationDeg = 30);
QPolygonF inset(const QPolygonF& poly, qreal d);

void glowStroke(QPainter& p, const QPainterPath& path, QRgb c, qreal width, int alpha = 60);
void plate(QPainter& p, const QRectF& r, Cuts cuts, QRgb top, QRgb bottom, const QColor& rim,
           int sheen);
void well(QPainter& p, const QRectF& r, Cuts cuts = {});
void weave(QPainter& p, const QRectF& area, int alpha);
void rivet(QPainter& p, QPointF c, qreal r = 2.5);

QImage canvas(QSize size, const QColor& fill = Qt::transparent);
QImage paintImage(QSize size, const std::function<void(QPainter&)>& paint);

QImage applyColourKey(const QImage& art, const QPainterPath& shape, QRgb key);
bool verifyColourKey(const QImage& written, const QPainterPath& shape, QRgb key, std::string& why);

}  // namespace skingen
