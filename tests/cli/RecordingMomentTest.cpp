#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "cli/RecordingFrame.h"
#include "support/CliRunner.h"
#include "support/RecordingBytes.h"
#include "support/TempDir.h"

namespace lumaplot {
namespace {

using cli::ParseRecordingMoment;
using cli::RecordingMoment;

TEST(RecordingMoment, ReadsFramesAndRecorderTimes) {
  struct Case {
    const char* text;
    bool ok;
    bool isTime;
    std::int64_t value;  // frame, or milliseconds
  };
  const Case cases[] = {
      {"0", true, false, 0},
      {"125", true, false, 125},
      {"00:00:00.58", true, true, 580},
      {"01:02:03.04", true, true, 3723040},
      {"02:03", true, true, 123000},  // mm:ss
      {"3.5", true, true, 3500},      // ss.c: half a second
      {"100:00:00.00", true, true, 360000000},
      {"-1", false, false, 0},
      {"", false, false, 0},
      {"1:60", false, false, 0},     // seconds past 59
      {"1:60:00", false, false, 0},  // minutes past 59
      {"00:00:00.123", false, false, 0},
      {"abc", false, false, 0},
      {"1e3", false, false, 0},
  };
  for (const auto& c : cases) {
    RecordingMoment m;
    ASSERT_EQ(ParseRecordingMoment(c.text, m), c.ok) << c.text;
    if (!c.ok) continue;
    EXPECT_EQ(m.IsTime, c.isTime) << c.text;
    EXPECT_EQ(c.isTime ? m.Milliseconds : m.Frame, c.value) << c.text;
  }
}

class LightsFromRecording : public ::testing::Test {
 protected:
  test::CliResult Lights(const QStringList& extra) {
    QStringList args = {"lights", LUMAPLOT_TEST_DATA "/presentation/plot.dat", "--library",
                        LUMAPLOT_TEST_DATA "/presentation/LIBRARY.INI"};
    args.append(extra);
    return test::RunCli(args, QString::fromStdString(home.Path()));
  }
  // Frame k holds level k + 1 on every channel.
  QString Recording() {
    return QString::fromStdString(home.Write("rec.dat", test::RecordingBytes(4096, 3, 3, 4096)));
  }
  static int FirstLevel(const QString& out) {
    const QString first = out.section('\n', 0, 0);
    return QJsonDocument::fromJson(first.toUtf8()).object()["Levels"].toArray().at(0).toInt();
  }
  test::TempDir home;
};

TEST_F(LightsFromRecording, ShowsThePlotAtAFrameOrATime) {
  const QString rec = Recording();
  struct Case {
    const char* at;
    int level;
  };
  const Case cases[] = {{"0", 1}, {"2", 3}, {"00:00:00.02", 2}, {"00:00:00.05", 3}};
  for (const auto& c : cases) {
    const auto r = Lights({"--recording", rec, "--at", c.at});
    ASSERT_EQ(r.status, 0) << c.at << r.err.toStdString();
    EXPECT_EQ(FirstLevel(r.out), c.level) << c.at;
  }
  // --set still wins over the recording.
  const auto r = Lights({"--recording", rec, "--at", "1", "--set", "A001=200"});
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(FirstLevel(r.out), 200);
}

TEST_F(LightsFromRecording, RefusesBadCombinationsAndMomentsPastTheEnd) {
  const QString rec = Recording();
  const QString bad = QString::fromStdString(home.Write("bad.dat", std::string(600, 'x')));
  struct Case {
    QStringList args;
    int status;
  };
  const std::vector<Case> cases = {
      {{"--recording", rec}, 2},
      {{"--at", "1"}, 2},
      {{"--recording", rec, "--at", "x"}, 2},
      {{"--recording", rec, "--at", "1", "--levels", rec}, 2},
      {{"--recording", rec, "--at", "3"}, 1},
      {{"--recording", rec, "--at", "00:01:00"}, 1},
      {{"--recording", bad, "--at", "0"}, 1},
      {{"--recording", home.File("none.dat").c_str(), "--at", "0"}, 1},
  };
  for (const auto& c : cases) {
    const auto r = Lights(c.args);
    EXPECT_EQ(r.status, c.status) << c.args.join(' ').toStdString();
    EXPECT_FALSE(r.err.isEmpty()) << c.args.join(' ').toStdString();
  }
}

}  // namespace
}  // namespace lumaplot
