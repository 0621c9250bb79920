#pragma once
// TLibraryDlg ("ライブラリ編集"): the fixture library editor. The user browses the
// library's types in a sorted list, edits the working copy `EditItem` (name, shape,
// size, outline colour, channel count, the two invert flags and the role of every
// channel) with a drawn preview, and changes the library with 変更 (the selected
// type is overwritten in place), 追加 (the working copy is appended; only for a name
// the library does not hold) and 削除 (after a question).
//
// The library itself changes only through those three buttons; every control writes
// into EditItem at once, and what is not committed is lost when another type is
// selected or the dialog closes. When the dialog closes after a change the library
// file is written (atomically). A file that cannot be written is reported then, the
// old file stays whole and the library keeps the edits in memory: the next closing
// of the dialog writes it again, changed or not.
//
// Refusals: 追加 past the library's 200 types, and 追加 or 変更 with an empty name
// (the file keeps such a type as an unused slot, so it would be gone at the next
// start), each with a message.
//
// Lights of open plots keep their own copies of their types; the caller brings them
// up to date after the dialog closed. Created once and reused; the position is kept
// in the settings under "LibraryDlg". GUI thread only; the library, the settings
// and the prompts must outlive the dialog.
#include <QDialog>
#include <QWidget>

#include <memory>

#include "model/LibItem.h"
#include "model/StageData.h"
#include "ui/dialogs/DialogContext.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;
class QWidget;

namespace lumaplot {

class IniFile;
class NumberEdit;
class TLightLib;
struct TPrompts;

class TLibraryDlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kPreviewSize = 150;
  static constexpr int kGridRowHeight = 20;
  static constexpr int kMinTypeSize = 4;
  static constexpr int kMaxTypeSize = 150;

  TLibraryDlg(TLightLib& library, IniFile& ini, TPrompts& prompts, QWidget* parent = nullptr);
  // Edits the library of the application core.
  TLibraryDlg(const TDialogContext& context, QWidget* parent);
  ~TLibraryDlg() override;

  // The type shown and edited.
  TLibItem EditItem;

  // The library was changed since the dialog was shown.
  bool LibChanged() const { return libChanged_; }
  // The library could not be written when the dialog last closed.
  bool SavePending() const { return savePending_; }

  // Closes the dialog (FormClose): stores its position and writes the library when
  // it changed or an earlier write failed.
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  class TPreview;

  void CreateControls();
  void FormShow();
  void FormClose();
  void LibListBoxClick();
  void NameEditChange();
  void ShapeComboChange();
  void SizeXEditChange();
  void SizeYEditChange();
  void FrmColCheckBoxClick();
  void RefColBtnClick();
  void ChnEditChange();
  void CInvertCheckBoxClick();
  void BInvertCheckBoxClick();
  void ChDefGridClick();
  void ChAtrRadioGrpClick(int item);
  void UpdateBtnClick();
  void AddBtnClick();
  void DeleteBtnClick();
  void LtPaintBoxPaint(QPainter& painter, QSize size);

  void UpdateAddBtn();
  void ShowFrameColor();
  void ShowRole(int role);
  void FillGrid();
  int SelectedGridRow() const;  // 1-based channel of the selected grid row; 0 for none
  void SetGridCell(int row, int column, const QString& text);
  bool RefuseEmptyName();
  void SelectListName(int row);

  TLightLib& library_;
  IniFile& ini_;
  TPrompts& prompts_;
  TStageData preview_;
  bool libChanged_ = false;
  bool savePending_ = false;
  int gridChannels_ = 0;  // the channel count the grid shows

  QLabel* HeaderControl1_ = nullptr;
  QListWidget* LibListBox_ = nullptr;
  TPreview* LtPaintBox_ = nullptr;
  QLineEdit* NameEdit_ = nullptr;
  QComboBox* ShapeCombo_ = nullptr;
  NumberEdit* SizeXEdit_ = nullptr;
  NumberEdit* SizeYEdit_ = nullptr;
  QCheckBox* FrmColCheckBox_ = nullptr;
  QFrame* ColPanel_ = nullptr;
  QPushButton* RefColBtn_ = nullptr;
  NumberEdit* ChnEdit_ = nullptr;
  QCheckBox* CInvertCheckBox_ = nullptr;
  QCheckBox* BInvertCheckBox_ = nullptr;
  QTableWidget* ChDefGrid_ = nullptr;
  QWidget* ChAtrRadioGrp_ = nullptr;
  QButtonGroup* ChAtrButtons_ = nullptr;
  QPushButton* UpdateBtn_ = nullptr;
  QPushButton* AddBtn_ = nullptr;
  QPushButton* DeleteBtn_ = nullptr;
  QPushButton* CloseBtn_ = nullptr;
};

}  // namespace lumaplot
