// Two real processes: the second start hands over to the first and ends.
#include <QProcess>
#include <QtTest>

namespace {

QString probe() {
  return QStringLiteral(KORVANE_PROBE);
}

QString uniqueName() {
  return QStringLiteral("korvane-test-%1").arg(QCoreApplication::applicationPid());
}

bool readLine(QProcess& process, const QByteArray& expected) {
  while (!process.canReadLine()) {
    if (!process.waitForReadyRead(5000)) {
      return false;
    }
  }
  return process.readLine().trimmed() == expected;
}

}  // namespace

class SingleInstanceTest : public QObject {
  Q_OBJECT
 private slots:
  void secondStartRaisesTheFirstAndEnds() {
    QProcess first;
    first.start(probe(), {uniqueName()});
    QVERIFY(first.waitForStarted());
    QVERIFY(readLine(first, "listening"));

    QProcess second;
    second.start(probe(), {uniqueName()});
    QVERIFY(second.waitForFinished(5000));
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(second.readAllStandardOutput().trimmed(), QByteArray("handed-over"));

    QVERIFY(readLine(first, "raised"));
    QVERIFY(first.waitForFinished(5000));
  }

  void aSocketLeftByACrashedCopyIsTakenOver() {
    QProcess crashed;
    crashed.start(probe(), {uniqueName()});
    QVERIFY(crashed.waitForStarted());
    QVERIFY(readLine(crashed, "listening"));
    crashed.kill();  // leaves its socket file behind
    QVERIFY(crashed.waitForFinished(5000));

    QProcess next;
    next.start(probe(), {uniqueName()});
    QVERIFY(next.waitForStarted());
    QVERIFY(readLine(next, "listening"));
    next.kill();
    next.waitForFinished(5000);
  }
};

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "single_instance_test.moc"
