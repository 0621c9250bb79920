#pragma once
// Output helpers shared by lumaplot-cli's commands.
#include <QCommandLineParser>
#include <QJsonObject>
#include <QString>

#include <string>

namespace lumaplot::cli {

// One JSON object as a single line on stdout.
void PrintJsonLine(const QJsonObject& object);
// A message on stderr; returns kExitFailure for `return Fail(...)`.
int Fail(const QString& message);
// A usage message on stderr; returns kExitUsage.
int UsageError(const QString& message);
// The program folder the commands read the settings, LIBRARY.INI and pictures
// from (see ProgramFolderForReading). The first call tells on stderr which folder
// is read when it is not the program's own writable one.
std::string CliProgramFolder();
// Parses `args` (without the program and command names) for `command`; on a parse
// error prints it and returns false. "--help" prints the command's help and exits 0
// through `helpShown`.
bool ParseCommandLine(QCommandLineParser& parser, const QString& command, const QStringList& args,
                      int& status);

}  // namespace lumaplot::cli
