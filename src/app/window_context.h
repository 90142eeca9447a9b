#pragma once

#include <functional>
#include <string>
#include <vector>

namespace korvane::settings {
struct ModeBlocks;
}

namespace korvane::app {

class Host;
struct AppState;

// What a page of the main window may use of the window it sits in.
struct WindowContext {
  Host& host;
  AppState& state;
  settings::ModeBlocks& blocks;
  // Closes the function menu and its panels.
  std::function<void()> hideFunctionMenu;
  // No button is selected for assignment any more.
  std::function<void()> clearSelection;
  // The load step: rereads every data file and the active mode's settings.
  std::function<void()> loadModeForEditing;
  // The macro library's names, in library order (entry n is device macro n - 1).
  std::function<std::vector<std::string>()> macroNames;
  // Macros were created, loaded or deleted: the buttons that play them follow.
  std::function<void()> macroLibraryChanged;
};

}  // namespace korvane::app
