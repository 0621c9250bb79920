#include "ui/main/commands/LibraryCommands.h"

#include <QComboBox>
#include <QFileInfo>

#include <algorithm>
#include <utility>

#include "model/LightListExport.h"
#include "model/TypeLinks.h"
#include "ui/dialogs/DialogHost.h"
#include "ui/dialogs/LibraryDlg.h"
#include "ui/main/MainBars.h"
#include "ui/main/commands/CommandContext.h"
#include "ui/qt/ChannelLists.h"
#include "ui/qt/Prompts.h"
#include "util/ExternalProgram.h"

namespace lumaplot {
namespace {

const QString kLibraryCaption = "器具ライブラリ";

QString Text(const std::string& text) { return QString::fromStdString(text); }

// The name part of `path` with its extension replaced by `extension`; empty for a
// document that has no file yet.
QString NameWithExtension(const std::string& path, const QString& extension) {
  if (path.empty()) return {};
  return QFileInfo(Text(path)).completeBaseName() + extension;
}

// The add-light list selects the add template's type, or else keeps the type it
// showed, or else shows its first type rather than none; the find list starts again
// at "All".
void RefillTypeLists(TCommandContext& context) {
  QComboBox* lights = context.Bars.LightCombo();
  const QString shown = lights->currentText();
  FillLightCombo(lights, context.Core.Library());
  constexpr auto kExactly = Qt::MatchExactly | Qt::MatchCaseSensitive;
  int index = lights->findText(Text(context.Edit.AddTemplate.Fixture.Name), kExactly);
  if (index < 0) index = lights->findText(shown, kExactly);
  lights->setCurrentIndex(index >= 0 ? index : std::min(0, lights->count() - 1));
  context.Host.UpdateChannelLists();
}

}  // namespace

QString DuplicateTypeQuestion(const QString& name) {
  return "[" + name + "]\n灯体名が重複しています";
}

void FileListItemClick(TCommandContext& context) {
  TStageData* doc = context.Doc();
  if (doc == nullptr) return;
  TEnvData& env = context.Core.Env();
  TBusyBracket busy(context.Host);
  const QString file =
      context.Prompts.SaveFileName({"テキスト出力", "灯体一覧 (*.txt)|*.TXT", "TXT",
                                    Text(env.LastDir), NameWithExtension(doc->FileName, ".TXT")});
  if (file.isEmpty()) return;
  std::string error;
  if (!ExportLightList(*doc, file.toStdString(), {env.DmxChMode, env.GridSortMode}, &error)) {
    context.Prompts.Error("灯体一覧を書き込めませんでした。\n" + file + "\n" + Text(error), {});
    return;
  }
  const std::string editor = EditorProgram(env.Editor);
  if (!OpenWithProgram(file.toStdString(), editor, "", &error)) {
    // The list is written; only showing it failed.
    context.Prompts.Warning("灯体一覧は出力しましたが、エディタ[" + Text(editor) +
                                "]を起動できませんでした。\n" + Text(error),
                            {});
  }
}

void FileLibEditItemClick(TCommandContext& context) {
  {
    TBusyBracket busy(context.Host);
    context.Dialogs.Get<TLibraryDlg>().exec();
  }
  RefillTypeLists(context);
  if (TStageData* doc = context.Doc()) {
    // Only the current document follows the library now; the others take their
    // types again when they are read next.
    RelinkLightTypes(*doc, context.Core.Library());
    context.Host.ObjectsChanged();
  }
  context.Host.FullRefresh();
}

void MergeLibraryFile(TCommandContext& context, const QString& file) {
  TLightLib& library = context.Core.Library();
  TLightLib::DuplicateQuestion ask = [&context](const std::string& name) {
    return context.Prompts.YesNoCancel(DuplicateTypeQuestion(Text(name)), "灯体名重複") ==
           QMessageBox::Yes;
  };
  std::swap(library.OnDuplicateName, ask);
  std::string error;
  const int merged = library.LoadFromFile(file.toStdString(), true, &error);
  std::swap(library.OnDuplicateName, ask);
  if (merged == kLibReadFailed) {
    context.Prompts.Error(
        "ライブラリファイルを読み込めませんでした。\n" + file + "\n" + Text(error), {});
    return;
  }
  if (!library.SaveToFile(library.FileName, &error)) {
    context.Prompts.Error("灯体ライブラリを保存できませんでした。\n" + Text(library.FileName) +
                              "\n" + Text(error) +
                              "\nマージした灯体は保存されるまで残ります。もう一度マージすると"
                              "保存し直します。",
                          kLibraryCaption);
  } else if (merged == kLibLimitReached) {
    context.Prompts.Warning(QString("灯体ライブラリが%1種類に達したため、マージできなかった"
                                    "灯体があります")
                                .arg(kMaxLibItems),
                            kLibraryCaption);
  } else {
    context.Prompts.Info(QString::number(merged) + "個の灯体をマージしました", kLibraryCaption);
  }
  RefillTypeLists(context);
}

void FileLibMergeItemClick(TCommandContext& context) {
  {
    TBusyBracket busy(context.Host);
    const QString file =
        context.Prompts.OpenFileName({"マージ", "器具ライブラリ (*.INI)|*.INI", "INI",
                                      Text(context.Core.Env().LastDir), "*.INI"});
    if (!file.isEmpty()) MergeLibraryFile(context, file);
  }
  context.Host.FullRefresh();
}

}  // namespace lumaplot
