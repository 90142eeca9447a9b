#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "files/file_io.h"
#include "macros/result.h"
#include "macros/script.h"

namespace korvane::macros {

// The mouse keeps ten macros: `lbl_new` is disabled when the library holds
// this many, and loading refuses a macro past them. Files put into the folder
// by other means may still go past it; those entries have no block.
inline constexpr int kLibraryNewLimit = 10;
inline constexpr std::string_view kEntrySeparator = ". ";
inline constexpr std::size_t kMaxFileNameBytes = 255;

// Every entry of the folder whose name ends in ".spm" (exactly: the files are
// written in lower case and the folder may tell cases apart) and that is not a
// folder itself, in the order the file system lists them, each without its
// ".spm". A missing folder is an empty library; a folder that cannot be listed
// gives "Unable to list <folder>".
Result<std::vector<std::string>> ListMacroFiles(const std::filesystem::path& folder);

// Library entry number N (from 1) plays as device block N - 1; entries past
// the tenth have no block.
std::optional<int> blockForEntry(int entryNumber);

// Why the name dialog refuses a name; the dialog stays open.
enum class NameProblem {
  Empty,          // nothing but blanks
  AlreadyExists,  // the library holds it, compared without regard to case
  Invalid,        // a file name cannot hold it: "/", a control character, too long
};

// What `lbl_ok` of the name dialog did.
struct NewMacroOutcome {
  std::optional<NameProblem> refused;     // say why, keep the dialog open
  std::optional<files::FileError> error;  // the file could not be created: report it
  bool created() const { return !refused && !error; }
};

// The macro library of the macro page: the sorted name list `mmo_macro_list`,
// the numbered list `macro_list` built from it, its selection, and the text of
// the name dialog, which names the current macro while nothing is selected.
//
// Names are sorted without regard to ASCII case, and a name equal to one
// already held (again without regard to case) is not added twice: where the
// file system tells "abc.spm" from "ABC.spm", the library lists one of them
// (the first in byte order).
class MacroLibrary {
 public:
  explicit MacroLibrary(std::filesystem::path folder);

  const std::filesystem::path& folder() const { return folder_; }
  const std::vector<std::string>& names() const { return names_; }
  // "1. " + first name, "2. " + second name, ...
  std::vector<std::string> entries() const;
  // The position (from 0) of the macro named `name`, compared as the library
  // compares names; a button playing it stores this. Nothing when no macro
  // has that name.
  std::optional<int> position(std::string_view name) const;
  // `lbl_new` enabled: the library holds fewer than ten names.
  bool newEnabled() const;
  // Loading a macro of this name keeps the library within the mouse's ten
  // blocks: it replaces a macro the library holds, or there is room.
  bool hasRoomFor(std::string_view name) const;

  std::optional<int> selected() const { return selected_; }
  // A click on entry index `entry` (from 0); false and no selection when
  // there is no such entry.
  bool select(int entry);
  std::optional<std::string> selectedName() const;
  std::filesystem::path fileOf(std::string_view name) const;

  // The text of the name dialog's `edt_macro`, kept after the dialog closes.
  void setTypedName(std::string text) { typedName_ = std::move(text); }
  const std::string& typedName() const { return typedName_; }
  // The macro the editor's script belongs to: the selected entry's name, or
  // else the macro the name dialog last created, while the library holds it.
  // nullopt when there is neither: an edit then has no file to go to.
  std::optional<std::string> currentMacro() const;

  // Refills the names from the folder; no entry selected afterwards. On
  // failure the lists keep their state and the message is returned.
  std::optional<files::FileError> RebuildLibrary();

  std::optional<NameProblem> checkNewName(std::string_view name) const;
  // `lbl_ok` with `name`: checks it, creates the empty file (replacing one of
  // that name), adds the name, and leaves nothing selected. The file comes
  // first so that a failure leaves the lists as they were. The caller empties
  // the editor on success.
  NewMacroOutcome createMacro(std::string_view name);

  // `lbl_delete`: deletes the selected macro's file and name (a file already
  // gone counts as deleted), then leaves nothing selected, also when nothing
  // was selected. On failure nothing changes and the message is returned; on
  // success the caller empties the editor.
  std::optional<files::FileError> deleteSelected();

  // `lbl_load`: copies `source` into the folder under its own file name,
  // replacing a file of that name, then rebuilds. Only ".spm" files are taken,
  // as the file chooser offers no others.
  std::optional<files::FileError> loadFrom(const std::filesystem::path& source);

 private:
  bool holds(std::string_view name) const;
  void addName(std::string name);

  std::filesystem::path folder_;
  std::vector<std::string> names_;
  std::optional<int> selected_;
  std::string typedName_;
};

// Writes the editor's script to the current macro's file. With no current
// macro nothing is written and nothing is reported.
[[nodiscard]] std::optional<files::FileError> SaveMacroScript(const MacroLibrary& library,
                                                              const MacroScript& script);

}  // namespace korvane::macros
