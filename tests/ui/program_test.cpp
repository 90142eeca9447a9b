// The program as main() wires it, on the Qt host's real nested event loops
// (with every pause cut to 0 ms), against the emulated mouse: the monitor's
// timer and the user's clicks run inside Apply's pauses, as they do in use.
#include <QDir>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "platform/hid/emulated_mouse.h"
#include "support/mouse_transfers.h"
#include "support/recording_pointer_sink.h"
#include "ui/program.h"

using korvane::platform::EmulatedMouse;
using korvane::testing::commandCodes;
using korvane::testing::dataWrites;
using korvane::ui::Program;
using korvane::ui::QtHost;

class ProgramTest : public QObject {
  Q_OBJECT
 private slots:
  void init() {
    start_ = std::make_unique<QTemporaryDir>();
    QVERIFY(start_->isValid());
    const QDir start(start_->path());
    QVERIFY(start.mkpath("configure") && start.mkpath("data") && start.mkpath("skins"));
    const QDir skins(QStringLiteral(KORVANE_SOURCE_DIR "/dist/skins"));
    for (const QString& name : skins.entryList(QDir::Files)) {
      QVERIFY(QFile::copy(skins.filePath(name), start.filePath("skins/" + name)));
    }
    mouse_ = std::make_unique<EmulatedMouse>();
    pointerSink_ = std::make_unique<korvane::testing::RecordingPointerSink>();
    program_ = std::make_unique<Program>(*mouse_, *pointerSink_, start_->path(),
                                         start.filePath("korvane-driver"), QtHost::Pauses::Zero);
    program_->start();
    program_->window().move(0, 0);
    QVERIFY(QTest::qWaitForWindowExposed(&program_->window()));
    program_->model().FormActivate();
    // The mouse is found and mode 5 is active: Apply writes 1, 2, 3, 4, 5.
    program_->model().DetectHIDDeviceCounterTimer();
    program_->model().modes.pnl_modeClick(5);
    program_->window().refresh();
    mouse_->clearTransfers();
    // The monitor ticks at every pass of any event loop, nested ones included.
    monitorTimer()->setInterval(0);
    monitorTimer()->start();
  }

  void cleanup() {
    program_.reset();
    pointerSink_.reset();
    mouse_.reset();
    start_.reset();
  }

  // A device plugged in during Apply makes the tick reconnect; the tick waits
  // for Apply's end, and so the user's second click on Apply does nothing.
  void aTickAndASecondClickInsideApplyWaitForItsEnd() {
    bool done = false;
    std::vector<bool> applyShownEnabled;
    QTimer during;  // runs in Apply's nested loops
    connect(&during, &QTimer::timeout, [&] {
      if (!program_->model().commandRunning()) {
        return;
      }
      applyShownEnabled.push_back(applyLabel()->isEnabled());
      if (!done && mouse_->transfers().size() >= 4) {
        done = true;
        mouse_->addOtherDevice(0x1234, 0x5678, {.input = 8});
        // Let the tick run, then click.
        QCoreApplication::processEvents();
        click(applyLabel());
      }
    });
    during.start(0);
    click(applyLabel());
    during.stop();
    monitorTimer()->stop();

    QVERIFY(done);
    QVERIFY(!applyShownEnabled.empty());
    QCOMPARE(std::count(applyShownEnabled.begin(), applyShownEnabled.end(), true), 0);
    const std::vector<int> codes = commandCodes(*mouse_);
    QCOMPARE(std::count_if(codes.begin(), codes.end(), [](int c) { return c >= 1 && c <= 5; }), 5);
    QCOMPARE(dataWrites(*mouse_), std::size_t{25});
    QCOMPARE(std::vector<int>(codes.begin(), codes.begin() + 5), (std::vector<int>{1, 2, 3, 4, 5}));
    QVERIFY(applyLabel()->isEnabled());
  }

  // The user closes the window as the mode writes end: the run stops after
  // the current write, GM.ini is saved and the program ends — no window left
  // on screen, and the event loop returns.
  void closingDuringApplyEndsTheProgram() {
    bool closed = false;
    QTimer during;
    connect(&during, &QTimer::timeout, [&] {
      if (!closed && mouse_->transfers().size() >= 10) {
        closed = true;
        click(visibleLabel("X"));
      }
    });
    during.start(0);
    QTimer::singleShot(0, [this] { click(applyLabel()); });
    // Only a program that does not end runs into this.
    QTimer::singleShot(10000, [] { QCoreApplication::exit(2); });
    const int exitCode = QCoreApplication::exec();
    during.stop();

    QVERIFY(closed);
    QCOMPARE(exitCode, 0);
    QCOMPARE(dataWrites(*mouse_), std::size_t{5});
    QVERIFY(!program_->window().isVisible());
    QVERIFY(!program_->busyWindow().isVisible());
    QVERIFY(QFile::exists(start_->filePath("configure/GM.ini")));
  }

  // A device with the mouse's ids whose output report is not 65 bytes is not
  // connected, and a line in the window says why.
  void aRefusedDeviceShowsWhy() {
    monitorTimer()->stop();
    mouse_->unplug();
    program_->model().DetectHIDDeviceCounterTimer();
    mouse_->setConfigLengths({.input = 65, .output = 64, .feature = 9});
    mouse_->replug();
    program_->model().DetectHIDDeviceCounterTimer();
    program_->window().refresh();
    QLabel* status = nullptr;
    for (QLabel* label : program_->window().findChildren<QLabel*>()) {
      if (label->isVisible() && label->text().contains(QStringLiteral("64"))) {
        status = label;
      }
    }
    QVERIFY(status != nullptr);
    QVERIFY(!applyLabel()->isEnabled());
    QVERIFY(program_->window().grab().save(QDir::temp().filePath("korvane-refused-device.png")));
  }

 private:
  QTimer* monitorTimer() const {
    for (QTimer* timer : program_->window().findChildren<QTimer*>()) {
      if (timer->interval() == korvane::app::kMonitorIntervalMs || timer->interval() == 0) {
        return timer;
      }
    }
    return nullptr;
  }

  QLabel* visibleLabel(const char* text) const {
    for (QLabel* label : program_->window().findChildren<QLabel*>()) {
      if (label->text() == QString::fromUtf8(text) && label->isVisible()) {
        return label;
      }
    }
    return nullptr;
  }

  QLabel* applyLabel() const { return visibleLabel("确 定"); }

  void click(QWidget* widget) {
    QVERIFY(widget != nullptr);
    QTest::mouseClick(program_->window().windowHandle(), Qt::LeftButton, {},
                      widget->mapTo(&program_->window(), widget->rect().center()));
  }

  std::unique_ptr<QTemporaryDir> start_;
  std::unique_ptr<EmulatedMouse> mouse_;
  std::unique_ptr<korvane::testing::RecordingPointerSink> pointerSink_;
  std::unique_ptr<Program> program_;
};

QTEST_MAIN(ProgramTest)
#include "program_test.moc"
