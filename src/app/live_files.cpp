// The live settings, general and data files and their factory (Default_)
// copies: the copies are made into live files at the first start and by the
// factory reset, with the default names in the user's language.
#include <string>

#include "app/host.h"
#include "app/main_window_model.h"
#include "app/message_texts.h"
#include "files/file_io.h"
#include "settings/data_files.h"
#include "settings/ini_file.h"

namespace korvane::app {

namespace {

// Button and mode names holding a shipped name take the language's text for
// it; any other name (one the user gave) stays.
void translateNames(settings::IniFile& file, const std::string& section,
                    const std::map<std::string, std::string, std::less<>>& names) {
  const auto translate = [&](const std::string& key) {
    if (!file.hasKey(section, key)) {
      return;
    }
    const auto name = names.find(file.readString(section, key));
    if (name != names.end()) {
      file.writeString(section, key, name->second);
    }
  };
  for (int button = 1; button <= settings::kButtonCount; ++button) {
    translate("Key" + std::to_string(button));
  }
  for (int mode = 1; mode <= settings::kModeCount; ++mode) {
    translate("Mode" + std::to_string(mode));
  }
}

}  // namespace

std::vector<std::pair<std::filesystem::path, std::filesystem::path>>
MainWindowModel::factoryFilePairs() const {
  // The factory copies keep the live files' names with "Default_" in front,
  // in their own folders (the same ones when portable).
  const auto factory = [](const std::string& folder, const std::filesystem::path& live) {
    return settings::factoryFilePath(std::filesystem::path(folder) / live.filename());
  };
  std::vector<std::pair<std::filesystem::path, std::filesystem::path>> pairs = {
      {generalFilePath(), factory(state_.FactoryConfigDir, generalFilePath())}};
  for (int mode = 1; mode <= settings::kModeCount; ++mode) {
    const std::filesystem::path live = settings::settingsFilePath(state_.ConfigDir, mode);
    pairs.emplace_back(live, factory(state_.FactoryConfigDir, live));
  }
  for (int mode = 1; mode <= settings::kModeCount; ++mode) {
    const std::filesystem::path live = settings::dataFilePath(state_.DataDir, mode);
    pairs.emplace_back(live, factory(state_.FactoryDataDir, live));
  }
  return pairs;
}

std::optional<std::string> MainWindowModel::CopyFactoryFile(const std::filesystem::path& live,
                                                            const std::filesystem::path& factory) {
  // The reset replaces a live file of ours; one it could not read as ours
  // (too large, unreadable, without its section) stays as it is.
  if (std::optional<files::FileError> refused =
          settings::IniFile::load(live, codePage_).writeRefusal(live.stem().string())) {
    return fileErrorText(state_, refused);
  }
  const std::optional<std::string> bytes = files::readWholeFile(factory);
  if (!bytes) {
    return fileErrorText(state_, files::FileError{files::FileFailure::Read, factory, {}});
  }
  // The live file takes the factory file's encoding; a name that encoding
  // cannot hold makes it UTF-8.
  settings::IniFile file = settings::IniFile::fromBytes(*bytes, codePage_, live);
  // Each file has one section named after it (GM, Mode1 ..).
  translateNames(file, live.stem().string(), nameTexts_);
  return fileErrorText(state_, file.save());
}

void MainWindowModel::CreateMissingLiveFiles() {
  for (const auto& [live, factory] : factoryFilePairs()) {
    if (files::isRegularFile(live) || !files::isRegularFile(factory)) {
      continue;
    }
    if (CopyFactoryFile(live, factory)) {
      // A folder that refuses one file refuses the rest: say so once.
      host_.messageBox(LoadMessageText(state_, i18n::Message::UnableToWrite, {live.string()}));
      return;
    }
  }
}

}  // namespace korvane::app
