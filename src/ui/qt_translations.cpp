#include "ui/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

namespace korvane::ui {

QtTranslations::~QtTranslations() {
  if (installed_) {
    QCoreApplication::removeTranslator(&translator_);
  }
}

bool QtTranslations::load(const std::string& localeName) {
  if (installed_) {
    QCoreApplication::removeTranslator(&translator_);
    installed_ = false;
  }
  if (localeName.empty()) {
    return false;
  }
  // qtbase_zh_CN.qm holds the widgets' texts.
  if (!translator_.load(QLocale(QString::fromStdString(localeName)), QStringLiteral("qtbase"),
                        QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    return false;
  }
  installed_ = QCoreApplication::installTranslator(&translator_);
  return installed_;
}

}  // namespace korvane::ui
