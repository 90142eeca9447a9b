// The floor for the start-up and memory figures: the least a Qt Widgets
// program can do to look like the main window. A frameless 901 × 681 window
// shows one skin picture and one Chinese caption in regular and bold, so it
// loads the same CJK fonts. Run it from the start folder (skins/basemap.png).
#include <QApplication>
#include <QLabel>
#include <QPixmap>
#include <QWidget>

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QWidget window(nullptr, Qt::FramelessWindowHint);
  window.setWindowTitle(QStringLiteral("Floor"));
  window.setFixedSize(901, 681);

  auto* picture = new QLabel(&window);
  picture->setGeometry(0, 0, 905, 619);
  picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  picture->setPixmap(QPixmap(QStringLiteral("skins/basemap.png")));

  const QString caption = QString::fromUtf8("按键设置 灵敏度设置");
  for (const bool bold : {false, true}) {
    auto* text = new QLabel(caption, &window);
    QFont font;
    font.setFamilies({QStringLiteral("微软雅黑"), QStringLiteral("Microsoft YaHei"),
                      QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Sans")});
    font.setPixelSize(12);
    font.setBold(bold);
    text->setFont(font);
    text->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    text->setGeometry(420, bold ? 120 : 100, 200, 18);
  }

  window.show();
  return QApplication::exec();
}
