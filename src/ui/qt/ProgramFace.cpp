#include "ui/qt/ProgramFace.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace lumaplot {

QString ProgramName() { return QApplication::applicationName(); }

bool SetUpProgramFace(QApplication& app) {
  QApplication::setApplicationName(QStringLiteral("Lumaplot"));
  QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
  auto* translator = new QTranslator(&app);
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  if (!translator->load(QLocale(QLocale::Japanese), "qtbase", "_", folder)) {
    delete translator;
    return false;
  }
  QApplication::installTranslator(translator);
  return true;
}

}  // namespace lumaplot
