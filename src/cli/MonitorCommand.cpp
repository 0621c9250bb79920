// lumaplot-cli monitor: runs the Art-Net engine on 8 input ports for a while and
// prints what it received as one JSON object.
#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonObject>

#include <mutex>

#include "cli/ArtnetCliOptions.h"
#include "cli/CliCommand.h"
#include "cli/CliIo.h"
#include "dmx/ArtnetThread.h"

namespace lumaplot::cli {
namespace {

constexpr int kMonitorPorts = 8;
constexpr char kProgramNodeName[] = "TintviewV";

// The newest levels, as the engine's cycle hands them over on its thread.
struct LevelSnapshot {
  std::mutex lock;
  std::array<uint8_t, kMonitorPorts * kDmxChannels> levels{};

  void Take(const TArtnetThread::LevelTable& table) {
    std::lock_guard guard(lock);
    std::copy_n(table.begin(), levels.size(), levels.begin());
  }
  QJsonArray Port(int port) {
    std::lock_guard guard(lock);
    QJsonArray array;
    for (int c = 0; c < kDmxChannels; ++c) array.append(levels[port * kDmxChannels + c]);
    return array;
  }
};

QJsonArray ReceivingPorts(const TArtnetThread& engine) {
  QJsonArray ports;
  for (int i = 0; i < kMonitorPorts; ++i) {
    if (engine.Received(i)) ports.append(i + 1);
  }
  return ports;
}

QJsonObject Summary(TArtnetThread& engine, LevelSnapshot& snapshot) {
  QJsonObject result{{"Ready", engine.Ready()},
                     {"OwnIp", QString::fromStdString(engine.OwnIpText())},
                     {"Message", QString::fromStdString(engine.Message)},
                     {"Dest", QString::fromStdString(Ipv4Text(engine.DestAddr().Address))},
                     {"DestOnHostNetwork", engine.DestOnHostNetwork()}};
  const QJsonObject counters = CountersJson(engine.Counters());
  for (auto it = counters.begin(); it != counters.end(); ++it) result.insert(it.key(), it.value());
  QJsonArray ports;
  for (int i = 0; i < kMonitorPorts; ++i) {
    ports.append(QJsonObject{{"Port", i + 1},
                             {"Address", engine.InAddr[i].load()},
                             {"Enabled", engine.InEnabled[i].load()},
                             {"Received", engine.Received(i)},
                             {"Levels", snapshot.Port(i)}});
  }
  result.insert("Ports", ports);
  std::vector<std::string> lines;
  engine.ListNodes(lines);
  QJsonArray nodes;
  for (const auto& line : lines) nodes.append(QString::fromStdString(line));
  result.insert("Nodes", nodes);
  return result;
}

}  // namespace

int RunMonitor(const QStringList& args) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Receives Art-Net on 8 input ports for a while, then prints one JSON object: the "
      "engine state, its counters, each port's levels and the nodes that answered.");
  parser.addOption({"seconds", "Run for N seconds (default 5); Ctrl+C ends sooner.", "N"});
  parser.addOption({"ports",
                    "Port addresses of ports 1 ... 8, decimal or 0x hexadecimal "
                    "(default RxUniverse1 ... RxUniverse8 of the settings).",
                    "A1,...,A8"});
  AddNetworkOptions(parser, true);
  parser.addOption({"alt-network", "Use the alternative network 192.168.11.255."});
  parser.addOption({"follow", "Also print a line a second with the receiving ports and counters."});
  int status = kExitOk;
  if (!ParseCommandLine(parser, "monitor", args, status)) return status;
  if (!parser.positionalArguments().isEmpty()) return UsageError("monitor takes no arguments");

  QString error;
  double seconds = 0;
  ArtnetOptions options;
  std::vector<int> addresses;
  if (!ReadSeconds(parser, 5, seconds, error) || !ReadNetworkOptions(parser, options, error)) {
    return UsageError(error);
  }
  if (parser.isSet("ports")) {
    if (!ReadPortList(parser.value("ports"), kMonitorPorts, addresses, error))
      return UsageError(error);
  } else {
    const auto settings = SettingsPortAddresses();
    addresses.assign(settings.begin(), settings.end());
  }

  LevelSnapshot snapshot;  // outlives the engine, whose thread writes it
  TArtnetThread engine(true, kMonitorPorts, kMonitorPorts, parser.isSet("alt-network"), options);
  if (!engine.Ready()) {
    return Fail("cannot receive Art-Net: " + QString::fromStdString(engine.SocketError()));
  }
  engine.SetNodeNames(kProgramNodeName, kProgramNodeName);
  for (size_t i = 0; i < addresses.size(); ++i) {
    engine.InAddr[i] = addresses[i];
    engine.InEnabled[i] = true;
  }
  engine.OnFrame = [&snapshot](TArtnetThread::LevelTable& levels) { snapshot.Take(levels); };
  const StopSignal stop;
  engine.Start();
  engine.SendPoll();
  const bool follow = parser.isSet("follow");
  WaitFor(seconds, [&](int elapsed) {
    if (!follow) return;
    QJsonObject line{{"Seconds", elapsed}, {"Receiving", ReceivingPorts(engine)}};
    const QJsonObject counters = CountersJson(engine.Counters());
    for (auto it = counters.begin(); it != counters.end(); ++it) line.insert(it.key(), it.value());
    PrintJsonLine(line);
  });
  engine.Terminate();
  PrintJsonLine(Summary(engine, snapshot));
  return kExitOk;
}

}  // namespace lumaplot::cli
