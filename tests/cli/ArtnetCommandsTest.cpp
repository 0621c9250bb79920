// lumaplot-cli monitor, nodes and send, over 127.0.0.1 only.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QThread>

#include "dmx/UdpSocket.h"
#include "support/CliRunner.h"
#include "support/TempDir.h"

namespace lumaplot {
namespace {

using test::RunCli;

constexpr uint32_t kLoopback = 0x7F000001;

// A UDP port on 127.0.0.1 that was free a moment ago.
QString FreePort() {
  UdpSocket probe;
  if (!probe.Open({kLoopback, 0}, 0)) return "0";
  return QString::number(probe.LocalEndpoint().Port);
}

QJsonObject LastJsonLine(const QString& out) {
  const QStringList lines = out.split('\n', Qt::SkipEmptyParts);
  return lines.isEmpty() ? QJsonObject() : QJsonDocument::fromJson(lines.last().toUtf8()).object();
}

// lumaplot-cli running in the background.
class Background {
 public:
  Background(const QStringList& args, const QString& home) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LUMAPLOT_HOME", home);
    process_.setProcessEnvironment(env);
    process_.start(LUMAPLOT_CLI_PATH, args);
    process_.waitForStarted(5000);
    QThread::msleep(400);  // time to bind its socket
  }
  ~Background() {
    if (process_.state() != QProcess::NotRunning) {
      process_.kill();
      process_.waitForFinished(5000);
    }
  }
  test::CliResult Finish() {
    test::CliResult result;
    if (!process_.waitForFinished(20000)) return result;
    result.status = process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
    result.out = QString::fromUtf8(process_.readAllStandardOutput());
    result.err = QString::fromUtf8(process_.readAllStandardError());
    return result;
  }

 private:
  QProcess process_;
};

class ArtnetCommands : public ::testing::Test {
 protected:
  QString Home() const { return QString::fromStdString(home_.Path()); }
  test::TempDir home_;
};

TEST_F(ArtnetCommands, MonitorShowsWhatSendSends) {
  const QString port = FreePort();
  Background monitor(
      {"monitor", "--bind", "127.0.0.1", "--udp-port", port, "--dest", "127.0.0.1:" + FreePort(),
       "--seconds", "2.5", "--ports", "8,0x123", "--follow"},
      Home());
  const auto send = RunCli({"send", "--udp-port", port, "--ports", "0x123", "--seconds", "1",
                            "--rate", "20", "--pattern", "full"},
                           Home());
  ASSERT_EQ(send.status, 0) << send.err.toStdString();
  const QJsonObject sent = LastJsonLine(send.out);
  EXPECT_EQ(sent["Sent"].toInt(), 20);
  EXPECT_EQ(sent["To"].toString(), "127.0.0.1");

  const auto result = monitor.Finish();
  ASSERT_EQ(result.status, 0) << result.err.toStdString();
  const QStringList lines = result.out.split('\n', Qt::SkipEmptyParts);
  EXPECT_GE(lines.size(), 3);  // --follow: a line a second, then the summary
  EXPECT_TRUE(QJsonDocument::fromJson(lines.first().toUtf8()).object().contains("Receiving"));
  const QJsonObject summary = LastJsonLine(result.out);
  EXPECT_TRUE(summary["Ready"].toBool());
  EXPECT_EQ(summary["OwnIp"].toString(), "127.0.0.1");
  EXPECT_GE(summary["DmxAccepted"].toInt(), 10);
  EXPECT_LE(summary["DmxAccepted"].toInt(), 20);
  EXPECT_EQ(summary["DmxNoPort"].toInt(), 0);
  const QJsonArray ports = summary["Ports"].toArray();
  ASSERT_EQ(ports.size(), 8);
  const QJsonObject second = ports[1].toObject();
  EXPECT_EQ(second["Port"].toInt(), 2);
  EXPECT_EQ(second["Address"].toInt(), 0x123);
  EXPECT_EQ(second["Received"].toInt(), 1);
  const QJsonArray levels = second["Levels"].toArray();
  ASSERT_EQ(levels.size(), 512);
  EXPECT_EQ(levels[0].toInt(), 255);
  EXPECT_EQ(levels[511].toInt(), 255);
  EXPECT_EQ(ports[0].toObject()["Received"].toInt(), 0);
  EXPECT_EQ(ports[0].toObject()["Levels"].toArray()[0].toInt(), 0);
  EXPECT_FALSE(ports[2].toObject()["Enabled"].toBool());
}

TEST_F(ArtnetCommands, MonitorTakesItsPortsFromTheSettings) {
  home_.Write("lumaplot.INI", "[General]\r\nRxUniverse1=0x0123\r\nRxUniverse8=300\r\n");
  const auto r = RunCli({"monitor", "--bind", "127.0.0.1", "--udp-port", "0", "--dest",
                         "127.0.0.1:9", "--seconds", "0"},
                        Home());
  ASSERT_EQ(r.status, 0) << r.err.toStdString();
  const QJsonArray ports = LastJsonLine(r.out)["Ports"].toArray();
  ASSERT_EQ(ports.size(), 8);
  EXPECT_EQ(ports[0].toObject()["Address"].toInt(), 0x123);
  EXPECT_EQ(ports[1].toObject()["Address"].toInt(), 9);  // the default of port 2
  EXPECT_EQ(ports[7].toObject()["Address"].toInt(), 300);
}

TEST_F(ArtnetCommands, NodesListsAMonitorThatAnswers) {
  const QString monitorPort = FreePort();
  const QString scanPort = FreePort();
  Background monitor({"monitor", "--bind", "127.0.0.1", "--udp-port", monitorPort, "--dest",
                      "127.0.0.1:" + scanPort, "--seconds", "3", "--ports", "8,9,10,11,0x100"},
                     Home());
  const auto r = RunCli({"nodes", "--bind", "127.0.0.1", "--udp-port", scanPort, "--dest",
                         "127.0.0.1:" + monitorPort, "--seconds", "1"},
                        Home());
  ASSERT_EQ(r.status, 0) << r.err.toStdString();
  const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 2) << r.out.toStdString();
  EXPECT_EQ(lines[0], " 127.  0.  0.  1 : TintviewV");
  const QJsonObject node = QJsonDocument::fromJson(lines[1].toUtf8()).object();
  EXPECT_EQ(node["IpAddress"].toString(), "127.0.0.1");
  EXPECT_EQ(node["ShortName"].toString(), "TintviewV");
  EXPECT_EQ(node["NumPortsLo"].toInt(), 4);
  EXPECT_EQ(node["SwOut"].toArray(), (QJsonArray{8, 9, 10, 11}));
  EXPECT_EQ(node["PortTypes"].toArray(), (QJsonArray{0x80, 0x80, 0x80, 0x80}));
  EXPECT_EQ(monitor.Finish().status, 0);
}

TEST_F(ArtnetCommands, PortInUseIsAFailureWithTheReason) {
  UdpSocket taken;
  ASSERT_TRUE(taken.Open({kLoopback, 0}, 0));
  const QString port = QString::number(taken.LocalEndpoint().Port);
  for (const char* command : {"monitor", "nodes"}) {
    const auto r = RunCli({command, "--bind", "127.0.0.1", "--udp-port", port, "--dest",
                           "127.0.0.1", "--seconds", "0"},
                          Home());
    EXPECT_EQ(r.status, 1) << command;
    EXPECT_TRUE(r.err.contains("cannot bind")) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
  }
}

TEST_F(ArtnetCommands, WrongUsageExitsTwo) {
  const QStringList cases[] = {
      {"monitor", "--ports", "1,x"},
      {"monitor", "--ports", "1,2,3,4,5,6,7,8,9"},
      {"monitor", "--ports", "0x8000"},
      {"monitor", "--bind", "host"},
      {"monitor", "--udp-port", "70000"},
      {"monitor", "--dest", "127.0.0.1:0"},
      {"monitor", "--seconds", "-1"},
      {"monitor", "extra"},
      {"nodes", "--seconds", "x"},
      {"send", "--pattern", "wave"},
      {"send", "--rate", "0"},
      {"send", "--rate", "5000"},
      {"send", "--to", "127.0.0"},
      {"send", "--udp-port", "0"},
  };
  for (const auto& args : cases) {
    const auto r = RunCli(args, Home());
    EXPECT_EQ(r.status, 2) << args.join(' ').toStdString();
    EXPECT_FALSE(r.err.isEmpty()) << args.join(' ').toStdString();
  }
}

}  // namespace
}  // namespace lumaplot
