#include <QCoreApplication>
#include <QGuiApplication>

#include <cstring>
#include <memory>

#include "cli/CliCommand.h"

namespace {

// Commands that paint need the GUI application for fonts; they run on the
// offscreen platform unless QT_QPA_PLATFORM names another, so no display is needed.
bool NeedsGui(int argc, char** argv) {
  return argc > 1 && (std::strcmp(argv[1], "render") == 0 || std::strcmp(argv[1], "pdf") == 0);
}

}  // namespace

int main(int argc, char** argv) {
  std::unique_ptr<QCoreApplication> app;
  if (NeedsGui(argc, argv)) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app = std::make_unique<QGuiApplication>(argc, argv);
  } else {
    app = std::make_unique<QCoreApplication>(argc, argv);
  }
  QCoreApplication::setApplicationName("lumaplot-cli");
  return lumaplot::cli::RunCli(QCoreApplication::arguments());
}
