#pragma once

#include <string>

class QWidget;

namespace korvane::app {
class PointerPage;
}

namespace korvane::ui {

class ViewBinder;

// page_MseAdv: the four pointer sliders and the two toggles.
void buildPointerPageView(ViewBinder& binder, QWidget* page, app::PointerPage& pointer,
                          const std::string& themeFile);

}  // namespace korvane::ui
