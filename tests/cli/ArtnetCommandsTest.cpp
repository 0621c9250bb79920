// lumaplot-cli monitor, nodes and send, over 127.0.0.1 only.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QThread>

#include "dmx/ArtnetPackets.h"
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

// The source port of what send sends, received on a socket of 127.0.0.1.
int SendSourcePort(const QString& home, UdpSocket& receiver) {
  const auto r = RunCli({"send", "--udp-port", QString::number(receiver.LocalEndpoint().Port),
                         "--ports", "1", "--seconds", "0.1", "--rate", "10"},
                        home);
  EXPECT_EQ(r.status, 0) << r.err.toStdString();
  std::vector<uint8_t> buffer(1024);
  UdpEndpoint from;
  if (!receiver.WaitReadable(5000) || receiver.Receive(buffer, from) < 0) return -1;
  EXPECT_EQ(LastJsonLine(r.out)["FromPort"].toInt(), from.Port);
  return from.Port;
}

// Art-Net sends from port 6454 too; send does so when no other program holds it.
TEST_F(ArtnetCommands, SendSendsFromTheArtnetPortWhenItIsFree) {
  UdpSocket receiver;
  ASSERT_TRUE(receiver.Open({kLoopback, 0}, 0));
  {
    UdpSocket holder;
    holder.Open({0, 6454}, 0);  // when this fails, another program holds the port
    const int port = SendSourcePort(Home(), receiver);
    EXPECT_GT(port, 0);
    EXPECT_NE(port, 6454);
  }
  // Other tests running beside this one send too and may hold the port for a
  // moment: try again while the port is free, give up when it is not.
  int port = -1;
  for (int attempt = 0; attempt < 5 && port != 6454; ++attempt) {
    UdpSocket probe;
    if (!probe.Open({0, 6454}, 0)) GTEST_SKIP() << "another program holds UDP port 6454";
    probe.Close();
    port = SendSourcePort(Home(), receiver);
  }
  EXPECT_EQ(port, 6454);
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
  // Five ports in two groups (Net 0 and Net 1): two binds, each a line and a JSON line.
  ASSERT_EQ(lines.size(), 4) << r.out.toStdString();
  EXPECT_EQ(lines[0], " 127.  0.  0.  1 : TintviewV");
  EXPECT_EQ(lines[1], " 127.  0.  0.  1 : TintviewV");
  const QJsonObject node = QJsonDocument::fromJson(lines[2].toUtf8()).object();
  EXPECT_EQ(node["IpAddress"].toString(), "127.0.0.1");
  EXPECT_EQ(node["ShortName"].toString(), "TintviewV");
  EXPECT_EQ(node["NumPortsLo"].toInt(), 4);
  EXPECT_EQ(node["SwOut"].toArray(), (QJsonArray{8, 9, 10, 11}));
  EXPECT_EQ(node["PortTypes"].toArray(), (QJsonArray{0x80, 0x80, 0x80, 0x80}));
  EXPECT_EQ(node["BindIndex"].toInt(), 1);
  const QJsonObject second = QJsonDocument::fromJson(lines[3].toUtf8()).object();
  EXPECT_EQ(second["BindIndex"].toInt(), 2);
  EXPECT_EQ(second["NetSwitch"].toInt(), 1);
  EXPECT_EQ(second["NumPortsLo"].toInt(), 1);
  EXPECT_EQ(monitor.Finish().status, 0);
}

// A real ArtPollReply of bind `bind` from a node at 10.0.0.20 whose first port
// inputs DMX for Net `net`, Sub-Net `sub`, Universe `universe`.
std::vector<uint8_t> GatewayReply(uint8_t bind, uint8_t net, uint8_t sub, uint8_t universe) {
  ArtPollReplyPacket r = BuildArtPollReply({10, 0, 0, 20}, "gw", "Gateway", "OK");
  r[18] = net;        // NetSwitch
  r[19] = sub;        // SubSwitch
  r[173] = 1;         // NumPortsLo
  r[174] = 0x40;      // PortTypes[0]: DMX input into the network
  r[186] = universe;  // SwIn[0]
  r[211] = bind;      // BindIndex
  return {r.begin(), r.end()};
}

// The node answers the scan with two binds; the second carries port 1 of the
// settings (0x123) and is the line marked.
TEST_F(ArtnetCommands, NodesListsEveryBindAndMarksTheOneCarryingOurPort) {
  home_.Write("lumaplot.INI", "[General]\r\nRxUniverse1=0x0123\r\n");
  UdpSocket node;
  ASSERT_TRUE(node.Open({kLoopback, 0}, 0));
  Background scan({"nodes", "--bind", "127.0.0.1", "--udp-port", FreePort(), "--dest",
                   "127.0.0.1:" + QString::number(node.LocalEndpoint().Port), "--seconds", "1.5"},
                  Home());
  std::vector<uint8_t> poll(64);
  UdpEndpoint scanner;
  ASSERT_TRUE(node.WaitReadable(5000));
  ASSERT_EQ(node.Receive(poll, scanner), 18);
  ASSERT_TRUE(node.SendTo(GatewayReply(1, 0, 0, 1), scanner));
  ASSERT_TRUE(node.SendTo(GatewayReply(2, 1, 2, 3), scanner));
  const auto r = scan.Finish();
  ASSERT_EQ(r.status, 0) << r.err.toStdString();
  const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 4) << r.out.toStdString();
  EXPECT_EQ(lines[0], "  10.  0.  0. 20 : gw");
  EXPECT_EQ(lines[1], "* 10.  0.  0. 20 : gw");
  const QJsonObject second = QJsonDocument::fromJson(lines[3].toUtf8()).object();
  EXPECT_EQ(second["BindIndex"].toInt(), 2);
  EXPECT_TRUE(second["Matches"].toBool());
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
