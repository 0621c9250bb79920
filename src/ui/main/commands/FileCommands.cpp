#include "ui/main/commands/FileCommands.h"

#include <QFileInfo>

#include <filesystem>

#include "model/StageFile.h"
#include "ui/main/commands/CommandContext.h"
#include "ui/qt/Prompts.h"
#include "util/DroppedFiles.h"

namespace lumaplot {
namespace {

const QString kStageFilter = "データ (*.dat)|*.DAT";
const QString kStageExt = "DAT";

QString FolderOf(const QString& file) { return QFileInfo(file).absolutePath(); }

QString NamePart(const std::string& path) {
  return QString::fromStdString(std::filesystem::path(path).filename().string());
}

QString NameInBrackets(const TStageData& doc) {
  return doc.FileName.empty() ? QString("[ 無題 ]")
                              : "[" + QString::fromStdString(doc.FileName) + "]";
}

// Opens `path` as a new current document; false when it cannot be read.
bool OpenDocumentFile(TCommandContext& context, const std::string& path, std::string* error) {
  TDocumentList& documents = context.Core.Documents();
  auto doc = context.Core.LoadDocument(path, error);
  if (!doc || !documents.Add(std::move(doc))) return false;
  documents.SetCurrent(documents.Count() - 1);
  return true;
}

}  // namespace

QString CloseDocumentQuestion(const TStageData& doc) {
  return NameInBrackets(doc) + " 変更内容を保存しますか";
}

QString ExitQuestion(const TStageData& doc) { return CloseDocumentQuestion(doc) + "?"; }

void FileNewItemClick(TCommandContext& context) {
  TDocumentList& documents = context.Core.Documents();
  if (documents.Full()) {
    context.Prompts.Warning("これ以上作成できません", {});
    return;
  }
  {
    TBusyBracket busy(context.Host);
    documents.Add(context.Core.NewDocument());
    documents.SetCurrent(documents.Count() - 1);
  }
  context.Host.FullRefresh();
}

void FileOpenItemClick(TCommandContext& context) {
  if (context.Core.Documents().Full()) {
    context.Prompts.Warning("これ以上開けません", {});
    return;
  }
  TEnvData& env = context.Core.Env();
  {
    TBusyBracket busy(context.Host);
    const QString file = context.Prompts.OpenFileName(
        {"開く", kStageFilter, kStageExt, QString::fromStdString(env.LastDir), "*.DAT"});
    if (!file.isEmpty()) {
      std::string error;
      if (!OpenDocumentFile(context, file.toStdString(), &error)) {
        context.Prompts.Error(
            "ファイルを開けませんでした。\n" + file + "\n" + QString::fromStdString(error), {});
      }
      env.LastDir = FolderOf(file).toStdString();
    }
  }
  context.Host.FullRefresh();
}

bool SaveDocument(TCommandContext& context, TStageData& doc) {
  if (doc.FileName.empty()) return SaveDocumentAs(context, doc);
  std::string error;
  bool saved = false;
  {
    TBusyBracket busy(context.Host);
    saved = SaveStage(doc, context.Core.Env().SaveUTF8, &error);
  }
  if (saved) context.Core.Recovery().Forget(&doc);
  if (!saved) {
    context.Prompts.Error("保存できませんでした。\n" + QString::fromStdString(doc.FileName) + "\n" +
                              QString::fromStdString(error),
                          {});
  }
  return saved;
}

bool SaveDocumentAs(TCommandContext& context, TStageData& doc) {
  if (doc.EditInhibit) return false;
  TEnvData& env = context.Core.Env();
  bool saved = false;
  {
    TBusyBracket busy(context.Host);
    const QString file =
        context.Prompts.SaveFileName({"保存", kStageFilter, kStageExt,
                                      QString::fromStdString(env.LastDir), NamePart(doc.FileName)});
    if (file.isEmpty()) return false;
    // The document keeps its old name unless it really was written under the new one.
    const std::string oldName = doc.FileName;
    doc.FileName = file.toStdString();
    std::string error;
    saved = SaveStage(doc, env.SaveUTF8, &error);
    if (saved) context.Core.Recovery().Forget(&doc);
    if (!saved) {
      doc.FileName = oldName;
      context.Prompts.Error(
          "保存できませんでした。\n" + file + "\n" + QString::fromStdString(error), {});
    }
    env.LastDir = FolderOf(file).toStdString();
  }
  context.Host.FullRefresh();
  return saved;
}

bool SaveChangesFirst(TCommandContext& context, TStageData& doc, const QString& question) {
  switch (context.Prompts.YesNoCancel(question, {})) {
    case QMessageBox::Yes:
      return SaveDocument(context, doc) && !doc.Modified;
    case QMessageBox::No:
      return true;
    default:
      return false;
  }
}

void FileSaveItemClick(TCommandContext& context) {
  TStageData* doc = context.Doc();
  if (doc && !doc->EditInhibit) SaveDocument(context, *doc);
}

void FileSaveAsItemClick(TCommandContext& context) {
  TStageData* doc = context.Doc();
  if (doc && !doc->EditInhibit) SaveDocumentAs(context, *doc);
}

void FileCloseExecute(TCommandContext& context) {
  TStageData* doc = context.Doc();
  if (!doc) return;
  if (doc->Modified) {
    if (!SaveChangesFirst(context, *doc, CloseDocumentQuestion(*doc))) return;
  } else if (context.Prompts.YesNoCancel("閉じますか", {}) != QMessageBox::Yes) {
    return;
  }
  {
    TBusyBracket busy(context.Host);
    context.Core.CloseDocument(doc);
  }
  context.Host.FullRefresh();
}

void FileExitItemClick(TCommandContext& context) { context.Host.CloseWindow(); }

void OpenDroppedFiles(TCommandContext& context, const std::vector<std::string>& paths) {
  bool limitReached = false;
  {
    TBusyBracket busy(context.Host);
    std::vector<std::string> files;
    DroppedFiles(paths, files, ".DAT");
    for (const std::string& file : files) {
      if (context.Core.Documents().Full()) {
        limitReached = true;
        break;
      }
      if (!OpenDocumentFile(context, file, nullptr)) context.Prompts.Beep();
    }
  }
  context.Host.FullRefresh();
  if (limitReached) context.Prompts.Warning("これ以上開けません", {});
}

}  // namespace lumaplot
