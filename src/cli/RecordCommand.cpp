// lumaplot-cli record: receives Art-Net on 8 input ports and records the levels to
// a recording file, driving the recorder every engine cycle through the level
// intake as the main window does.
#include <signal.h>

#include <QCommandLineParser>
#include <array>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "cli/CliCommand.h"
#include "cli/CliIo.h"
#include "cli/RecordingInfo.h"
#include "core/FrameRoad.h"
#include "model/StageData.h"
#include "util/EnvData.h"
#include "util/IniFile.h"
#include "util/NumberText.h"
#include "util/ProgramFolder.h"

namespace lumaplot::cli {
namespace {

volatile std::sig_atomic_t stopRequested = 0;

void RequestStop(int) { stopRequested = 1; }

// Ctrl+C and SIGTERM end the recording with a complete header instead of killing
// the program half way.
void CatchStopSignals() {
  struct sigaction action {};
  action.sa_handler = RequestStop;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

// "A1,...,A8": up to 8 Art-Net port addresses (0 ... 32767, decimal or 0x hex)
// for ports 1, 2, ...; the ports not listed keep `ports`' values.
bool ParsePorts(const QString& text, std::array<int32_t, kInputPortCount>& ports) {
  const QStringList items = text.split(',');
  if (items.size() > kInputPortCount) return false;
  for (int i = 0; i < items.size(); ++i) {
    const int32_t address = ReadNumber(items.at(i).trimmed().toStdString(), -1);
    if (address < 0 || address > 0x7FFF) return false;
    ports[static_cast<size_t>(i)] = address;
  }
  return true;
}

}  // namespace

int RunRecord(const QStringList& args) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Records the Art-Net levels of 8 input ports to a recording file, stops after the "
      "given seconds or on Ctrl+C with a complete header, then prints what rec-info prints.");
  const QCommandLineOption output({"o", "output"}, "The recording file to write.", "FILE");
  const QCommandLineOption seconds("seconds", "How long to record (default 10).", "N", "10");
  const QCommandLineOption waitSignal("wait-signal",
                                      "Start writing frames at the first level that is not 0.");
  const QCommandLineOption title("title", "Title written into the header (30 bytes).", "T");
  const QCommandLineOption ports("ports", "Port addresses of ports 1 to 8 (default: the settings).",
                                 "A1,...,A8");
  const QCommandLineOption bind("bind", "Address to receive on (default 0.0.0.0).", "IP",
                                "0.0.0.0");
  const QCommandLineOption udpPort("udp-port", "UDP port (default 6454).", "P", "6454");
  parser.addOptions({output, seconds, waitSignal, title, ports, bind, udpPort});
  int status = kExitOk;
  if (!ParseCommandLine(parser, "record", args, status)) return status;
  if (!parser.positionalArguments().isEmpty()) return UsageError("record takes no FILE argument");
  if (!parser.isSet(output)) return UsageError("record needs -o FILE");
  bool ok = false;
  const double runSeconds = parser.value(seconds).toDouble(&ok);
  if (!ok || !(runSeconds > 0) || runSeconds > 24 * 3600) {
    return UsageError("--seconds must be a number above 0: " + parser.value(seconds));
  }
  const int port = parser.value(udpPort).toInt(&ok);
  if (!ok || port < 0 || port > 65535)
    return UsageError("bad --udp-port: " + parser.value(udpPort));

  const std::string folder = CliProgramFolder();
  if (folder.empty()) {
    return Fail("no program folder: neither the program's folder nor a home folder is known");
  }
  // The settings are the program's (lumaplot.INI), as for monitor, nodes and send.
  IniFile settings(SettingsFilePath(folder, ""));
  settings.Load();  // a missing or unreadable settings file leaves the defaults
  TEnvData env(settings, folder);
  std::array<int32_t, kInputPortCount> addresses = env.RxUniverse;
  if (parser.isSet(ports) && !ParsePorts(parser.value(ports), addresses)) {
    return UsageError("--ports takes up to 8 port addresses from 0 to 32767: " +
                      parser.value(ports));
  }

  TStageData document;  // stands for the main window's current document
  std::mutex levelLock;
  ArtnetOptions options;
  options.BindIp = parser.value(bind).toStdString();
  options.UdpPort = static_cast<uint16_t>(port);
  TFrameRoad road(env, levelLock, [&document] { return &document; }, options, false);
  TArtnetThread& engine = road.Engine();
  THdrRecorder& recorder = road.Recorder();
  if (!engine.Ready()) {
    return Fail(QString::fromStdString("cannot receive Art-Net: " + engine.SocketError()));
  }
  if (!engine.Message.empty()) {
    std::fprintf(stderr, "lumaplot-cli: %s\n", engine.Message.c_str());
  }
  road.EnablePorts(addresses);

  recorder.SetTitle(parser.value(title).toStdString());
  recorder.SetWaitSignal(parser.isSet(waitSignal));
  std::string error;
  if (!recorder.StartRecord(parser.value(output).toStdString(), &error)) {
    return Fail(QString::fromStdString(error));
  }
  CatchStopSignals();
  engine.Start();
  const auto end = std::chrono::steady_clock::now() +
                   std::chrono::milliseconds(static_cast<int64_t>(runSeconds * 1000));
  while (!stopRequested && !recorder.RecordFailed() && std::chrono::steady_clock::now() < end) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  // Only the engine thread ticks the recorder; once it has ended the header is final.
  engine.Terminate();
  engine.Wait();
  const bool stopped = recorder.Stop(&error);
  const int infoStatus = PrintRecordingInfo(parser.value(output));
  if (recorder.RecordFailed()) return Fail(QString::fromStdString(recorder.TakeRecordError()));
  if (!stopped) return Fail(QString::fromStdString(error));
  return infoStatus;
}

}  // namespace lumaplot::cli
