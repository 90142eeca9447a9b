#include "ui/keys_page_view.h"

#include <QSlider>
#include <QString>

#include "app/keys_page.h"
#include "ui/settings_view_kit.h"
#include "ui/view_binder.h"
#include "ui/widgets.h"

namespace korvane::ui {

void buildKeysPageView(ViewBinder& binder, QWidget* page, app::KeysPage& keys) {
  binder.image(page, keys.img_keymap, [&keys] { keys.page_MseKeysClick(); });
  for (int group = 1; group <= app::kKeyGroupCount; ++group) {
    const auto g = static_cast<std::size_t>(group - 1);
    const auto click = [&keys, group] { keys.keyGroupClick(group); };
    binder.image(page, keys.img_keygroup[g], click);
    ClickLabel* label = binder.label(page, keys.lbl_keygroup[g], click);
    styleCaption(label, "white", 13, true);
    label->setCursor(Qt::PointingHandCursor);
    binder.hover(
        label, [&keys, group] { keys.keyGroupEnter(group); },
        [&keys, group] { keys.keyGroupLeave(group); });
  }
  for (app::Label& number : keys.rowNumber) {
    styleCaption(binder.label(page, number), "#8fdcea", 14, true);
  }
  for (int button = 1; button <= static_cast<int>(keys.Key.size()); ++button) {
    ClickLabel* label = binder.label(page, keys.Key[static_cast<std::size_t>(button - 1)],
                                     [&keys, button] { keys.KeyClick(button); });
    styleCaption(label, "white", 14, false);
  }
}

void buildFunctionMenuView(ViewBinder& binder, QWidget* window, app::KeysPage& keys,
                           const std::string& themeFile) {
  const auto close = [&keys] { keys.page_MseKeysClick(); };
  ClickLabel* menu = binder.panel(window, keys.gbMenu);
  binder.image(menu, keys.img_gbMenu, close);
  for (int row = 1; row <= static_cast<int>(keys.menuRow.size()); ++row) {
    const auto r = static_cast<std::size_t>(row - 1);
    styleCaption(binder.label(menu, keys.menuNumber[r]), "#8fdcea", 12, true);
    const bool isEntry = row > static_cast<int>(keys.panels.size());
    ClickLabel* label =
        binder.label(menu, keys.menuRow[r],
                     isEntry ? std::function<void()>([&keys, row] { keys.entryClick(row, 0); })
                             : std::function<void()>());
    styleCaption(label, "white", 13, false, Qt::AlignLeft | Qt::AlignVCenter);
    binder.hover(
        label, [&keys, row] { keys.categoryEnter(row); },
        [&keys, row] { keys.categoryLeave(row); });
  }
  for (app::Label& arrow : keys.lbl_extend) {
    styleCaption(binder.label(menu, arrow), "#8fdcea", 12, true);
  }
  QSlider* menuSlider = binder.slider(menu, keys.TB_menu, Qt::Vertical);
  menuSlider->setInvertedAppearance(true);
  followTheme(binder, menuSlider, themeFile);
  menuSlider->setAttribute(Qt::WA_TransparentForMouseEvents);

  for (int row = 1; row <= static_cast<int>(keys.panels.size()); ++row) {
    app::CategoryPanel& category = keys.panels[static_cast<std::size_t>(row - 1)];
    ClickLabel* panel = binder.panel(window, category.panel);
    binder.image(panel, category.background, close);
    for (int position = 1; position <= static_cast<int>(category.entries.size()); ++position) {
      const auto e = static_cast<std::size_t>(position - 1);
      styleCaption(binder.label(panel, category.numbers[e]), "#8fdcea", 12, true);
      ClickLabel* entry = binder.label(panel, category.entries[e],
                                       [&keys, row, position] { keys.entryClick(row, position); });
      styleCaption(entry, "white", 13, false, Qt::AlignLeft | Qt::AlignVCenter);
      binder.hover(
          entry, [&keys, row, position] { keys.entryEnter(row, position); },
          [&keys, row, position] { keys.entryLeave(row, position); });
    }
    QSlider* slider = binder.slider(panel, category.slider, Qt::Vertical);
    slider->setInvertedAppearance(true);
    followTheme(binder, slider, themeFile);
    slider->setAttribute(Qt::WA_TransparentForMouseEvents);
  }
}

}  // namespace korvane::ui
