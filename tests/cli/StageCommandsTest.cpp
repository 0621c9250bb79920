#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <string>

#include "support/CliRunner.h"
#include "support/TempDir.h"
#include "util/TextCodec.h"

namespace lumaplot {
namespace {

using test::RunCli;
using test::TempDir;

const QString kData = LUMAPLOT_TEST_DATA;
const QString kPlot = kData + "/stage/windows_plot.dat";
const QString kLibrary = kData + "/library/windows_library.ini";
const QString kExamples = kData + "/../../examples";

QString Q(const std::string& text) { return QString::fromStdString(text); }

std::vector<QJsonObject> JsonLines(const QString& out) {
  std::vector<QJsonObject> lines;
  for (const QString& line : out.split('\n', Qt::SkipEmptyParts)) {
    lines.push_back(QJsonDocument::fromJson(line.toUtf8()).object());
  }
  return lines;
}

std::string Cp932File(std::string_view utf8Lf) {
  std::string crlf;
  for (char c : utf8Lf) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  return Utf8ToCp932(crlf);
}

TEST(ObjectsCommand, PrintsTheDocumentThenEveryObjectInDrawingOrder) {
  const auto r = RunCli({"objects", kPlot, "--library", kLibrary});
  ASSERT_EQ(r.status, 0) << r.err.toStdString();
  EXPECT_TRUE(r.err.isEmpty());
  const auto lines = JsonLines(r.out);
  ASSERT_EQ(lines.size(), 9u);
  const QJsonObject doc = lines[0]["Document"].toObject();
  EXPECT_EQ(doc["Title"].toString(), "本公演");
  EXPECT_EQ(doc["ScrWidth"].toInt(), 1024);
  EXPECT_EQ(doc["ShowGrid"].toBool(), true);
  EXPECT_EQ(doc["ValFontName"].toString(), "ＭＳ ゴシック");
  EXPECT_EQ(doc["ChFontSize"].toInt(), 8);
  EXPECT_EQ(doc["EditInhibit"].toBool(), false);
  EXPECT_EQ(doc["Modified"].toBool(), false);
  EXPECT_EQ(doc.size(), 23);

  EXPECT_EQ(lines[1]["Kind"].toInt(), 10);
  EXPECT_EQ(lines[2]["Order"].toInt(), 1);
  EXPECT_EQ(lines[4]["Text"].toString(), "下手");
  const QJsonObject light = lines[8];
  EXPECT_EQ(light["Kind"].toInt(), 50);
  EXPECT_EQ(light["StartCh"].toInt(), 512);
  EXPECT_EQ(light["Angle"].toInt(), 90);
  EXPECT_EQ(light["FilterColor"].toInt(), 255);
  EXPECT_EQ(light["Flags"].toInt(), 7);
  EXPECT_EQ(light["Comment"].toString(), "上手 2番");
  EXPECT_EQ(light["Width"].toInt(), 30);
  const QJsonObject fixture = light["Fixture"].toObject();
  EXPECT_EQ(fixture["Name"].toString(), "ムービング色");
  EXPECT_EQ(fixture["Shape"].toInt(), 2);
  EXPECT_EQ(fixture["Channels"].toInt(), 5);
  EXPECT_EQ(fixture["ChAtr"].toArray().size(), 16);
  EXPECT_EQ(fixture["ChAtr"].toArray()[0].toInt(), 6);
  EXPECT_EQ(light.size(), 20);
}

TEST(ObjectsCommand, AnswersMissingTypesFromTheReplaceOptions) {
  TempDir dir;
  const std::string plot = dir.Write(
      "plot.dat", Cp932File("[LightData]\n1,0,0,0,0,spot,0,\n2,0,0,0,0,Gone,0,\n3,0,0,0,0,SPOT,0,\n"
                            "4,0,0,0,0,LED1,0,\n"));
  const auto r = RunCli(
      {"objects", Q(plot), "--library", kLibrary, "--replace", "SPOT=PAR", "--replace", "x=LED1"});
  ASSERT_EQ(r.status, 0) << r.err.toStdString();
  EXPECT_EQ(r.err, "missing type: spot\nmissing type: Gone\n");
  const auto lines = JsonLines(r.out);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[1]["Fixture"].toObject()["Name"].toString(), "PAR");
  EXPECT_EQ(lines[1]["Width"].toInt(), 24);
  EXPECT_EQ(lines[2]["Fixture"].toObject()["Name"].toString(), "Gone");
  EXPECT_EQ(lines[2]["Width"].toInt(), 20);
  EXPECT_EQ(lines[3]["Fixture"].toObject()["Name"].toString(), "PAR");
  EXPECT_EQ(lines[4]["Fixture"].toObject()["Name"].toString(), "LED1");
}

TEST(ObjectsCommand, TakesTheLibraryOfTheProgramFolderByDefault) {
  TempDir home;
  home.Write("LIBRARY.INI", TempDir::Read(kLibrary.toStdString()));
  const auto r = RunCli({"objects", kPlot}, Q(home.Path()));
  ASSERT_EQ(r.status, 0) << r.err.toStdString();
  EXPECT_TRUE(r.err.isEmpty());

  TempDir empty;
  const auto without = RunCli({"objects", kPlot}, Q(empty.Path()));
  EXPECT_EQ(without.status, 0);
  EXPECT_TRUE(without.err.contains("missing type: LED1"));
}

TEST(ConvertCommand, WritesTheFileBackByteForByteOrAsUtf8) {
  TempDir dir;
  const std::string out = dir.File("out.dat");
  auto r = RunCli({"convert", kPlot, "-o", Q(out), "--library", kLibrary});
  ASSERT_EQ(r.status, 0) << r.err.toStdString();
  EXPECT_EQ(TempDir::Read(out), TempDir::Read(kPlot.toStdString()));

  r = RunCli({"convert", kPlot, "-o", Q(out), "--utf8", "--library", kLibrary});
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(TempDir::Read(out), "\xEF\xBB\xBF" + Cp932ToUtf8(TempDir::Read(kPlot.toStdString())));
}

TEST(ConvertCommand, KeepsUnknownTypeNamesOrReplacesThem) {
  TempDir dir;
  const std::string plot =
      dir.Write("plot.dat", Cp932File("[LightData]\n1,0,0,0,0x1fffffff,Gone,0x00000000,\n"));
  const std::string out = dir.File("out.dat");
  ASSERT_EQ(RunCli({"convert", Q(plot), "-o", Q(out), "--library", kLibrary}).status, 0);
  EXPECT_TRUE(
      TempDir::Read(out).starts_with("[LightData]\r\n1,0,0,0,0x1fffffff,Gone,0x00000000,\r\n["));
  ASSERT_EQ(
      RunCli({"convert", Q(plot), "-o", Q(out), "--library", kLibrary, "--replace", "gone=PAR"})
          .status,
      0);
  EXPECT_TRUE(
      TempDir::Read(out).starts_with("[LightData]\r\n1,0,0,0,0x1fffffff,PAR,0x00000000,\r\n["));
}

TEST(ConvertCommand, FailuresAndWrongUsage) {
  TempDir dir;
  EXPECT_EQ(RunCli({"convert", kPlot}).status, 2);
  EXPECT_EQ(RunCli({"objects"}).status, 2);
  EXPECT_EQ(RunCli({"objects", kPlot, kPlot}).status, 2);
  EXPECT_EQ(RunCli({"objects", kPlot, "--replace", "noequals"}).status, 2);
  EXPECT_EQ(RunCli({"objects", kPlot, "--bogus"}).status, 2);

  auto r = RunCli({"objects", Q(dir.File("none.dat")), "--library", kLibrary});
  EXPECT_EQ(r.status, 1);
  EXPECT_FALSE(r.err.isEmpty());
  r = RunCli({"objects", kPlot, "--library", Q(dir.File("none.ini"))});
  EXPECT_EQ(r.status, 1);
  r = RunCli({"convert", kPlot, "-o", Q(dir.File("no/folder/out.dat")), "--library", kLibrary});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(r.err.contains("cannot write"));

  r = RunCli({"objects", "--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(r.out.contains("--replace"));
  r = RunCli({"--help"});
  for (const char* command : {"objects", "convert", "list", "library", "library-merge"}) {
    EXPECT_TRUE(r.out.contains(QString("  ") + command + " ")) << command;
  }
}

TEST(ListCommand, WritesTheLightListInTheChosenFormAndOrder) {
  TempDir dir;
  const std::string out = dir.File("list.txt");
  ASSERT_EQ(RunCli({"list", kPlot, "-o", Q(out), "--library", kLibrary}).status, 0);
  const std::string rule(50, '-');
  EXPECT_EQ(Cp932ToUtf8(TempDir::Read(out)), "Title : 本公演\r\n\r\nType                 Ch.\r\n" +
                                                 rule +
                                                 "\r\n"
                                                 "LED1                 A001  R G B\r\n"
                                                 "PAR                        D\r\n"
                                                 "ムービング色         B001  C M Y D -\r\n" +
                                                 rule + "\r\n");

  ASSERT_EQ(
      RunCli({"list", kPlot, "-o", Q(out), "--library", kLibrary, "--number-form", "--sort", "1"})
          .status,
      0);
  const std::string text = Cp932ToUtf8(TempDir::Read(out));
  EXPECT_NE(text.find("PAR                        D\r\nLED1                 1     R G B\r\n"
                      "ムービング色         513   C M Y D -\r\n"),
            std::string::npos);

  EXPECT_EQ(RunCli({"list", kPlot, "-o", Q(out), "--sort", "3"}).status, 2);
  EXPECT_EQ(RunCli({"list", kPlot}).status, 2);
}

TEST(LibraryCommand, PrintsEveryTypeInListOrder) {
  const auto r = RunCli({"library", kLibrary});
  ASSERT_EQ(r.status, 0) << r.err.toStdString();
  const auto lines = JsonLines(r.out);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0]["Name"].toString(), "LED1");
  EXPECT_EQ(lines[1]["FrmColor"].toInt(), 536870911);
  EXPECT_EQ(lines[1]["Shape"].toInt(), 1);
  EXPECT_EQ(lines[2]["Name"].toString(), "ムービング色");
  EXPECT_EQ(lines[2]["ExAtr"].toInt(), 1);
  EXPECT_EQ(lines[2]["ChAtr"].toArray()[3].toInt(), 8);
  EXPECT_EQ(lines[2].size(), 8);

  TempDir dir;
  EXPECT_EQ(RunCli({"library", Q(dir.File("none.ini"))}).status, 1);
  EXPECT_EQ(RunCli({"library"}).status, 2);
}

TEST(LibraryMergeCommand, MergesSavesAndPrintsTheCount) {
  TempDir dir;
  const std::string target = dir.Write(
      "LIBRARY.INI", Cp932File("[Define001]\nName=PAR\nShape=Circle\nChannels=1\nChAtr1=D\n"));
  auto r = RunCli({"library-merge", Q(target), kLibrary});
  ASSERT_EQ(r.status, 0) << r.err.toStdString();
  EXPECT_EQ(r.out, "3\n");  // LED1 and the moving head new, PAR differs and is kept
  EXPECT_EQ(r.err, "duplicate type: PAR\n");
  auto lines = JsonLines(RunCli({"library", Q(target)}).out);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0]["Name"].toString(), "PAR");
  EXPECT_EQ(lines[0]["Shape"].toInt(), 0);

  r = RunCli({"library-merge", Q(target), kLibrary, "--answer", "yes"});
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "1\n");
  lines = JsonLines(RunCli({"library", Q(target)}).out);
  EXPECT_EQ(lines[0]["Shape"].toInt(), 1);

  r = RunCli({"library-merge", Q(target), kLibrary});
  EXPECT_EQ(r.out, "0\n");
  EXPECT_TRUE(r.err.isEmpty());
}

TEST(LibraryMergeCommand, StopsAtTwoHundredTypesAndSaysSo) {
  TempDir dir;
  std::string full;
  for (int i = 1; i <= 199; ++i)
    full += "[Define" + std::to_string(1000 + i).substr(1) + "]\nName=T" + std::to_string(i) + "\n";
  const std::string target = dir.Write("LIBRARY.INI", Cp932File(full));
  const auto r = RunCli({"library-merge", Q(target), kLibrary});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "-1\n");
  EXPECT_TRUE(r.err.contains("200"));
  EXPECT_EQ(JsonLines(RunCli({"library", Q(target)}).out).size(), 200u);  // what was taken is saved
}

TEST(LibraryMergeCommand, WrongUsageAndMissingFiles) {
  TempDir dir;
  EXPECT_EQ(RunCli({"library-merge", kLibrary}).status, 2);
  EXPECT_EQ(RunCli({"library-merge", Q(dir.File("t.ini")), kLibrary, "--answer", "maybe"}).status,
            2);
  const auto r = RunCli({"library-merge", Q(dir.File("t.ini")), Q(dir.File("none.ini"))});
  EXPECT_EQ(r.status, 1);
  EXPECT_FALSE(std::filesystem::exists(dir.File("t.ini")));
}

TEST(Examples, TheDemoPlotUsesOnlyTypesOfTheStarterLibraryAndRoundTrips) {
  TempDir dir;
  const QString library = kExamples + "/LIBRARY.INI";
  const QString demo = kExamples + "/demo.dat";
  const auto r = RunCli({"objects", demo, "--library", library});
  ASSERT_EQ(r.status, 0) << r.err.toStdString();
  EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
  EXPECT_GT(JsonLines(r.out).size(), 20u);
  const std::string out = dir.File("demo.dat");
  ASSERT_EQ(RunCli({"convert", demo, "-o", Q(out), "--library", library}).status, 0);
  EXPECT_EQ(TempDir::Read(out), TempDir::Read(demo.toStdString()));
  EXPECT_EQ(JsonLines(RunCli({"library", library}).out).size(), 7u);
}

}  // namespace
}  // namespace lumaplot
