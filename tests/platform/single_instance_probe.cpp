// A stand-in program for the single-instance test: the first copy listens
// and reports a raise request; a later copy hands over and ends.
#include <QCoreApplication>
#include <QTextStream>

#include "platform/window_system/single_instance.h"

int main(int argc, char* argv[]) {
  QCoreApplication application(argc, argv);
  const QString name = application.arguments().value(1);
  QTextStream out(stdout);
  // The hand-over's time-out in ms, when given.
  bool given = false;
  const int timeoutMs = application.arguments().value(2).toInt(&given);
  korvane::platform::SingleInstance instance(name);
  using HandOver = korvane::platform::SingleInstance::HandOver;
  switch (given ? instance.handOverToRunningCopy(timeoutMs) : instance.handOverToRunningCopy()) {
    case HandOver::HandedOver:
      out << "handed-over" << Qt::endl;
      return 0;
    case HandOver::NoAnswer:
      out << "no-answer" << Qt::endl;
      return 4;
    case HandOver::NoRunningCopy:
      break;
  }
  if (!instance.listen()) {
    out << "cannot-listen" << Qt::endl;
    return 3;
  }
  QObject::connect(&instance, &korvane::platform::SingleInstance::raiseRequested, &application,
                   [&out] {
                     out << "raised" << Qt::endl;
                     QCoreApplication::exit(0);
                   });
  out << "listening" << Qt::endl;
  return QCoreApplication::exec();
}
