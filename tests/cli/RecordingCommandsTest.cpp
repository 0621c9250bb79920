#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "support/CliRunner.h"
#include "support/RecordingBytes.h"
#include "support/TempDir.h"

namespace lumaplot {
namespace {

using test::RunCli;

QJsonObject JsonOf(const QString& out) { return QJsonDocument::fromJson(out.toUtf8()).object(); }

std::string Recording(std::int32_t frameSize, std::int32_t frameCount, int frames, int stride,
                      int extra = 0) {
  return test::RecordingBytes(frameSize, frameCount, frames, stride, extra);
}

TEST(RecInfo, PrintsTheHeaderAndTheWholeFramesOfTheFile) {
  test::TempDir dir;
  const std::string path = dir.Write("rec.dat", Recording(4096, 3, 3, 4096, 100));
  const auto r = RunCli({"rec-info", QString::fromStdString(path)});
  ASSERT_EQ(r.status, 0) << r.err.toStdString();
  const QJsonObject o = JsonOf(r.out);
  EXPECT_EQ(o["Title"].toString(), "ライブ");
  EXPECT_EQ(o["FrameSize"].toInt(), 4096);
  EXPECT_EQ(o["FrameCount"].toInt(), 3);
  EXPECT_EQ(o["IntervalMs"].toInt(), 20);
  EXPECT_EQ(o["StartTime"].toString(), "2024-01-31T12:00:00.000");
  EXPECT_EQ(o["StopTime"].toString(), "2024-01-31T12:00:02.000");
  EXPECT_EQ(o["Frames"].toInt(), 3);
  EXPECT_EQ(o["Length"].toInt(), 512 + 3 * 4096 + 100);
}

TEST(RecInfo, ShowsTheHeaderAsItIsAndCountsFramesOfTheCorrectedSize) {
  test::TempDir dir;
  const struct {
    std::int32_t size;
    std::int32_t count;
    int frames;
    int stride;
    int wholeFrames;
  } cases[] = {
      {4096, 0, 5, 4096, 5},  // a recording whose program was killed
      {300, 2, 2, 512, 2},    // read with frames of 512
      {8192, 1, 2, 4096, 2},  // read with frames of 4096
      {4096, 9, 0, 0, 0},
  };
  for (const auto& c : cases) {
    const std::string path = dir.Write("case.dat", Recording(c.size, c.count, c.frames, c.stride));
    const auto r = RunCli({"rec-info", QString::fromStdString(path)});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QJsonObject o = JsonOf(r.out);
    EXPECT_EQ(o["FrameSize"].toInt(), c.size);
    EXPECT_EQ(o["FrameCount"].toInt(), c.count);
    EXPECT_EQ(o["Frames"].toInt(), c.wholeFrames) << c.size << " " << c.count;
  }
}

TEST(RecInfo, RefusesWhatIsNoRecording) {
  test::TempDir dir;
  std::string noMagic = Recording(4096, 1, 1, 4096);
  noMagic[8] = '!';
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {{"text.dat", "hello"}, {"nomagic.dat", noMagic}, {"empty.dat", ""}};
  for (const auto& c : cases) {
    const auto r = RunCli({"rec-info", QString::fromStdString(dir.Write(c.name, c.bytes))});
    EXPECT_EQ(r.status, 1) << c.name;
    EXPECT_TRUE(r.err.contains("不正なデータファイルです")) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
  }
  const auto missing = RunCli({"rec-info", QString::fromStdString(dir.File("none.dat"))});
  EXPECT_EQ(missing.status, 1);
  EXPECT_TRUE(missing.err.contains("none.dat"));
  EXPECT_EQ(RunCli({"rec-info"}).status, 2);
}

TEST(RecFrame, PrintsTheLevelsOfOneFrame) {
  test::TempDir dir;
  const struct {
    std::int32_t size;
    std::int32_t count;
    int stride;
    int levels;
  } cases[] = {
      {4096, 3, 4096, 4096}, {1024, 3, 1024, 1024}, {100, 3, 512, 512}, {4096, 0, 4096, 4096}};
  for (const auto& c : cases) {
    const std::string path = dir.Write("frames.dat", Recording(c.size, c.count, 3, c.stride));
    const auto r = RunCli({"rec-frame", QString::fromStdString(path), "1"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QJsonObject o = JsonOf(r.out);
    EXPECT_EQ(o["Frame"].toInt(), 1);
    const QJsonArray levels = o["Levels"].toArray();
    ASSERT_EQ(levels.size(), c.levels) << c.size;
    EXPECT_EQ(levels.first().toInt(), 2);
    EXPECT_EQ(levels.last().toInt(), 2);
  }
}

TEST(RecFrame, RefusesFramesOutsideTheFileAndBadArguments) {
  test::TempDir dir;
  const QString path = QString::fromStdString(dir.Write("two.dat", Recording(4096, 5, 2, 4096)));
  const auto beyond = RunCli({"rec-frame", path, "2"});  // the header says 5, the file holds 2
  EXPECT_EQ(beyond.status, 1);
  EXPECT_FALSE(beyond.err.isEmpty());
  const QString bad = QString::fromStdString(dir.Write("bad.dat", std::string(600, 'x')));
  const auto notRecording = RunCli({"rec-frame", bad, "0"});
  EXPECT_EQ(notRecording.status, 1);
  EXPECT_TRUE(notRecording.err.contains("不正なデータファイルです"));
  for (const QStringList& args :
       {QStringList{"rec-frame", path}, QStringList{"rec-frame", path, "-1"},
        QStringList{"rec-frame", path, "one"}}) {
    EXPECT_EQ(RunCli(args).status, 2) << args.join(' ').toStdString();
  }
}

}  // namespace
}  // namespace lumaplot
