// skingen paints KorvaneDriver's look: every skin image, the busy-window
// animation and the two slider themes. Everything is drawn from fixed numbers
// (no randomness, no clock, no fonts), so a rerun writes identical files.
//
//   skingen <skin-dir> [<start-dir>]
//   skingen --icon <icon-dir>
//
// The PNGs go to <skin-dir>. wait.gif, VQX_A.sui and VQX_B.sui go to
// <start-dir>, by default the parent of <skin-dir> (dist/skins -> dist).
// Nothing is written unless every picture passes its checks: the colour-key
// edges of the shaped images, and a read-back of the animation through Qt.

#include "artwork.h"
#include "icon_art.h"

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QMovie>
#include <QPainter>
#include <QSaveFile>

#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace skingen {
namespace {

// Reads the animation back through Qt and compares every pixel of every frame.
bool verifyGif(const QByteArray& gif, const IndexedAnimation& anim, int width, std::string& why) {
  QByteArray copy = gif;
  QBuffer movieData(&copy);
  QMovie movie(&movieData, "gif");
  if (!movie.isValid() || movie.frameCount() != static_cast<int>(anim.frames.size())) {
    why = "QMovie sees " + std::to_string(movie.frameCount()) + " frames";
    return false;
  }
  QBuffer readerData(&copy);
  QImageReader reader(&readerData, "gif");
  if (reader.loopCount() != -1) {
    why = "the animation does not loop forever (loop count " + std::to_string(reader.loopCount()) +
          ")";
    return false;
  }
  for (std::size_t f = 0; f < anim.frames.size(); ++f) {
    const QImage img = reader.read().convertToFormat(QImage::Format_RGB32);
    if (img.isNull() || img.width() != width) {
      why = "frame " + std::to_string(f) + " unreadable: " + reader.errorString().toStdString();
      return false;
    }
    for (int y = 0; y < img.height(); ++y) {
      for (int x = 0; x < img.width(); ++x) {
        const QRgb want = anim.palette[anim.frames[f][static_cast<std::size_t>(y * width + x)]];
        if ((img.pixel(x, y) & 0xffffff) != (want & 0xffffff)) {
          why = "frame " + std::to_string(f) + " differs at " + std::to_string(x) + "," +
                std::to_string(y);
          return false;
        }
      }
    }
  }
  return true;
}

// ---------------------------------------------------------------- themes --

constexpr const char* kThemeA = R"(/* VQX_A.sui - KorvaneDriver slider theme A (a Qt style sheet).
 *
 * Styles the horizontal sliders of the settings pages: pointer speed,
 * double-click speed, horizontal and vertical wheel speed, XY sensitivity and
 * the four DPI steps. A graphite groove, lit in cyan up to the handle.
 * Written by tools/skingen; edit the generator, not this file.
 */

QSlider:horizontal {
    background: transparent;
    min-height: 24px;
}

QSlider::groove:horizontal {
    height: 6px;
    border: 1px solid #06080b;
    border-radius: 3px;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #06080b, stop:1 #232933);
}

QSlider::sub-page:horizontal {
    border: 1px solid #0a7f99;
    border-radius: 3px;
    background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 #053a4a, stop:1 #00d4ff);
}

QSlider::add-page:horizontal {
    background: transparent;
}

QSlider::handle:horizontal {
    width: 12px;
    margin: -7px 0;
    border: 1px solid #00d4ff;
    border-radius: 3px;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #58647a, stop:0.5 #2f3642, stop:1 #1a1f27);
}

QSlider::handle:horizontal:hover {
    border-color: #a0f2ff;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #6c7a92, stop:0.5 #3a4352, stop:1 #202631);
}

QSlider::handle:horizontal:pressed {
    border-color: #a0f2ff;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #0b8fb0, stop:1 #053a4a);
}

QSlider::sub-page:horizontal:disabled {
    border-color: #2f3642;
    background: #2f3642;
}

QSlider::handle:horizontal:disabled {
    border-color: #38404c;
    background: #1a1f27;
}
)";

constexpr const char* kThemeB = R"(/* VQX_B.sui - KorvaneDriver slider theme B (a Qt style sheet).
 *
 * Styles the small vertical sliders of the function menu and its category
 * panels (TB_menu and the eight panel sliders). They only mark the row under
 * the pointer, so the groove stays dark and the handle is the lit marker.
 * Written by tools/skingen; edit the generator, not this file.
 */

QSlider:vertical {
    background: transparent;
    min-width: 16px;
}

QSlider::groove:vertical {
    width: 4px;
    border: 1px solid #06080b;
    border-radius: 2px;
    background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 #06080b, stop:1 #232933);
}

QSlider::add-page:vertical,
QSlider::sub-page:vertical {
    background: transparent;
}

QSlider::handle:vertical {
    height: 8px;
    margin: 0 -5px;
    border: 1px solid #a0f2ff;
    border-radius: 2px;
    background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 #00d4ff, stop:1 #06708a);
}

QSlider::handle:vertical:hover {
    background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 #a0f2ff, stop:1 #00a8cc);
}

QSlider::handle:vertical:disabled {
    border-color: #38404c;
    background: #2f3642;
}
)";

// ------------------------------------------------------------- catalogue --

struct SkinImage {
  std::string name;  // base name; the file is name + ".png"
  QSize size;
  std::function<QImage()> make;
  std::function<bool(const QImage&, std::string&)> verify;  // empty: nothing beyond the size
};

// A family's pictures are named base_1, base_2, ... in the order of states.
void addFamily(std::vector<SkinImage>& out, const std::string& base, QSize size,
               const std::vector<State>& states, StatePainter paint) {
  for (std::size_t i = 0; i < states.size(); ++i) {
    const State st = states[i];
    out.push_back({base + "_" + std::to_string(i + 1),
                   size,
                   [=] { return paintImage(size, [=](QPainter& p) { paint(p, size, st); }); },
                   {}});
  }
}

std::vector<SkinImage> skinCatalogue() {
  const std::vector<State> all{State::Normal, State::Hover, State::Selected};
  const std::vector<State> normalOnly{State::Normal};
  std::vector<SkinImage> images;

  images.push_back({"basemap", kBasemapSize, makeBasemap, [](const QImage& img, std::string& why) {
                      return verifyColourKey(img, windowShape(), kMainKey, why);
                    }});
  images.push_back({"btn_base", kPageSize, makeButtonPage, {}});
  images.push_back({"sys_base", kPageSize, makeSystemPage, {}});
  images.push_back({"macro_base", kPageSize, makeMacroPage, {}});
  images.push_back({"led_base", kPageSize, makeLightingPage, {}});
  images.push_back({"dpi_base", kPageSize, makeSensitivityPage, {}});
  images.push_back({"keymap_1", kKeyMapSize, [] { return makeKeyMap(1); }, {}});
  images.push_back({"keymap_2", kKeyMapSize, [] { return makeKeyMap(2); }, {}});

  // Menus: the name is the number of entries, and the height follows the rows.
  struct Menu {
    const char* name;
    QSize size;
    int rows;
    int sliderLeft;
    int arrowRows;  // rows that open a category panel
  };
  for (const Menu& m :
       {Menu{"10Keys", {217, 250}, 10, 185, 8}, Menu{"9Keys", {187, 226}, 9, 152, 0},
        Menu{"8Keys", {187, 202}, 8, 152, 0}, Menu{"7Keys", {187, 178}, 7, 152, 0},
        Menu{"5Keys", {187, 129}, 5, 152, 0}, Menu{"4Keys", {187, 106}, 4, 152, 0}})
    images.push_back(
        {m.name, m.size, [m] { return makeMenu(m.size, m.rows, m.sliderLeft, m.arrowRows); }, {}});

  const auto dialogCheck = [](const QImage& img, std::string& why) {
    return verifyColourKey(img, dialogShape(), kDialogKey, why);
  };
  images.push_back({"other", kDialogSize, makeOtherDialog, dialogCheck});
  images.push_back({"mode_conf_base", kDialogSize, makeModeNameDialog, dialogCheck});

  addFamily(images, "btn_base", kDialogButtonSize, normalOnly, paintDialogButton);
  addFamily(images, "title_base", kTabBarSize, all, paintTitleBar);
  addFamily(images, "mode_base", kModeBarSize, all, paintModeBar);
  addFamily(images, "led_base", kLedSize, all, paintLed);
  addFamily(images, "report", kReportButtonSize, {State::Normal, State::Selected},
            paintReportButton);
  addFamily(images, "macro_btn1", kLibraryButtonSize, all, paintCommandButton);
  addFamily(images, "keygroup", kKeyGroupButtonSize, all, paintKeyGroupButton);
  addFamily(images, "macro_btn2", kRecordButtonSize, all, paintRecordButton);
  addFamily(images, "macro_btn3", kEditButtonSize, all, paintCommandButton);
  addFamily(images, "macro_btn4", kStepButtonSize, normalOnly, paintIncreaseButton);
  addFamily(images, "macro_btn5", kStepButtonSize, normalOnly, paintDecreaseButton);
  return images;
}

// ---------------------------------------------------------------- output --

QByteArray pngBytes(const QImage& img) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  if (!buffer.open(QIODevice::WriteOnly) || !img.save(&buffer, "PNG")) return {};
  return bytes;
}

// Whole-file writes through a temporary file, so a failed run leaves the old file.
bool writeFile(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  if (file.write(bytes) != bytes.size()) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

int fail(const std::string& message) {
  std::fprintf(stderr, "skingen: %s\n", message.c_str());
  return 1;
}

}  // namespace
}  // namespace skingen

namespace skingen {
namespace {

// <icon-dir>/korvane-driver.svg and <icon-dir>/<N>x<N>/korvane-driver.png.
int writeIcons(const QString& iconDir) {
  const QDir dir(QFileInfo(iconDir).absoluteFilePath());
  std::vector<std::pair<QString, QByteArray>> outputs = {
      {dir.filePath(QStringLiteral("korvane-driver.svg")), iconSvg()}};
  for (const int size : kIconSizes) {
    const QByteArray png = pngBytes(iconImage(size));
    const QImage written = QImage::fromData(png, "PNG");
    if (png.isEmpty() || written.size() != QSize(size, size))
      return fail("icon " + std::to_string(size) + ": PNG encoding failed");
    outputs.emplace_back(dir.filePath(QStringLiteral("%1x%1/korvane-driver.png").arg(size)), png);
  }
  for (const auto& [path, bytes] : outputs) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
      return fail("cannot create " + path.toStdString());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
      return fail("cannot write " + path.toStdString());
    std::printf("%s\n", path.toStdString().c_str());
  }
  return 0;
}

}  // namespace
}  // namespace skingen

int main(int argc, char* argv[]) {
  using namespace skingen;

  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);

  if (argc == 3 && std::string(argv[1]) == "--icon") {
    return writeIcons(QString::fromLocal8Bit(argv[2]));
  }
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: skingen <skin-dir> [<start-dir>]\n");
    return 2;
  }
  const QString skinDir = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
  const QString startDir = argc == 3 ? QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath()
                                     : QFileInfo(skinDir).absolutePath();
  if (!QDir().mkpath(skinDir) || !QDir().mkpath(startDir))
    return fail("cannot create " + skinDir.toStdString() + " or " + startDir.toStdString());

  // Everything is drawn and checked first, so a failed check leaves the
  // previous files in place.
  struct Output {
    QString path;
    QByteArray bytes;
    std::string line;  // what the run reports
  };
  std::vector<Output> outputs;
  const QDir skins(skinDir);
  const QDir start(startDir);

  for (const SkinImage& entry : skinCatalogue()) {
    const QImage img = entry.make();
    if (img.size() != entry.size) return fail(entry.name + " came out the wrong size");
    const QByteArray png = pngBytes(img);
    const QImage written = QImage::fromData(png, "PNG");
    if (png.isEmpty() || written.isNull()) return fail(entry.name + ": PNG encoding failed");
    std::string why;
    if (entry.verify && !entry.verify(written, why)) return fail(entry.name + ": " + why);
    const std::string file = entry.name + ".png";
    outputs.push_back(
        {skins.filePath(QString::fromStdString(file)), png,
         file + "  " + std::to_string(img.width()) + " x " + std::to_string(img.height())});
  }

  const IndexedAnimation wait = makeWaitAnimation();
  const QByteArray gif = encodeGif(wait, kWaitSize, kWaitSize, kWaitDelayCentiseconds);
  std::string why;
  if (!verifyGif(gif, wait, kWaitSize, why)) return fail("wait.gif: " + why);
  outputs.push_back({start.filePath("wait.gif"), gif,
                     "wait.gif  " + std::to_string(kWaitSize) + " x " + std::to_string(kWaitSize) +
                         ", " + std::to_string(kWaitFrames) + " frames"});

  for (const auto& [name, text] :
       {std::pair{"VQX_A.sui", kThemeA}, std::pair{"VQX_B.sui", kThemeB}})
    outputs.push_back({start.filePath(QString::fromLatin1(name)), QByteArray(text), name});

  for (const Output& out : outputs) {
    if (!writeFile(out.path, out.bytes)) return fail("cannot write " + out.path.toStdString());
    std::printf("%s\n", out.line.c_str());
  }
  return 0;
}
