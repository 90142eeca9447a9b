// The Qt view on the offscreen platform: it is built from the skin, clicks
// reach the model's handlers, and the colour key shapes the window.
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

#include "app/main_window_model.h"
#include "support/fake_host.h"
#include "support/no_hid.h"
#include "support/recording_pointer_sink.h"
#include "ui/main_window.h"
#include "ui/widgets.h"
#include "ui/window_shape.h"

using korvane::app::MainWindowModel;
using korvane::ui::MainWindow;

namespace {

const QColor kKey(128, 0, 0);

void writeImage(const QString& file, QSize size, const QColor& fill) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(fill);
  QVERIFY(image.save(file));
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void init() {
    QVERIFY(start_.isValid());
    QDir(start_.path()).mkpath("skins");
    const QString skins = start_.path() + "/skins/";
    // A base image whose corner is the key colour: that corner is see-through.
    QImage base(905, 619, QImage::Format_RGB32);
    base.fill(QColor(30, 32, 36));
    for (int y = 0; y < 40; ++y) {
      for (int x = 0; x < 40; ++x) {
        base.setPixelColor(x, y, kKey);
      }
    }
    base.setPixelColor(500, 300, kKey);
    QVERIFY(base.save(skins + "basemap.png"));
    writeImage(skins + "title_base_1.png", {52, 7}, Qt::darkGray);
    writeImage(skins + "title_base_2.png", {52, 7}, Qt::cyan);
    writeImage(skins + "title_base_3.png", {52, 7}, Qt::yellow);
    model_ =
        std::make_unique<MainWindowModel>(host_, hid_, pointerSink_, start_.path().toStdString(),
                                          (start_.path() + "/korvane-driver").toStdString());
    window_ = std::make_unique<MainWindow>(*model_);
    window_->create();
  }

  void cleanup() {
    window_.reset();
    model_.reset();
  }

  void windowHasTheFixedSizeAndTitle() {
    QCOMPARE(window_->size(), QSize(901, 681));
    QCOMPARE(window_->windowTitle(), QStringLiteral("KorvaneDriver v1.0"));
    QVERIFY(window_->windowFlags().testFlag(Qt::FramelessWindowHint));
  }

  void keyColourPixelsAreSeeThrough() {
    const QRegion shape = window_->shapeRegion();
    QVERIFY(!shape.contains(QPoint(10, 10)));
    QVERIFY(!shape.contains(QPoint(500, 300)));
    QVERIFY(shape.contains(QPoint(501, 300)));
    QVERIFY(shape.contains(QPoint(100, 100)));
    // Below the 619-pixel base image the window shows only its key colour.
    QVERIFY(!shape.contains(QPoint(100, 650)));
  }

  void centringUsesIntegerHalves() {
    QCOMPARE(korvane::ui::centredOn({1366, 768}, {901, 681}), QPoint(683 - 450, 384 - 340));
  }

  void tabClickShowsItsPageOnceTheMouseIsThere() {
    QWidget* tab3 = window_->tabWidget(3);
    QTest::mouseClick(tab3, Qt::LeftButton);
    QVERIFY(window_->pageWidget(1)->isVisibleTo(window_.get()));  // tabs off without a mouse

    for (korvane::app::Control* control : model_->deviceControls()) {
      control->enabled = true;
    }
    window_->refresh();
    QTest::mouseClick(tab3, Qt::LeftButton);
    QCOMPARE(model_->visiblePage(), 3);
    QVERIFY(window_->pageWidget(3)->isVisibleTo(window_.get()));
    QVERIFY(!window_->pageWidget(1)->isVisibleTo(window_.get()));
  }

  // The five tab bars show title_base_1: one decoding serves them all.
  void aPictureIsDecodedOnceForEveryControlThatShowsIt() {
    model_->LoadMainSkin();
    window_->refresh();
    QSet<qint64> decodings;
    int bars = 0;
    for (auto* label : window_->findChildren<korvane::ui::ClickLabel*>()) {
      const QPixmap picture = label->picture();
      if (picture.size() == QSize(52, 7)) {
        ++bars;
        decodings.insert(picture.cacheKey());
      }
    }
    QCOMPARE(bars, 5);
    QCOMPARE(decodings.size(), 1);
  }

  void closeLabelReachesTheHost() {
    auto* close = window_->findChildren<QLabel*>().value(0);
    QVERIFY(close != nullptr);
    const auto labels = window_->findChildren<QLabel*>();
    for (QLabel* label : labels) {
      if (label->text() == QStringLiteral("X")) {
        QTest::mouseClick(label, Qt::LeftButton);
      }
    }
    QCOMPARE(host_.closeRequests, 1);
  }

 private:
  QTemporaryDir start_;
  korvane::testing::FakeHost host_;
  korvane::testing::NoHid hid_;
  korvane::testing::RecordingPointerSink pointerSink_;
  std::unique_ptr<MainWindowModel> model_;
  std::unique_ptr<MainWindow> window_;
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
