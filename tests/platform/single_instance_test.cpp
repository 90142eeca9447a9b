// Two real processes: the second start hands over to the first and ends.
#include <QProcess>
#include <QtTest>
#include <csignal>

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

  // A stopped first copy (SIGSTOP, a debugger) neither accepts nor answers:
  // every later start ends within its time-out and says so, also once the
  // copy's backlog is full and a blocking connect would wait for it.
  void aStoppedCopyMakesLaterStartsEndWithNoAnswer() {
    QProcess first;
    first.start(probe(), {uniqueName()});
    QVERIFY(first.waitForStarted());
    QVERIFY(readLine(first, "listening"));
    QCOMPARE(::kill(static_cast<pid_t>(first.processId()), SIGSTOP), 0);
    for (int start = 0; start < 8; ++start) {
      QProcess later;
      // No time to wait: the answer is due at once.
      later.start(probe(), {uniqueName(), QStringLiteral("0")});
      QVERIFY2(later.waitForFinished(5000), "a later start hangs");
      QCOMPARE(later.exitCode(), 4);
      QCOMPARE(later.readAllStandardOutput().trimmed(), QByteArray("no-answer"));
    }
    ::kill(static_cast<pid_t>(first.processId()), SIGCONT);
    first.kill();
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
