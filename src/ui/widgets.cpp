#include "ui/widgets.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QStyle>
#include <optional>

#include "ui/picture_cache.h"

namespace korvane::ui {

namespace {
constexpr const char* kLoadsProperty = "korvaneLoads";
constexpr const char* kHighlightProperty = "korvaneHighlighted";

// A highlighted label shows its teal background behind its text. The
// highlighted labels are captions, coloured through their palette (no style
// sheet of their own), so the palette's background is what fills.
void syncHighlight(QLabel& widget, bool highlighted) {
  if (widget.property(kHighlightProperty).toBool() == highlighted) {
    return;
  }
  widget.setProperty(kHighlightProperty, highlighted);
  if (highlighted) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, QColor(0, 128, 128));
    widget.setPalette(palette);
  }
  widget.setAutoFillBackground(highlighted);
}
}  // namespace

ClickLabel::ClickLabel(QWidget* parent) : QLabel(parent) {}

// The control under the pointer takes the press and the click whole: passed
// on, they would run the handlers of the panel it lies on as well (a tab's
// caption and its tab, a mode name and its mode panel).
void ClickLabel::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    emit rightClicked(event->globalPosition().toPoint());
  }
  emit pressed();
  QLabel::mousePressEvent(event);
  event->accept();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    emit clicked();
  }
  QLabel::mouseReleaseEvent(event);
  event->accept();
}

void ClickLabel::setPicture(const QString& file) {
  pendingPicture_ = file;
  if (isVisible()) {
    decodePendingPicture();
  }
}

QPixmap ClickLabel::picture() {
  decodePendingPicture();
  return pixmap();
}

void ClickLabel::decodePendingPicture() {
  if (pendingPicture_.isEmpty()) {
    return;
  }
  if (const std::optional<QPixmap> decoded = decodedPicture(pendingPicture_)) {
    setPixmap(*decoded);
  }
  pendingPicture_.clear();
}

void ClickLabel::showEvent(QShowEvent* event) {
  decodePendingPicture();
  QLabel::showEvent(event);
}

void ClickLabel::paintEvent(QPaintEvent* event) {
  // Drawn without having been shown (a grab of a hidden page).
  decodePendingPicture();
  const QPixmap picture = pixmap();
  if (picture.isNull() || isEnabled()) {
    QLabel::paintEvent(event);
    return;
  }
  QPainter painter(this);
  painter.drawPixmap(
      QStyle::alignedRect(layoutDirection(), alignment(), picture.size(), contentsRect()), picture);
}

void ClickLabel::enterEvent(QEnterEvent* event) {
  emit entered();
  QLabel::enterEvent(event);
}

void ClickLabel::leaveEvent(QEvent* event) {
  emit left();
  QLabel::leaveEvent(event);
}

void syncControl(QWidget& widget, const app::Control& control) {
  const QRect target(control.geometry.x, control.geometry.y, control.geometry.width,
                     control.geometry.height);
  if (widget.geometry() != target) {
    widget.setGeometry(target);
  }
  if (widget.isEnabled() != control.enabled) {
    widget.setEnabled(control.enabled);
  }
  if (widget.isVisibleTo(widget.parentWidget()) != control.visible) {
    widget.setVisible(control.visible);
  }
}

void syncLabel(QLabel& widget, const app::Label& label) {
  syncControl(widget, label);
  const QString caption = QString::fromStdString(label.caption);
  if (widget.text() != caption) {
    widget.setText(caption);
  }
  syncHighlight(widget, label.highlighted);
}

void syncImage(ClickLabel& widget, const app::Image& image) {
  syncControl(widget, image);
  const auto loads = static_cast<qulonglong>(image.loads);
  if (widget.property(kLoadsProperty).toULongLong() == loads) {
    return;
  }
  widget.setProperty(kLoadsProperty, loads);
  if (!image.blank()) {
    widget.setPicture(QString::fromStdString(image.picture.string()));
  }
}

}  // namespace korvane::ui
