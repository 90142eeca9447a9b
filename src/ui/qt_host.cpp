#include "ui/qt_host.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <utility>

#include "app/main_window_model.h"
#include "ui/busy_window.h"
#include "ui/skinned_dialog.h"

namespace korvane::ui {

void QtHost::attach(QWidget* mainWindow, BusyWindow* busyWindow, const app::AppState* state,
                    std::function<void()> refreshView) {
  state_ = state;
  mainWindow_ = mainWindow;
  busyWindow_ = busyWindow;
  refreshView_ = std::move(refreshView);
}

void QtHost::sleep(int ms) {
  if (pauses_ == Pauses::Real) {
    QThread::msleep(static_cast<unsigned long>(ms));
  }
}

void QtHost::wait(int ms) {
  // The pause counts from its call: redrawing the window is part of it, so
  // a paced sequence of writes takes no longer than its pauses add up to.
  QElapsedTimer elapsed;
  elapsed.start();
  if (refreshView_) {
    refreshView_();
  }
  QEventLoop loop;
  QTimer timer;
  timer.setSingleShot(true);
  timer.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
  const int pause = pauses_ == Pauses::Real ? ms : 0;
  timer.start(std::max<qint64>(0, pause - elapsed.elapsed()));
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

QWidget* QtHost::ownerOfNewWindow() const {
  // A message raised inside a modal dialog belongs to that dialog: parented
  // to the main window it would open under the dialog, which is kept on top,
  // and the dialog would wait for a box nobody can see.
  if (QWidget* modal = QApplication::activeModalWidget()) {
    return modal;
  }
  return mainWindow_;
}

void QtHost::messageBox(const std::string& text) {
  QWidget* owner = ownerOfNewWindow();
  QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(app::kApplicationTitle),
                  QString::fromStdString(text), QMessageBox::Ok, owner);
  if (owner != nullptr && owner->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
  }
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

app::DialogSkin QtHost::dialogSkin(app::DialogKind kind) const {
  return state_ != nullptr ? app::LoadDialogSkin(*state_, kind) : app::DialogSkin{};
}

app::DialogTexts QtHost::dialogTexts(app::DialogKind kind) const {
  return state_ != nullptr ? app::LoadDialogTexts(*state_, kind) : app::BuiltInDialogTexts(kind);
}

void QtHost::showLeftKeyWarning() {
  SkinnedDialog dialog(dialogSkin(app::DialogKind::LeftKeyWarning),
                       SkinnedDialog::from(dialogTexts(app::DialogKind::LeftKeyWarning)),
                       app::dialogLayout(app::DialogKind::LeftKeyWarning), mainWindow_);
  dialog.exec();
}

std::optional<int> QtHost::chooseMacro(const std::vector<std::string>& names) {
  SkinnedDialog dialog(dialogSkin(app::DialogKind::MacroSelect),
                       SkinnedDialog::from(dialogTexts(app::DialogKind::MacroSelect)),
                       app::dialogLayout(app::DialogKind::MacroSelect), mainWindow_);
  for (const std::string& name : names) {
    dialog.list()->addItem(QString::fromStdString(name));
  }
  dialog.list()->setCurrentIndex(-1);
  // OK with nothing chosen keeps the dialog open.
  dialog.setOkCheck([&dialog] { return dialog.list()->currentIndex() >= 0; });
  if (dialog.exec() != QDialog::Accepted) {
    return std::nullopt;
  }
  return dialog.list()->currentIndex();
}

app::Host::NameDialogResult QtHost::macroNameDialog(
    const std::function<bool(const std::string& name)>& onOk) {
  SkinnedDialog dialog(dialogSkin(app::DialogKind::MacroName),
                       SkinnedDialog::from(dialogTexts(app::DialogKind::MacroName)),
                       app::dialogLayout(app::DialogKind::MacroName), mainWindow_);
  dialog.setOkCheck([&dialog, &onOk] { return onOk(dialog.lineEdit()->text().toStdString()); });
  const bool accepted = dialog.exec() == QDialog::Accepted;
  return {dialog.lineEdit()->text().toStdString(), accepted};
}

std::optional<std::string> QtHost::modeNameDialog(const std::string& current,
                                                  std::size_t maxLength) {
  SkinnedDialog dialog(dialogSkin(app::DialogKind::ModeName),
                       SkinnedDialog::from(dialogTexts(app::DialogKind::ModeName)),
                       app::dialogLayout(app::DialogKind::ModeName), mainWindow_);
  dialog.lineEdit()->setMaxLength(static_cast<int>(maxLength));
  dialog.lineEdit()->setText(QString::fromStdString(current));
  dialog.lineEdit()->selectAll();
  if (dialog.exec() != QDialog::Accepted) {
    return std::nullopt;
  }
  return dialog.lineEdit()->text().toStdString();
}

std::optional<std::string> QtHost::chooseOpenFile(const std::string& filter) {
  // "LoadFile(*.spm)|*.spm": the caption before the bar, the pattern after.
  const QString text = QString::fromStdString(filter);
  const QString caption = text.section(QLatin1Char('|'), 0, 0);
  const QString pattern = text.section(QLatin1Char('|'), 1, 1);
  const QString file = QFileDialog::getOpenFileName(
      ownerOfNewWindow(), QString(), QString(),
      QStringLiteral("%1 (%2)").arg(caption.section(QLatin1Char('('), 0, 0), pattern));
  if (file.isEmpty()) {
    return std::nullopt;
  }
  return file.toStdString();
}

}  // namespace korvane::ui
