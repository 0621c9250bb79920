#pragma once
// What the Art-Net commands of lumaplot-cli (monitor, nodes, send) share: the
// network options, port address lists, run time, the settings' port addresses,
// JSON forms of the engine's counters and nodes, and Ctrl+C handling.
// Main thread only.
#include <QCommandLineParser>
#include <QJsonObject>
#include <QString>

#include <array>
#include <functional>
#include <vector>

#include "dmx/ArtnetThread.h"

namespace lumaplot::cli {

// --bind IP, --udp-port P and (with `withDest`) --dest IP[:PORT].
void AddNetworkOptions(QCommandLineParser& parser, bool withDest);
// Fills the bind address, port and destination of `options` from the command line.
// False with a usage message when a value is not valid.
bool ReadNetworkOptions(const QCommandLineParser& parser, ArtnetOptions& options, QString& error);

// Port addresses separated by commas, each decimal or hexadecimal ("0x1A", "$1A"),
// 0 ... 32767; between 1 and `maxCount` of them.
bool ReadPortList(const QString& text, int maxCount, std::vector<int>& addresses, QString& error);

// --seconds: a number of seconds from 0 to 86400 (fractions allowed).
bool ReadSeconds(const QCommandLineParser& parser, double def, double& seconds, QString& error);

// RxUniverse1 ... RxUniverse8 of the program's settings file (the defaults when it
// has none).
std::array<int, 8> SettingsPortAddresses();

// One member per engine counter, named as in kArtnetCounterFields.
QJsonObject CountersJson(const ArtnetCounters& counters);
// Every field of a node entry; texts converted from code page 932.
QJsonObject NodeJson(const TArtNode& node);

// Catches Ctrl+C (SIGINT) and SIGTERM while it lives, so a command can end cleanly.
class StopSignal {
 public:
  StopSignal();
  ~StopSignal();
  StopSignal(const StopSignal&) = delete;
  StopSignal& operator=(const StopSignal&) = delete;
  static bool Requested();
};

// Sleeps until `seconds` have passed or Ctrl+C; calls `eachSecond` with the whole
// seconds elapsed once a second when given. False when stopped by a signal.
bool WaitFor(double seconds, const std::function<void(int elapsed)>& eachSecond = {});

}  // namespace lumaplot::cli
