#pragma once
// TOptScrDlg ("画面設定"): the display options of the current document: title, page
// size, background colour and picture, grid, the colours and fonts of the level and
// channel texts beside the lights, and the colour of every N-th channel number.
//
// Every showing fills the controls from the current document; nothing reaches the
// document before OK. OK writes the options back and marks the document modified;
// the caller then lays out and repaints the page. A number field that is not valid
// leaves its option as it was. A new background picture is read before anything is
// written: when it cannot be read the user is told, the dialog stays open and the
// document keeps its picture and every other option.
//
// The colour and font dialogs are reached through ChooseColor and ChooseFont (the
// platform dialogs by default; tests answer them). Every control carries the
// objectName of its role ("ScrWdEdit", "BgColPanel", ...). Created once and reused.
// GUI thread only.
#include <QDialog>
#include <QPushButton>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

#include "ui/dialogs/DialogContext.h"
#include "util/FontSpec.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace lumaplot {

class NumberEdit;
class TStageData;

// A colour swatch: shows its colour (kNoColor as the button face) and is clicked to
// choose another.
class TColorButton : public QPushButton {
  Q_OBJECT

 public:
  explicit TColorButton(QWidget* parent = nullptr);
  int32_t Color() const { return color_; }
  void SetColor(int32_t color);

 private:
  int32_t color_ = 0;
};

class TOptScrDlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kMinPageSide = 100;
  static constexpr int kMaxPageSide = 30000;
  static constexpr int kMinGridSize = 4;
  static constexpr int kMaxGridSize = 999;
  static constexpr int kMaxModChN = 101;

  TOptScrDlg(const TDialogContext& context, QWidget* parent);

  // The colour dialog, preset to `initial`; none when cancelled.
  std::function<std::optional<int32_t>(int32_t initial)> ChooseColor;
  // The font dialog, preset to `initial`; none when cancelled.
  std::function<std::optional<FontSpec>(const FontSpec& initial)> ChooseFont;

  // The working fonts, taken by the document on OK.
  const FontSpec& ValFont() const { return valFont_; }
  const FontSpec& ChFont() const { return chFont_; }

  // Ends the dialog. OK first writes the document (OKBtnClick) and does not close
  // when the new background picture cannot be read.
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  TColorButton* AddPanel(QWidget* parent, const char* name);
  void FormShow();
  bool OKBtnClick();
  void BgImgBtnClick();
  void ColRefBtnClick(TColorButton* panel);
  void ValFontBtnClick(int tag);
  void ShowFonts();
  // The picture path in the field, resolved as the document resolves it; false when
  // that file does not exist.
  bool ResolvedPicture(std::string& path) const;
  void FitScrSizeActionUpdate();
  void FitScrSizeActionExecute();

  TDialogContext context_;
  FontSpec valFont_;
  FontSpec chFont_;

  QLineEdit* DataNameEdit_;
  NumberEdit* ScrWdEdit_;
  NumberEdit* ScrHiEdit_;
  TColorButton* BgColPanel_;
  QLineEdit* BgImgEdit_;
  QPushButton* BgImgBtn_;
  QCheckBox* GridCheckBox_;
  TColorButton* GrdColPanel_;
  QComboBox* GridStyleComboBox_;
  NumberEdit* GridEdit_;
  TColorButton* ValColPanel_;
  TColorButton* VbgColPanel_;
  TColorButton* VzeroColPanel_;
  TColorButton* VfullColPanel_;
  QPushButton* ValFontBtn_;
  QLabel* ValFontLabel_;
  TColorButton* ChColPanel_;
  TColorButton* ModColPanel_;
  QComboBox* ModComboBox_;
  QPushButton* ChFontBtn_;
  QLabel* ChFontLabel_;
  QAction* FitScrSizeAction_;
  QPushButton* FitScrSizeBtn_;
  QPushButton* OKBtn_;
  QPushButton* CancelBtn_;
};

}  // namespace lumaplot
