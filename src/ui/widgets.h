#pragma once

#include <QLabel>
#include <QPixmap>
#include <QString>
#include <QWidget>

#include "app/controls.h"

namespace korvane::ui {

// A label or image of the skinned window: transparent, forwarding click,
// enter and leave to the window model.
class ClickLabel : public QLabel {
  Q_OBJECT
 public:
  explicit ClickLabel(QWidget* parent = nullptr);

  // Shows the picture in `file`. A widget that is not on screen decodes it
  // only when it is shown or drawn, so pictures of hidden pages and menus
  // cost nothing until then; a file that cannot be read keeps the previous
  // picture.
  void setPicture(const QString& file);
  // The picture, decoded now if it was still waiting.
  QPixmap picture();

 signals:
  void pressed();
  void clicked();
  void rightClicked(const QPoint& globalPosition);
  void entered();
  void left();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  // A picture is drawn as it is, also while disabled: the skin shows the
  // state, not a greyed copy.
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void decodePendingPicture();

  QString pendingPicture_;
};

// Brings a widget in line with its control's geometry, enabled and visible.
void syncControl(QWidget& widget, const app::Control& control);
// A label's caption as well.
void syncLabel(QLabel& widget, const app::Label& label);
// An image reloads its file whenever the control loaded it again, so a
// changed file on disk shows at the next state change.
void syncImage(ClickLabel& widget, const app::Image& image);

}  // namespace korvane::ui
