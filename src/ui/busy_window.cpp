#include "ui/busy_window.h"

#include <QBitmap>
#include <QGuiApplication>
#include <QLabel>
#include <QMovie>
#include <QProgressBar>
#include <QScreen>

#include "ui/window_shape.h"

namespace korvane::ui {

namespace {
const QColor kKeyColour(192, 220, 192);
constexpr int kAnimationSize = 126;
constexpr QPoint kAnimationPos(-4, 0);
}  // namespace

BusyWindow::BusyWindow(const QString& animationFile, QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool),
      animationFile_(animationFile),
      animation_(new QLabel(this)),
      progress_(new QProgressBar(this)),
      progressText_(new QLabel(this)) {
  setFixedSize(kWidth, kHeight);
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, kKeyColour);
  setPalette(palette);

  animation_->setGeometry(QRect(kAnimationPos, QSize(kAnimationSize, kAnimationSize)));

  // A thin bar with the count of writes under the animation.
  progress_->setGeometry(14, 134, 102, 6);
  progress_->setTextVisible(false);
  progress_->setStyleSheet(
      "QProgressBar { background: #1b1f24; border: 1px solid #3a424c; border-radius: 3px; }"
      "QProgressBar::chunk { background: #24c8e8; border-radius: 2px; }");
  progressText_->setGeometry(30, 142, 70, 18);
  progressText_->setAlignment(Qt::AlignCenter);
  progressText_->setStyleSheet(
      "color: #d8f4fa; background: #14181d; border: 1px solid #3a424c; border-radius: 4px;"
      " font-weight: bold;");
  progress_->hide();
  progressText_->hide();

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(centredOn(screen->geometry().size(), size()));
  }
  updateShape();
}

void BusyWindow::showBusy() {
  if (movie_ == nullptr) {
    movie_ = new QMovie(animationFile_, QByteArray(), this);
    animation_->setMovie(movie_);
  }
  if (movie_->isValid() && movie_->state() != QMovie::Running) {
    movie_->start();
    updateShape();
  }
  show();
  raise();
}

void BusyWindow::hideBusy() {
  hide();
  if (movie_ != nullptr) {
    movie_->stop();
  }
  progress_->hide();
  progressText_->hide();
  updateShape();
}

void BusyWindow::setProgress(int done, int total) {
  const bool shown = total > 0;
  progress_->setVisible(shown);
  progressText_->setVisible(shown);
  if (shown) {
    progress_->setRange(0, total);
    progress_->setValue(done);
    progressText_->setText(QStringLiteral("%1 / %2").arg(done).arg(total));
  }
  updateShape();
}

QRegion BusyWindow::shapeRegion() const {
  QRegion region;
  const QPixmap frame = movie_ != nullptr ? movie_->currentPixmap() : QPixmap();
  if (!frame.isNull()) {
    region += keyColourRegion(frame.toImage(), kKeyColour).translated(kAnimationPos);
  } else {
    region += QRect(QPoint(0, 0), QSize(kAnimationSize - 4, kAnimationSize));
  }
  if (progress_->isVisible()) {
    region += progress_->geometry();
    region += progressText_->geometry();
  }
  return region;
}

void BusyWindow::updateShape() {
  setMask(shapeRegion());
}

}  // namespace korvane::ui
