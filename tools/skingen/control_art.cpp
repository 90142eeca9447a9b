// The state families (tab and mode bars, lighting LEDs, report and macro
// buttons), the page backgrounds and the function menus.
#include "artwork.h"

#include <QConicalGradient>
#include <QPainter>
#include <QRadialGradient>

#include <array>
#include <cstddef>
#include <functional>

namespace skingen {
namespace {

enum class Tone { Accent, Record };

// Buttons keep a 2-pixel margin so the selected state can glow without the
// plate moving between states.
void paintButton(QPainter& p, QSize s, State st, Tone tone, qreal cut) {
  const QRectF r(2, 2, s.width() - 4, s.height() - 4);
  const Cuts cuts{cut, 0, cut, 0};
  const QPainterPath body = chamfered(r, cuts);
  const QRgb hot = tone == Tone::Record ? kRecord : kAccent;
  switch (st) {
    case State::Normal:
      plate(p, r, cuts, kPanel2, kPanel0, colour(kEdge), 34);
      p.fillRect(QRectF(r.left() + cut + 4, r.bottom() - 3, r.width() - 2 * cut - 8, 1),
                 colour(kAccent, 60));
      break;
    case State::Hover:
      plate(p, r, cuts, qRgb(58, 68, 82), qRgb(32, 38, 47), colour(kAccent, 220), 50);
      p.save();
      p.setClipPath(body);
      p.strokePath(chamfered(r.adjusted(1, 1, -1, -1), cuts), QPen(colour(kAccent, 50), 3));
      p.restore();
      p.fillRect(QRectF(r.left() + cut + 4, r.bottom() - 3, r.width() - 2 * cut - 8, 1),
                 colour(kAccent, 200));
      break;
    case State::Selected: {
      for (int i = 2; i >= 1; --i)
        p.strokePath(chamfered(r, cuts), roundPen(colour(hot, 70 / i), 2.0 * i));
      const QRgb top = tone == Tone::Record ? qRgb(110, 20, 30) : qRgb(6, 96, 120);
      const QRgb bottom = tone == Tone::Record ? qRgb(46, 8, 14) : qRgb(3, 40, 52);
      plate(p, r, cuts, top, bottom,
            colour(tone == Tone::Record ? qRgb(255, 150, 160) : kAccentLight), 70);
      p.save();
      p.setClipPath(body);
      p.strokePath(chamfered(r.adjusted(1, 1, -1, -1), cuts), QPen(colour(hot, 90), 3));
      p.restore();
      p.fillRect(QRectF(r.left() + cut + 4, r.bottom() - 3, r.width() - 2 * cut - 8, 1),
                 colour(kWhite, 200));
      break;
    }
  }
}

void paintStepButton(QPainter& p, QSize s, bool up) {
  paintButton(p, s, State::Normal, Tone::Accent, 4);
  const qreal cx = s.width() / 2.0;
  const qreal cy = s.height() / 2.0 - 1;
  const qreal dir = up ? -1 : 1;
  QPainterPath chevron;
  chevron.moveTo(cx - 5, cy - dir * 2.5);
  chevron.lineTo(cx, cy + dir * 2.5);
  chevron.lineTo(cx + 5, cy - dir * 2.5);
  p.strokePath(chevron, roundPen(colour(kAccent), 2));
}

constexpr int kHeadingHeight = 22;

// A group panel; with a heading strip for the group's caption label.
void section(QPainter& p, const QRectF& r, bool heading) {
  const Cuts cuts{0, 10, 0, 0};
  const QPainterPath body = chamfered(r, cuts);
  p.fillPath(body, vertical(r, colour(kPanel0), colour(kBase1)));
  if (heading) {
    const QRectF strip(r.left(), r.top(), r.width(), kHeadingHeight);
    p.save();
    p.setClipPath(body);
    p.fillRect(strip, vertical(strip, colour(kPanel1), colour(kPanel0)));
    p.restore();
    QPainterPath marker;
    marker.addPolygon(QPolygonF({{r.left() + 9, r.top() + 6},
                                 {r.left() + 13, r.top() + 6},
                                 {r.left() + 11, r.top() + 16},
                                 {r.left() + 7, r.top() + 16}}));
    marker.closeSubpath();
    p.fillPath(marker, colour(kAccent));
    QLinearGradient fade(QPointF(r.left(), 0), QPointF(r.right(), 0));
    fade.setColorAt(0, colour(kAccent, 170));
    fade.setColorAt(0.55, colour(kAccent, 40));
    fade.setColorAt(1, colour(kAccent, 0));
    p.fillRect(QRectF(r.left() + 1, r.top() + kHeadingHeight, r.width() - 2, 1), fade);
  } else {
    p.fillRect(QRectF(r.left() + 1, r.top() + 1, 40, 2), colour(kAccent, 170));
  }
  p.save();
  p.setClipPath(body);
  p.fillRect(QRectF(r.left(), r.top() + 1, r.width(), 1), colour(kWhite, 14));
  p.restore();
  p.strokePath(chamfered(crisp(r), cuts), QPen(colour(kEdge), 1));
}

QImage pageCanvas(const std::function<void(QPainter&)>& content) {
  QImage img = canvas(kPageSize, colour(kWell));
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF r(QPointF(0, 0), kPageSize);
  p.fillRect(r, vertical(r, colour(qRgb(16, 20, 26)), colour(kWell)));
  weave(p, r, 5);
  content(p);
  p.end();
  return img;
}

// Page coordinates of what the page backgrounds frame; the layout places its
// controls on them. Button page: the six shown button rows, the mode slots.
constexpr std::array kKeyRowTops{49, 77, 105, 134, 162, 191};
constexpr QRect kKeyLabel(122, 0, 154, 22);
constexpr int kKeyNumberCentre = 67;  // the row numbers' labels: 22 wide at left 56
constexpr QRect kModeSection(8, 232, 394, 122);
constexpr QSize kModeSlot(72, 64);
constexpr int kModeSlotTop = 261;
constexpr int kModeSlotLeft = 15;
constexpr int kModeSlotPitch = 77;
constexpr QPoint kModeBarOffset(6, 44);

// Sensitivity page: XY sensitivity, report rate, DPI steps.
constexpr std::array<QRectF, 3> kSensitivitySections{QRectF(8, 8, 394, 96), QRectF(8, 110, 394, 80),
                                                     QRectF(8, 196, 394, 158)};
constexpr int kReportButtonTop = 144;
constexpr int kReportButtonLeft = 20;
constexpr int kReportButtonPitch = 96;

// Lighting page: on/off, effect, speed (one row each), colours (two rows of four).
constexpr std::array<QRectF, 4> kLightingSections{QRectF(8, 8, 394, 62), QRectF(8, 76, 394, 62),
                                                  QRectF(8, 144, 394, 62),
                                                  QRectF(8, 212, 394, 142)};
constexpr int kChoiceLeft = 24;
constexpr int kChoicePitch = 96;
constexpr int kChoiceOffsetTop = 32;  // below the section's top
constexpr std::array kColourRowTops{254, 304};
constexpr int kSwatchOffset = 22;  // from the choice's left; the caption follows the swatch
constexpr std::array<QRgb, 7> kSwatches{qRgb(255, 59, 59),  qRgb(255, 210, 59), qRgb(59, 230, 106),
                                        qRgb(0, 229, 255),  qRgb(59, 107, 255), qRgb(176, 75, 255),
                                        qRgb(240, 244, 255)};

// A sunk ring around a lighting choice's indicator (led_base) at topLeft.
void socket(QPainter& p, QPointF topLeft) {
  QPainterPath ring;
  ring.addEllipse(QRectF(topLeft - QPointF(2, 2), QSizeF(20, 20)));
  p.fillPath(ring, colour(kInk));
  p.strokePath(ring, QPen(colour(kEdge, 150), 1));
}

// System page: double-click speed, pointer speed, horizontal and vertical wheel.
constexpr std::array<QRectF, 4> kSystemSections{QRectF(8, 6, 394, 76), QRectF(8, 86, 394, 92),
                                                QRectF(8, 182, 394, 76), QRectF(8, 262, 394, 92)};
constexpr QSize kToggleBox(14, 14);

// Macro page: library pane on the left, editor pane on the right.
constexpr QRectF kLibraryPane(8, 8, 146, 346);
constexpr QRectF kLibraryList(16, 18, 130, 246);
constexpr QRectF kEditorPane(160, 8, 242, 346);
constexpr QRectF kScriptList(168, 18, 226, 176);
constexpr QRectF kRepeatStrip(168, 292, 226, 56);

// Row tops shared by the function menu and its category panels.
constexpr std::array kMenuRowTops{4, 28, 53, 77, 101, 125, 150, 174, 198, 222};
constexpr int kMenuRowHeight = 23;
constexpr int kMenuNumberRight = 20;
constexpr int kMenuArrowLeft = 156;

}  // namespace

void paintTitleBar(QPainter& p, QSize s, State st) {
  p.setRenderHint(QPainter::Antialiasing, false);
  const QRect r(QPoint(0, 0), s);
  switch (st) {
    case State::Normal:
      p.fillRect(r, colour(kWell));
      p.fillRect(QRect(2, 3, s.width() - 4, 1), colour(kPanel1));
      break;
    case State::Hover:
      p.fillRect(r, vertical(r, colour(kAccentDeep), colour(qRgb(3, 34, 44))));
      p.fillRect(QRect(2, 3, s.width() - 4, 1), colour(kAccent, 200));
      break;
    case State::Selected: {
      QLinearGradient g(0, 0, 0, s.height());
      g.setColorAt(0, colour(kAccentLight));
      g.setColorAt(0.45, colour(kAccent));
      g.setColorAt(1, colour(qRgb(0, 104, 140)));
      p.fillRect(r, g);
      p.fillRect(QRect(1, 1, s.width() - 2, 1), colour(kWhite, 190));
      break;
    }
  }
  p.setPen(st == State::Normal  ? colour(kEdge)
           : st == State::Hover ? colour(kAccent, 170)
                                : colour(kAccentLight));
  p.drawRect(r.adjusted(0, 0, -1, -1));
}

// Mode bars read as a row of slanted cells, so they do not look like tab bars.
void paintModeBar(QPainter& p, QSize s, State st) {
  p.fillRect(QRect(QPoint(0, 0), s), colour(kWell));
  constexpr int kCells = 8;
  const qreal pitch = (s.width() - 2) / static_cast<qreal>(kCells);
  for (int i = 0; i < kCells; ++i) {
    const qreal x = 1 + i * pitch;
    QPainterPath cell;
    cell.addPolygon(QPolygonF({{x + 2, 1}, {x + pitch - 0.5, 1}, {x + pitch - 2.5, 6}, {x, 6}}));
    cell.closeSubpath();
    switch (st) {
      case State::Normal:
        p.fillPath(cell, colour(kPanel1));
        break;
      case State::Hover:
        p.fillPath(cell, mix(kAccentDeep, kAccent, 0.25 + 0.05 * i));
        break;
      case State::Selected:
        p.fillPath(cell, vertical(QRectF(0, 1, 1, 5), colour(kAccentLight), colour(kAccent)));
        break;
    }
  }
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(st == State::Selected ? colour(kAccent) : colour(kEdge));
  p.drawRect(QRect(0, 0, s.width() - 1, s.height() - 1));
}

void paintLed(QPainter& p, QSize s, State st) {
  const QPointF c(s.width() / 2.0, s.height() / 2.0);
  const qreal r = s.width() / 2.0 - 1;
  if (st == State::Selected) {
    QRadialGradient halo(c, r + 1);
    halo.setColorAt(0.55, colour(kAccent, 160));
    halo.setColorAt(1, colour(kAccent, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(halo);
    p.drawEllipse(c, r + 1, r + 1);
  }
  // Bezel ring.
  QLinearGradient ring(QPointF(0, 0), QPointF(0, s.height()));
  ring.setColorAt(0, colour(st == State::Normal ? kEdgeLight : kAccentLight));
  ring.setColorAt(1, colour(st == State::Normal ? kInk : kAccentMid));
  p.setPen(Qt::NoPen);
  p.setBrush(ring);
  p.drawEllipse(c, r - 0.5, r - 0.5);
  // Lens.
  const qreal lens = r - 2.5;
  QRadialGradient g(c - QPointF(lens * 0.3, lens * 0.3), lens * 1.4);
  switch (st) {
    case State::Normal:
      g.setColorAt(0, colour(qRgb(40, 46, 56)));
      g.setColorAt(1, colour(kInk));
      break;
    case State::Hover:
      g.setColorAt(0, colour(qRgb(20, 92, 112)));
      g.setColorAt(1, colour(kWell));
      break;
    case State::Selected:
      g.setColorAt(0, colour(kWhite));
      g.setColorAt(0.35, colour(kAccentLight));
      g.setColorAt(1, colour(kAccent));
      break;
  }
  p.setBrush(g);
  p.drawEllipse(c, lens, lens);
  p.setBrush(Qt::NoBrush);
}

void paintCommandButton(QPainter& p, QSize s, State st) {
  paintButton(p, s, st, Tone::Accent, 5);
}

void paintKeyGroupButton(QPainter& p, QSize s, State st) {
  paintButton(p, s, st, Tone::Accent, 6);
}

QImage makeKeyMap(int litGroup) {
  return paintImage(kKeyMapSize, [litGroup](QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    drawMouseSchematic(p, QPointF(48, 20), 0.42, litGroup);
  });
}

void paintReportButton(QPainter& p, QSize s, State st) {
  paintButton(p, s, st, Tone::Accent, 6);
}

// Record button: the red dot tells it apart; the pressed picture is shown
// while recording, so it glows red.
void paintRecordButton(QPainter& p, QSize s, State st) {
  paintButton(p, s, st, st == State::Selected ? Tone::Record : Tone::Accent, 6);
  const QPointF c(14, s.height() / 2.0);
  QPainterPath dot;
  dot.addEllipse(c, 4, 4);
  switch (st) {
    case State::Normal:
      p.fillPath(dot, colour(qRgb(140, 30, 42)));
      break;
    case State::Hover:
      p.fillPath(dot, colour(kRecord));
      break;
    case State::Selected:
      glowStroke(p, dot, kRecord, 1, 120);
      p.fillPath(dot, colour(qRgb(255, 190, 196)));
      break;
  }
  p.strokePath(dot, QPen(colour(kInk, 160), 0.8));
}

void paintIncreaseButton(QPainter& p, QSize s, State) {
  paintStepButton(p, s, true);
}

void paintDecreaseButton(QPainter& p, QSize s, State) {
  paintStepButton(p, s, false);
}

void paintDialogButton(QPainter& p, QSize s, State) {
  const QRectF r(QPointF(0, 0), s);
  const Cuts cuts{5, 0, 5, 0};
  plate(p, r, cuts, kPanel2, kPanel0, colour(kEdgeLight), 40);
  p.fillRect(QRectF(r.left() + 9, r.bottom() - 3, r.width() - 18, 1), colour(kAccent, 180));
}

// Button page: six button rows (their labels sit in the slots) beside a
// schematic of the mouse, and five slots for the mode panels below.
QImage makeButtonPage() {
  return pageCanvas([](QPainter& p) {
    section(p, QRectF(8, 8, 394, 218), false);
    for (int top : kKeyRowTops) {
      const qreal mid = top + kKeyLabel.height() / 2.0;
      const QPainterPath badge = hexagon(QPointF(kKeyNumberCentre, mid), 11.5, 0);
      p.fillPath(badge, vertical(QRectF(0, mid - 11, 1, 22), colour(kPanel2), colour(kPanel0)));
      p.strokePath(badge, QPen(colour(kEdge), 1));
      p.strokePath(
          line(QPointF(kKeyNumberCentre + 12, mid + 0.5), QPointF(kKeyLabel.left() - 6, mid + 0.5)),
          QPen(colour(kEdge), 1));
      const QRect slot(kKeyLabel.left() - 5, top - 1, kKeyLabel.width() + 10,
                       kKeyLabel.height() + 2);
      well(p, slot, Cuts{0, 0, 5, 0});
      p.fillRect(QRectF(slot.left() + 1, slot.top() + 4, 2, slot.height() - 8),
                 colour(kAccent, 200));
    }

    section(p, kModeSection, false);
    for (int i = 0; i < 5; ++i) {
      const QRect slot(QPoint(kModeSlotLeft + i * kModeSlotPitch, kModeSlotTop), kModeSlot);
      plate(p, slot, Cuts{0, 8, 0, 0}, kPanel1, kBase1, colour(kEdge), 24);
      well(p, QRect(slot.topLeft() + kModeBarOffset - QPoint(1, 1), kModeBarSize + QSize(2, 2)));
      for (int pip = 0; pip <= i; ++pip)
        p.fillRect(QRectF(slot.left() + 5 + pip * 5, slot.top() + 4, 3, 2), colour(kAccent, 170));
    }
  });
}

// Sensitivity page: XY sensitivity, report rate (four button slots), DPI steps.
QImage makeSensitivityPage() {
  return pageCanvas([](QPainter& p) {
    for (const QRectF& r : kSensitivitySections) section(p, r, true);
    for (int i = 0; i < 4; ++i)
      well(p,
           QRect(kReportButtonLeft - 2 + i * kReportButtonPitch, kReportButtonTop - 2,
                 kReportButtonSize.width() + 4, kReportButtonSize.height() + 4),
           Cuts{6, 0, 6, 0});
    const QRectF dpi = kSensitivitySections[2];
    for (int i = 1; i < 4; ++i) {
      const qreal y = dpi.top() + kHeadingHeight + i * 33.5;
      p.fillRect(QRectF(dpi.left() + 10, y, dpi.width() - 20, 1), colour(kInk));
      p.fillRect(QRectF(dpi.left() + 10, y + 1, dpi.width() - 20, 1), colour(kEdge, 90));
    }
  });
}

// Lighting page: on/off, effect, speed, and the colour choices with a swatch each.
QImage makeLightingPage() {
  return pageCanvas([](QPainter& p) {
    for (const QRectF& r : kLightingSections) section(p, r, true);
    const std::array choicesPerRow{2, 3, 3};
    for (std::size_t s = 0; s < choicesPerRow.size(); ++s)
      for (int i = 0; i < choicesPerRow[s]; ++i)
        socket(p, QPointF(kChoiceLeft + i * kChoicePitch,
                          kLightingSections[s].top() + kChoiceOffsetTop));
    for (int i = 0; i < 8; ++i) {
      const QPointF at(kChoiceLeft + (i % 4) * kChoicePitch,
                       kColourRowTops[static_cast<std::size_t>(i / 4)]);
      socket(p, at);
      const QRectF swatch(at.x() + kSwatchOffset, at.y() - 1, 10, 18);
      QPainterPath chip;
      chip.addRoundedRect(swatch, 3, 3);
      if (i < 7) {
        p.fillPath(chip,
                   vertical(swatch, colour(kSwatches[static_cast<std::size_t>(i)]).lighter(120),
                            colour(kSwatches[static_cast<std::size_t>(i)]).darker(140)));
      } else {
        QConicalGradient cycle(swatch.center(), 90);
        for (std::size_t k = 0; k <= 6; ++k) cycle.setColorAt(k / 6.0, colour(kSwatches[k % 6]));
        p.fillPath(chip, cycle);
      }
      p.strokePath(chip, QPen(colour(kInk), 1));
    }
  });
}

// System page: double-click speed, pointer speed (with its toggle), both wheel speeds (one with its
// toggle).
QImage makeSystemPage() {
  return pageCanvas([](QPainter& p) {
    for (const QRectF& r : kSystemSections) section(p, r, true);
    for (std::size_t i : {std::size_t{1}, std::size_t{3}}) {
      const QRectF& r = kSystemSections[i];
      const QRectF box(r.left() + 14, r.bottom() - 22, kToggleBox.width(), kToggleBox.height());
      well(p, box, Cuts{0, 0, 3, 0});
      p.fillRect(QRectF(r.left() + 8, r.bottom() - 30, r.width() - 16, 1), colour(kInk));
      p.fillRect(QRectF(r.left() + 8, r.bottom() - 29, r.width() - 16, 1), colour(kEdge, 80));
    }
  });
}

// Macro page: the library (list and its five commands) on the left, the
// editor (script list, record and edit commands, repeat options) on the right.
QImage makeMacroPage() {
  return pageCanvas([](QPainter& p) {
    section(p, kLibraryPane, false);
    section(p, kEditorPane, false);
    well(p, kLibraryList, Cuts{0, 0, 6, 0});
    well(p, kScriptList, Cuts{0, 0, 6, 0});
    p.fillPath(chamfered(kRepeatStrip, Cuts{0, 0, 6, 0}), colour(kBase0));
    p.strokePath(chamfered(crisp(kRepeatStrip), Cuts{0, 0, 6, 0}), QPen(colour(kEdge, 140), 1));
    p.fillRect(
        QRectF(kRepeatStrip.left() + 1, kRepeatStrip.top() + 1, 2, kRepeatStrip.height() - 2),
        colour(kAccent, 150));
  });
}

// A menu with its rows numbered at the left and a slider channel at the right.
QImage makeMenu(QSize size, int rows, int sliderLeft, int arrowRows) {
  QImage img = canvas(size, colour(kBase0));
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF r(QPointF(0, 0), size);
  p.fillRect(r, vertical(r, colour(kBase1), colour(kBase0)));

  const qreal rowRight = sliderLeft - 5;
  for (int i = 0; i < rows; ++i) {
    const QRectF row(3, kMenuRowTops[static_cast<std::size_t>(i)], rowRight - 3, kMenuRowHeight);
    p.fillRect(row,
               vertical(row, colour(i % 2 ? kPanel0 : kPanel1), colour(i % 2 ? kBase1 : kPanel0)));
    p.fillRect(QRectF(row.left(), row.top(), kMenuNumberRight - row.left(), row.height()),
               colour(kWell, 200));
    p.fillRect(QRectF(kMenuNumberRight, row.top() + 4, 1, row.height() - 8), colour(kAccent, 120));
    if (i < arrowRows) {
      const QRectF arrow(kMenuArrowLeft, row.top(), row.right() - kMenuArrowLeft, row.height());
      p.fillRect(arrow, colour(kWhite, 10));
      p.fillRect(QRectF(kMenuArrowLeft - 1, row.top() + 3, 1, row.height() - 6), colour(kInk));
    }
    if (i > 0) {
      p.fillRect(QRectF(row.left(), row.top() - 1, row.width(), 1), colour(kInk));
      p.fillRect(QRectF(row.left(), row.top(), row.width(), 1), colour(kWhite, 16));
    }
  }
  well(p, QRectF(sliderLeft - 3, 4, size.width() - sliderLeft, size.height() - 8),
       Cuts{0, 0, 0, 0});

  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(colour(kEdge));
  p.drawRect(QRect(0, 0, size.width() - 1, size.height() - 1));
  p.fillRect(QRect(1, 1, size.width() - 2, 1), colour(kAccent, 200));
  p.fillRect(QRect(1, 2, size.width() - 2, 1), colour(kAccent, 60));
  p.end();
  return img;
}

}  // namespace skingen
