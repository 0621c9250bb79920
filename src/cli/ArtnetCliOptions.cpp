#include "cli/ArtnetCliOptions.h"

#include <QJsonArray>

#include <chrono>
#include <csignal>
#include <thread>

#include "cli/CliIo.h"
#include "dmx/NetInterfaces.h"
#include "util/EnvData.h"
#include "util/IniFile.h"
#include "util/NumberText.h"
#include "util/ProgramFolder.h"
#include "util/TextCodec.h"

namespace lumaplot::cli {
namespace {

volatile std::sig_atomic_t stopRequested = 0;

void OnStopSignal(int) { stopRequested = 1; }

bool ReadUdpPort(const QString& text, uint16_t& port) {
  bool ok = false;
  const uint value = text.toUInt(&ok);
  if (!ok || value > 65535) return false;
  port = static_cast<uint16_t>(value);
  return true;
}

bool ReadAddress(const QString& text, std::string& ip) {
  uint32_t address = 0;
  if (!ParseIpv4(text.toStdString(), address)) return false;
  ip = text.toStdString();
  return true;
}

template <size_t N>
QString NodeText(const std::array<char, N>& field) {
  return QString::fromStdString(Cp932ToUtf8(FieldText(field)));
}

template <size_t N>
QJsonArray Numbers(const std::array<uint8_t, N>& bytes) {
  QJsonArray array;
  for (const uint8_t b : bytes) array.append(b);
  return array;
}

}  // namespace

void AddNetworkOptions(QCommandLineParser& parser, bool withDest) {
  parser.addOption(
      {"bind", "Listen on this IPv4 address (default 0.0.0.0, every interface).", "IP"});
  parser.addOption({"udp-port", "UDP port (default 6454; 0 lets the system choose).", "P"});
  if (withDest) {
    parser.addOption({"dest",
                      "Send polls and replies to IP, and PORT (default the UDP port). Default "
                      "2.255.255.255, or 192.168.11.255 with --alt-network. Nothing is sent to "
                      "an address on none of this host's networks.",
                      "IP[:PORT]"});
  }
}

bool ReadNetworkOptions(const QCommandLineParser& parser, ArtnetOptions& options, QString& error) {
  if (parser.isSet("bind") && !ReadAddress(parser.value("bind"), options.BindIp)) {
    error = "--bind needs an IPv4 address: " + parser.value("bind");
    return false;
  }
  if (parser.isSet("udp-port") && !ReadUdpPort(parser.value("udp-port"), options.UdpPort)) {
    error = "--udp-port needs a number 0 ... 65535: " + parser.value("udp-port");
    return false;
  }
  if (parser.optionNames().contains("dest") && parser.isSet("dest")) {
    const QStringList parts = parser.value("dest").split(':');
    options.DestPort = 0;
    if (parts.size() > 2 || !ReadAddress(parts[0], options.DestIp) ||
        (parts.size() == 2 &&
         (!ReadUdpPort(parts[1], options.DestPort) || options.DestPort == 0))) {
      error = "--dest needs IP or IP:PORT: " + parser.value("dest");
      return false;
    }
  }
  return true;
}

bool ReadPortList(const QString& text, int maxCount, std::vector<int>& addresses, QString& error) {
  addresses.clear();
  const QStringList items = text.split(',');
  for (const QString& item : items) {
    const int32_t value = ReadNumber(item.trimmed().toStdString(), -1);
    if (value < 0 || value > 0x7FFF) {
      error = "not a port address 0 ... 32767 (0x7FFF): " + item;
      return false;
    }
    addresses.push_back(value);
  }
  if (static_cast<int>(addresses.size()) > maxCount) {
    error = QString("at most %1 port addresses").arg(maxCount);
    return false;
  }
  return true;
}

bool ReadSeconds(const QCommandLineParser& parser, double def, double& seconds, QString& error) {
  seconds = def;
  if (!parser.isSet("seconds")) return true;
  bool ok = false;
  seconds = parser.value("seconds").toDouble(&ok);
  if (!ok || !(seconds >= 0 && seconds <= 86400)) {
    error = "--seconds needs a number 0 ... 86400: " + parser.value("seconds");
    return false;
  }
  return true;
}

std::array<int, 8> SettingsPortAddresses() {
  const std::string folder = CliProgramFolder();
  // The settings are the program's (lumaplot.INI), not a file of this tool.
  IniFile ini(folder.empty() ? std::string() : SettingsFilePath(folder, ""));
  if (!folder.empty()) ini.Load();
  const TEnvData env(ini, folder);
  std::array<int, 8> addresses{};
  for (size_t i = 0; i < addresses.size(); ++i) addresses[i] = env.RxUniverse[i];
  return addresses;
}

QJsonObject CountersJson(const ArtnetCounters& c) {
  QJsonObject json;
  for (const ArtnetCounterField& field : kArtnetCounterFields) {
    json.insert(field.Name, static_cast<qint64>(c.*field.Member));
  }
  return json;
}

QJsonObject NodeJson(const TArtNode& node) {
  const auto& ip = node.IpAddress;
  return {
      {"IpAddress", QString("%1.%2.%3.%4").arg(ip[0]).arg(ip[1]).arg(ip[2]).arg(ip[3])},
      {"Port", node.Port},
      {"ShortName", NodeText(node.ShortName)},
      {"LongName", NodeText(node.LongName)},
      {"NodeReport", NodeText(node.NodeReport)},
      {"NetSwitch", node.NetSwitch},
      {"SubSwitch", node.SubSwitch},
      {"NumPortsHi", node.NumPortsHi},
      {"NumPortsLo", node.NumPortsLo},
      {"PortTypes", Numbers(node.PortTypes)},
      {"SwIn", Numbers(node.SwIn)},
      {"SwOut", Numbers(node.SwOut)},
      {"BindIndex", node.BindIndex},
      {"Matches", node.Matches},
  };
}

StopSignal::StopSignal() {
  stopRequested = 0;
  std::signal(SIGINT, OnStopSignal);
  std::signal(SIGTERM, OnStopSignal);
}

StopSignal::~StopSignal() {
  std::signal(SIGINT, SIG_DFL);
  std::signal(SIGTERM, SIG_DFL);
}

bool StopSignal::Requested() { return stopRequested != 0; }

bool WaitFor(double seconds, const std::function<void(int elapsed)>& eachSecond) {
  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  const auto end =
      start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
  int reported = 0;
  while (Clock::now() < end) {
    if (StopSignal::Requested()) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const int elapsed = static_cast<int>(
        std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - start).count());
    if (eachSecond && elapsed > reported) {
      reported = elapsed;
      eachSecond(elapsed);
    }
  }
  return !StopSignal::Requested();
}

}  // namespace lumaplot::cli
