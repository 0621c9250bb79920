#include <gtest/gtest.h>

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <vector>

#include "support/CliRunner.h"
#include "support/TempDir.h"

namespace lumaplot {
namespace {

using test::RunCli;
using test::TempDir;

// A 320 x 200 plot: RGB at A001, an inverted red + brightness type at A010, RGB at
// H512 (two channels past the end), an unpatched RGB, a dimmer bar graph at A020.
const QString kData = LUMAPLOT_TEST_DATA "/presentation";
const QString kPlot = kData + "/plot.dat";
const QString kLibrary = kData + "/LIBRARY.INI";

std::vector<QJsonObject> JsonLines(const QString& out) {
  std::vector<QJsonObject> lines;
  for (const QString& line : out.split('\n', Qt::SkipEmptyParts)) {
    lines.push_back(QJsonDocument::fromJson(line.toUtf8()).object());
  }
  return lines;
}

QJsonArray Levels(std::initializer_list<int> levels) {
  QJsonArray array;
  for (int v : levels) array.append(v);
  return array;
}

class PresentationCommands : public ::testing::Test {
 protected:
  test::CliResult Run(QStringList args) {
    args.append({"--library", kLibrary});
    return RunCli(args, QString::fromStdString(home.Path()));
  }
  TempDir home;
};

TEST_F(PresentationCommands, LightsPrintsEveryLightAfterOneUpdate) {
  const std::string levels = home.Write("levels.bin", std::string(19, '\x09') + '\x33');
  const auto r = Run({"lights", kPlot, "--levels", QString::fromStdString(levels), "--set",
                      "A001=255,2=128,3=0", "--set", "10=0,A011=55", "--set", "H512=7"});
  ASSERT_EQ(r.status, 0) << r.err.toStdString();
  const auto lines = JsonLines(r.out);
  ASSERT_EQ(lines.size(), 5u);

  const QJsonObject& rgb = lines[0];
  EXPECT_EQ(rgb["Name"].toString(), "RGB");
  EXPECT_EQ(rgb["StartCh"].toInt(), 0);
  EXPECT_EQ(rgb["Color"].toInt(), 0x0080FF);
  EXPECT_EQ(rgb["Levels"].toArray(), Levels({255, 128, 0}));
  EXPECT_TRUE(rgb["NeedsDraw"].toBool());
  EXPECT_EQ(rgb["ChannelText"].toString(), "A001");
  EXPECT_EQ(rgb["ChannelColor"].toInt(), 0xFFFFFF);
  EXPECT_EQ(rgb["LevelText"].toString(), "00");
  EXPECT_EQ(rgb["LevelColor"].toInt(), 8421504);  // the zero colour
  EXPECT_EQ(rgb.size(), 11);

  const QJsonObject& inverted = lines[1];  // both channels inverted in place
  EXPECT_EQ(inverted["Levels"].toArray(), Levels({255, 200}));
  EXPECT_EQ(inverted["Color"].toInt(), 0x0000FF);
  EXPECT_EQ(inverted["Level"].toInt(), 200);
  EXPECT_EQ(inverted["LevelText"].toString(), "78");
  EXPECT_EQ(inverted["ChannelColor"].toInt(), 32768);  // every 10th channel

  EXPECT_EQ(lines[2]["ChannelText"].toString(), "H512");
  EXPECT_EQ(lines[2]["Levels"].toArray(), Levels({7, 0, 0}));
  EXPECT_EQ(lines[2]["Color"].toInt(), 7);

  EXPECT_EQ(lines[3]["StartCh"].toInt(), -1);
  EXPECT_EQ(lines[3]["ChannelText"].toString(), "");
  EXPECT_EQ(lines[3]["Levels"].toArray(), QJsonArray());
  EXPECT_FALSE(lines[3]["NeedsDraw"].toBool());

  const QJsonObject& bar = lines[4];  // from the levels file
  EXPECT_DOUBLE_EQ(bar["BarLevel"].toDouble(), 0.2);
  EXPECT_EQ(bar["LevelText"].toString(), "20");
  EXPECT_EQ(bar["Color"].toInt(), 0x333333);
}

TEST_F(PresentationCommands, LightsTextModes) {
  const auto r =
      Run({"lights", kPlot, "--set", "A010=0,A011=55", "--dimval", "2", "--chmode", "1"});
  ASSERT_EQ(r.status, 0) << r.err.toStdString();
  const auto lines = JsonLines(r.out);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[1]["LevelText"].toString(), "C8");
  EXPECT_EQ(lines[1]["ChannelText"].toString(), "10");
  EXPECT_EQ(lines[2]["ChannelText"].toString(), "4096");
  EXPECT_EQ(lines[0]["LevelText"].toString(), "00");
}

TEST_F(PresentationCommands, BadUsageAndMissingFiles) {
  struct Case {
    QStringList args;
    int status;
  };
  const std::vector<Case> cases = {
      {{"lights"}, 2},
      {{"lights", kPlot, "--dimval", "3"}, 2},
      {{"lights", kPlot, "--chmode", "x"}, 2},
      {{"lights", kPlot, "--set", "A001=256"}, 2},
      {{"lights", kPlot, "--set", "I001=1"}, 2},
      {{"lights", kPlot, "--set", "A001"}, 2},
      {{"lights", kPlot, "--levels", kData + "/none.bin"}, 1},
      {{"lights", kData + "/none.dat"}, 1},
      {{"render", kPlot}, 2},
      {{"render", kPlot, "-o", "x.png", "--width", "0"}, 2},
      {{"render", kPlot, "-o", "x.png", "--height", "9000"}, 2},
      {{"render", kPlot, "-o", "x.png", "--dimval", "5"}, 2},
  };
  for (const Case& c : cases) {
    const auto r = Run(c.args);
    EXPECT_EQ(r.status, c.status) << c.args.join(' ').toStdString();
    EXPECT_FALSE(r.err.isEmpty()) << c.args.join(' ').toStdString();
  }
}

QRgb Rgb(int32_t color) { return qRgb(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF); }

TEST_F(PresentationCommands, RenderPaintsThePageAtItsSize) {
  const QString out = QString::fromStdString(home.File("page.png"));
  const auto r = Run({"render", kPlot, "-o", out, "--set", "A001=255,2=128,A020=51"});
  ASSERT_EQ(r.status, 0) << r.err.toStdString();
  const QImage image(out);
  ASSERT_EQ(image.size(), QSize(320, 200));
  EXPECT_EQ(image.pixel(7, 7), Rgb(64));         // background
  EXPECT_EQ(image.pixel(50, 7), Rgb(0x00FF00));  // grid line
  EXPECT_EQ(image.pixel(7, 150), Rgb(0x00FF00));
  EXPECT_EQ(image.pixel(30, 30), qRgb(255, 128, 0));     // the RGB light's body
  EXPECT_EQ(image.pixel(65, 136), qRgb(255, 255, 255));  // lit fifth of the bar
  EXPECT_EQ(image.pixel(65, 110), qRgb(0, 0, 0));        // the rest of it
}

TEST_F(PresentationCommands, RenderTakesAnotherSizeAndNeedsNoDisplay) {
  const QString out = QString::fromStdString(home.File("small.png"));
  QProcess process;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) env.remove(name);
  env.insert("LUMAPLOT_HOME", QString::fromStdString(home.Path()));
  process.setProcessEnvironment(env);
  process.start(LUMAPLOT_CLI_PATH, {"render", kPlot, "--library", kLibrary, "-o", out, "--width",
                                    "100", "--height", "60"});
  ASSERT_TRUE(process.waitForFinished(30000));
  EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
  EXPECT_EQ(QImage(out).size(), QSize(100, 60));
}

TEST_F(PresentationCommands, RenderReportsAnUnwritableFile) {
  const auto r =
      Run({"render", kPlot, "-o", QString::fromStdString(home.File("no/such/dir/x.png"))});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(r.err.contains("cannot write")) << r.err.toStdString();
}

}  // namespace
}  // namespace lumaplot
