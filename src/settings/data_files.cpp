#include "settings/data_files.h"

#include "settings/code_page.h"
#include "settings/ini_file.h"

namespace korvane::settings {

namespace {

std::string dataKey(std::size_t index) {
  return "Data" + std::to_string(index);
}

}  // namespace

std::string dataSectionName(int mode) {
  return "Mode" + std::to_string(mode) + "_data";
}

std::string settingsSectionName(int mode) {
  return "Mode" + std::to_string(mode);
}

std::filesystem::path generalFilePath(const std::filesystem::path& configDir) {
  return configDir / kGeneralFileName;
}

std::filesystem::path factoryFilePath(const std::filesystem::path& liveFile) {
  return liveFile.parent_path() / ("Default_" + liveFile.filename().string());
}

std::filesystem::path dataFilePath(const std::filesystem::path& dataDir, int mode) {
  return dataDir / (dataSectionName(mode) + ".ini");
}

std::filesystem::path settingsFilePath(const std::filesystem::path& configDir, int mode) {
  return configDir / (settingsSectionName(mode) + ".ini");
}

bool readDataFile(const std::filesystem::path& file, const CodePage& codePage, ModeBlock& block) {
  const IniFile ini = IniFile::load(file, codePage);
  if (!ini.exists()) {
    return false;
  }
  // The section is named after the file, so a renamed copy still reads.
  const std::string section = file.stem().string();
  for (std::size_t i = 0; i < block.size(); ++i) {
    block[i] = static_cast<std::uint8_t>(ini.readInt(section, dataKey(i), 0) & 0xFF);
  }
  return true;
}

std::optional<files::FileError> writeDataFile(const std::filesystem::path& file,
                                              const CodePage& codePage, const ModeBlock& block) {
  IniFile ini = IniFile::load(file, codePage);
  const std::string section = file.stem().string();
  if (std::optional<files::FileError> refused = ini.writeRefusal(section)) {
    return refused;
  }
  for (std::size_t i = 0; i < block.size(); ++i) {
    ini.writeInt(section, dataKey(i), block[i]);
  }
  return ini.save();
}

void LoadModeForEditing(ModeBlocks& blocks, const std::filesystem::path& dataDir,
                        const CodePage& codePage,
                        const std::function<void(int mode)>& readSettingsFile) {
  for (int mode = 1; mode <= kModeCount; ++mode) {
    // A missing file leaves the working block as the previous file (or the
    // factory block) left it, and that is what this mode's stored block gets.
    readDataFile(dataFilePath(dataDir, mode), codePage, blocks.working);
    blocks.takeWorkingIntoStored(mode);
  }
  if (blocks.activeMode < 1 || blocks.activeMode > kModeCount) {
    return;
  }
  blocks.bringActiveIntoWorking();
  if (readSettingsFile) {
    readSettingsFile(blocks.activeMode);
  }
}

}  // namespace korvane::settings
