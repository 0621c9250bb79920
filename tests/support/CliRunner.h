#pragma once
// Runs the lumaplot-cli binary and collects its exit status and output.
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace lumaplot::test {

struct CliResult {
  int status = -1;
  QString out;
  QString err;
};

// `home` becomes LUMAPLOT_HOME when given, so no test reads the real program folder.
inline CliResult RunCli(const QStringList& args, const QString& home = {}, int timeoutMs = 30000) {
  QProcess process;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  if (!home.isEmpty()) env.insert("LUMAPLOT_HOME", home);
  process.setProcessEnvironment(env);
  process.start(LUMAPLOT_CLI_PATH, args);
  CliResult result;
  if (!process.waitForFinished(timeoutMs)) {
    process.kill();
    process.waitForFinished();
    return result;
  }
  result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  result.out = QString::fromUtf8(process.readAllStandardOutput());
  result.err = QString::fromUtf8(process.readAllStandardError());
  return result;
}

}  // namespace lumaplot::test
