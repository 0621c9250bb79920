#pragma once
// TTextPrpDlg ("テキストのプロパティ"): the text, colour, size and style of one text,
// or the colour, size and style of every selected text (only what the user changed;
// a style box still grayed leaves that style bit as it was). Shown on an empty spot
// with no text selected it makes a new text there ("テキストの新規追加") in the
// remembered size, colour and style, which its OK then replaces; a new text whose
// dialog is cancelled is taken out again. OK is offered only while the text is not
// empty. GUI thread only.
#include "ui/dialogs/ObjectPrpDlg.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace lumaplot {

class TTextPrpDlg : public TObjectPrpDlg {
  Q_OBJECT

 public:
  TTextPrpDlg(const TDialogContext& context, QWidget* parent);

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
  void TextEditChange();

  QLineEdit* TextEdit_;
  TColorPanel* FgColPanel_;
  NumberEdit* SizeEdit_;
  QCheckBox* BoldCheckBox_;
  QCheckBox* ItlcCheckBox_;
  QPushButton* OKBtn_;
  QPushButton* CancelBtn_;
  TChanged changed_;
};

}  // namespace lumaplot
