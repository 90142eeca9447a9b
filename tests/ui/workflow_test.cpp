// The real window against the emulated mouse, driven as a user drives it:
// every click and hover goes to a point of the window, so it reaches whatever
// widget lies on top there. The results are read from the model and from
// what the mouse received.
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <filesystem>

#include "app/main_window_model.h"
#include "macros/compiler.h"
#include "macros/macro_file.h"
#include "platform/hid/emulated_mouse.h"
#include "support/fake_host.h"
#include "support/mouse_transfers.h"
#include "support/recording_pointer_sink.h"
#include "ui/main_window.h"

using korvane::app::MainWindowModel;
using korvane::platform::EmulatedMouse;
using korvane::platform::TransferKind;
using korvane::testing::commandCodes;
using korvane::ui::MainWindow;

namespace {

constexpr int kFirmwareVersion = 7;

// A full Apply with mode `active` as the active one: the other modes first,
// the active one last, then both halves of every macro block.
std::vector<int> applyCodes(int active) {
  std::vector<int> codes;
  for (int mode = 1; mode <= 5; ++mode) {
    if (mode != active) {
      codes.push_back(mode);
    }
  }
  codes.push_back(active);
  for (int block = 0; block < 10; ++block) {
    codes.push_back(0x20 + block);
    codes.push_back(0x30 + block);
  }
  return codes;
}

}  // namespace

class WorkflowTest : public QObject {
  Q_OBJECT
 private slots:
  void init() {
    start_ = std::make_unique<QTemporaryDir>();  // a fresh start folder for each road
    QVERIFY(start_->isValid());
    // The start folder as shipped, with the program beside it: its macro
    // folder is the start folder's "Macro".
    const QDir start(start_->path());
    for (const char* folder : {"skins", "configure", "data"}) {
      QVERIFY(start.mkpath(folder));
      const QDir shipped(QStringLiteral(KORVANE_SOURCE_DIR "/dist/") + folder);
      for (const QString& name : shipped.entryList(QDir::Files)) {
        QVERIFY(QFile::copy(shipped.filePath(name), start.filePath(folder + ("/" + name))));
      }
    }
    for (const char* theme : {"VQX_A.sui", "VQX_B.sui"}) {
      QVERIFY(
          QFile::copy(QStringLiteral(KORVANE_SOURCE_DIR "/dist/") + theme, start.filePath(theme)));
    }
    QFile program(start.filePath("korvane-driver"));
    QVERIFY(program.open(QIODevice::WriteOnly));
    program.close();

    host_ = std::make_unique<korvane::testing::FakeHost>();
    pointerSink_ = std::make_unique<korvane::testing::RecordingPointerSink>();
    mouse_ = std::make_unique<EmulatedMouse>();
    mouse_->setFirmwareVersion(kFirmwareVersion);
    model_ = std::make_unique<MainWindowModel>(*host_, *mouse_, *pointerSink_,
                                               start_->path().toStdString(),
                                               start.filePath("korvane-driver").toStdString());
    window_ = std::make_unique<MainWindow>(*model_);
    window_->create();
    // The tests run the monitor's tick themselves, when the road needs it.
    for (QTimer* timer : window_->findChildren<QTimer*>()) {
      timer->stop();
    }
    window_->move(0, 0);
    window_->show();
    QCoreApplication::processEvents();
  }

  void cleanup() {
    window_.reset();
    model_.reset();
    mouse_.reset();
    pointerSink_.reset();
    host_.reset();
    start_.reset();
  }

  void tabsSwitchPagesOnlyOnceTheMouseIsFound() {
    click(visibleLabel("灵敏度设置"));
    QCOMPARE(model_->visiblePage(), 1);
    QVERIFY(window_->pageWidget(1)->isVisible());

    connectMouse();
    QCOMPARE(versionLabel(), QStringLiteral(" Ver-%1").arg(kFirmwareVersion));
    click(visibleLabel("灵敏度设置"));
    QCOMPARE(model_->visiblePage(), 3);
    QVERIFY(window_->pageWidget(3)->isVisible());
    QVERIFY(!window_->pageWidget(1)->isVisible());
  }

  void buttonRoadWritesTheFunctionIntoTheActiveMode() {
    connectMouse();
    click(visibleLabel("设置模式2"));
    QCOMPARE(model_->blocks.activeMode, 2);
    click(visibleLabel("后退"));
    QCOMPARE(model_->keys.selectedButton(), 4);
    hover(visibleLabel("办公命令"));
    QVERIFY(model_->keys.panels[2].panel.visible);
    QVERIFY(visibleLabel("Copy") != nullptr);
    shoot("page1-menu");

    click(visibleLabel("Copy"));
    QVERIFY(!model_->keys.gbMenu.visible);
    QVERIFY(visibleLabel("Copy") != nullptr);  // now the caption of the back button
    QCOMPARE(model_->keys.Key[3].caption, std::string("Copy"));

    mouse_->clearTransfers();
    click(visibleLabel("确 定"));
    const auto& mode2 = mouse_->modes()[1];
    QCOMPARE((std::array<int, 3>{mode2[17], mode2[18], mode2[19]}),
             (std::array<int, 3>{0x03, 0x01, 0x06}));
    QCOMPARE(commandCodes(*mouse_), applyCodes(2));
    QVERIFY(host_->messages.empty());
  }

  void settingsRoadWritesReportRateAndLighting() {
    connectMouse();
    click(visibleLabel("设置模式1"));
    click(visibleLabel("灵敏度设置"));
    click(visibleLabel("250Hz"));  // the caption lets the click through to its image
    QCOMPARE(model_->sensitivity.gb1.checkedIndex(), 1);
    shoot("page3");

    click(visibleLabel("灯光设置"));
    click(visibleLabel("关闭"));
    QVERIFY(visibleLabel("蓝色") == nullptr);  // lighting off hides the colours
    click(visibleLabel("开启"));
    click(visibleLabel("蓝色"));
    shoot("page4");

    click(visibleLabel("确 定"));
    const auto& mode1 = mouse_->modes()[0];
    QCOMPARE(int(mode1[korvane::settings::kReportRateOffset]), 2);
    QCOMPARE(mode1[korvane::settings::kLightAndMotorOffset] & korvane::settings::kLightEffectMask,
             int(korvane::app::kLightOnEffect));
    QCOMPARE(int(mode1[korvane::settings::kLightFrequencyOffset]),
             int(korvane::app::kLightOnFrequency));
    QCOMPARE(int(mode1[korvane::settings::kLightColourOffset]), 5);

    click(visibleLabel("系统设置"));
    QCOMPARE(model_->visiblePage(), 5);
    shoot("page5");
  }

  void macroRoadWritesTheRecordedMacroIntoBlockZero() {
    connectMouse();
    click(visibleLabel("宏管理"));
    host_->typedNames = {"demo"};
    click(visibleLabel("新建"));
    auto* library = shownAt<QListWidget>(2, model_->macro.macro_list);
    QVERIFY(library != nullptr);
    QCOMPARE(library->count(), 1);
    QCOMPARE(library->item(0)->text(), QStringLiteral("1. demo"));
    QCOMPARE(shownSelection(library), model_->macro.macro_list.selected.value_or(-1));

    click(visibleLabel("录制鼠标左键"));
    click(visibleLabel("录制鼠标左键"));
    auto* script = shownAt<QListWidget>(2, model_->macro.macro_content);
    QVERIFY(script != nullptr);
    QCOMPARE(script->count(), model_->macro.editor().entryCount);
    QCOMPARE(script->count(), 7);

    // The pause between the two clicks.
    constexpr int kPause = 3;
    QCOMPARE(model_->macro.contentDrawing(kPause)->icon, 0);
    const QRect entry = script->visualItemRect(script->item(kPause));
    click(script->viewport(), entry.center());
    QCOMPARE(model_->macro.editor().selected, std::optional<int>(kPause));

    auto* delay = shownAt<QLineEdit>(2, model_->macro.Edt_ModifyTime);
    QVERIFY(delay != nullptr);
    QTest::keyClick(delay, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(delay, "120");
    QCOMPARE(model_->macro.Edt_ModifyTime.text, std::string("120"));
    click(visibleLabel("修改延迟时间"));
    QCOMPARE(model_->macro.contentDrawing(kPause)->text, std::string("120 ms"));
    click(visibleLabel("确定"));
    QVERIFY(host_->messages.empty());
    shoot("page2");

    mouse_->clearTransfers();
    click(visibleLabel("确 定"));
    const auto file = std::filesystem::path(model_->state().MacroDir) / "demo.spm";
    const korvane::macros::MacroScript saved = korvane::macros::readMacroFile(file).script;
    QVERIFY(std::find(saved.begin(), saved.end(), "0 120") != saved.end());
    const auto compiled =
        korvane::macros::compileMacroScript(saved, 0, model_->macro.repeatOption());
    QVERIFY(compiled.ok());
    const korvane::macros::MacroBlock& block = compiled.value().block;
    QVERIFY(block != korvane::macros::MacroBlock{});
    QVERIFY(mouse_->macros()[0] == block);

    const auto& transfers = mouse_->transfers();
    const auto command = std::find_if(transfers.begin(), transfers.end(), [](const auto& t) {
      return t.kind == TransferKind::SetFeature && t.bytes.at(1) == 0x20;
    });
    QVERIFY(command != transfers.end() && command + 1 != transfers.end());
    const auto& data = (command + 1)->bytes;
    QVERIFY((command + 1)->kind == TransferKind::Write);
    QVERIFY(std::equal(block.begin(), block.begin() + 64, data.begin() + 1, data.begin() + 65));
  }

  // A click on a part of a tab or a mode panel runs the handler once, not
  // once for the part and again for the panel it lies on.
  void aClickRunsItsHandlerOnce() {
    connectMouse();
    struct Case {
      const char* caption;
      std::function<void(MainWindowModel&)> handler;
    };
    const Case cases[] = {
        {"设置模式3", [](MainWindowModel& m) { m.modes.pnl_modeClick(3); }},
        {"灵敏度设置", [](MainWindowModel& m) { m.ShowPage(3); }},
    };
    for (const Case& c : cases) {
      // What one run of the handler asks of the host.
      const int pumpsBefore = host_->pumps;
      c.handler(*model_);
      window_->refresh();
      const int pumpsPerRun = host_->pumps - pumpsBefore;
      QVERIFY(pumpsPerRun > 0);

      const int pumpsBeforeClick = host_->pumps;
      click(visibleLabel(c.caption));
      QCOMPARE(host_->pumps - pumpsBeforeClick, pumpsPerRun);
    }
  }

  void aRightClickOnTheActiveModeOffersItsMenuOnce() {
    connectMouse();
    click(visibleLabel("设置模式2"));
    int menusShown = 0;
    QTimer closer;  // dismisses each menu as soon as it shows
    connect(&closer, &QTimer::timeout, [&menusShown] {
      if (QWidget* menu = QApplication::activePopupWidget()) {
        ++menusShown;
        menu->close();
      }
    });
    closer.start(0);
    QLabel* name = visibleLabel("设置模式2");
    QVERIFY(name != nullptr);
    QTest::mouseClick(window_->windowHandle(), Qt::RightButton, {},
                      inWindow(name, name->rect().center()));
    closer.stop();
    QCOMPARE(menusShown, 1);
  }

  // Keys and drags move nothing the model does not know about: the entry a
  // delay change goes to is always the one shown selected.
  void theScriptListShowsOnlyTheSelectionOfTheModel() {
    connectMouse();
    click(visibleLabel("宏管理"));
    host_->typedNames = {"demo"};
    click(visibleLabel("新建"));
    click(visibleLabel("录制鼠标左键"));
    click(visibleLabel("录制鼠标左键"));
    auto* script = shownAt<QListWidget>(2, model_->macro.macro_content);
    QVERIFY(script != nullptr);
    click(script->viewport(), script->visualItemRect(script->item(3)).center());
    QCOMPARE(model_->macro.editor().selected, std::optional<int>(3));

    QTest::keyClick(script, Qt::Key_Down);
    const QPoint from =
        inWindow(script->viewport(), script->visualItemRect(script->item(1)).center());
    const QPoint to =
        inWindow(script->viewport(), script->visualItemRect(script->item(5)).center());
    QTest::mousePress(window_->windowHandle(), Qt::LeftButton, {}, from);
    QTest::mouseMove(window_->windowHandle(), to);
    QTest::mouseRelease(window_->windowHandle(), Qt::LeftButton, {}, to);

    QCOMPARE(shownSelection(script), model_->macro.editor().selected.value_or(-1));
  }

  // The window's background, the page's background picture and the button
  // page itself each close the menu and drop the selection.
  void aClickBesideTheMenuClosesIt() {
    connectMouse();
    QWidget* page = window_->pageWidget(1);
    const QPoint places[] = {QPoint(100, 300), inWindow(page, QPoint(380, 30)),
                             inWindow(page, QPoint(50, 370))};
    for (const QPoint& place : places) {
      click(visibleLabel("后退"));
      QVERIFY(model_->keys.gbMenu.visible);
      QTest::mouseClick(window_->windowHandle(), Qt::LeftButton, {}, place);
      QVERIFY2(!model_->keys.gbMenu.visible,
               qPrintable(QStringLiteral("at %1,%2").arg(place.x()).arg(place.y())));
      QCOMPARE(model_->keys.selectedButton(), 0);
      QVERIFY(!model_->keys.Key[3].highlighted);
    }
  }

  void aSkinFileReplacedOnDiskShowsAtTheNextHover() {
    connectMouse();
    QLabel* caption = visibleLabel("灯光设置");
    QLabel* bar = tabBar(4);
    QVERIFY(bar != nullptr);
    const QPoint away(100, 300);
    hover(caption);
    QCOMPARE(bar->pixmap().toImage().convertToFormat(QImage::Format_ARGB32),
             skinPicture("title_base_2"));

    hoverAt(away);
    QImage replacement(52, 7, QImage::Format_RGB32);
    replacement.fill(Qt::magenta);
    const QString file = start_->filePath("skins/title_base_2.png");
    QVERIFY(QFile::remove(file) && replacement.save(file));
    hover(caption);
    QCOMPARE(bar->pixmap().toImage().pixelColor(10, 3), QColor(Qt::magenta));
  }

 private:
  // The monitor's tick finds the mouse; the window's timer would redraw.
  void connectMouse() {
    model_->DetectHIDDeviceCounterTimer();
    window_->refresh();
  }

  // The one visible label showing `text`.
  QLabel* visibleLabel(const char* text) const {
    QLabel* found = nullptr;
    for (QLabel* label : window_->findChildren<QLabel*>()) {
      if (label->text() == QString::fromUtf8(text) && label->isVisible()) {
        if (found != nullptr) {
          qWarning("more than one visible label shows %s", text);
          return nullptr;
        }
        found = label;
      }
    }
    return found;
  }

  // The widget of type T that shows at the centre of a control of page `tab`.
  template <typename T>
  T* shownAt(int tab, const korvane::app::Control& control) const {
    const korvane::app::Rect& g = control.geometry;
    QWidget* widget = window_->pageWidget(tab)->childAt(g.x + g.width / 2, g.y + g.height / 2);
    while (widget != nullptr && qobject_cast<T*>(widget) == nullptr) {
      widget = widget->parentWidget();
    }
    return qobject_cast<T*>(widget);
  }

  // The row a list shows selected, -1 for none (or, wrongly, several).
  static int shownSelection(const QListWidget* list) {
    const auto shown = list->selectedItems();
    return shown.size() == 1 ? list->row(shown.first()) : -1;
  }

  QLabel* tabBar(int tab) const {
    for (QLabel* part : window_->tabWidget(tab)->findChildren<QLabel*>()) {
      if (part->text().isEmpty()) {
        return part;
      }
    }
    return nullptr;
  }

  QImage skinPicture(const char* base) const {
    return QImage(start_->filePath(QStringLiteral("skins/%1.png").arg(base)))
        .convertToFormat(QImage::Format_ARGB32);
  }

  QPoint inWindow(QWidget* widget, QPoint at) const { return widget->mapTo(window_.get(), at); }

  // A left click where the widget shows on screen, through the window, so
  // it lands on whatever lies on top there.
  void click(QWidget* widget, std::optional<QPoint> at = std::nullopt) {
    QVERIFY(widget != nullptr);
    QTest::mouseClick(window_->windowHandle(), Qt::LeftButton, {},
                      inWindow(widget, at.value_or(widget->rect().center())));
  }

  void hover(QWidget* widget) {
    QVERIFY(widget != nullptr);
    hoverAt(inWindow(widget, widget->rect().center()));
  }

  void hoverAt(QPoint point) { QTest::mouseMove(window_->windowHandle(), point); }

  void shoot(const char* name) {
    const QPixmap shot = window_->grab();
    QVERIFY(!shot.isNull());
    QVERIFY(shot.save(QDir::temp().filePath(QStringLiteral("korvane-workflow-%1.png").arg(name))));
  }

  QString versionLabel() const {
    for (QLabel* label : window_->findChildren<QLabel*>()) {
      if (label->text().startsWith(QStringLiteral(" Ver-"))) {
        return label->text();
      }
    }
    return {};
  }

  std::unique_ptr<QTemporaryDir> start_;
  std::unique_ptr<korvane::testing::FakeHost> host_;
  std::unique_ptr<korvane::testing::RecordingPointerSink> pointerSink_;
  std::unique_ptr<EmulatedMouse> mouse_;
  std::unique_ptr<MainWindowModel> model_;
  std::unique_ptr<MainWindow> window_;
};

QTEST_MAIN(WorkflowTest)
#include "workflow_test.moc"
