#include "i18n/language.h"

#include <array>
#include <cstdlib>

namespace korvane::i18n {

namespace {

struct Language {
  unsigned localeId;
  std::string_view code;
  std::string_view folder;
  std::string_view file;
  std::string_view section;
  std::string_view missingMessage;
  std::string_view posixLocale;
};

constexpr std::array<Language, 3> kLanguages = {{
    {2052, "CHS", "2052", "Simplified Chinese.ini", "Simplified Chinese",
     "没有发现\"Simplified Chinese.ini\"文件", "zh_CN"},
    {1028, "CHT", "1028", "Traditional Chinese.ini", "Traditional Chinese",
     "沒有發現\"Traditional Chinese.ini\"檔案", "zh_TW"},
    {1033, "ENU", "1033", "English.ini", "English", "\"English.ini\" File No Find", "en_US"},
}};

const Language* findByCode(std::string_view code) {
  for (const Language& language : kLanguages) {
    if (language.code == code) {
      return &language;
    }
  }
  return nullptr;
}

}  // namespace

std::string languageCodeForLocaleId(unsigned localeId) {
  for (const Language& language : kLanguages) {
    if (language.localeId == localeId) {
      return std::string(language.code);
    }
  }
  return {};
}

unsigned localeIdForLocaleName(std::string_view localeName) {
  // "zh_CN.UTF-8@variant" -> "zh_CN"
  const std::size_t end = localeName.find_first_of(".@");
  const std::string_view territory = localeName.substr(0, end);
  for (const Language& language : kLanguages) {
    if (language.posixLocale == territory) {
      return language.localeId;
    }
  }
  return 0;
}

std::string localeNameOfLanguage(std::string_view languageCode) {
  const Language* language = findByCode(languageCode);
  return language != nullptr ? std::string(language->posixLocale) : std::string();
}

std::string languageCodeFromEnvironment() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') {
      return languageCodeForLocaleId(localeIdForLocaleName(value));
    }
  }
  return {};
}

std::optional<LanguageFile> languageFile(const std::filesystem::path& languageDir,
                                         std::string_view languageCode) {
  const Language* language = findByCode(languageCode);
  if (language == nullptr) {
    return std::nullopt;
  }
  return LanguageFile{languageDir / language->folder / language->file,
                      std::string(language->section)};
}

std::optional<std::string> missingLanguageFileMessage(std::string_view languageCode) {
  const Language* language = findByCode(languageCode);
  if (language == nullptr) {
    return std::nullopt;
  }
  return std::string(language->missingMessage);
}

}  // namespace korvane::i18n
