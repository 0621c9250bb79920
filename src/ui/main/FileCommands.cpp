// The File menu of the main window: new, open, save, save as, close and exit, and
// files dropped on the window. Every command runs in the busy bracket and ends with
// a full refresh.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include <filesystem>

#include "model/StageFile.h"
#include "ui/main/LumaplotForm.h"
#include "util/DroppedFiles.h"

namespace lumaplot {
namespace {

const QString kStageFilter = "データ (*.dat)|*.DAT";
const QString kStageExt = "DAT";

QString FolderOf(const QString& file) { return QFileInfo(file).absolutePath(); }

QString NamePart(const std::string& path) {
  return QString::fromStdString(std::filesystem::path(path).filename().string());
}

QString SaveQuestion(const TStageData& doc) {
  return doc.FileName.empty()
             ? QString("[ 無題 ] 変更内容を保存しますか")
             : "[" + QString::fromStdString(doc.FileName) + "] 変更内容を保存しますか";
}

std::vector<std::string> LocalFiles(const QMimeData* data) {
  std::vector<std::string> files;
  if (!data || !data->hasUrls()) return files;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) files.push_back(url.toLocalFile().toStdString());
  }
  return files;
}

}  // namespace

bool TLumaplotForm::OpenDocumentFile(const std::string& path, std::string* error) {
  auto doc = LoadDocument(path, error);
  if (!doc) return false;
  AddDocument(std::move(doc));
  MakeCurrent(DocumentCount() - 1);
  return true;
}

void TLumaplotForm::FileNewItemClick() {
  if (DocumentCount() >= kMaxDocuments) {
    Prompts().Warning("これ以上作成できません", {});
    return;
  }
  {
    BusyBracket busy(*this);
    AddDocument(CreateDocument());
    MakeCurrent(DocumentCount() - 1);
  }
  ShowRepaintItemClick();
}

void TLumaplotForm::FileOpenItemClick() {
  if (DocumentCount() >= kMaxDocuments) {
    Prompts().Warning("これ以上開けません", {});
    return;
  }
  {
    BusyBracket busy(*this);
    const QString file = Prompts().OpenFileName(
        {"開く", kStageFilter, kStageExt, QString::fromStdString(EnvData_->LastDir), "*.DAT"});
    if (!file.isEmpty()) {
      std::string error;
      if (!OpenDocumentFile(file.toStdString(), &error)) {
        Prompts().Error(
            "ファイルを開けませんでした。\n" + file + "\n" + QString::fromStdString(error), {});
      }
      EnvData_->LastDir = FolderOf(file).toStdString();
    }
  }
  ShowRepaintItemClick();
}

bool TLumaplotForm::SaveDocument(TStageData& doc) {
  if (doc.FileName.empty()) return SaveDocumentAs(doc);
  std::string error;
  bool saved = false;
  {
    BusyBracket busy(*this);
    saved = SaveStage(doc, EnvData_->SaveUTF8, &error);
  }
  if (!saved) {
    Prompts().Error("保存できませんでした。\n" + QString::fromStdString(doc.FileName) + "\n" +
                        QString::fromStdString(error),
                    {});
  }
  UpdateActions();
  return saved;
}

bool TLumaplotForm::SaveDocumentAs(TStageData& doc) {
  if (doc.EditInhibit) return false;
  bool saved = false;
  {
    BusyBracket busy(*this);
    const QString file =
        Prompts().SaveFileName({"保存", kStageFilter, kStageExt,
                                QString::fromStdString(EnvData_->LastDir), NamePart(doc.FileName)});
    if (file.isEmpty()) return false;
    // The document keeps its old name unless it really was written under the new one.
    const std::string oldName = doc.FileName;
    doc.FileName = file.toStdString();
    std::string error;
    saved = SaveStage(doc, EnvData_->SaveUTF8, &error);
    if (!saved) {
      doc.FileName = oldName;
      Prompts().Error("保存できませんでした。\n" + file + "\n" + QString::fromStdString(error), {});
    }
    EnvData_->LastDir = FolderOf(file).toStdString();
  }
  ShowRepaintItemClick();
  return saved;
}

void TLumaplotForm::FileSaveItemClick() {
  if (!CurrentDoc_ || CurrentDoc_->EditInhibit) return;
  SaveDocument(*CurrentDoc_);
}

void TLumaplotForm::FileSaveAsItemClick() {
  if (!CurrentDoc_ || CurrentDoc_->EditInhibit) return;
  SaveDocumentAs(*CurrentDoc_);
}

void TLumaplotForm::FileCloseExecute() {
  TStageData* doc = CurrentDoc_;
  if (!doc) return;
  if (doc->Modified) {
    switch (Prompts().YesNoCancel(SaveQuestion(*doc), {})) {
      case QMessageBox::Yes:
        if (!SaveDocument(*doc) || doc->Modified) return;
        break;
      case QMessageBox::No:
        break;
      default:
        return;
    }
  } else if (Prompts().YesNoCancel("閉じますか", {}) != QMessageBox::Yes) {
    return;
  }
  {
    BusyBracket busy(*this);
    RemoveDocument(doc);
  }
  ShowRepaintItemClick();
}

void TLumaplotForm::FileExitItemClick() { close(); }

void TLumaplotForm::FilesDropped(const std::vector<std::string>& paths) {
  bool limitReached = false;
  {
    BusyBracket busy(*this);
    std::vector<std::string> files;
    DroppedFiles(paths, files, ".DAT");
    for (const std::string& file : files) {
      if (DocumentCount() >= kMaxDocuments) {
        limitReached = true;
        break;
      }
      if (!OpenDocumentFile(file, nullptr)) Prompts().Beep();
    }
  }
  ShowRepaintItemClick();
  if (limitReached) Prompts().Warning("これ以上開けません", {});
}

void TLumaplotForm::dragEnterEvent(QDragEnterEvent* event) {
  if (!LocalFiles(event->mimeData()).empty()) event->acceptProposedAction();
}

void TLumaplotForm::dropEvent(QDropEvent* event) {
  const std::vector<std::string> files = LocalFiles(event->mimeData());
  if (files.empty()) return;
  event->acceptProposedAction();
  // Opened once the drop has ended, so that no question blocks the program the
  // files came from.
  QTimer::singleShot(0, this, [this, files] { FilesDropped(files); });
}

}  // namespace lumaplot
