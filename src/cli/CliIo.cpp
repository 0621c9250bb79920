#include "cli/CliIo.h"

#include <QJsonDocument>

#include <cstdio>

#include "cli/CliCommand.h"
#include "util/ProgramFolder.h"

namespace lumaplot::cli {

void PrintJsonLine(const QJsonObject& object) {
  const QByteArray line = QJsonDocument(object).toJson(QJsonDocument::Compact);
  std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

int Fail(const QString& message) {
  std::fprintf(stderr, "lumaplot-cli: %s\n", message.toUtf8().constData());
  return kExitFailure;
}

int UsageError(const QString& message) {
  std::fprintf(stderr, "lumaplot-cli: %s\nTry 'lumaplot-cli --help'.\n",
               message.toUtf8().constData());
  return kExitUsage;
}

std::string CliProgramFolder() {
  static const std::string folder = [] {
    std::string note;
    std::string chosen = ProgramFolderForReading(ExecutablePath(), &note);
    if (!note.empty()) std::fprintf(stderr, "lumaplot-cli: %s\n", note.c_str());
    return chosen;
  }();
  return folder;
}

bool ParseCommandLine(QCommandLineParser& parser, const QString& command, const QStringList& args,
                      int& status) {
  const QCommandLineOption help(QStringList{"h", "help"}, "Show this help.");
  parser.addOption(help);
  QStringList full = args;
  full.prepend("lumaplot-cli " + command);
  if (!parser.parse(full)) {
    status = UsageError(parser.errorText());
    return false;
  }
  if (parser.isSet(help)) {
    std::fputs(parser.helpText().toUtf8().constData(), stdout);
    status = kExitOk;
    return false;
  }
  return true;
}

}  // namespace lumaplot::cli
