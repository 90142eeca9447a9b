// The main window's base image (outline, header deck, tabs, title plate,
// command buttons, page well and the mouse showcase) and the dialog backgrounds.
#include "artwork.h"

#include <QPainter>
#include <QRadialGradient>
#include <QTransform>

#include <array>
#include <cmath>
#include <functional>
#include <numbers>
#include <tuple>
#include <utility>

namespace skingen {
namespace {

// Top view of the mouse in its own units: front centre at (0, 0), 342 long.
QPainterPath mouseBody() {
  QPainterPath path;
  path.moveTo(0, 0);
  path.cubicTo(46, 0, 86, 26, 92, 96);
  path.cubicTo(96, 146, 80, 172, 84, 206);
  path.cubicTo(88, 238, 104, 258, 100, 290);
  path.cubicTo(95, 326, 52, 342, 0, 342);
  path.cubicTo(-52, 342, -95, 326, -100, 290);
  path.cubicTo(-104, 258, -88, 238, -84, 206);
  path.cubicTo(-80, 172, -96, 146, -92, 96);
  path.cubicTo(-86, 26, -46, 0, 0, 0);
  path.closeSubpath();
  return path;
}

QPainterPath buttonZone(int side)  // side -1 left, +1 right
{
  QPainterPath zone;
  zone.moveTo(side * 130, -10);
  zone.lineTo(side * 3, -10);
  zone.lineTo(side * 3, 172);
  zone.quadTo(side * 50, 166, side * 130, 136);
  zone.closeSubpath();
  return zone;
}

void drawMouse(QPainter& p, QPointF front, qreal scale) {
  p.save();
  p.translate(front);
  p.scale(scale, scale);

  const QPainterPath body = mouseBody();

  // Shadow and cyan underglow on the pad.
  for (const auto& [offset, radius, tint, alpha] :
       {std::tuple{QPointF(0, 178), 150.0, kAccent, 46},
        std::tuple{QPointF(8, 190), 128.0, kBlack, 200}}) {
    p.save();
    p.translate(offset);
    p.scale(1.0, 1.45);
    QRadialGradient g(QPointF(0, 0), radius);
    g.setColorAt(0, colour(tint, alpha));
    g.setColorAt(0.65, colour(tint, alpha / 2));
    g.setColorAt(1, colour(tint, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(QPointF(0, 0), radius, radius);
    p.restore();
  }

  // Side buttons stick out of the left flank, so they go under the body.
  for (qreal top : {150.0, 190.0}) {
    const QRectF r(-99, top, 13, 34);
    QPainterPath pill;
    pill.addRoundedRect(r, 6, 6);
    p.fillPath(pill, horizontal(r, colour(qRgb(70, 80, 94)), colour(qRgb(28, 33, 41))));
    p.strokePath(pill, QPen(colour(kInk), 1.4));
    p.strokePath(line(QPointF(-96, top + 6), QPointF(-96, top + 28)),
                 roundPen(colour(kAccent, 150), 1.2));
  }

  QLinearGradient shell(QPointF(-100, 0), QPointF(100, 0));
  shell.setColorAt(0, colour(qRgb(14, 17, 21)));
  shell.setColorAt(0.3, colour(qRgb(32, 38, 47)));
  shell.setColorAt(0.55, colour(qRgb(40, 47, 58)));
  shell.setColorAt(1, colour(qRgb(13, 15, 19)));
  p.fillPath(body, shell);

  // Palm: honeycomb grille inside a raised panel.
  QPainterPath palmPanel;
  palmPanel.addEllipse(QPointF(0, 262), 58, 64);
  palmPanel = palmPanel.intersected(body);
  p.fillPath(palmPanel, colour(qRgb(17, 20, 25)));
  p.save();
  p.setClipPath(palmPanel);
  for (int row = 0; row < 16; ++row) {
    for (int col = 0; col < 12; ++col) {
      const QPointF c(-66 + col * 12.0 + (row % 2) * 6.0, 194 + row * 10.4);
      p.fillPath(hexagon(c, 5.2), colour(qRgb(30, 36, 45)));
    }
  }
  p.restore();
  p.strokePath(palmPanel, QPen(colour(kInk), 2));
  glowStroke(p, hexagon(QPointF(0, 262), 11), kAccent, 1.2, 70);

  // Buttons with a top-left sheen.
  for (int side : {-1, 1}) {
    const QPainterPath button = body.intersected(buttonZone(side));
    const QRectF r(side < 0 ? -100 : 0, 0, 100, 180);
    p.fillPath(button, horizontal(r, colour(side < 0 ? qRgb(22, 26, 32) : qRgb(52, 60, 72)),
                                  colour(side < 0 ? qRgb(52, 60, 72) : qRgb(22, 26, 32))));
    QRadialGradient sheen(QPointF(side * 40, 52), 70);
    sheen.setColorAt(0, colour(kWhite, side < 0 ? 46 : 26));
    sheen.setColorAt(1, colour(kWhite, 0));
    p.fillPath(button, sheen);
    p.strokePath(button, QPen(colour(kInk), 2.2));
  }

  // Light strips along the flanks and across the tail.
  QPainterPath strip;
  strip.moveTo(80, 62);
  strip.cubicTo(86, 120, 76, 160, 78, 198);
  glowStroke(p, strip, kAccent, 1.6, 80);
  glowStroke(p, QTransform::fromScale(-1, 1).map(strip), kAccent, 1.6, 80);
  QPainterPath tail;
  tail.moveTo(-64, 304);
  tail.quadTo(0, 340, 64, 304);
  glowStroke(p, tail, kAccent, 1.8, 80);

  // Wheel in its lit well, DPI button behind it.
  QPainterPath wheelWell;
  wheelWell.addRoundedRect(QRectF(-13, 38, 26, 66), 7, 7);
  p.fillPath(wheelWell, colour(kInk));
  glowStroke(p, wheelWell, kAccent, 1.0, 60);
  const QRectF wheelRect(-8, 43, 16, 56);
  QPainterPath wheel;
  wheel.addRoundedRect(wheelRect, 7, 7);
  QLinearGradient wheelShade(wheelRect.topLeft(), wheelRect.topRight());
  wheelShade.setColorAt(0, colour(qRgb(26, 30, 36)));
  wheelShade.setColorAt(0.5, colour(qRgb(96, 106, 120)));
  wheelShade.setColorAt(1, colour(qRgb(26, 30, 36)));
  p.fillPath(wheel, wheelShade);
  p.save();
  p.setClipPath(wheel);
  for (qreal y = 46; y < 99; y += 4) p.fillRect(QRectF(-8, y, 16, 1.4), colour(kInk, 170));
  p.restore();

  QPainterPath dpi;
  dpi.addRoundedRect(QRectF(-6, 116, 12, 24), 4, 4);
  p.fillPath(dpi,
             vertical(QRectF(-6, 116, 12, 24), colour(qRgb(58, 66, 78)), colour(qRgb(30, 35, 43))));
  p.strokePath(dpi, QPen(colour(kInk), 1.4));
  for (qreal y : {123.0, 133.0}) {
    QPainterPath dot;
    dot.addEllipse(QPointF(0, y), 1.6, 1.6);
    glowStroke(p, dot, kAccent, 1.0, 90);
  }

  // Seam between the buttons, then the outline.
  p.strokePath(line(QPointF(0, 2), QPointF(0, 172)), roundPen(colour(kInk), 4));
  p.strokePath(body, QPen(colour(kInk), 3));
  p.strokePath(body, QPen(colour(kEdgeLight, 110), 1));
  p.restore();
}

// The window outline: a raised header deck on the right, chamfered corners and
// a wing on either side. Listed clockwise.
QPolygonF windowOutline() {
  return QPolygonF({{24, 120},  {58, 86},   {372, 86},  {404, 42},  {846, 42},
                    {872, 68},  {872, 296}, {886, 310}, {886, 470}, {872, 484},
                    {872, 566}, {836, 602}, {424, 602}, {408, 590}, {60, 590},
                    {24, 554},  {24, 434},  {12, 422},  {12, 252},  {24, 240}});
}

// Controls of the main window that the base image draws under (window coordinates).
constexpr std::array<QRect, 5> kTabs{QRect(420, 96, 69, 36), QRect(492, 96, 69, 36),
                                     QRect(562, 96, 78, 36), QRect(640, 96, 69, 36),
                                     QRect(710, 96, 69, 36)};
constexpr QPoint kTabBarOffset(6, 24);
constexpr std::array<QRect, 4> kCommandButtons{QRect(424, 540, 68, 38), QRect(496, 540, 60, 38),
                                               QRect(560, 540, 64, 38), QRect(630, 540, 126, 38)};
constexpr QRect kMinimizeButton(784, 53, 18, 18);
constexpr QRect kCloseButton(808, 53, 18, 18);
constexpr QRect kTitleText(66, 107, 259, 19);
constexpr QRect kPageWell(414, 145, 426, 384);
constexpr QRect kShowcase(36, 148, 358, 424);
// The mouse stands in the showcase nose up, centred on the reticle.
constexpr QPointF kMouseFront(215, 214);
constexpr qreal kMouseScale = 0.92;
constexpr QPointF kReticleCentre(215, 372);

void drawWindowButton(QPainter& p, const QRect& r, QRgb accent) {
  plate(p, r, Cuts{3, 0, 3, 0}, kPanel2, kBase1, colour(accent, 200), 40);
  p.fillRect(QRectF(r.left() + 4, r.bottom() - 1, r.width() - 8, 1), colour(accent, 120));
}

void drawCommandButton(QPainter& p, const QRect& r, QRgb accent) {
  plate(p, r, Cuts{7, 0, 7, 0}, kPanel2, kBase1, colour(kEdge), 36);
  p.save();
  p.setClipPath(chamfered(r, Cuts{7, 0, 7, 0}));
  glowStroke(
      p, line(QPointF(r.left() + 12, r.bottom() - 3.5), QPointF(r.right() - 12, r.bottom() - 3.5)),
      accent, 1.2, 60);
  p.restore();
  p.strokePath(line(QPointF(r.left() + 0.5, r.top() + 7.5), QPointF(r.left() + 7.5, r.top() + 0.5)),
               QPen(colour(accent, 160), 1));
}

void drawShowcase(QPainter& p) {
  const QRectF area = kShowcase;
  const Cuts cuts{0, 18, 18, 24};
  const QPainterPath panel = chamfered(area, cuts);
  const QPointF centre = kReticleCentre;

  QRadialGradient floor(centre, 300);
  floor.setColorAt(0, colour(qRgb(20, 34, 44)));
  floor.setColorAt(0.6, colour(qRgb(14, 19, 25)));
  floor.setColorAt(1, colour(kWell));
  p.fillPath(panel, floor);

  p.save();
  p.setClipPath(panel);
  for (int y = static_cast<int>(area.top()) + 8; y < area.bottom(); y += 16)
    for (int x = static_cast<int>(area.left()) + 8; x < area.right(); x += 16)
      p.fillRect(QRectF(x, y, 1, 1), colour(kAccent, 34));

  // A scanner reticle around the mouse.
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(colour(kEdge, 150), 1));
  p.drawEllipse(centre, 170, 170);
  QPen dashed(colour(kAccent, 46), 1);
  dashed.setDashPattern({4, 4});
  p.setPen(dashed);
  p.drawEllipse(centre, 152, 152);
  p.drawLine(QPointF(area.left() + 10, centre.y()), QPointF(area.right() - 10, centre.y()));
  p.drawLine(QPointF(centre.x(), area.top() + 10), QPointF(centre.x(), area.bottom() - 10));
  for (int deg = 0; deg < 360; deg += 6) {
    const double a = deg * std::numbers::pi / 180.0;
    const bool major = deg % 30 == 0;
    const QPointF dir(std::cos(a), std::sin(a));
    p.setPen(QPen(colour(major ? kAccent : kEdgeLight, major ? 150 : 90), major ? 1.4 : 1));
    p.drawLine(centre + dir * 172, centre + dir * (major ? 182 : 177));
  }
  for (const auto& [start, sweep] : {std::pair{20.0, 50.0}, std::pair{200.0, 50.0}}) {
    QPainterPath arc;
    arc.arcMoveTo(QRectF(centre - QPointF(160, 160), QSizeF(320, 320)), start);
    arc.arcTo(QRectF(centre - QPointF(160, 160), QSizeF(320, 320)), start, sweep);
    glowStroke(p, arc, kAccent, 2, 50);
  }

  // Braided cable leaving through the top of the panel.
  QPainterPath cable;
  cable.moveTo(kMouseFront + QPointF(0, 2));
  cable.cubicTo(kMouseFront + QPointF(0, -20), kMouseFront + QPointF(25, -24),
                kMouseFront + QPointF(23, -42));
  cable.cubicTo(kMouseFront + QPointF(21, -54), kMouseFront + QPointF(11, -58),
                kMouseFront + QPointF(13, -74));
  p.strokePath(cable, roundPen(colour(kInk), 6));
  p.strokePath(cable, roundPen(colour(qRgb(44, 51, 62)), 3.6));
  QPen braid(colour(kEdgeLight, 160), 1.2);
  braid.setDashPattern({1.5, 2.5});
  p.strokePath(cable, braid);

  drawMouse(p, kMouseFront, kMouseScale);
  p.restore();

  p.strokePath(chamfered(crisp(area), cuts), QPen(colour(kEdge), 1));
  glowStroke(
      p,
      line(QPointF(area.right() - 16, area.top() + 3), QPointF(area.right() - 3, area.top() + 16)),
      kAccent, 1.2, 60);
  glowStroke(p,
             line(QPointF(area.left() + 3, area.bottom() - 22),
                  QPointF(area.left() + 22, area.bottom() - 3)),
             kAccent, 1.2, 60);
}

QImage makeDialog(const std::function<void(QPainter&)>& content) {
  QImage img = canvas(kDialogSize, colour(kBase0));
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  const QPainterPath shape = dialogShape();
  const QRectF box = shape.boundingRect();
  p.fillPath(shape, vertical(box, colour(kPanel0), colour(kBase0)));
  p.save();
  p.setClipPath(shape);
  weave(p, QRectF(QPointF(0, 0), kDialogSize), 5);
  p.fillRect(QRectF(box.left(), box.top(), box.width(), 52),
             vertical(QRectF(0, 2, 1, 52), colour(kAccent, 26), colour(kAccent, 0)));
  p.restore();
  content(p);
  p.strokePath(shape, QPen(colour(kEdge), 7));
  p.strokePath(shape, QPen(colour(kInk), 3));
  glowStroke(p, line(QPointF(22, 7), QPointF(kDialogSize.width() - 22, 7)), kAccent, 1, 50);
  glowStroke(p, line(QPointF(8, kDialogSize.height() - 20), QPointF(20, kDialogSize.height() - 8)),
             kAccent, 1, 50);
  glowStroke(p,
             line(QPointF(kDialogSize.width() - 8, kDialogSize.height() - 20),
                  QPointF(kDialogSize.width() - 20, kDialogSize.height() - 8)),
             kAccent, 1, 50);
  p.end();
  return applyColourKey(img, shape, kDialogKey);
}

// Mode name dialog: title, one edit line, OK and Cancel (btn_base_1).
constexpr QRectF kModeNameEdit(48, 62, 199, 26);
constexpr std::array kModeNameButtons{QPoint(46, 111), QPoint(169, 111)};

}  // namespace

void drawMouseSchematic(QPainter& p, QPointF front, qreal scale, int litGroup) {
  p.save();
  p.translate(front);
  p.scale(scale, scale);
  const QPainterPath body = mouseBody();
  p.fillPath(body, colour(kBase0));
  const qreal w = 1.4 / scale;
  p.strokePath(body, QPen(colour(kEdgeLight), w));
  for (int side : {-1, 1}) {
    QPainterPath split;
    split.moveTo(side * 3, 172);
    split.quadTo(side * 50, 166, side * 96, 140);
    p.strokePath(split, QPen(colour(kEdge), w));
  }
  p.strokePath(line(QPointF(0, 4), QPointF(0, 172)), QPen(colour(kEdge), w));
  QPainterPath wheel;
  wheel.addRoundedRect(QRectF(-8, 43, 16, 56), 7, 7);
  p.strokePath(wheel, QPen(colour(kEdgeLight), w));
  for (qreal top : {150.0, 190.0}) {
    QPainterPath pill;
    pill.addRoundedRect(QRectF(-99, top, 13, 34), 6, 6);
    p.strokePath(pill, QPen(colour(kEdgeLight), w));
  }
  // The small keys of the second group: one at the front of each main button
  // and two behind the DPI key.
  for (QPointF key : {QPointF(-62, 112), QPointF(62, 112), QPointF(0, 152), QPointF(0, 176)}) {
    QPainterPath cap;
    cap.addRoundedRect(QRectF(key - QPointF(9, 7), QSizeF(18, 14)), 5, 5);
    p.strokePath(cap, QPen(colour(kEdgeLight), w));
  }
  // Buttons 1 to 12: left, right, middle, back, forward, DPI, double click,
  // IE key, start key, mode switch, tilt left, tilt right.
  const std::array spots{QPointF(-46, 70),  QPointF(46, 70), QPointF(0, 71),    QPointF(-93, 207),
                         QPointF(-93, 167), QPointF(0, 128), QPointF(-62, 112), QPointF(62, 112),
                         QPointF(0, 176),   QPointF(0, 152), QPointF(-15, 71),  QPointF(15, 71)};
  for (std::size_t i = 0; i < spots.size(); ++i) {
    QPainterPath dot;
    const bool lit = static_cast<int>(i / 6) + 1 == litGroup;
    dot.addEllipse(spots[i], lit ? 5 : 3.5, lit ? 5 : 3.5);
    if (lit) {
      glowStroke(p, dot, kAccent, w, 90);
      p.fillPath(dot, colour(kAccentLight));
    } else {
      p.fillPath(dot, colour(kEdge));
    }
  }
  p.restore();
}

QPainterPath windowShape() {
  QPainterPath shape;
  shape.addPolygon(windowOutline());
  shape.closeSubpath();
  return shape;
}

QImage makeBasemap() {
  QImage img = canvas(kBasemapSize, colour(kBase0));
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  const QPolygonF outline = windowOutline();
  const QPainterPath shape = windowShape();

  p.fillPath(shape, vertical(QRectF(0, 42, 1, 560), colour(kBase1), colour(kBase0)));

  p.save();
  p.setClipPath(shape);
  weave(p, QRectF(QPointF(0, 0), kBasemapSize), 6);
  p.restore();

  // Header deck: the raised plate that carries the tabs and the window buttons.
  const QPolygonF deck({{404, 42}, {846, 42}, {872, 68}, {872, 142}, {398, 142}, {372, 86}});
  QPainterPath deckPath;
  deckPath.addPolygon(deck);
  deckPath.closeSubpath();
  p.fillPath(deckPath, vertical(QRectF(0, 42, 1, 100), colour(kPanel1), colour(kBase1)));
  p.strokePath(line(QPointF(398, 142.5), QPointF(872, 142.5)), QPen(colour(kInk), 1));
  p.strokePath(line(QPointF(398, 143.5), QPointF(872, 143.5)), QPen(colour(kEdge, 140), 1));
  p.strokePath(line(QPointF(372, 86), QPointF(398, 142)), QPen(colour(kInk), 2));
  p.strokePath(line(QPointF(374, 86), QPointF(400, 142)), QPen(colour(kEdge, 150), 1));
  glowStroke(p, line(QPointF(430, 140.5), QPointF(840, 140.5)), kAccent, 0.8, 36);

  // Level meter and vents on the deck.
  for (int i = 0; i < 18; ++i) {
    const qreal x = 424 + i * 10;
    const QPolygonF cell({{x + 3, 57}, {x + 10, 57}, {x + 7, 67}, {x, 67}});
    QPainterPath path;
    path.addPolygon(cell);
    path.closeSubpath();
    const double t = 1.0 - i / 17.0;
    p.fillPath(path, mix(kPanel0, kAccent, 0.15 + 0.8 * t * t));
  }
  for (int i = 0; i < 10; ++i) {
    const qreal x = 664 + i * 10;
    const QPolygonF slot({{x + 5, 54}, {x + 9, 54}, {x + 4, 74}, {x, 74}});
    QPainterPath path;
    path.addPolygon(slot);
    path.closeSubpath();
    p.fillPath(path, colour(kInk));
    p.strokePath(line(QPointF(x + 0.5, 74.5), QPointF(x + 4.5, 74.5)), QPen(colour(kEdge), 1));
  }
  p.setPen(QPen(colour(kEdge, 160), 1));
  p.drawLine(QPointF(424, 80.5), QPointF(836, 80.5));
  for (int x = 424; x <= 836; x += 16) p.drawLine(QPointF(x + 0.5, 78), QPointF(x + 0.5, 83));

  // Window buttons in a shared recess.
  well(p, QRect(779, 48, 52, 28), Cuts{4, 4, 4, 4});
  drawWindowButton(p, kMinimizeButton, kAccent);
  drawWindowButton(p, kCloseButton, kRecord);

  // Page tabs: plates on a recessed rail, each with a sunk slot for its state bar.
  well(p, QRect(414, 92, 372, 44), Cuts{0, 6, 0, 6});
  for (std::size_t i = 0; i < kTabs.size(); ++i) {
    QRect r = kTabs[i];
    if (i + 1 < kTabs.size() && kTabs[i + 1].left() == r.right() + 1) r.setRight(r.right() - 1);
    plate(p, r, Cuts{0, 8, 0, 0}, kPanel2, kPanel0, colour(kEdge), 34);
    well(p, QRect(r.topLeft() + kTabBarOffset - QPoint(1, 1), kTabBarSize + QSize(2, 2)));
  }

  // Title plate: its label writes the product line into it.
  const QRectF title = QRectF(kTitleText).adjusted(-8, -6, 8, 6);
  const qreal mid = title.center().y();
  const QPolygonF titleShape({{title.left() + 10, title.top()},
                              {title.right() - 10, title.top()},
                              {title.right(), mid},
                              {title.right() - 10, title.bottom()},
                              {title.left() + 10, title.bottom()},
                              {title.left(), mid}});
  QPainterPath titlePath;
  titlePath.addPolygon(titleShape);
  titlePath.closeSubpath();
  p.fillPath(titlePath, vertical(title, colour(kInk), colour(kBase0)));
  p.strokePath(titlePath, QPen(colour(kEdge), 1));
  for (int side : {-1, 1}) {
    const qreal edge = side < 0 ? title.left() : title.right();
    QPainterPath chevron;
    chevron.moveTo(edge - side * 12, title.top() + 3);
    chevron.lineTo(edge - side * 5, mid);
    chevron.lineTo(edge - side * 12, title.bottom() - 3);
    glowStroke(p, chevron, kAccent, 1.4, 70);
    const qreal from = side < 0 ? 34 : title.right() + 4;
    const qreal to = side < 0 ? title.left() - 4 : 364;
    p.strokePath(line(QPointF(from, mid + 0.5), QPointF(to, mid + 0.5)),
                 QPen(colour(kAccent, 70), 1));
    rivet(p, QPointF(side < 0 ? from : to, mid + 0.5), 2);
  }

  drawShowcase(p);

  // The page well and the corner brackets that frame it.
  well(p, kPageWell, Cuts{10, 10, 10, 10});
  const QRectF pw = crisp(QRectF(kPageWell).adjusted(3, 3, -3, -3));
  const QPen bracket(colour(kAccent, 150), 1);
  for (const auto& [corner, dx, dy] : {std::tuple{pw.topLeft() + QPointF(0, 12), 1, -1},
                                       std::tuple{pw.topRight() + QPointF(0, 12), -1, -1},
                                       std::tuple{pw.bottomLeft() - QPointF(0, 12), 1, 1},
                                       std::tuple{pw.bottomRight() - QPointF(0, 12), -1, 1}}) {
    QPainterPath b;
    b.moveTo(corner + QPointF(0, dy * -14));
    b.lineTo(corner);
    b.lineTo(corner + QPointF(dx * 10, dy * 10));
    b.lineTo(corner + QPointF(dx * 24, dy * 10));
    p.strokePath(b, bracket);
  }

  // Command buttons: the labels above them only write their captions.
  well(p, QRect(416, 534, 424, 50), Cuts{0, 0, 12, 0});
  for (std::size_t i = 0; i < kCommandButtons.size(); ++i)
    drawCommandButton(p, kCommandButtons[i], i + 1 == kCommandButtons.size() ? kAmber : kAccent);
  for (int i = 0; i < 3; ++i) {
    QPainterPath led;
    led.addEllipse(QPointF(776 + i * 14, 559), 2.2, 2.2);
    glowStroke(p, led, i == 0 ? kAccent : kAccentMid, 1, i == 0 ? 90 : 30);
  }

  // Vents in the side wings.
  for (int y = 322; y <= 456; y += 10) {
    p.fillRect(QRectF(875, y, 8, 4), colour(kInk));
    p.fillRect(QRectF(875, y + 4, 8, 1), colour(kEdge, 160));
  }
  for (int y = 264; y <= 408; y += 10) {
    p.fillRect(QRectF(15, y, 6, 4), colour(kInk));
    p.fillRect(QRectF(15, y + 4, 6, 1), colour(kEdge, 160));
  }

  // Hazard slashes along the bottom left.
  p.save();
  p.setClipRect(QRectF(80, 577, 120, 8));
  for (int x = 76; x < 204; x += 8) {
    QPainterPath slash;
    slash.addPolygon(QPolygonF(
        {{qreal(x + 4), 577}, {qreal(x + 8), 577}, {qreal(x + 4), 585}, {qreal(x), 585}}));
    p.fillPath(slash, colour(kPanel2));
  }
  p.restore();

  // Rim: a dark edge, a lighter lip inside it, cyan on the chamfers.
  p.strokePath(shape, QPen(colour(kEdge), 9));
  p.strokePath(shape, QPen(colour(kInk), 4));
  QPainterPath lip;
  lip.addPolygon(inset(outline, 4.5));
  lip.closeSubpath();
  p.strokePath(lip, QPen(colour(kEdgeLight, 150), 1));
  const QPolygonF glowLine = inset(outline, 8);
  for (const auto& [from, to] : {std::pair{19, 0}, std::pair{0, 1}, std::pair{2, 3},
                                 std::pair{4, 5}, std::pair{10, 11}, std::pair{14, 15}}) {
    glowStroke(p, line(glowLine[from], glowLine[to]), kAccent, 1.2, 60);
  }
  for (QPointF c : {QPointF(860, 74), QPointF(860, 556), QPointF(52, 566), QPointF(412, 52)})
    rivet(p, c);

  p.end();
  return applyColourKey(img, shape, kMainKey);
}

QPainterPath dialogShape() {
  return chamfered(QRectF(2, 2, kDialogSize.width() - 4, kDialogSize.height() - 4),
                   Cuts{14, 14, 14, 14});
}

// Shared by the macro selection, left-key warning and macro name dialogs,
// whose controls sit in different places: so only a footer band, no wells.
QImage makeOtherDialog() {
  return makeDialog([](QPainter& p) {
    const QRectF footer(12, 90, kDialogSize.width() - 24, 56);
    p.fillPath(chamfered(footer, Cuts{6, 6, 6, 6}), colour(kInk, 120));
    p.fillRect(QRectF(footer.left() + 10, footer.top(), footer.width() - 20, 1),
               colour(kEdge, 160));
  });
}

QImage makeModeNameDialog() {
  return makeDialog([](QPainter& p) {
    well(p, kModeNameEdit, Cuts{0, 0, 6, 0});
    p.fillRect(
        QRectF(kModeNameEdit.left() + 1, kModeNameEdit.top() + 5, 2, kModeNameEdit.height() - 10),
        colour(kAccent, 200));
    for (QPoint at : kModeNameButtons)
      well(p, QRectF(at - QPoint(2, 2), kDialogButtonSize + QSize(4, 4)), Cuts{6, 0, 6, 0});
  });
}

}  // namespace skingen
