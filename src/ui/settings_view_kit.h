#pragma once

#include <QStringList>
#include <functional>
#include <string>

#include "app/controls.h"

class QSlider;
class QWidget;

namespace korvane::ui {

class ClickLabel;
class ViewBinder;

// The pieces the three settings pages share: section headings, captions,
// sliders in the first theme with a row of marks, and toggle labels.

// White bold heading in the section strip of the page background.
ClickLabel* sectionHeading(ViewBinder& binder, QWidget* page, const app::Label& control);
// Light grey caption text; clicks go to the handler when one is given.
ClickLabel* settingsCaption(ViewBinder& binder, QWidget* page, const app::Label& control,
                            const std::function<void()>& onClick = {},
                            Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);
// The style sheet of a theme file on a widget, read again whenever the file's
// name changes; a missing file leaves the default look.
void followTheme(ViewBinder& binder, QWidget* widget, const std::string& themeFile);

// A settings slider with one mark under each position. The look comes from
// the first theme file, read whenever its name changes (start-up sets it
// after the window is built); a missing file leaves the default look.
QSlider* settingsSlider(ViewBinder& binder, QWidget* page, app::Slider& control,
                        const QStringList& marks, const std::string& themeFile);
// A toggle label with its tick drawn in the caption's leading blanks. The
// tick lets clicks through to the label.
void toggleLabel(ViewBinder& binder, QWidget* page, const app::Label& toggle,
                 const app::Label& tick, const std::function<void()>& onClick);

// The marks "first" .. "last" in steps of one.
QStringList numberMarks(int first, int last);

}  // namespace korvane::ui
