#pragma once
// What the windows, commands and tools ask the user through: message boxes, the
// file dialogs, the colour dialog and the warning beep. Start-up uses Default(),
// which shows the program's message boxes and Qt's file and colour dialogs; tests
// replace single members with scripted answers, since a modal box would block them.
// GUI thread only.
#include <cstdint>
#include <functional>

#include <QColor>
#include <QMessageBox>
#include <QString>

namespace lumaplot {

// One file dialog: its title, filter ("データ (*.dat)|*.DAT" form: description and
// masks separated by "|"), default extension (without the dot), initial folder and
// the file name it starts with.
struct TFileDialogRequest {
  QString Title;
  QString Filter;
  QString DefaultExt;
  QString Folder;
  QString FileName;
  // The save dialog asks before an existing file is replaced; off for a caller that
  // asks with its own question.
  bool ConfirmOverwrite = true;
};

struct TPrompts {
  // True for Yes; an empty caption takes the default one.
  std::function<bool(const QString& text, const QString& caption)> YesNo;
  // Yes, No or Cancel; an empty caption takes the default one.
  std::function<QMessageBox::StandardButton(const QString& text, const QString& caption)>
      YesNoCancel;
  std::function<void(const QString& text, const QString& caption)> Warning;
  std::function<void(const QString& text, const QString& caption)> Error;
  std::function<void(const QString& text, const QString& caption)> Info;
  // The chosen file, or an empty text when the dialog was cancelled. Saving asks
  // before overwriting an existing file.
  std::function<QString(const TFileDialogRequest& request)> OpenFileName;
  std::function<QString(const TFileDialogRequest& request)> SaveFileName;
  std::function<void()> Beep;
  // The colour dialog, preset to `color` (0x00BBGGRR; kNoColor starts from white).
  // True, with the chosen colour in `color`, when the user pressed OK.
  std::function<bool(int32_t& color)> ChooseColor;

  // Message boxes of ui/qt/MessageBoxes.h, QFileDialog, QColorDialog,
  // QApplication::beep.
  static TPrompts Default();
};

// "データ (*.dat)|*.DAT" as a QFileDialog filter: "データ (*.dat *.DAT)". Masks are
// taken without regard to case, as file names on the Windows side were.
QString DialogFilter(const QString& filter);

}  // namespace lumaplot
