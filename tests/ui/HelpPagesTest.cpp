#include "ui/qt/HelpPages.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include "support/TempDir.h"
#include "support/TestApplication.h"

namespace lumaplot {
namespace {

QString ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

TEST(HelpPages, ExtractsEveryPageWithWorkingLinks) {
  test::TestApplication();
  test::TempDir dir;
  const QString folder = QString::fromStdString(dir.File("help"));
  QString error;
  const QString contents = ExtractHelpPages(folder, &error);
  ASSERT_EQ(contents, folder + "/index.html") << error.toStdString();

  const QStringList pages = QDir(folder).entryList({"*.html"}, QDir::Files);
  EXPECT_GE(pages.size(), 6);
  const QRegularExpression link(R"(href="([^"#]+))");
  for (const QString& page : pages) {
    const QString text = ReadAll(folder + "/" + page);
    EXPECT_TRUE(text.contains(R"(<meta charset="utf-8">)")) << page.toStdString();
    EXPECT_TRUE(text.contains("<html lang=\"ja\">")) << page.toStdString();
    for (auto match = link.globalMatch(text); match.hasNext();) {
      const QString target = match.next().captured(1);
      EXPECT_TRUE(QFile::exists(folder + "/" + target))
          << page.toStdString() << " links to missing " << target.toStdString();
    }
  }
  // Every page is reachable from the contents page.
  const QString index = ReadAll(contents);
  for (const QString& page : pages) {
    if (page == "index.html") continue;
    EXPECT_TRUE(index.contains(page)) << page.toStdString();
  }
}

TEST(HelpPages, ExtractingAgainRepairsChangedPagesAndFailsClearly) {
  test::TestApplication();
  test::TempDir dir;
  const QString folder = QString::fromStdString(dir.Path());
  const QString contents = ExtractHelpPages(folder);
  ASSERT_FALSE(contents.isEmpty());
  const QString original = ReadAll(contents);
  dir.Write("index.html", "broken");
  EXPECT_EQ(ExtractHelpPages(folder), contents);
  EXPECT_EQ(ReadAll(contents), original);

  // A file where the folder should be.
  const QString blocked = QString::fromStdString(dir.Write("blocked", "x")) + "/help";
  QString error;
  EXPECT_TRUE(ExtractHelpPages(blocked, &error).isEmpty());
  EXPECT_FALSE(error.isEmpty());
}

}  // namespace
}  // namespace lumaplot
