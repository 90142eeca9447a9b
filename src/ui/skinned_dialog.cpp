#include "ui/skinned_dialog.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QWindow>

#include "ui/view_binder.h"
#include "ui/widgets.h"
#include "ui/window_shape.h"

namespace korvane::ui {

namespace {
const QColor kDialogKey(192, 220, 192);

QRect toQRect(const app::Rect& r) {
  return {r.x, r.y, r.width, r.height};
}
}  // namespace

SkinnedDialog::SkinnedDialog(const app::DialogSkin& skin, const Texts& texts,
                             const app::DialogLayout& layout, QWidget* parent)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Dialog) {
  setModal(true);
  setFixedSize(kWidth, kHeight);
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, kDialogKey);
  setPalette(palette);

  auto* background = new QLabel(this);
  background->setGeometry(rect());
  QPixmap picture;
  if (!skin.background.empty() && picture.load(QString::fromStdString(skin.background.string()))) {
    background->setPixmap(picture);
    setMask(keyColourRegion(picture.toImage(), kDialogKey).intersected(rect()));
  }
  background->setAttribute(Qt::WA_TransparentForMouseEvents);

  auto* title = new QLabel(texts.title, this);
  title->setGeometry(toQRect(layout.title));
  styleCaption(title, "white", 14, true);

  const bool twoButtons = texts.cancel.has_value() && layout.cancel.has_value();
  QPixmap button;
  const bool skinnedButtons =
      !skin.button.empty() && button.load(QString::fromStdString(skin.button.string()));
  const auto makeButton = [&](const QString& text, QRect where) {
    auto* label = new ClickLabel(this);
    label->setText(text);
    label->setGeometry(where);
    styleCaption(label, "white", 13, true);
    if (skinnedButtons) {
      auto* plate = new QLabel(this);
      plate->setPixmap(button);
      plate->setGeometry(where);
      plate->stackUnder(label);
    }
    label->setCursor(Qt::PointingHandCursor);
    return label;
  };
  ClickLabel* ok = makeButton(texts.ok, toQRect(layout.ok));
  connect(ok, &ClickLabel::clicked, this, [this] {
    if (!okCheck_ || okCheck_()) {
      accept();
    }
  });
  if (twoButtons) {
    ClickLabel* cancel = makeButton(*texts.cancel, toQRect(*layout.cancel));
    connect(cancel, &ClickLabel::clicked, this, &QDialog::reject);
  }

  const QString fieldStyle = QStringLiteral(
      "background: black; color: white; border: 1px solid #2e8fa3; padding: 1px 4px;");
  if (layout.input == app::DialogInput::LineEdit) {
    lineEdit_ = new QLineEdit(this);
    lineEdit_->setGeometry(toQRect(layout.inputArea));
    lineEdit_->setStyleSheet(fieldStyle);
    lineEdit_->setFocus();
  } else if (layout.input == app::DialogInput::List) {
    list_ = new QComboBox(this);
    list_->setGeometry(toQRect(layout.inputArea));
    // The drop-down list is drawn as its box: white names on black, the
    // chosen one on the window's teal.
    list_->setStyleSheet(QStringLiteral("QComboBox { ") + fieldStyle +
                         QStringLiteral(" } QComboBox QAbstractItemView { background: black; "
                                        "color: white; border: 1px solid #2e8fa3; "
                                        "selection-background-color: #008080; "
                                        "selection-color: white; outline: 0; }"));
  }

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(centredOn(screen->geometry().size(), size()));
  }
}

SkinnedDialog::Texts SkinnedDialog::from(const app::DialogTexts& texts) {
  Texts shown{QString::fromStdString(texts.title), QString::fromStdString(texts.ok), std::nullopt};
  if (texts.cancel) {
    shown.cancel = QString::fromStdString(*texts.cancel);
  }
  return shown;
}

void SkinnedDialog::mousePressEvent(QMouseEvent* event) {
  if (windowHandle() != nullptr) {
    windowHandle()->startSystemMove();
  }
  QDialog::mousePressEvent(event);
}

}  // namespace korvane::ui
