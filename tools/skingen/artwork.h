// Every picture skingen draws, with the sizes the window's layout gives them
// (or, where the layout leaves a size open, the size chosen here).
#pragma once

#include "gif_encoder.h"
#include "paint_kit.h"

#include <QImage>
#include <QPainterPath>
#include <QSize>

class QPainter;

namespace skingen {

// Main window background and its outline (window_art.cpp).
inline constexpr QSize kBasemapSize(905, 619);
QImage makeBasemap();
QPainterPath windowShape();

// Line drawing of the mouse with a dot on each of its twelve buttons: the
// dots of the group shown in the button page's rows (1 = buttons 1 to 6,
// 2 = buttons 7 to 12) lit, the others dim; front is where the nose of the
// mouse goes (window_art.cpp).
void drawMouseSchematic(QPainter& p, QPointF front, qreal scale, int litGroup);

// The map of the mouse beside the button page's rows, one picture per group
// of buttons ("keymap_1", "keymap_2"), and the two switches between the
// groups (family "keygroup") (control_art.cpp).
inline constexpr QSize kKeyMapSize(100, 160);
QImage makeKeyMap(int litGroup);
inline constexpr QSize kKeyGroupButtonSize(75, 24);

// Dialog backgrounds: shaped by the dialogs' colour key (window_art.cpp).
inline constexpr QSize kDialogSize(295, 158);
inline constexpr QSize kDialogButtonSize(80, 25);
QImage makeOtherDialog();
QImage makeModeNameDialog();
QPainterPath dialogShape();

// Page backgrounds (control_art.cpp). They fill the whole 418 x 362 area they
// are centred in, so they land at the page's origin; their panels keep to the
// left 410 pixels, because the button page is only that wide.
inline constexpr QSize kPageSize(418, 362);
QImage makeButtonPage();
QImage makeSensitivityPage();
QImage makeLightingPage();
QImage makeSystemPage();
QImage makeMacroPage();

// A function menu or category panel: numbered rows, a slider channel at
// sliderLeft, and an arrow cell on the first arrowRows rows.
QImage makeMenu(QSize size, int rows, int sliderLeft, int arrowRows);

// State families (control_art.cpp). Each painter draws one state into an image
// of the family's size; single-picture families draw only State::Normal.
inline constexpr QSize kTabBarSize(52, 7);
inline constexpr QSize kModeBarSize(60, 7);
inline constexpr QSize kLedSize(16, 16);
inline constexpr QSize kReportButtonSize(84, 28);
inline constexpr QSize kLibraryButtonSize(60, 24);
inline constexpr QSize kRecordButtonSize(112, 28);
inline constexpr QSize kEditButtonSize(112, 24);
inline constexpr QSize kStepButtonSize(24, 24);

using StatePainter = void (*)(QPainter&, QSize, State);
void paintTitleBar(QPainter& p, QSize s, State st);
void paintModeBar(QPainter& p, QSize s, State st);
void paintLed(QPainter& p, QSize s, State st);
void paintCommandButton(QPainter& p, QSize s, State st);
void paintKeyGroupButton(QPainter& p, QSize s, State st);
void paintReportButton(QPainter& p, QSize s, State st);
void paintRecordButton(QPainter& p, QSize s, State st);
void paintIncreaseButton(QPainter& p, QSize s, State st);
void paintDecreaseButton(QPainter& p, QSize s, State st);
void paintDialogButton(QPainter& p, QSize s, State st);

// The busy window's animation (wait_animation.cpp).
inline constexpr int kWaitSize = 126;
inline constexpr int kWaitFrames = 12;
inline constexpr int kWaitDelayCentiseconds = 8;
IndexedAnimation makeWaitAnimation();

}  // namespace skingen
