#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "files/file_io.h"
#include "settings/mode_block.h"

namespace korvane::settings {

class CodePage;

// Where the mode files live: `configure` holds the settings files and GM.ini,
// `data` the data files; both have `Default_` factory copies beside them.
std::filesystem::path dataFilePath(const std::filesystem::path& dataDir, int mode);
std::filesystem::path settingsFilePath(const std::filesystem::path& configDir, int mode);
std::string dataSectionName(int mode);      // "Mode3_data"
std::string settingsSectionName(int mode);  // "Mode3"
// The general file: mode names, the active mode and the macro repeat settings.
inline constexpr const char* kGeneralFileName = "GM.ini";
inline constexpr const char* kGeneralSection = "GM";
std::filesystem::path generalFilePath(const std::filesystem::path& configDir);
// The factory copy of a live settings, data or general file, beside it.
std::filesystem::path factoryFilePath(const std::filesystem::path& liveFile);

// Reads Data0..Data63 into `block` (low 8 bits of each value, a missing value
// reads as 0). Returns false, leaving `block` alone, when the file is missing.
bool readDataFile(const std::filesystem::path& file, const CodePage& codePage, ModeBlock& block);

// Writes Data0..Data63, keeping whatever else the file holds. Returns the
// refused write when the system refuses it, and writes nothing into a file
// that was there but not read, or that holds something without its section.
[[nodiscard]] std::optional<files::FileError> writeDataFile(const std::filesystem::path& file,
                                                            const CodePage& codePage,
                                                            const ModeBlock& block);

// The load step: all five data files go through the working block into the
// stored blocks, then the active mode is brought into the working block and
// `readSettingsFile(mode)` sets the controls from its settings file (whose
// handlers write the working block). Unsaved edits of every mode are dropped.
void LoadModeForEditing(ModeBlocks& blocks, const std::filesystem::path& dataDir,
                        const CodePage& codePage,
                        const std::function<void(int mode)>& readSettingsFile);

}  // namespace korvane::settings
