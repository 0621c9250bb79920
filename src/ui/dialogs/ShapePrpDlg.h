#pragma once
// TShapePrpDlg ("図形のプロパティ"): the type, size, line width, fill and outline of
// one shape, or of every selected shape (only what the user changed). Shown on an
// empty spot with no shape selected it makes a new shape there ("図形の新規追加")
// from the remembered values, which its OK then replaces; a new shape whose dialog is
// cancelled is taken out again. GUI thread only.
#include "ui/dialogs/ObjectPrpDlg.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace lumaplot {

class TShapePrpDlg : public TObjectPrpDlg {
  Q_OBJECT

 public:
  TShapePrpDlg(const TDialogContext& context, QWidget* parent);

 protected:
  bool FormShow() override;
  bool OKBtnClick() override;

 private:
  struct TChanged {
    bool Width = false;
    bool Height = false;
    bool LineWidth = false;
    bool Fill = false;
    bool Outline = false;
  };

  void RefColBtnClick(int tag);
  void FieldChange(bool& flag, QWidget* field);

  QComboBox* ShpComboBox_;
  QLineEdit* WdEdit_;
  QLineEdit* HiEdit_;
  NumberEdit* LwEdit_;
  TColorPanel* ColPanel1_;
  TColorPanel* ColPanel2_;
  QPushButton* OKBtn_;
  QPushButton* CancelBtn_;
  TChanged changed_;
};

}  // namespace lumaplot
