// The language and data loaders: the input is a file in the Language or data
// folder, read as start-up reads it (every caption, dialog text and message of
// the catalogue in the language's code page; the 64 bytes of a mode block).
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "i18n/language.h"
#include "i18n/messages.h"
#include "i18n/text_catalogue.h"
#include "settings/code_page.h"
#include "settings/data_files.h"
#include "settings/ini_file.h"
#include "settings/mode_block.h"

namespace {

namespace fs = std::filesystem;
namespace i18n = korvane::i18n;
namespace settings = korvane::settings;

constexpr std::string_view kLanguages[] = {"CHS", "CHT", "ENU"};

// One folder for the whole run, named after the process.
const fs::path& folder() {
  static const fs::path path = [] {
    const fs::path made =
        fs::temp_directory_path() / ("korvane-fuzz-" + std::to_string(::getpid()));
    fs::create_directories(made / "Language");
    fs::create_directories(made / "data");
    return made;
  }();
  return path;
}

void put(const fs::path& file, std::string_view bytes) {
  fs::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) {
    return 0;
  }
  const std::string_view language = kLanguages[data[0] % 3];
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  const settings::CodePage codePage = settings::CodePage::forLanguage(language);

  const auto file = i18n::languageFile(folder() / "Language", language);
  if (file) {
    put(file->path, bytes);
    const settings::IniFile texts = settings::IniFile::load(file->path, codePage);
    for (const i18n::TextRow& row : i18n::kMainTexts) {
      static_cast<void>(texts.readString(file->section, row.key));
      static_cast<void>(texts.readBool(file->section, row.key));
    }
    for (const i18n::DialogTextRow& dialog : i18n::kDialogTexts) {
      static_cast<void>(texts.readString(file->section, dialog.title.key));
    }
    for (const i18n::MessageRow& message : i18n::kMessages) {
      static_cast<void>(
          i18n::fillMessage(texts.readString(file->section, message.key), {"1", "2", "%3"}));
    }
  }

  const fs::path dataFile = settings::dataFilePath(folder() / "data", 1 + data[0] % 5);
  put(dataFile, bytes);
  settings::ModeBlock block{};
  static_cast<void>(settings::readDataFile(dataFile, codePage, block));
  return 0;
}
