#pragma once

#include <string>

class QWidget;

namespace korvane::app {
class SensitivityPage;
}

namespace korvane::ui {

class ViewBinder;

// page_About: XY sensitivity, the report-rate buttons and the DPI step
// sliders; the sliders take the first theme file's look.
void buildSensitivityPageView(ViewBinder& binder, QWidget* page, app::SensitivityPage& sensitivity,
                              const std::string& themeFile);

}  // namespace korvane::ui
