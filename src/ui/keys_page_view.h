#pragma once

#include <string>

class QWidget;

namespace korvane::app {
class KeysPage;
}

namespace korvane::ui {

class ViewBinder;

// The button page: the twelve button labels and their row numbers.
void buildKeysPageView(ViewBinder& binder, QWidget* page, app::KeysPage& keys);
// The function menu and its eight category panels. They belong to the window,
// not to the page, so they can open above or beside the page's edge.
void buildFunctionMenuView(ViewBinder& binder, QWidget* window, app::KeysPage& keys,
                           const std::string& themeFile);

}  // namespace korvane::ui
