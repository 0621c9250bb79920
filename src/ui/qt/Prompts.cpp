#include "ui/qt/Prompts.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>

#include "model/LibItem.h"
#include "ui/qt/ColorConvert.h"
#include "ui/qt/MessageBoxes.h"

namespace lumaplot {
namespace {

QString RunFileDialog(const TFileDialogRequest& request, QFileDialog::AcceptMode mode) {
  QFileDialog dialog(QApplication::activeWindow(), request.Title, request.Folder,
                     DialogFilter(request.Filter));
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                     : QFileDialog::AnyFile);
  dialog.setDefaultSuffix(request.DefaultExt);
  if (!request.ConfirmOverwrite) dialog.setOption(QFileDialog::DontConfirmOverwrite);
  // A mask such as "*.DAT" is a filter, not a name to preselect.
  if (!request.FileName.isEmpty() && !request.FileName.contains('*')) {
    dialog.selectFile(request.FileName);
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

}  // namespace

TPrompts TPrompts::Default() {
  TPrompts prompts;
  prompts.YesNo = [](const QString& text, const QString& caption) {
    return MsgYesNo(text, caption);
  };
  prompts.YesNoCancel = [](const QString& text, const QString& caption) {
    return MsgYesNoCancel(text, caption);
  };
  prompts.Warning = [](const QString& text, const QString& caption) { MsgWarning(text, caption); };
  prompts.Error = [](const QString& text, const QString& caption) { MsgError(text, caption); };
  prompts.Info = [](const QString& text, const QString& caption) { MsgInfo(text, caption); };
  prompts.OpenFileName = [](const TFileDialogRequest& request) {
    return RunFileDialog(request, QFileDialog::AcceptOpen);
  };
  prompts.SaveFileName = [](const TFileDialogRequest& request) {
    return RunFileDialog(request, QFileDialog::AcceptSave);
  };
  prompts.Beep = [] { QApplication::beep(); };
  prompts.ChooseColor = [](int32_t& color) {
    const QColor initial = color == kNoColor ? QColor(Qt::white) : ToQColor(color);
    const QColor chosen = QColorDialog::getColor(initial, QApplication::activeWindow());
    if (!chosen.isValid()) return false;
    color = FromQColor(chosen);
    return true;
  };
  return prompts;
}

QString DialogFilter(const QString& filter) {
  const QStringList parts = filter.split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i];
    // The description may already name its masks ("データ (*.dat)"); Qt reads the
    // masks from the last parentheses, so they are replaced by the real ones.
    const qsizetype open = description.lastIndexOf('(');
    if (open > 0) description = description.left(open).trimmed();
    QStringList masks;
    for (const QString& mask : parts[i + 1].split(';', Qt::SkipEmptyParts)) {
      const QString lower = mask.trimmed().toLower();
      const QString upper = mask.trimmed().toUpper();
      if (!masks.contains(lower)) masks << lower;
      if (!masks.contains(upper)) masks << upper;
    }
    filters << QString("%1 (%2)").arg(description, masks.join(' '));
  }
  return filters.join(";;");
}

}  // namespace lumaplot
