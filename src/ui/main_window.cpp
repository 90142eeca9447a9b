#include "ui/main_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

#include "ui/keys_page_view.h"
#include "ui/lighting_page_view.h"
#include "ui/macro_page_view.h"
#include "ui/mode_panels_view.h"
#include "ui/pointer_page_view.h"
#include "ui/sensitivity_page_view.h"
#include "ui/widgets.h"
#include "ui/window_shape.h"

namespace korvane::ui {

namespace {
const QColor kKeyColour(128, 0, 0);
}  // namespace

MainWindow::MainWindow(app::MainWindowModel& model, QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint),
      model_(model),
      binder_([this] { refresh(); }),
      monitorTimer_(new QTimer(this)) {
  setWindowTitle(QString::fromUtf8(app::kWindowTitle));
  setFixedSize(kWidth, kHeight);
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, kKeyColour);
  setPalette(palette);

  buildChrome();
  buildPages();
  buildTabs();
  buildCommands();
  // The function menu opens over the pages and beyond the button page's edge.
  buildFunctionMenuView(binder_, this, model_.keys, model_.themeFile2());

  monitorTimer_->setInterval(app::kMonitorIntervalMs);
  // An idle tick changes nothing on screen, so the window is redrawn only
  // after a tick that accepted a change.
  connect(monitorTimer_, &QTimer::timeout, this, [this] {
    if (model_.DetectHIDDeviceCounterTimer()) {
      refresh();
    }
  });
}

MainWindow::~MainWindow() = default;

void MainWindow::buildChrome() {
  // A click on any background cancels a pending button selection.
  base_ = binder_.image(this, model_.img_base, [this] { model_.keys.page_MseKeysClick(); });
  base_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  connect(base_, &ClickLabel::pressed, this,
          binder_.forward([this] { model_.img_baseMouseDown(); }));

  styleCaption(binder_.label(this, model_.TntLabel13, [this] { model_.DefaultSettingClick(); }),
               "white", 14, true);
  styleCaption(binder_.label(this, model_.btnMinimize, [this] { model_.btnMinimizeClick(); }),
               "white", 14, true);
  styleCaption(binder_.label(this, model_.btnClose, [this] { model_.btnCloseClick(); }), "white",
               14, true);

  // The version labels lie beyond the window's right edge, as laid out.
  for (const app::Label* control : {&model_.lbl_version, &model_.lbl_Ver}) {
    QLabel* label = binder_.label(this, *control);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(21);
    font.setBold(true);
    label->setFont(font);
    setTextColour(label, QColor(Qt::yellow));
  }

  // Why the device with the mouse's ids was not connected.
  deviceStatus_ = binder_.label(this, model_.lbl_DeviceStatus);
  styleCaption(deviceStatus_, "#ffb347", 12, true);
  deviceStatus_->setWordWrap(true);
}

void MainWindow::buildTabs() {
  for (int tab = 1; tab <= app::kPageCount; ++tab) {
    const auto i = static_cast<std::size_t>(tab - 1);
    const auto show = [this, tab] { model_.ShowPage(tab); };
    ClickLabel* panel = binder_.panel(this, model_.pnl_page[i], show);
    ClickLabel* caption = binder_.label(panel, model_.lbl_title[i], show);
    styleCaption(caption, "white", 12, true);
    binder_.image(panel, model_.img_title[i], show);
    for (ClickLabel* part : {panel, caption}) {
      binder_.hover(
          part, [this, tab] { model_.pageTabEnter(tab); },
          [this, tab] { model_.pageTabLeave(tab); });
    }
    tabs_[i] = panel;
  }
}

void MainWindow::buildPages() {
  // The page background images, by tab: btn_base, macro_base, dpi_base,
  // led_base, sys_base.
  static constexpr std::array<std::size_t, app::kPageCount> kBackgroundOfTab = {0, 2, 4, 3, 1};
  const std::function<void()> backgroundClick = [this] { model_.keys.page_MseKeysClick(); };
  for (int tab = 1; tab <= app::kPageCount; ++tab) {
    const auto i = static_cast<std::size_t>(tab - 1);
    // The button page itself takes the background click too: its picture
    // leaves a strip of the page uncovered.
    QWidget* page = binder_.panel(this, model_.pageOfTab(tab),
                                  tab == 1 ? backgroundClick : std::function<void()>());
    binder_.image(page, model_.img_page[kBackgroundOfTab[i]], backgroundClick);
    pages_[i] = page;
  }
  buildKeysPageView(binder_, pageWidget(1), model_.keys);
  buildModePanelsView(binder_, pageWidget(1), model_.modes, model_.MenuName,
                      [this] { model_.MenuNameClick(); });
  buildMacroPageView(binder_, pageWidget(2), model_.macro);
  buildSensitivityPageView(binder_, pageWidget(3), model_.sensitivity, model_.themeFile1());
  buildLightingPageView(binder_, pageWidget(4), model_.lighting);
  buildPointerPageView(binder_, pageWidget(5), model_.pointer, model_.themeFile1());
}

void MainWindow::buildCommands() {
  const std::array<std::pair<const app::Label*, std::function<void()>>, 4> commands = {{
      {&model_.SaveConf, [this] { model_.SaveConfClick(); }},
      {&model_.Apply, [this] { model_.ApplyClick(); }},
      {&model_.Btn_Exit, [this] { model_.Btn_ExitClick(); }},
      {&model_.DefaultSetting, [this] { model_.DefaultSettingClick(); }},
  }};
  for (const auto& [control, handler] : commands) {
    styleCaption(binder_.label(this, *control, handler), "white", 20, false);
  }
}

void MainWindow::create() {
  model_.FormCreate();
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(centredOn(screen->geometry().size(), size()));
  }
  if (model_.monitorRunning()) {
    monitorTimer_->start();
  }
  refresh();
}

void MainWindow::refresh() {
  binder_.sync();
  if (model_.img_base.loads != shapeLoads_) {
    shapeLoads_ = model_.img_base.loads;
    updateShape();
  }
}

QRegion MainWindow::shapeRegion() const {
  const QPixmap picture = base_->picture();
  if (picture.isNull()) {
    return QRegion(rect());
  }
  // Beyond the base image the window shows its background, the key colour.
  return keyColourRegion(picture.toImage(), kKeyColour).intersected(rect());
}

void MainWindow::updateShape() {
  setMask(shapeRegion());
}

QWidget* MainWindow::pageWidget(int tab) const {
  return pages_.at(static_cast<std::size_t>(tab - 1));
}

QWidget* MainWindow::tabWidget(int tab) const {
  return tabs_.at(static_cast<std::size_t>(tab - 1));
}

void MainWindow::restoreAndRaise() {
  setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
  show();
  raise();
  activateWindow();
}

void MainWindow::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
    model_.FormActivate();
  }
  QWidget::changeEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // During a command the model only asks it to stop; it closes the window
  // again once the command has ended.
  if (model_.FormCloseQuery()) {
    event->accept();
    emit closed();
  } else {
    event->ignore();
  }
}

}  // namespace korvane::ui
