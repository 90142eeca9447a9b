#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QMovie;
class QProgressBar;

namespace korvane::ui {

// The small always-on-top window shown during Apply, Save and the factory
// reset: the wait animation and, for Apply, how far it has come.
class BusyWindow : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kWidth = 138;
  static constexpr int kHeight = 164;

  explicit BusyWindow(const QString& animationFile, QWidget* parent = nullptr);

  void showBusy();
  void hideBusy();
  void setProgress(int done, int total);
  QRegion shapeRegion() const;

 private:
  void updateShape();

  QString animationFile_;
  QLabel* animation_;
  // Made at the first showing: most runs never show the busy window.
  QMovie* movie_ = nullptr;
  QProgressBar* progress_;
  QLabel* progressText_;
};

}  // namespace korvane::ui
