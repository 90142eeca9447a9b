#pragma once

class QWidget;

namespace korvane::app {
class MacroPage;
}

namespace korvane::ui {

class ViewBinder;

// The macro page: the numbered library list, the owner-drawn script list,
// the image commands, the delay box, the repeat option and the byte meter.
void buildMacroPageView(ViewBinder& binder, QWidget* page, app::MacroPage& macro);

}  // namespace korvane::ui
