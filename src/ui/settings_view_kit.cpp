#include "ui/settings_view_kit.h"

#include <QFile>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <memory>
#include <vector>

#include "ui/view_binder.h"
#include "ui/widgets.h"

namespace korvane::ui {

namespace {

constexpr int kHeadingPixels = 13;
constexpr int kCaptionPixels = 13;
constexpr int kMarkPixels = 10;
constexpr int kMarkWidth = 34;
constexpr int kMarkHeight = 12;
// The marks overlap the slider's transparent margin under the groove.
constexpr int kMarkOverlap = 3;
const QString kCaptionColour = QStringLiteral("#d8dde6");
const QString kMarkColour = QStringLiteral("#9aa4b2");
const char* const kThemeProperty = "korvaneTheme";

QString readTheme(const std::string& file) {
  if (file.empty()) {
    return {};
  }
  QFile theme(QString::fromStdString(file));
  if (!theme.open(QIODevice::ReadOnly | QIODevice::Text)) {
    return {};
  }
  return QString::fromUtf8(theme.readAll());
}

// Centre of the handle at `value`, in the slider's own coordinates, as the
// slider's style (or style sheet) draws it.
int handleCentre(const QSlider& slider, int value) {
  QStyleOptionSlider option;
  option.initFrom(&slider);
  option.orientation = slider.orientation();
  option.minimum = slider.minimum();
  option.maximum = slider.maximum();
  option.sliderPosition = value;
  option.sliderValue = value;
  option.subControls = QStyle::SC_SliderGroove | QStyle::SC_SliderHandle;
  const QRect handle =
      slider.style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, &slider);
  return handle.center().x();
}

}  // namespace

void followTheme(ViewBinder& binder, QWidget* widget, const std::string& themeFile) {
  binder.onSync([widget, &themeFile] {
    const QString themeName = QString::fromStdString(themeFile);
    if (widget->property(kThemeProperty).toString() != themeName ||
        !widget->property(kThemeProperty).isValid()) {
      widget->setProperty(kThemeProperty, themeName);
      widget->setStyleSheet(readTheme(themeFile));
    }
  });
}

ClickLabel* sectionHeading(ViewBinder& binder, QWidget* page, const app::Label& control) {
  ClickLabel* label = binder.label(page, control);
  styleCaption(label, QStringLiteral("white"), kHeadingPixels, true,
               Qt::AlignLeft | Qt::AlignVCenter);
  return label;
}

ClickLabel* settingsCaption(ViewBinder& binder, QWidget* page, const app::Label& control,
                            const std::function<void()>& onClick, Qt::Alignment alignment) {
  ClickLabel* label = binder.label(page, control, onClick);
  styleCaption(label, kCaptionColour, kCaptionPixels, false, alignment);
  return label;
}

QSlider* settingsSlider(ViewBinder& binder, QWidget* page, app::Slider& control,
                        const QStringList& marks, const std::string& themeFile) {
  QSlider* slider = binder.slider(page, control, Qt::Horizontal);
  auto labels = std::make_shared<std::vector<QLabel*>>();
  for (const QString& text : marks) {
    auto* mark = new QLabel(text, page);
    styleCaption(mark, kMarkColour, kMarkPixels, false, Qt::AlignHCenter | Qt::AlignTop);
    mark->setAttribute(Qt::WA_TransparentForMouseEvents);
    labels->push_back(mark);
  }
  followTheme(binder, slider, themeFile);
  binder.onSync([slider, labels, &control] {
    const int top = control.geometry.y + control.geometry.height - kMarkOverlap;
    for (std::size_t i = 0; i < labels->size(); ++i) {
      QLabel* mark = (*labels)[i];
      const int centre =
          control.geometry.x + handleCentre(*slider, slider->minimum() + static_cast<int>(i));
      mark->setGeometry(centre - kMarkWidth / 2, top, kMarkWidth, kMarkHeight);
      mark->setVisible(control.visible);
    }
  });
  return slider;
}

void toggleLabel(ViewBinder& binder, QWidget* page, const app::Label& toggle,
                 const app::Label& tick, const std::function<void()>& onClick) {
  settingsCaption(binder, page, toggle, onClick);
  ClickLabel* mark = binder.label(page, tick);
  styleCaption(mark, QStringLiteral("#00d4ff"), kCaptionPixels + 1, true, Qt::AlignCenter);
  mark->setAttribute(Qt::WA_TransparentForMouseEvents);
}

QStringList numberMarks(int first, int last) {
  QStringList marks;
  for (int n = first; n <= last; ++n) {
    marks << QString::number(n);
  }
  return marks;
}

}  // namespace korvane::ui
