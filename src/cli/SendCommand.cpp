// lumaplot-cli send: sends ArtDmx test levels, so the monitor can be tried without
// a lighting desk.
#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonObject>

#include <chrono>
#include <thread>

#include "cli/ArtnetCliOptions.h"
#include "cli/CliCommand.h"
#include "cli/CliIo.h"
#include "dmx/ArtnetPackets.h"
#include "dmx/NetInterfaces.h"
#include "dmx/UdpSocket.h"

namespace lumaplot::cli {
namespace {

constexpr double kMaxRateHz = 1000;

enum class Pattern { Chase, Ramp, Full, Zero };

bool ReadPattern(const QString& text, Pattern& pattern) {
  const struct {
    const char* name;
    Pattern pattern;
  } names[] = {{"chase", Pattern::Chase},
               {"ramp", Pattern::Ramp},
               {"full", Pattern::Full},
               {"zero", Pattern::Zero}};
  for (const auto& n : names) {
    if (text == QLatin1String(n.name)) {
      pattern = n.pattern;
      return true;
    }
  }
  return false;
}

// The levels of frame `frame` of one universe: chase moves one full channel a frame,
// ramp runs a sloped line of levels along the channels.
void FillPattern(Pattern pattern, uint64_t frame, std::array<uint8_t, kDmxChannels>& levels) {
  for (int c = 0; c < kDmxChannels; ++c) {
    switch (pattern) {
      case Pattern::Chase:
        levels[c] = static_cast<uint64_t>(c) == frame % kDmxChannels ? 255 : 0;
        break;
      case Pattern::Ramp:
        levels[c] = static_cast<uint8_t>((c + frame) & 0xFF);
        break;
      case Pattern::Full:
        levels[c] = 255;
        break;
      case Pattern::Zero:
        levels[c] = 0;
        break;
    }
  }
}

}  // namespace

int RunSend(const QStringList& args) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Sends ArtDmx with a running Sequence for the given port addresses at a fixed rate, "
      "then prints one JSON line of what was sent. Only to an address on one of this "
      "host's networks (127.0.0.1 by default). Sends from UDP port 6454 when it is free, "
      "otherwise from any port (FromPort says which).");
  parser.addOption({"to", "Destination IPv4 address (default 127.0.0.1).", "IP"});
  parser.addOption({"udp-port", "Destination UDP port (default 6454).", "P"});
  parser.addOption({"ports",
                    "Port addresses, decimal or 0x hexadecimal (default RxUniverse1 ... "
                    "RxUniverse8 of the settings).",
                    "A1,..."});
  parser.addOption({"rate", "Frames a second per port address (default 44, at most 1000).", "HZ"});
  parser.addOption({"seconds", "Send for N seconds (default 5); Ctrl+C ends sooner.", "N"});
  parser.addOption({"pattern", "chase, ramp, full or zero (default chase).", "NAME"});
  int status = kExitOk;
  if (!ParseCommandLine(parser, "send", args, status)) return status;
  if (!parser.positionalArguments().isEmpty()) return UsageError("send takes no arguments");

  QString error;
  double seconds = 0;
  if (!ReadSeconds(parser, 5, seconds, error)) return UsageError(error);
  uint32_t to = 0x7F000001;
  if (parser.isSet("to") && !ParseIpv4(parser.value("to").toStdString(), to)) {
    return UsageError("--to needs an IPv4 address: " + parser.value("to"));
  }
  uint16_t port = kArtnetPort;
  if (parser.isSet("udp-port")) {
    const uint value = parser.value("udp-port").toUInt();
    if (value == 0 || value > 65535)
      return UsageError("--udp-port needs 1 ... 65535: " + parser.value("udp-port"));
    port = static_cast<uint16_t>(value);
  }
  std::vector<int> addresses;
  if (parser.isSet("ports")) {
    if (!ReadPortList(parser.value("ports"), TArtnetThread::kMaxPorts, addresses, error))
      return UsageError(error);
  } else {
    const auto settings = SettingsPortAddresses();
    addresses.assign(settings.begin(), settings.end());
  }
  double rate = 44;
  if (parser.isSet("rate")) {
    bool ok = false;
    rate = parser.value("rate").toDouble(&ok);
    if (!ok || !(rate > 0 && rate <= kMaxRateHz))
      return UsageError("--rate needs a number above 0, at most 1000");
  }
  Pattern pattern = Pattern::Chase;
  if (parser.isSet("pattern") && !ReadPattern(parser.value("pattern"), pattern)) {
    return UsageError("--pattern is chase, ramp, full or zero");
  }

  // A broadcast address of a network this host is not on would leave through the
  // default gateway, so only addresses on the host's own networks are accepted.
  std::vector<NetInterface> interfaces;
  std::string reason;
  if (!ReadNetInterfaces(interfaces, &reason)) return Fail(QString::fromStdString(reason));
  if (!IsOnHostNetwork(interfaces, to)) {
    return Fail(
        QString::fromStdString(Ipv4Text(to) + " is on none of this host's networks; nothing sent"));
  }
  // Art-Net uses port 6454 as source as well as destination, and some nodes answer
  // or filter by it; when another program holds it, any port has to do.
  UdpSocket socket;
  if (!socket.Open({0, kArtnetPort}, 0) && !socket.Open({0, 0}, 0, &reason)) {
    return Fail(QString::fromStdString(reason));
  }

  const StopSignal stop;
  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  const auto frames = static_cast<uint64_t>(seconds * rate + 0.5);
  std::array<uint8_t, kDmxChannels> levels{};
  uint64_t sent = 0, errors = 0, frame = 0;
  for (; frame < frames && !StopSignal::Requested(); ++frame) {
    FillPattern(pattern, frame, levels);
    const auto sequence = static_cast<uint8_t>(frame % 255 + 1);  // 0 would switch sequencing off
    for (const int address : addresses) {
      if (socket.SendTo(BuildArtDmx(sequence, address, levels), {to, port})) {
        ++sent;
      } else {
        ++errors;
      }
    }
    std::this_thread::sleep_until(start + std::chrono::duration_cast<Clock::duration>(
                                              std::chrono::duration<double>((frame + 1) / rate)));
  }
  QJsonArray ports;
  for (const int address : addresses) ports.append(address);
  PrintJsonLine({{"To", QString::fromStdString(Ipv4Text(to))},
                 {"UdpPort", port},
                 {"FromPort", socket.LocalEndpoint().Port},
                 {"Ports", ports},
                 {"Frames", static_cast<qint64>(frame)},
                 {"Sent", static_cast<qint64>(sent)},
                 {"Errors", static_cast<qint64>(errors)}});
  return errors == 0 ? kExitOk : Fail(QString("%1 datagrams could not be sent").arg(errors));
}

}  // namespace lumaplot::cli
