// The Qt host's dialogs and message boxes on the offscreen platform: a
// message raised in a dialog shows above it, the macro list is readable, and
// Qt's own buttons speak the user's language.
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "ui/qt_host.h"
#include "ui/qt_translations.h"
#include "ui/skinned_dialog.h"
#include "ui/widgets.h"

using korvane::ui::QtHost;
using korvane::ui::QtTranslations;
using korvane::ui::SkinnedDialog;

namespace {

// Runs `step` once the event loop of the next modal window runs.
void whenModal(const std::function<void(QWidget*)>& step) {
  QTimer::singleShot(0, [step] { step(QApplication::activeModalWidget()); });
}

// The dialog's OK, the label whose text the dialog shows for it.
QWidget* okOf(QWidget* dialog, const QString& text) {
  for (auto* label : dialog->findChildren<korvane::ui::ClickLabel*>()) {
    if (label->text() == text) {
      return label;
    }
  }
  return nullptr;
}

}  // namespace

class DialogsTest : public QObject {
  Q_OBJECT
 private slots:
  void aMessageFromTheMacroNameDialogBelongsToItAndShowsAboveIt() {
    QtHost host;
    QWidget* dialog = nullptr;
    QWidget* boxParent = nullptr;
    bool boxOnTop = false;
    int oks = 0;
    whenModal([&](QWidget* modal) {
      dialog = modal;
      QVERIFY(dialog != nullptr);
      QWidget* ok = okOf(dialog, QStringLiteral("OK"));
      QVERIFY(ok != nullptr);
      QTest::mouseClick(ok, Qt::LeftButton);  // an empty name: refused with a message
    });
    const QtHost::NameDialogResult result = host.macroNameDialog([&](const std::string&) {
      ++oks;
      whenModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        QVERIFY(box != nullptr);
        boxParent = box->parentWidget();
        boxOnTop = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        box->accept();
        // The dialog answers again once the message is gone.
        QTimer::singleShot(0, [dialog] { qobject_cast<QDialog*>(dialog)->reject(); });
      });
      host.messageBox("empty");
      return false;
    });
    QCOMPARE(oks, 1);
    QVERIFY(!result.accepted);
    QCOMPARE(boxParent, dialog);
    QVERIFY(boxOnTop);
  }

  void theMacroListDropsDownAsItsBox() {
    QtHost host;
    QImage shown;
    whenModal([&](QWidget* modal) {
      auto* dialog = qobject_cast<SkinnedDialog*>(modal);
      QVERIFY(dialog != nullptr);
      dialog->list()->showPopup();
      QAbstractItemView* view = dialog->list()->view();
      QCoreApplication::processEvents();
      shown = view->viewport()->grab().toImage();
      dialog->list()->hidePopup();
      dialog->reject();
    });
    QCOMPARE(host.chooseMacro({"alpha", "beta"}), std::optional<int>());
    QVERIFY(!shown.isNull());
    // Black behind the names, and white names on it.
    int light = 0;
    int dark = 0;
    for (int y = 0; y < shown.height(); ++y) {
      for (int x = 0; x < shown.width(); ++x) {
        const int grey = qGray(shown.pixel(x, y));
        light += grey > 200 ? 1 : 0;
        dark += grey < 40 ? 1 : 0;
      }
    }
    const int all = shown.width() * shown.height();
    QVERIFY2(dark > all / 2, "the list is not dark");
    QVERIFY2(light > 0, "no light text on the list");
  }

  void qtsOwnButtonsSpeakTheUsersLanguage() {
    const std::vector<std::pair<const char*, QString>> cases = {
        {"zh_CN", QStringLiteral("确定")},
        {"zh_TW", QStringLiteral("確定")},
    };
    for (const auto& [locale, ok] : cases) {
      QtTranslations translations;
      QVERIFY2(translations.load(locale), locale);
      QMessageBox box(QMessageBox::NoIcon, QString(), QString(), QMessageBox::Ok);
      QCOMPARE(box.button(QMessageBox::Ok)->text().remove(QLatin1Char('&')), ok);
    }
    // No language of the three: Qt's English.
    QtTranslations none;
    QVERIFY(!none.load(""));
    QMessageBox box(QMessageBox::NoIcon, QString(), QString(), QMessageBox::Ok);
    QCOMPARE(box.button(QMessageBox::Ok)->text().remove(QLatin1Char('&')), QStringLiteral("OK"));
  }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
