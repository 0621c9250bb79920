#pragma once
// TLightPrpDlg ("プロパティ [x,y]"): the type, start channel, angle, filter colour and
// display flags of one light or of every selected light, with a preview of the light
// drawn by the page's own drawing code.
//
// In multi mode the type, channel, angle and filter are written only when the user
// changed them, and each display flag only when its box is no longer grayed. The
// start channel is read in either channel form; a text that names no channel is
// refused with a warning and the dialog stays open, an empty one unpatches. A light
// whose type the library lacks keeps its own type unless another one is chosen.
// Shown with no light selected and none at the point, it shows nothing.
// GUI thread only.
#include <memory>

#include "model/LibItem.h"
#include "model/StageData.h"
#include "ui/dialogs/ObjectPrpDlg.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace lumaplot {

class QtCanvas;

class TLightPrpDlg : public TObjectPrpDlg {
  Q_OBJECT

 public:
  TLightPrpDlg(const TDialogContext& context, QWidget* parent);
  ~TLightPrpDlg() override;

  // The type shown (the one written on OK) and the filter colour being edited.
  const TLibItem& WorkingType() const { return working_; }
  int32_t FilterColor() const { return filter_; }
  // The preview as last painted.
  QImage PreviewImage() const;

 protected:
  bool FormShow() override;
  bool OKBtnClick() override;

 private:
  struct TChanged {
    bool Type = false;
    bool Channel = false;
    bool Angle = false;
    bool Filter = false;
  };

  void LightComboChange(bool fromUser);
  void ChEditChange();
  void AngleEditChange();
  void RefFilterBtnClick();
  void LtPaintBoxPaint(QPainter& painter);
  void ShowFilter();
  void ApplyFlag(TLightCell& light, QCheckBox* box, uint32_t bit) const;
  uint32_t PreviewFlags(const TLightCell& light) const;

  QComboBox* LightCombo_;
  QWidget* LtPaintBox_;
  QLineEdit* ChEdit_;
  NumberEdit* AngleEdit_;
  TColorPanel* FilterPanel_;
  QCheckBox* FrmFilChkBox_;
  QCheckBox* DimValChkBox_;
  QCheckBox* DmxChChkBox_;
  QPushButton* OKBtn_;
  QPushButton* CancelBtn_;

  TLibItem working_ = DefaultLibItem();
  int32_t filter_ = kNoColor;
  TChanged changed_;
  // The preview's own document and surface; the light drawn is a passing copy.
  std::unique_ptr<TStageData> preview_;
  std::unique_ptr<QtCanvas> previewCanvas_;
};

}  // namespace lumaplot
