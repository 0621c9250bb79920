#pragma once
// TLinePrpDlg ("ラインのプロパティ"): the colour, width and end points of one line, or
// the colour and width of every selected line (only what the user changed). The
// colour and a valid width also become those of the next line drawn. With no line
// selected and none at the point it shows nothing. GUI thread only.
#include "ui/dialogs/ObjectPrpDlg.h"

class QLineEdit;
class QPushButton;

namespace lumaplot {

class TLinePrpDlg : public TObjectPrpDlg {
  Q_OBJECT

 public:
  TLinePrpDlg(const TDialogContext& context, QWidget* parent);

 protected:
  bool FormShow() override;
  bool OKBtnClick() override;

 private:
  struct TChanged {
    bool Color = false;
    bool Size = false;
  };

  void RefColBtnClick();
  void SizeEditChange();

  NumberEdit* SizeEdit_;
  TColorPanel* FgColPanel_;
  QLineEdit* PosEdit_[4];
  QPushButton* OKBtn_;
  QPushButton* CancelBtn_;
  TChanged changed_;
};

}  // namespace lumaplot
