#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <optional>

#include "app/dialog_skin.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace korvane::ui {

class ClickLabel;

// The borderless, colour-keyed dialogs: a background picture, a title, OK
// and (for most) Cancel, and at most one input. Dragged by the background.
class SkinnedDialog : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kWidth = 295;
  static constexpr int kHeight = 158;

  struct Texts {
    QString title;
    QString ok;
    std::optional<QString> cancel;  // absent: no Cancel button
  };
  // The texts as the window model gives them.
  static Texts from(const app::DialogTexts& texts);
  SkinnedDialog(const app::DialogSkin& skin, const Texts& texts, const app::DialogLayout& layout,
                QWidget* parent);

  QLineEdit* lineEdit() const { return lineEdit_; }
  QComboBox* list() const { return list_; }
  // Decides whether OK closes the dialog; without it OK always does.
  void setOkCheck(std::function<bool()> check) { okCheck_ = std::move(check); }

 protected:
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QLineEdit* lineEdit_ = nullptr;
  QComboBox* list_ = nullptr;
  std::function<bool()> okCheck_;
};

}  // namespace korvane::ui
