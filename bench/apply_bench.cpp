// Apply against the emulated mouse in the real window: its wall time beside
// its pacing floor, and how long the window could not repaint while it ran.
// Run from the start folder under a display (bench/run uses Xvfb).
//
// Pacing floor: every data write is a command (10 ms pause), the data report
// (10 ms pause) and 200 ms with the busy window shown: 25 writes × 220 ms.
// The longest stall is the longest gap between two runs of a 5 ms timer: no
// repaint can happen in between. The longest paint gap is measured between
// paint events of any window while Apply runs. The macro library holds ten
// full macros, so the compilation is part of the wall time.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/main_window_model.h"
#include "bench_rigs.h"
#include "macros/macro_file.h"
#include "platform/hid/emulated_mouse.h"
#include "platform/pointer_file/registry_file_sink.h"
#include "ui/busy_window.h"
#include "ui/main_window.h"
#include "ui/qt_host.h"

namespace {

constexpr int kDataWrites = 25;
constexpr int kPauseAfterTransferMs = 10;
constexpr int kPauseAfterDataWriteMs = 200;
constexpr double kPacingFloorMs =
    kDataWrites * (2 * kPauseAfterTransferMs + kPauseAfterDataWriteMs);
constexpr int kRuns = 5;

// Records the times of paint events while it is armed.
class PaintClock : public QObject {
 public:
  explicit PaintClock(const QElapsedTimer& clock) : clock_(clock) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (armed && event->type() == QEvent::Paint) {
      paints.push_back(clock_.nsecsElapsed() / 1e6);
    }
    return QObject::eventFilter(watched, event);
  }
  bool armed = false;
  std::vector<double> paints;

 private:
  const QElapsedTimer& clock_;
};

double longestGap(std::vector<double> times, double from, double to) {
  times.push_back(from);
  times.push_back(to);
  std::sort(times.begin(), times.end());
  double longest = 0;
  for (std::size_t i = 1; i < times.size(); ++i) {
    longest = std::max(longest, times[i] - times[i - 1]);
  }
  return longest;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QTemporaryDir scratch;
  const QString startDir = QDir::currentPath();

  // The library holds ten full macros, so Apply compiles all of them.
  const std::filesystem::path macroDir =
      std::filesystem::path(scratch.path().toStdString()) / "Macro";
  std::filesystem::create_directories(macroDir);
  for (int i = 0; i < korvane::macros::kMacroBlockCount; ++i) {
    if (korvane::macros::writeMacroFile(macroDir / ("macro" + std::to_string(i) + ".spm"),
                                        korvane::bench::fullMacro())) {
      std::fprintf(stderr, "could not write the macro library\n");
      return 1;
    }
  }

  korvane::platform::EmulatedMouse mouse;
  korvane::ui::QtHost host;
  korvane::platform::RegistryFileSink pointerSink(
      scratch.filePath(QStringLiteral("registry.ini")).toStdString());
  korvane::app::MainWindowModel model(
      host, mouse, pointerSink, startDir.toStdString(),
      scratch.filePath(QStringLiteral("korvane-driver")).toStdString());
  model.watchHidChanges(&mouse);
  korvane::ui::MainWindow window(model);
  korvane::ui::BusyWindow busy(startDir + QStringLiteral("/wait.gif"));
  host.attach(&window, &busy, &model.state(), [&window] { window.refresh(); });
  window.create();
  window.show();
  model.DetectHIDDeviceCounterTimer();  // the mouse is there: connect now
  window.refresh();
  mouse.clearTransfers();

  QElapsedTimer clock;
  clock.start();
  PaintClock paints(clock);
  application.installEventFilter(&paints);
  std::vector<double> beats;
  QTimer beat;
  beat.setTimerType(Qt::PreciseTimer);
  beat.setInterval(5);
  QObject::connect(&beat, &QTimer::timeout, [&] { beats.push_back(clock.nsecsElapsed() / 1e6); });
  beat.start();

  std::vector<double> walls;
  std::vector<double> stalls;
  std::vector<double> paintGaps;
  for (int run = 0; run < kRuns; ++run) {
    QCoreApplication::processEvents();
    beats.clear();
    paints.paints.clear();
    paints.armed = true;
    const double from = clock.nsecsElapsed() / 1e6;
    model.ApplyClick();
    const double to = clock.nsecsElapsed() / 1e6;
    paints.armed = false;
    walls.push_back(to - from);
    stalls.push_back(longestGap(beats, from, to));
    paintGaps.push_back(longestGap(paints.paints, from, to));
    // A command and a data report per write: anything less is no full Apply.
    if (mouse.transfers().size() != 2 * kDataWrites) {
      std::fprintf(stderr, "run %d: the mouse received %zu transfers\n", run + 1,
                   mouse.transfers().size());
      return 1;
    }
    mouse.clearTransfers();
  }
  std::printf(
      "apply_ms %.1f floor_ms %.1f ratio %.4f longest_stall_ms %.1f longest_paint_gap_ms %.1f"
      " runs %d\n",
      median(walls), kPacingFloorMs, median(walls) / kPacingFloorMs, median(stalls),
      median(paintGaps), kRuns);
  for (int run = 0; run < kRuns; ++run) {
    std::printf("run %d: apply_ms %.1f longest_stall_ms %.1f longest_paint_gap_ms %.1f\n", run + 1,
                walls[static_cast<std::size_t>(run)], stalls[static_cast<std::size_t>(run)],
                paintGaps[static_cast<std::size_t>(run)]);
  }
  return 0;
}
