#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace korvane::i18n {

// "CHS", "CHT", "ENU", or empty for any other locale.
std::string languageCodeForLocaleId(unsigned localeId);
// The locale identifier of a POSIX locale name such as "zh_CN.UTF-8":
// zh_CN 2052, zh_TW 1028, en_US 1033; 0 for anything else (zh_HK, en_GB ...),
// so only those three choose a language.
unsigned localeIdForLocaleName(std::string_view localeName);
// The POSIX locale of a language, "zh_CN", "zh_TW" or "en_US"; empty for an
// empty or unknown code.
std::string localeNameOfLanguage(std::string_view languageCode);
// The locale of the user-interface thread: LC_ALL, LC_MESSAGES, then LANG.
std::string languageCodeFromEnvironment();

struct LanguageFile {
  std::filesystem::path path;  // below the language folder, e.g. 2052/Simplified Chinese.ini
  std::string section;         // "Simplified Chinese"
};
// The file and section of a language; nothing for an empty or unknown code.
std::optional<LanguageFile> languageFile(const std::filesystem::path& languageDir,
                                         std::string_view languageCode);
// The message for a missing language file; nothing for other codes.
std::optional<std::string> missingLanguageFileMessage(std::string_view languageCode);

}  // namespace korvane::i18n
