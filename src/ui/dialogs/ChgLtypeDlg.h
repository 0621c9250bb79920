#pragma once
// TChgLtypeDlg ("未定義灯体の変更"): while a stage file is read, asks which type of the
// fixture library stands in for a type name the library lacks.
//
// The caller puts the missing name into TypeName, runs the dialog modally (exec) and
// then reads TypeName: the chosen library type after OK, otherwise still the missing
// name. OK is enabled only once the user has picked a type; there is no Cancel
// button, so closing the window (or Escape) is the way to choose none.
// MissingTypeHandler turns the dialog into a document's OnMissingType.
//
// Created once at start-up and reused: every showing refills the type list from the
// library and clears the choice, so only TypeName carries over. The library is read,
// never changed, and must outlive the dialog. GUI thread only.
#include <QDialog>
#include <QString>

#include "model/StageData.h"
#include "ui/dialogs/DialogContext.h"

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;

namespace lumaplot {

class TLightLib;

class TChgLtypeDlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 313;
  static constexpr int kClientHeight = 187;

  explicit TChgLtypeDlg(const TLightLib& library, QWidget* parent = nullptr);
  // Asks with the library of the application core.
  TChgLtypeDlg(const TDialogContext& context, QWidget* parent);

  // In: the missing type name. Out: the chosen type's name, or unchanged.
  QString TypeName;

  // Ends the dialog; TypeName takes the chosen type when `result` is Accepted and a
  // type is chosen.
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormShow();
  void ShowMissingName();
  void LightComboChange();

  const TLightLib& library_;
  QFrame* Bevel1_;
  QLabel* MsgLabel_;
  QLabel* Label1_;
  QComboBox* LightCombo_;
  QPushButton* OKBtn_;
};

// A document's OnMissingType that asks through `dialog`: sets its TypeName to the
// missing name, runs it modally and returns the TypeName it then holds. Answers the
// name unchanged, without showing anything, once the dialog has been destroyed or
// while it is already showing (a question asked from within another one).
TStageData::MissingTypeQuestion MissingTypeHandler(TChgLtypeDlg& dialog);

}  // namespace lumaplot
