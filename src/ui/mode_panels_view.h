#pragma once

class QWidget;

namespace korvane::app {
class ModePanels;
}

namespace korvane::ui {

class ViewBinder;

// The five mode panels on the button page: name label over a state bar.
void buildModePanelsView(ViewBinder& binder, QWidget* page, app::ModePanels& modes);

}  // namespace korvane::ui
