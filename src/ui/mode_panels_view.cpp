#include "ui/mode_panels_view.h"

#include <QFont>
#include <QMenu>

#include "app/mode_panels.h"
#include "ui/view_binder.h"
#include "ui/widgets.h"

namespace korvane::ui {

void buildModePanelsView(ViewBinder& binder, QWidget* page, app::ModePanels& modes,
                         const app::Label& menuCaption, const std::function<void()>& rename) {
  for (int mode = 1; mode <= app::kModePanelCount; ++mode) {
    const auto i = static_cast<std::size_t>(mode - 1);
    const auto click = [&modes, mode] { modes.pnl_modeClick(mode); };
    ClickLabel* panel = binder.panel(page, modes.pnl_mode[i], click);
    ClickLabel* name = binder.label(panel, modes.label[i], click);
    styleCaption(name, "white", 13, true);
    QFont font = name->font();
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Noto Sans CJK SC")});
    name->setFont(font);
    ClickLabel* bar = binder.image(panel, modes.img_mode[i], click);
    for (ClickLabel* part : {panel, name, bar}) {
      binder.hover(
          part, [&modes, mode] { modes.modeEnter(mode); },
          [&modes, mode] { modes.modeLeave(mode); });
      QObject::connect(part, &ClickLabel::rightClicked, part,
                       [&binder, &modes, &menuCaption, rename, mode, part](const QPoint& at) {
                         if (modes.activeMode() != mode || !part->isEnabled()) {
                           return;
                         }
                         QMenu ModeMenu(part);
                         QAction* MenuName =
                             ModeMenu.addAction(QString::fromStdString(menuCaption.caption));
                         if (ModeMenu.exec(at) == MenuName) {
                           binder.forward(rename)();
                         }
                       });
    }
  }
}

}  // namespace korvane::ui
