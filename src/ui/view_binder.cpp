#include "ui/view_binder.h"

#include <QPalette>
#include <QSlider>
#include <utility>

#include "ui/widgets.h"

namespace korvane::ui {

ViewBinder::ViewBinder(std::function<void()> refreshWindow)
    : refreshWindow_(std::move(refreshWindow)) {}

std::function<void()> ViewBinder::forward(std::function<void()> handler) const {
  return [this, handler = std::move(handler)] {
    handler();
    if (refreshWindow_) {
      refreshWindow_();
    }
  };
}

void ViewBinder::sync() const {
  for (const auto& step : syncs_) {
    step();
  }
}

void ViewBinder::onSync(std::function<void()> step) {
  syncs_.push_back(std::move(step));
}

ClickLabel* ViewBinder::label(QWidget* parent, const app::Label& control,
                              const std::function<void()>& onClick) {
  auto* widget = new ClickLabel(parent);
  if (onClick) {
    QObject::connect(widget, &ClickLabel::clicked, widget, forward(onClick));
  }
  syncs_.push_back([widget, &control] { syncLabel(*widget, control); });
  return widget;
}

ClickLabel* ViewBinder::image(QWidget* parent, const app::Image& control,
                              const std::function<void()>& onClick) {
  auto* widget = new ClickLabel(parent);
  widget->setAlignment(Qt::AlignCenter);
  if (onClick) {
    QObject::connect(widget, &ClickLabel::clicked, widget, forward(onClick));
  }
  syncs_.push_back([widget, &control] { syncImage(*widget, control); });
  return widget;
}

ClickLabel* ViewBinder::panel(QWidget* parent, const app::Control& control,
                              const std::function<void()>& onClick) {
  auto* widget = new ClickLabel(parent);
  if (onClick) {
    QObject::connect(widget, &ClickLabel::clicked, widget, forward(onClick));
  }
  syncs_.push_back([widget, &control] { syncControl(*widget, control); });
  return widget;
}

QSlider* ViewBinder::slider(QWidget* parent, app::Slider& control, Qt::Orientation orientation) {
  auto* widget = new QSlider(orientation, parent);
  widget->setPageStep(1);
  widget->setTickPosition(QSlider::NoTicks);
  QObject::connect(widget, &QSlider::valueChanged, widget, [this, &control](int value) {
    if (value != control.position) {
      forward([&control, value] { control.set(value); })();
    }
  });
  syncs_.push_back([widget, &control] {
    syncControl(*widget, control);
    if (widget->minimum() != control.minimum || widget->maximum() != control.maximum) {
      widget->setRange(control.minimum, control.maximum);
    }
    if (widget->value() != control.position) {
      const QSignalBlocker quiet(widget);
      widget->setValue(control.position);
    }
  });
  return widget;
}

void ViewBinder::hover(ClickLabel* widget, const std::function<void()>& onEnter,
                       const std::function<void()>& onLeave) {
  if (onEnter) {
    QObject::connect(widget, &ClickLabel::entered, widget, forward(onEnter));
  }
  if (onLeave) {
    QObject::connect(widget, &ClickLabel::left, widget, forward(onLeave));
  }
}

void styleCaption(QLabel* label, const QString& colour, int pixelSize, bool bold,
                  Qt::Alignment alignment) {
  QFont font;
  font.setFamilies({QStringLiteral("微软雅黑"), QStringLiteral("Microsoft YaHei"),
                    QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Sans")});
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  label->setFont(font);
  setTextColour(label, QColor(colour));
  label->setAlignment(alignment);
}

void setTextColour(QWidget* widget, const QColor& colour) {
  if (widget->palette().color(QPalette::WindowText) == colour) {
    return;
  }
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, colour);
  widget->setPalette(palette);
}

}  // namespace korvane::ui
