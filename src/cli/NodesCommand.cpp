// lumaplot-cli nodes: polls for Art-Net nodes and lists those that answered.
#include <QCommandLineParser>

#include <cstdio>

#include "cli/ArtnetCliOptions.h"
#include "cli/CliCommand.h"
#include "cli/CliIo.h"
#include "dmx/ArtnetThread.h"

namespace lumaplot::cli {
namespace {

// Not the program's own name: a node with our short name is taken for ourselves
// and ignored, so a scan must not look like the program it may be scanning for.
constexpr char kScanNodeName[] = "Lumaplot-CLI";

}  // namespace

int RunNodes(const QStringList& args) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Sends an ArtPoll at once, waits, then prints the node list (one line per node and "
      "bind, as a node with more than four ports answers with one reply per four; '*' for "
      "a bind carrying one of the settings' port addresses) and one JSON line per line.");
  parser.addOption({"seconds", "Wait N seconds for replies (default 3).", "N"});
  AddNetworkOptions(parser, true);
  int status = kExitOk;
  if (!ParseCommandLine(parser, "nodes", args, status)) return status;
  if (!parser.positionalArguments().isEmpty()) return UsageError("nodes takes no arguments");
  QString error;
  double seconds = 0;
  ArtnetOptions options;
  if (!ReadSeconds(parser, 3, seconds, error) || !ReadNetworkOptions(parser, options, error)) {
    return UsageError(error);
  }

  TArtnetThread engine(true, 8, 8, false, options);
  if (!engine.Ready()) {
    return Fail("cannot use Art-Net: " + QString::fromStdString(engine.SocketError()));
  }
  if (!engine.DestOnHostNetwork()) {
    return Fail(QString::fromStdString("the destination " + Ipv4Text(engine.DestAddr().Address) +
                                       " is on none of this host's networks; no poll sent"));
  }
  engine.SetNodeNames(kScanNodeName, kScanNodeName);
  // The ports are only compared with the nodes' ports, never enabled.
  const auto addresses = SettingsPortAddresses();
  for (size_t i = 0; i < addresses.size(); ++i) engine.InAddr[i] = addresses[i];
  const StopSignal stop;
  engine.Start();
  engine.SendPoll();
  WaitFor(seconds);
  engine.Terminate();

  std::vector<std::string> lines;
  engine.ListNodes(lines);
  for (const auto& line : lines) std::printf("%s\n", line.c_str());
  for (const TArtNode& node : engine.Nodes()) PrintJsonLine(NodeJson(node));
  return kExitOk;
}

}  // namespace lumaplot::cli
