#pragma once

#include <QWidget>
#include <array>
#include <memory>

#include "app/main_window_model.h"
#include "ui/view_binder.h"

class QLabel;
class QTimer;

namespace korvane::ui {

class ClickLabel;

// The skinned, borderless main window: a view of the window model. It draws
// the model's controls with the skin images and forwards events to the
// model's handlers; it never changes a setting itself. Each page's contents
// are their own view classes; this window only assembles them.
class MainWindow : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kWidth = 901;
  static constexpr int kHeight = 681;

  explicit MainWindow(app::MainWindowModel& model, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Runs the model's start-up and starts the monitor timer.
  void create();
  // Redraws every control from the model.
  void refresh();
  // Brings the window back from minimised and to the front (a second start).
  void restoreAndRaise();

  QRegion shapeRegion() const;
  QWidget* pageWidget(int tab) const;
  QWidget* tabWidget(int tab) const;

 signals:
  // The close was accepted: the program ends.
  void closed();

 protected:
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildChrome();
  void buildTabs();
  void buildPages();
  void buildCommands();
  void updateShape();

  app::MainWindowModel& model_;
  ViewBinder binder_;
  QTimer* monitorTimer_;
  ClickLabel* base_ = nullptr;
  QLabel* deviceStatus_ = nullptr;
  std::array<ClickLabel*, app::kPageCount> tabs_{};
  std::array<QWidget*, app::kPageCount> pages_{};
  std::uint64_t shapeLoads_ = 0;
};

}  // namespace korvane::ui
