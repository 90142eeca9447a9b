#include "macros/library.h"

#include <algorithm>
#include <system_error>

#include "files/file_io.h"
#include "macros/macro_file.h"

namespace korvane::macros {

namespace {

char lowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool lessNoCase(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(lowerAscii(x)) < static_cast<unsigned char>(lowerAscii(y));
  });
}

bool equalNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return lowerAscii(x) == lowerAscii(y);
         });
}

bool endsWith(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

bool isControl(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x20 || byte == 0x7F;
}

bool blankOnly(std::string_view name) {
  return std::all_of(name.begin(), name.end(), [](char c) { return c == ' '; });
}

bool fileCanHold(std::string_view name) {
  return name.find('/') == std::string_view::npos &&
         std::none_of(name.begin(), name.end(), isControl) &&
         name.size() + kMacroFileExtension.size() <= kMaxFileNameBytes;
}

}  // namespace

Result<std::vector<std::string>> ListMacroFiles(const std::filesystem::path& folder) {
  std::error_code error;
  if (!std::filesystem::exists(folder, error)) {
    if (error) {
      return Result<std::vector<std::string>>::failure("Unable to list " + folder.string());
    }
    return std::vector<std::string>{};
  }
  std::filesystem::directory_iterator it(folder, error);
  std::vector<std::string> names;
  for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
    const std::string fileName = it->path().filename().string();
    std::error_code typeError;
    if (!endsWith(fileName, kMacroFileExtension) || it->is_directory(typeError)) {
      continue;
    }
    names.push_back(fileName.substr(0, fileName.size() - kMacroFileExtension.size()));
  }
  if (error) {
    return Result<std::vector<std::string>>::failure("Unable to list " + folder.string());
  }
  return names;
}

std::optional<int> blockForEntry(int entryNumber) {
  if (entryNumber < 1 || entryNumber > kLibraryNewLimit) {
    return std::nullopt;
  }
  return entryNumber - 1;
}

MacroLibrary::MacroLibrary(std::filesystem::path folder) : folder_(std::move(folder)) {}

std::vector<std::string> MacroLibrary::entries() const {
  std::vector<std::string> entries;
  entries.reserve(names_.size());
  for (std::size_t i = 0; i < names_.size(); ++i) {
    entries.push_back(std::to_string(i + 1) + std::string(kEntrySeparator) + names_[i]);
  }
  return entries;
}

std::optional<int> MacroLibrary::position(std::string_view name) const {
  const auto it = std::find_if(names_.begin(), names_.end(),
                               [name](const std::string& held) { return equalNoCase(held, name); });
  if (it == names_.end()) {
    return std::nullopt;
  }
  return static_cast<int>(it - names_.begin());
}

bool MacroLibrary::newEnabled() const {
  return names_.size() < static_cast<std::size_t>(kLibraryNewLimit);
}

bool MacroLibrary::hasRoomFor(std::string_view name) const {
  return holds(name) || names_.size() < static_cast<std::size_t>(kLibraryNewLimit);
}

bool MacroLibrary::select(int entry) {
  if (entry < 0 || static_cast<std::size_t>(entry) >= names_.size()) {
    selected_.reset();
    return false;
  }
  selected_ = entry;
  return true;
}

std::optional<std::string> MacroLibrary::selectedName() const {
  if (!selected_) {
    return std::nullopt;
  }
  return names_[static_cast<std::size_t>(*selected_)];
}

std::filesystem::path MacroLibrary::fileOf(std::string_view name) const {
  return macroFilePath(folder_, name);
}

std::optional<std::string> MacroLibrary::currentMacro() const {
  if (selected_) {
    return selectedName();
  }
  // Only a macro the list shows: a name typed into a cancelled dialog, or one
  // deleted since, has no file an edit could go to.
  const std::optional<int> at = position(typedName_);
  if (!at) {
    return std::nullopt;
  }
  return names_[static_cast<std::size_t>(*at)];
}

std::optional<files::FileError> MacroLibrary::RebuildLibrary() {
  Result<std::vector<std::string>> listed = ListMacroFiles(folder_);
  if (!listed) {
    return files::FileError{files::FileFailure::List, folder_, {}};
  }
  // Byte order first, so that of two names equal but for case the same one
  // wins whatever order the directory lists them in.
  std::vector<std::string> found = std::move(listed).value();
  std::sort(found.begin(), found.end());
  names_.clear();
  for (std::string& name : found) {
    addName(std::move(name));
  }
  selected_.reset();
  return std::nullopt;
}

std::optional<NameProblem> MacroLibrary::checkNewName(std::string_view name) const {
  if (blankOnly(name)) {
    return NameProblem::Empty;
  }
  if (holds(name)) {
    return NameProblem::AlreadyExists;
  }
  if (!fileCanHold(name)) {
    return NameProblem::Invalid;
  }
  return std::nullopt;
}

NewMacroOutcome MacroLibrary::createMacro(std::string_view name) {
  typedName_ = std::string(name);
  NewMacroOutcome outcome;
  outcome.refused = checkNewName(name);
  if (outcome.refused) {
    return outcome;
  }
  outcome.error = files::writeFileSafely(fileOf(name), {});
  if (outcome.error) {
    return outcome;
  }
  addName(std::string(name));
  selected_.reset();
  return outcome;
}

std::optional<files::FileError> MacroLibrary::deleteSelected() {
  if (selected_) {
    const std::string name = *selectedName();
    std::error_code error;
    // remove() reports a missing file as false without an error: already gone.
    std::filesystem::remove(fileOf(name), error);
    if (error) {
      return files::FileError{files::FileFailure::Delete, fileOf(name), error.message()};
    }
    const auto it = std::find(names_.begin(), names_.end(), name);
    if (it != names_.end()) {
      names_.erase(it);
    }
  }
  selected_.reset();
  return std::nullopt;
}

std::optional<files::FileError> MacroLibrary::loadFrom(const std::filesystem::path& source) {
  const std::string fileName = source.filename().string();
  if (!endsWith(fileName, kMacroFileExtension)) {
    return files::FileError{files::FileFailure::WrongType, source, {}};
  }
  const std::optional<std::string> content = files::readWholeFile(source);
  if (!content) {
    return files::FileError{files::FileFailure::Read, source, {}};
  }
  if (std::optional<files::FileError> error =
          files::writeFileSafely(folder_ / fileName, *content)) {
    return error;
  }
  return RebuildLibrary();
}

bool MacroLibrary::holds(std::string_view name) const {
  return std::any_of(names_.begin(), names_.end(),
                     [name](const std::string& held) { return equalNoCase(held, name); });
}

void MacroLibrary::addName(std::string name) {
  const auto at =
      std::lower_bound(names_.begin(), names_.end(), name,
                       [](const std::string& a, const std::string& b) { return lessNoCase(a, b); });
  if (at != names_.end() && equalNoCase(*at, name)) {
    return;
  }
  names_.insert(at, std::move(name));
}

std::optional<files::FileError> SaveMacroScript(const MacroLibrary& library,
                                                const MacroScript& script) {
  const std::optional<std::string> name = library.currentMacro();
  if (!name) {
    return std::nullopt;
  }
  return writeMacroFile(library.fileOf(*name), script);
}

}  // namespace korvane::macros
