#pragma once

#include <functional>

class QWidget;

namespace korvane::app {
class ModePanels;
struct Label;
}  // namespace korvane::app

namespace korvane::ui {

class ViewBinder;

// The five mode panels on the button page: name label over a state bar.
// A right-click on the active mode's panel offers the mode menu, whose one
// item (`menuCaption`) runs `rename`.
void buildModePanelsView(ViewBinder& binder, QWidget* page, app::ModePanels& modes,
                         const app::Label& menuCaption, const std::function<void()>& rename);

}  // namespace korvane::ui
