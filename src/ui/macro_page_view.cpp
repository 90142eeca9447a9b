#include "ui/macro_page_view.h"

#include <QGraphicsOpacityEffect>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QProgressBar>
#include <QStyledItemDelegate>

#include "app/macro_page.h"
#include "ui/view_binder.h"
#include "ui/widgets.h"

namespace korvane::ui {

namespace {

constexpr int kLibraryEntryHeight = 19;
constexpr int kScriptEntryHeight = 16;
const QColor kListText(255, 255, 0);
const QColor kSelection(0, 128, 128);
constexpr qreal kDisabledOpacity = 0.35;
constexpr int kMeterGap = 2;
constexpr int kMeterHeight = 4;
const QColor kDisabledText(138, 138, 138);

// The script list draws each entry from the script line it stands for: an
// icon for its kind and the line without its kind digit and key code.
class ScriptEntryDelegate : public QStyledItemDelegate {
 public:
  explicit ScriptEntryDelegate(const app::MacroPage& macro, QObject* parent)
      : QStyledItemDelegate(parent), macro_(macro) {}

  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return {0, kScriptEntryHeight};
  }

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const auto drawing = macro_.contentDrawing(index.row());
    if (!drawing) {
      return;
    }
    const QRect area = option.rect;
    const bool selected = option.state & QStyle::State_Selected;
    painter->fillRect(area, selected ? kSelection : QColor(Qt::black));
    const int side = area.height() - 2;
    drawIcon(painter, QRect(area.left() + 2, area.top() + 2, side, side), drawing->icon);
    painter->setPen(kListText);
    painter->drawText(area.adjusted(25, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                      QString::fromStdString(drawing->text));
  }

 private:
  // 0 a clock, 1 a key going down, 2 a key coming up.
  static void drawIcon(QPainter* painter, const QRectF& box, int icon) {
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const QRectF r = box.adjusted(1, 1, -1, -1);
    if (icon == 0) {
      painter->setPen(QPen(QColor(120, 220, 240), 1.2));
      painter->drawEllipse(r);
      const QPointF centre = r.center();
      painter->drawLine(centre, QPointF(centre.x(), r.top() + 2.5));
      painter->drawLine(centre, QPointF(r.right() - 3, centre.y()));
    } else if (icon == 1 || icon == 2) {
      const bool down = icon == 1;
      painter->setPen(Qt::NoPen);
      painter->setBrush(down ? QColor(90, 220, 120) : QColor(240, 150, 70));
      QPolygonF arrow;
      const qreal mid = r.center().x();
      if (down) {
        arrow << QPointF(r.left() + 1, r.center().y()) << QPointF(r.right() - 1, r.center().y())
              << QPointF(mid, r.bottom());
        painter->drawRect(QRectF(mid - 1.5, r.top(), 3, r.height() / 2));
      } else {
        arrow << QPointF(r.left() + 1, r.center().y()) << QPointF(r.right() - 1, r.center().y())
              << QPointF(mid, r.top());
        painter->drawRect(QRectF(mid - 1.5, r.center().y(), 3, r.height() / 2));
      }
      painter->drawPolygon(arrow);
    }
    painter->restore();
  }

  const app::MacroPage& macro_;
};

QString listStyle() {
  return QStringLiteral(
      "QListWidget { background: black; color: rgb(255,255,0); border: none; outline: none; }"
      "QListWidget::item:selected { background: rgb(0,128,128); color: white; }");
}

// Keeps a list widget's entries and selection equal to the model's list box.
void syncList(QListWidget& widget, const app::ListBox& list) {
  syncControl(widget, list);
  const QSignalBlocker quiet(&widget);
  if (widget.count() != static_cast<int>(list.items.size())) {
    widget.clear();
    for (const std::string& item : list.items) {
      widget.addItem(QString::fromStdString(item));
    }
  } else {
    for (int i = 0; i < widget.count(); ++i) {
      const QString text = QString::fromStdString(list.items[static_cast<std::size_t>(i)]);
      if (widget.item(i)->text() != text) {
        widget.item(i)->setText(text);
      }
    }
  }
  // The list itself never selects (see ownedList): the model's entry is
  // selected here, and only here.
  const int selected = list.selected.value_or(-1);
  const QList<QListWidgetItem*> shown = widget.selectedItems();
  const bool inStep =
      selected < 0 ? shown.isEmpty() : shown.size() == 1 && widget.row(shown.first()) == selected;
  if (!inStep || widget.currentRow() != selected) {
    widget.setCurrentRow(selected, QItemSelectionModel::ClearAndSelect);
  }
  widget.viewport()->update();
}

// A list whose selection belongs to the model: a click goes to the handler,
// which decides the entry; neither a drag nor a key (keys typed while a
// recording runs included) can select one behind the model's back.
QListWidget* ownedList(QWidget* page) {
  auto* widget = new QListWidget(page);
  widget->setStyleSheet(listStyle());
  widget->setSelectionMode(QAbstractItemView::NoSelection);
  widget->setFocusPolicy(Qt::NoFocus);
  return widget;
}

QLineEdit* makeEdit(ViewBinder& binder, QWidget* page, const app::Edit& edit,
                    const std::function<void(const std::string&)>& onChange) {
  auto* widget = new QLineEdit(page);
  widget->setStyleSheet(QStringLiteral(
      "QLineEdit { background: black; color: rgb(255,255,0); border: 1px solid #2e8fa3;"
      " padding: 0 3px; } QLineEdit:disabled { color: #666; border-color: #333; }"));
  QObject::connect(widget, &QLineEdit::textEdited, widget,
                   [&binder, onChange](const QString& text) {
                     binder.forward([&onChange, value = text.toStdString()] { onChange(value); })();
                   });
  binder.onSync([widget, &edit] {
    syncControl(*widget, edit);
    const QString text = QString::fromStdString(edit.text);
    if (widget->text() != text) {
      widget->setText(text);
    }
  });
  return widget;
}

// Library: bold yellow numbered names on black.
void buildLibraryList(ViewBinder& binder, QWidget* page, app::MacroPage& macro) {
  auto* library = ownedList(page);
  QFont bold = library->font();
  bold.setBold(true);
  bold.setPixelSize(13);
  library->setFont(bold);
  QObject::connect(library, &QListWidget::itemClicked, library,
                   [&binder, &macro, library](QListWidgetItem* item) {
                     const int row = library->row(item);
                     binder.forward([&macro, row] { macro.macro_listClick(row); })();
                   });
  binder.onSync([library, &macro] {
    syncList(*library, macro.macro_list);
    for (int i = 0; i < library->count(); ++i) {
      library->item(i)->setSizeHint(QSize(0, kLibraryEntryHeight));
    }
  });
}

// The script: owner-drawn entries of 16 pixels.
void buildScriptList(ViewBinder& binder, QWidget* page, app::MacroPage& macro) {
  auto* content = ownedList(page);
  content->setItemDelegate(new ScriptEntryDelegate(macro, content));
  QObject::connect(content, &QListWidget::itemClicked, content,
                   [&binder, &macro, content](QListWidgetItem* item) {
                     const int row = content->row(item);
                     binder.forward([&macro, row] { macro.macro_contentClick(row); })();
                   });
  binder.onSync([content, &macro] {
    syncList(*content, macro.macro_content);
    if (content->currentRow() >= 0) {
      content->scrollToItem(content->currentItem());
    }
  });
}

// Image commands with their captions over them: the caption takes the click
// and lights its image while the pointer is over it.
void buildCommands(ViewBinder& binder, QWidget* page, app::MacroPage& macro) {
  const app::AppState& state = macro.state();
  for (const app::MacroPage::Command& command : macro.commands()) {
    ClickLabel* picture = binder.image(page, *command.image);
    ClickLabel* caption =
        binder.label(page, *command.label, [&macro, click = command.click] { (macro.*click)(); });
    styleCaption(caption, "white", 12, true);
    // A command that cannot run looks it: its picture faded, its caption grey.
    const app::Label* label = command.label;
    binder.onSync([picture, caption, label] {
      const bool faded = !label->enabled;
      if ((picture->graphicsEffect() != nullptr) == faded) {
        return;
      }
      if (faded) {
        auto* effect = new QGraphicsOpacityEffect(picture);
        effect->setOpacity(kDisabledOpacity);
        picture->setGraphicsEffect(effect);
      } else {
        picture->setGraphicsEffect(nullptr);
      }
      setTextColour(caption, faded ? kDisabledText : QColor(Qt::white));
    });
    app::SkinImage* image = command.image;
    binder.hover(
        caption, [image, &state] { image->enter(state); },
        [image, &state] { image->leave(state); });
  }
}

// The byte meter turns amber when the macro does not fit the mouse's block.
void buildByteMeter(ViewBinder& binder, QWidget* page, app::MacroPage& macro) {
  auto* meter = new QProgressBar(page);
  meter->setTextVisible(false);
  meter->setRange(0, static_cast<int>(macros::kMacroBlockSize));
  ClickLabel* meterText = binder.label(page, macro.lbl_meter);
  styleCaption(meterText, "#cfd8e0", 11, false);
  styleCaption(binder.label(page, macro.lbl_result), "#cfd8e0", 11, false,
               Qt::AlignLeft | Qt::AlignVCenter);
  binder.onSync([meter, meterText, &macro] {
    // The bar runs below the text, never through it.
    const app::Rect& g = macro.lbl_meter.geometry;
    meter->setGeometry(g.x, g.y + g.height + kMeterGap, g.width, kMeterHeight);
    meter->setValue(static_cast<int>(std::min(macro.meterBytes, macros::kMacroBlockSize)));
    const QString colour = macro.meterFits ? QStringLiteral("#24c8e8") : QStringLiteral("#ff9b2f");
    // Parsed anew only when the colour changes, not on every refresh.
    const QString sheet = QStringLiteral(
                              "QProgressBar { background: #101418; border: none; }"
                              "QProgressBar::chunk { background: %1; }")
                              .arg(colour);
    if (meter->styleSheet() != sheet) {
      meter->setStyleSheet(sheet);
    }
    setTextColour(meterText, QColor(macro.meterFits ? "#cfd8e0" : "#ff9b2f"));
  });
}

// Repeat option: tick marks, labels and the count box.
void buildRepeatOption(ViewBinder& binder, QWidget* page, app::MacroPage& macro) {
  for (const app::Label* tick : {&macro.lbl_cycle_max_check, &macro.lbl_cycle_check}) {
    styleCaption(binder.label(page, *tick), "#24c8e8", 14, true);
  }
  styleCaption(binder.label(page, macro.lbl_cycle_max, [&macro] { macro.lbl_cycle_maxClick(); }),
               "white", 12, false, Qt::AlignLeft | Qt::AlignVCenter);
  styleCaption(binder.label(page, macro.lbl_cycle, [&macro] { macro.lbl_cycleClick(); }), "white",
               12, false, Qt::AlignLeft | Qt::AlignVCenter);
  QLineEdit* count = makeEdit(binder, page, macro.edt_cycle,
                              [&macro](const std::string& text) { macro.edt_cycleChange(text); });
  count->setMaxLength(1);
  count->setAlignment(Qt::AlignCenter);
}

}  // namespace

void buildMacroPageView(ViewBinder& binder, QWidget* page, app::MacroPage& macro) {
  buildLibraryList(binder, page, macro);
  buildScriptList(binder, page, macro);
  buildCommands(binder, page, macro);
  makeEdit(binder, page, macro.Edt_ModifyTime,
           [&macro](const std::string& text) { macro.Edt_ModifyTimeChange(text); });
  styleCaption(binder.label(page, macro.lbl_ms), "#cfd8e0", 12, false,
               Qt::AlignLeft | Qt::AlignVCenter);
  buildByteMeter(binder, page, macro);
  buildRepeatOption(binder, page, macro);
}

}  // namespace korvane::ui
