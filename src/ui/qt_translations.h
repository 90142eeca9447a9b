#pragma once

#include <QTranslator>
#include <string>

namespace korvane::ui {

// Qt's own texts (the file chooser, the buttons of message boxes) in the
// user's language, from the translations the system ships with Qt. Installed
// while the object lives.
class QtTranslations {
 public:
  QtTranslations() = default;
  QtTranslations(const QtTranslations&) = delete;
  QtTranslations& operator=(const QtTranslations&) = delete;
  ~QtTranslations();

  // `localeName` as "zh_CN"; empty keeps Qt's English. False when Qt has no
  // translation for it: its texts then stay English.
  bool load(const std::string& localeName);

 private:
  QTranslator translator_;
  bool installed_ = false;
};

}  // namespace korvane::ui
