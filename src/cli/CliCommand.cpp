#include "cli/CliCommand.h"

#include <cstdio>

#include "cli/CliIo.h"
#include "util/Version.h"

namespace lumaplot::cli {

int RunVersion(const QStringList& args);
int RunMonitor(const QStringList& args);
int RunNodes(const QStringList& args);
int RunSend(const QStringList& args);
int RunObjects(const QStringList& args);
int RunConvert(const QStringList& args);
int RunList(const QStringList& args);
int RunLibrary(const QStringList& args);
int RunLibraryMerge(const QStringList& args);
int RunRecInfo(const QStringList& args);
int RunRecFrame(const QStringList& args);
int RunRecord(const QStringList& args);
int RunLights(const QStringList& args);
int RunRender(const QStringList& args);
int RunPdf(const QStringList& args);

const std::vector<CliCommand>& Commands() {
  static const std::vector<CliCommand> commands = {
      {"version", "", "Print the program version.", RunVersion},
      {"monitor",
       "[--seconds N] [--ports A1,...,A8] [--bind IP] [--udp-port P] [--dest IP[:PORT]] "
       "[--alt-network] [--follow]",
       "Receive Art-Net on 8 ports, then print levels, counters and nodes as JSON.", RunMonitor},
      {"nodes", "[--seconds N] [--bind IP] [--udp-port P] [--dest IP[:PORT]]",
       "Poll for Art-Net nodes and list those that answer.", RunNodes},
      {"send",
       "[--to IP] [--udp-port P] [--ports A1,...] [--rate HZ] [--seconds N] "
       "[--pattern chase|ramp|full|zero]",
       "Send ArtDmx test levels (to 127.0.0.1 by default).", RunSend},
      {"objects", "STAGE [--library FILE] [--replace OLD=NEW]...",
       "Print a plot's options and objects as JSON lines.", RunObjects},
      {"convert", "STAGE -o OUT [--utf8] [--library FILE] [--replace OLD=NEW]...",
       "Read a plot and write it again (Shift-JIS unless --utf8).", RunConvert},
      {"list", "STAGE -o OUT [--library FILE] [--number-form] [--sort 0|1|2]",
       "Write the light list of a plot as text.", RunList},
      {"library", "FILE", "Print the fixture types of a library file as JSON lines.", RunLibrary},
      {"library-merge", "TARGET SOURCE [--answer yes|no]",
       "Merge SOURCE into the library TARGET, save it and print the count.", RunLibraryMerge},
      {"rec-info", "FILE", "Print the header and frame count of a recording file.", RunRecInfo},
      {"rec-frame", "FILE N", "Print the levels of frame N of a recording file.", RunRecFrame},
      {"record",
       "-o FILE [--seconds N] [--wait-signal] [--title T] [--ports A1,...,A8] [--bind IP] "
       "[--udp-port P]",
       "Record Art-Net levels to a recording file, then print what rec-info prints.", RunRecord},
      {"lights",
       "STAGE [--library FILE] [--levels FILE | --recording FILE --at FRAME|hh:mm:ss.cc] "
       "[--set CH=V[,CH=V...]] [--dimval 0|1|2] [--chmode 0|1] [--exchange]",
       "Print what every light shows for the given levels, as JSON lines.", RunLights},
      {"render", "STAGE -o OUT.png [--width W --height H] [the level options of lights]",
       "Paint the page of a plot for the given levels and write it as PNG.", RunRender},
      {"pdf", "STAGE -o OUT.pdf [--page a4|a3|letter] [the level options of lights]",
       "Print the page of a plot for the given levels into a one-page PDF.", RunPdf},
  };
  return commands;
}

namespace {

void PrintHelp() {
  std::printf(
      "Usage: lumaplot-cli COMMAND [ARGS...]\n"
      "The headless companion of Lumaplot. It never needs a display.\n"
      "Exit status: 0 success, 1 failure (message on stderr), 2 wrong usage.\n\n"
      "Commands:\n");
  for (const auto& c : Commands()) {
    std::printf("  %s %s\n      %s\n", c.name, c.synopsis, c.summary);
  }
  std::printf("\n'lumaplot-cli COMMAND --help' shows a command's options.\n");
}

}  // namespace

int RunVersion(const QStringList& args) {
  if (!args.isEmpty()) return UsageError("version takes no arguments");
  std::printf("%s\n", LUMAPLOT_VERSION_STRING);
  return kExitOk;
}

int RunCli(const QStringList& argv) {
  if (argv.size() < 2) return UsageError("no command given");
  const QString name = argv.at(1);
  if (name == "--help" || name == "-h" || name == "help") {
    PrintHelp();
    return kExitOk;
  }
  if (name == "--version") return RunVersion({});
  for (const auto& c : Commands()) {
    if (name == QLatin1String(c.name)) return c.run(argv.mid(2));
  }
  return UsageError("unknown command: " + name);
}

}  // namespace lumaplot::cli
