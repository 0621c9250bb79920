#include <QCoreApplication>

#include "cli/CliCommand.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName("lumaplot-cli");
  return lumaplot::cli::RunCli(QCoreApplication::arguments());
}
