// lumaplot-cli record over loopback: ArtDmx sent to 127.0.0.1 on a free port.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "support/CliRunner.h"
#include "support/TempDir.h"

namespace lumaplot {
namespace {

using test::RunCli;

QJsonObject JsonOf(const QString& out) { return QJsonDocument::fromJson(out.toUtf8()).object(); }

sockaddr_in Loopback(uint16_t port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

// A UDP port of 127.0.0.1 that nothing uses right now.
uint16_t FreePort() {
  const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in address = Loopback(0);
  ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t length = sizeof address;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  ::close(fd);
  return ntohs(address.sin_port);
}

// Sends ArtDmx datagrams of full universes to 127.0.0.1.
class DmxSender {
 public:
  explicit DmxSender(uint16_t port) : fd_(::socket(AF_INET, SOCK_DGRAM, 0)), to_(Loopback(port)) {}
  ~DmxSender() { ::close(fd_); }

  void Send(uint8_t subUni, uint8_t level) {
    std::vector<uint8_t> packet = {'A',         'r',  't', '-', 'N', 'e', 't', 0,  // ID
                                   0x00,        0x50,   // OpDmx, low byte first
                                   0,           14,     // protocol version
                                   sequence_++, 0,      // sequence, physical
                                   subUni,      0,      // SubUni, Net
                                   0x02,        0x00};  // length 512, high first
    packet.insert(packet.end(), 512, level);
    ::sendto(fd_, packet.data(), packet.size(), 0, reinterpret_cast<const sockaddr*>(&to_),
             sizeof to_);
  }

 private:
  int fd_;
  sockaddr_in to_;
  uint8_t sequence_ = 1;
};

class RecordCommandTest : public ::testing::Test {
 protected:
  void Start(const QStringList& args) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LUMAPLOT_HOME", QString::fromStdString(home.Path()));
    process.setProcessEnvironment(env);
    process.start(LUMAPLOT_CLI_PATH, QStringList{"record"} + args);
    ASSERT_TRUE(process.waitForStarted(10000));
  }

  // Sends ports 1 and 2 their levels every 20 ms until the program ends, at most
  // `maxRounds` times.
  void SendUntilFinished(int maxRounds) {
    for (int round = 0; round < maxRounds && process.state() != QProcess::NotRunning; ++round) {
      sender.Send(0, 200);
      sender.Send(1, 100);
      process.waitForFinished(20);
    }
    process.waitForFinished(10000);
  }

  test::TempDir home;
  test::TempDir dir;
  uint16_t port = FreePort();
  DmxSender sender{port};
  QProcess process;
};

TEST_F(RecordCommandTest, RecordsReceivedLevelsAndPrintsTheFileInfo) {
  const QString file = QString::fromStdString(dir.File("show.dat"));
  Start({"-o", file, "--seconds", "1.5", "--wait-signal", "--title", "リハ", "--ports", "0,1",
         "--bind", "127.0.0.1", "--udp-port", QString::number(port)});
  SendUntilFinished(400);
  ASSERT_EQ(process.exitStatus(), QProcess::NormalExit);
  ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();

  const QJsonObject info = JsonOf(QString::fromUtf8(process.readAllStandardOutput()));
  const int frames = info["FrameCount"].toInt();
  EXPECT_GT(frames, 0);
  EXPECT_EQ(info["Frames"].toInt(), frames);
  EXPECT_EQ(info["FrameSize"].toInt(), 4096);
  EXPECT_EQ(info["Title"].toString(), "リハ");
  EXPECT_EQ(info["Length"].toInt(), 512 + frames * 4096);

  const auto last = RunCli({"rec-frame", file, QString::number(frames - 1)});
  ASSERT_EQ(last.status, 0) << last.err.toStdString();
  const QJsonArray levels = JsonOf(last.out)["Levels"].toArray();
  ASSERT_EQ(levels.size(), 4096);
  EXPECT_EQ(levels[0].toInt(), 200);
  EXPECT_EQ(levels[511].toInt(), 200);
  EXPECT_EQ(levels[512].toInt(), 100);
  EXPECT_EQ(levels[1024].toInt(), 0);
}

// Without --ports the ports are the program's settings (lumaplot.INI), as for
// monitor; here port 1 listens to universe 1 and port 2 to universe 0.
TEST_F(RecordCommandTest, PortsComeFromTheProgramsSettings) {
  home.Write("lumaplot.INI", "[General]\r\nRxUniverse1=1\r\nRxUniverse2=0\r\n");
  const QString file = QString::fromStdString(dir.File("settings.dat"));
  Start({"-o", file, "--seconds", "1", "--wait-signal", "--bind", "127.0.0.1", "--udp-port",
         QString::number(port)});
  SendUntilFinished(400);
  ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
  const int frames = JsonOf(QString::fromUtf8(process.readAllStandardOutput()))["Frames"].toInt();
  ASSERT_GT(frames, 0);
  const auto last = RunCli({"rec-frame", file, QString::number(frames - 1)});
  ASSERT_EQ(last.status, 0) << last.err.toStdString();
  const QJsonArray levels = JsonOf(last.out)["Levels"].toArray();
  ASSERT_EQ(levels.size(), 4096);
  EXPECT_EQ(levels[0].toInt(), 100);
  EXPECT_EQ(levels[512].toInt(), 200);
}

TEST_F(RecordCommandTest, CtrlCEndsTheRecordingWithACompleteHeader) {
  const std::string file = dir.File("interrupted.dat");
  Start({"-o", QString::fromStdString(file), "--seconds", "60", "--bind", "127.0.0.1", "--udp-port",
         QString::number(port)});
  // Frames are written from the start without --wait-signal: wait for a few.
  for (int i = 0; i < 500 && process.state() == QProcess::Running; ++i) {
    std::error_code ignored;
    if (std::filesystem::file_size(file, ignored) >= 512 + 5 * 4096 && !ignored) break;
    process.waitForFinished(20);
  }
  ASSERT_EQ(process.state(), QProcess::Running);
  ::kill(static_cast<pid_t>(process.processId()), SIGINT);
  ASSERT_TRUE(process.waitForFinished(10000));
  ASSERT_EQ(process.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
  const QJsonObject info = JsonOf(QString::fromUtf8(process.readAllStandardOutput()));
  EXPECT_GE(info["FrameCount"].toInt(), 5);
  EXPECT_EQ(info["Frames"].toInt(), info["FrameCount"].toInt());
}

TEST_F(RecordCommandTest, WrongUsageAndUnwritableFiles) {
  const QString udp = QString::number(port);
  const QStringList usage[] = {
      {"record"},
      {"record", "-o", "x.dat", "extra"},
      {"record", "-o", "x.dat", "--seconds", "0"},
      {"record", "-o", "x.dat", "--seconds", "soon"},
      {"record", "-o", "x.dat", "--ports", "1,2,3,4,5,6,7,8,9"},
      {"record", "-o", "x.dat", "--ports", "32768"},
      {"record", "-o", "x.dat", "--ports", "1,,2"},
      {"record", "-o", "x.dat", "--udp-port", "70000"},
  };
  for (const auto& args : usage) {
    EXPECT_EQ(RunCli(args, QString::fromStdString(home.Path())).status, 2)
        << args.join(' ').toStdString();
  }
  const auto unwritable =
      RunCli({"record", "-o", QString::fromStdString(dir.File("no/such/folder/x.dat")), "--seconds",
              "1", "--bind", "127.0.0.1", "--udp-port", udp},
             QString::fromStdString(home.Path()));
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_TRUE(unwritable.err.contains("x.dat")) << unwritable.err.toStdString();
}

}  // namespace
}  // namespace lumaplot
