// Start-up of the desktop program. The calculation screen grows here as its parts arrive.
#include "ui/AppStart.h"

#include <QApplication>
#include <QMainWindow>
#include <QPalette>

#include "ui/QtPlatform.h"

int RunKazoru(QApplication& app) {
  SetPlatform(&TheQtPlatform());
  QMainWindow w;
  w.setWindowTitle(QString::fromUtf8("分数計算器『Kazoru』計算画面 -- ナナツボシ"));
  QPalette pal = w.palette();
  pal.setColor(QPalette::Window, QColor(255, 251, 240));
  w.setPalette(pal);
  w.setAutoFillBackground(true);
  QFont f;
  f.setFamilies({QString::fromUtf8("ＭＳ ゴシック"), "IPAGothic", "VL Gothic", "Noto Sans Mono CJK JP"});
  f.setPointSize(14);
  w.setFont(f);
  w.resize(800, 600);
  TheQtPlatform().SetOwner(&w);
  w.show();
  return app.exec();
}
