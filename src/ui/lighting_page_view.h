#pragma once

class QWidget;

namespace korvane::app {
class LightingPage;
}

namespace korvane::ui {

class ViewBinder;

// page_BreathLED: each lighting choice as its state image and its label.
void buildLightingPageView(ViewBinder& binder, QWidget* page, app::LightingPage& lighting);

}  // namespace korvane::ui
