#pragma once

#include <QColor>
#include <QString>
#include <functional>
#include <vector>

#include "app/controls.h"

class QLabel;
class QSlider;
class QWidget;

namespace korvane::ui {

class ClickLabel;

// Ties the window model's controls to widgets: every widget made here is
// redrawn from its control by sync(), and every event it forwards runs a
// model handler and then redraws the whole window.
class ViewBinder {
 public:
  explicit ViewBinder(std::function<void()> refreshWindow);

  // A transparent text label; `onClick` may be empty.
  ClickLabel* label(QWidget* parent, const app::Label& control,
                    const std::function<void()>& onClick = {});
  // An image control drawing the file it last loaded.
  ClickLabel* image(QWidget* parent, const app::Image& control,
                    const std::function<void()>& onClick = {});
  // A container that follows its control's geometry, enabled and visible.
  ClickLabel* panel(QWidget* parent, const app::Control& control,
                    const std::function<void()>& onClick = {});
  // A slider whose moves go to the control's set().
  QSlider* slider(QWidget* parent, app::Slider& control, Qt::Orientation orientation);
  // Enter and leave of a widget run these model handlers.
  void hover(ClickLabel* widget, const std::function<void()>& onEnter,
             const std::function<void()>& onLeave);
  // Any other redraw step.
  void onSync(std::function<void()> step);

  // The model handler, then a redraw.
  std::function<void()> forward(std::function<void()> handler) const;
  void sync() const;

 private:
  std::function<void()> refreshWindow_;
  std::vector<std::function<void()>> syncs_;
};

// Caption look: white (or the given colour) text in the window's CJK-capable
// face, transparent background, centred.
void styleCaption(QLabel* label, const QString& colour, int pixelSize, bool bold,
                  Qt::Alignment alignment = Qt::AlignCenter);
// A caption's text colour through its palette, not a style sheet: the window
// holds hundreds of captions, and a sheet each costs megabytes of parsed
// rules at start. Changes nothing when the colour is already set.
void setTextColour(QWidget* widget, const QColor& colour);

}  // namespace korvane::ui
