#pragma once
// lumaplot-cli's command table. Each command is a function in a file of its own in
// this folder, takes its arguments (after the command name) and returns the exit
// status: 0 success, 1 failure (message on stderr), 2 wrong usage.
#include <QStringList>

#include <vector>

namespace lumaplot::cli {

enum ExitStatus { kExitOk = 0, kExitFailure = 1, kExitUsage = 2 };

struct CliCommand {
  const char* name;
  const char* synopsis;  // argument summary shown by --help
  const char* summary;   // one line of what it does
  int (*run)(const QStringList& args);
};

const std::vector<CliCommand>& Commands();

// Runs the program with argv (argv[0] is the program name).
int RunCli(const QStringList& argv);

}  // namespace lumaplot::cli
