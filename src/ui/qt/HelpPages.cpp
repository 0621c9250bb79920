#include "ui/qt/HelpPages.h"

#include <QDesktopServices>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStandardPaths>
#include <QUrl>

#include "ui/qt/MessageBoxes.h"
#include "ui/qt/Resources.h"
#include "util/FileIo.h"

namespace lumaplot {
namespace {

const QString kResourceFolder = ":/help";
const QString kContentsPage = "index.html";

bool WritePage(const QString& source, const QString& target, QString* error) {
  QFile page(source);
  if (!page.open(QIODevice::ReadOnly)) {
    if (error) *error = "ヘルプの読み込みに失敗しました: " + source;
    return false;
  }
  const QByteArray bytes = page.readAll();
  const std::string path = target.toStdString();
  std::string existing;
  if (ReadFileBytes(path, existing) && existing == bytes.toStdString()) return true;
  std::string reason;
  if (!WriteFileAtomically(path, std::string_view(bytes.constData(), bytes.size()), &reason)) {
    if (error) *error = QString::fromStdString(reason);
    return false;
  }
  return true;
}

}  // namespace

QString ExtractHelpPages(const QString& folder, QString* error) {
  InitResources();
  if (!QDir().mkpath(folder)) {
    if (error) *error = "フォルダを作成できません: " + folder;
    return {};
  }
  const QDir target(folder);
  for (QDirIterator pages(kResourceFolder, QDir::Files); pages.hasNext();) {
    const QString source = pages.next();
    if (!WritePage(source, target.filePath(pages.fileName()), error)) return {};
  }
  const QString contents = target.filePath(kContentsPage);
  if (!QFile::exists(contents)) {
    if (error) *error = "ヘルプの目次がありません: " + contents;
    return {};
  }
  return contents;
}

QString HelpFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + "/lumaplot/help";
}

void ShowHelpContents() {
  QString error;
  const QString contents = ExtractHelpPages(HelpFolder(), &error);
  if (contents.isEmpty()) {
    MsgError("ヘルプを表示できませんでした。\n" + error);
  } else if (!QDesktopServices::openUrl(QUrl::fromLocalFile(contents))) {
    MsgError("ヘルプを表示するブラウザを起動できませんでした。\n" + contents);
  }
}

}  // namespace lumaplot
