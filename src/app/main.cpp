#include <QApplication>
#include <QLabel>

#include "util/Version.h"

// Until the main window lands, the program says plainly what is built.
int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QLabel label(QString("Lumaplot %1\nメインウィンドウはまだ組み込まれていません。\n"
                       "lumaplot-cli --help で使えるコマンドを確認できます。")
                   .arg(LUMAPLOT_VERSION_STRING));
  label.setMargin(24);
  label.setWindowTitle("Lumaplot");
  label.show();
  return app.exec();
}
