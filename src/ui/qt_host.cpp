#include "ui/qt_host.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QInputDialog>
#include <QMessageBox>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <utility>

#include "app/main_window_model.h"
#include "ui/busy_window.h"

namespace korvane::ui {

void QtHost::attach(QWidget* mainWindow, BusyWindow* busyWindow,
                    std::function<void()> refreshView) {
  mainWindow_ = mainWindow;
  busyWindow_ = busyWindow;
  refreshView_ = std::move(refreshView);
}

void QtHost::sleep(int ms) { QThread::msleep(static_cast<unsigned long>(ms)); }

void QtHost::wait(int ms) {
  if (refreshView_) {
    refreshView_();
  }
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

void QtHost::pumpEvents() {
  if (refreshView_) {
    refreshView_();
  }
  QCoreApplication::processEvents();
}

void QtHost::showBusy() {
  if (busyWindow_ != nullptr) {
    busyWindow_->showBusy();
  }
}

void QtHost::hideBusy() {
  if (busyWindow_ != nullptr) {
    busyWindow_->hideBusy();
  }
}

void QtHost::setBusyProgress(int done, int total) {
  if (busyWindow_ != nullptr) {
    busyWindow_->setProgress(done, total);
  }
}

void QtHost::messageBox(const std::string& text) {
  QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(app::kApplicationTitle),
                  QString::fromStdString(text), QMessageBox::Ok, mainWindow_);
  box.exec();
}

void QtHost::minimizeApplication() {
  if (mainWindow_ != nullptr) {
    mainWindow_->showMinimized();
  }
}

void QtHost::closeMainWindow() {
  if (mainWindow_ != nullptr) {
    mainWindow_->close();
  }
}

void QtHost::startWindowDrag() {
  if (mainWindow_ != nullptr && mainWindow_->windowHandle() != nullptr) {
    mainWindow_->windowHandle()->startSystemMove();
  }
}

}  // namespace korvane::ui

namespace korvane::ui {

void QtHost::showLeftKeyWarning() {
  QMessageBox box(QMessageBox::Warning, QString::fromUtf8(app::kApplicationTitle),
                  QStringLiteral("Please Keep One 'Left Key'!"), QMessageBox::Ok, mainWindow_);
  box.exec();
}

std::optional<int> QtHost::chooseMacro(const std::vector<std::string>& names) {
  QStringList items;
  for (const std::string& name : names) {
    items << QString::fromStdString(name);
  }
  bool ok = false;
  const QString chosen = QInputDialog::getItem(mainWindow_, QStringLiteral("Macro Select"),
                                               QString(), items, 0, false, &ok);
  if (!ok || items.isEmpty()) {
    return std::nullopt;
  }
  return static_cast<int>(items.indexOf(chosen));
}

}  // namespace korvane::ui
