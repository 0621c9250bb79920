// lumaplot-cli pdf: one landscape page of the chosen paper, with the plot's texts as
// text and its figures as vectors, the levels of the moment, and the usual refusals.
// The PDF is read back with poppler's tools (pdfinfo, pdftotext, pdfimages).
#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <sys/stat.h>

#include "support/CliRunner.h"
#include "support/RecordingBytes.h"
#include "support/StageBuilder.h"
#include "support/TempDir.h"

namespace lumaplot {
namespace {

using test::RunCli;
using test::TempDir;

// The output of a poppler tool, or a skip when poppler-utils is missing.
#define POPPLER(out, tool, args)                                                        \
  QString out;                                                                          \
  {                                                                                     \
    const QString program = QStandardPaths::findExecutable(tool);                       \
    if (program.isEmpty()) GTEST_SKIP() << tool << " (poppler-utils) is not installed"; \
    QProcess process;                                                                   \
    process.start(program, args);                                                       \
    ASSERT_TRUE(process.waitForFinished(30000));                                        \
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();   \
    out = QString::fromUtf8(process.readAllStandardOutput());                           \
  }

class PdfCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    TLightLib library(home.File("LIBRARY.INI"));
    library.Items.Add(test::LibraryType("PAR", Circle, 20, 20, {RoleDimmer}));
    ASSERT_TRUE(library.SaveToFile(library.FileName));
    TStageData doc;
    doc.Title = "Spring show";
    TLightCell* light = test::AddLight(doc, library.Items[0], 100, 100, 0);
    light->Flags = kFlagShowLevel | kFlagShowChannel;
    test::AddText(doc, 40, 300, "Stage Left");
    test::AddLine(doc, 10, 500, 790, 500, 2);
    plot = QString::fromStdString(home.File("plot.dat"));
    ASSERT_TRUE(test::SavePlot(doc, plot.toStdString()));
    pdf = QString::fromStdString(home.File("plot.pdf"));
  }

  test::CliResult Run(const QStringList& args) {
    return RunCli(args, QString::fromStdString(home.Path()));
  }

  TempDir home;
  QString plot;
  QString pdf;
};

TEST_F(PdfCommand, WritesOneLandscapeA4PageWithTextAndVectors) {
  const auto r = Run({"pdf", plot, "-o", pdf, "--set", "A001=255"});
  ASSERT_EQ(r.status, 0) << r.err.toStdString();
  POPPLER(info, "pdfinfo", QStringList{pdf});
  EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+1\\n"))) << info.toStdString();
  EXPECT_TRUE(info.contains("842 x 595 pts (A4)")) << info.toStdString();
  EXPECT_TRUE(info.contains(QRegularExpression("Title:\\s+Spring show"))) << info.toStdString();
  POPPLER(text, "pdftotext", (QStringList{pdf, "-"}));
  EXPECT_TRUE(text.contains("Stage Left")) << text.toStdString();
  EXPECT_TRUE(text.contains("A001")) << text.toStdString();  // the channel text
  EXPECT_TRUE(text.contains("FF")) << text.toStdString();    // the level text: full
  // Drawn as vectors: the page holds no picture.
  POPPLER(images, "pdfimages", (QStringList{"-list", pdf}));
  EXPECT_EQ(images.trimmed().split('\n').size(), 2) << images.toStdString();  // header only
}

TEST_F(PdfCommand, LetterPaperAndLevelsAtZero) {
  const auto r = Run({"pdf", plot, "-o", pdf, "--page", "letter"});
  ASSERT_EQ(r.status, 0) << r.err.toStdString();
  POPPLER(info, "pdfinfo", QStringList{pdf});
  EXPECT_TRUE(info.contains("792 x 612 pts (letter)")) << info.toStdString();
  POPPLER(text, "pdftotext", (QStringList{pdf, "-"}));
  EXPECT_TRUE(text.contains("00")) << text.toStdString();  // no levels: zero
}

TEST_F(PdfCommand, LevelsOfAMomentOfARecording) {
  // Frame k of the recording holds k + 1 on every channel.
  const QString rec =
      QString::fromStdString(home.Write("rec.dat", test::RecordingBytes(4096, 3, 3, 4096)));
  for (const auto& [at, level] : {std::pair{"2", "03"}, std::pair{"00:00:00.00", "01"}}) {
    const auto r = Run({"pdf", plot, "-o", pdf, "--recording", rec, "--at", at, "--dimval", "2"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    POPPLER(text, "pdftotext", (QStringList{pdf, "-"}));
    // A level text of its own, not part of the channel text "A001".
    const QString other = QString(level) == "03" ? "01" : "03";
    EXPECT_TRUE(text.contains(QRegularExpression("\\b" + QString(level) + "\\b")))
        << at << ": " << text.toStdString();
    EXPECT_FALSE(text.contains(QRegularExpression("\\b" + other + "\\b")))
        << at << ": " << text.toStdString();
  }
}

TEST_F(PdfCommand, RefusesWrongUsageAndUnwritableOutput) {
  EXPECT_EQ(Run({"pdf", plot}).status, 2);
  EXPECT_EQ(Run({"pdf", plot, "-o", pdf, "--page", "b5"}).status, 2);
  EXPECT_EQ(Run({"pdf", "-o", pdf}).status, 2);
  EXPECT_EQ(Run({"pdf", plot, "-o", pdf, "--at", "3"}).status, 2);
  const auto missing = Run({"pdf", QString::fromStdString(home.File("none.dat")), "-o", pdf});
  EXPECT_EQ(missing.status, 1);
  EXPECT_TRUE(missing.err.contains("cannot read the plot")) << missing.err.toStdString();

  const std::string old = home.Write("old.pdf", "old");
  ASSERT_EQ(::chmod(old.c_str(), 0444), 0);
  const auto locked = Run({"pdf", plot, "-o", QString::fromStdString(old)});
  EXPECT_EQ(locked.status, 1);
  EXPECT_TRUE(locked.err.contains("cannot write the PDF")) << locked.err.toStdString();
  EXPECT_EQ(TempDir::Read(old), "old");
}

}  // namespace
}  // namespace lumaplot
