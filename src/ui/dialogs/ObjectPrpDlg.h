#pragma once
// TObjectPrpDlg: what the four object property dialogs (light, line, shape, text)
// share. Each edits the objects of one kind of the current document: one object, or
// every selected object of its kind at once (multi mode), where only the fields the
// user touched are written. The text and shape dialogs also make a new object when
// they are shown on an empty spot; a new object whose dialog does not end with OK is
// taken out again and leaves the document's `Modified` as it was.
//
// The caller sets X and Y (the page point of the click) and calls ShowModal. The
// dialog's place on the screen is kept in the settings under its prefix. Fields that
// a showing does not set keep what the last one left. The caller marks the document
// modified after OK and repaints the page.
//
// TColorPanel is their colour swatch with its "..." button. GUI thread only.
#include <QDialog>
#include <QFrame>

#include <cstdint>

#include "model/PropertyTarget.h"
#include "ui/dialogs/DialogContext.h"

class QLineEdit;
class QToolButton;

namespace lumaplot {

class NumberEdit;

// A colour swatch and the button that chooses its colour. It shows the colour, or
// the button face for kNoColor; the dialog decides what a click does.
class TColorPanel : public QFrame {
  Q_OBJECT

 public:
  TColorPanel(const char* panelName, const char* buttonName, QWidget* parent = nullptr);

  void SetColor(int32_t color);
  int32_t Color() const { return color_; }
  QToolButton* Button() const { return button_; }

 private:
  QFrame* swatch_;
  QToolButton* button_;
  int32_t color_ = 0;
};

class TObjectPrpDlg : public QDialog {
  Q_OBJECT

 public:
  // The page point the dialog was called for.
  int X = 0;
  int Y = 0;

  // Fills the dialog for the current document and shows it modally. Returns Rejected
  // at once, showing nothing, when there is no document or nothing to edit.
  int ShowModal();

  // What the last showing edits.
  bool Multi() const { return choice_.Multi; }
  TLightCell* Target() const { return choice_.Target; }
  // The object this showing made, until the dialog ends.
  TLightCell* NewObject() const { return created_; }

  void done(int result) override;

 protected:
  TObjectPrpDlg(const TDialogContext& context, QWidget* parent, const char* name,
                const char* positionPrefix, int32_t kind);

  // Fills the controls once the target is chosen; false when there is nothing to edit.
  virtual bool FormShow() = 0;
  // Writes the fields into the objects; false keeps the dialog open.
  virtual bool OKBtnClick() = 0;

  // The new object of the text and shape dialogs, made on an empty spot.
  void AdoptNewObject(TLightCell* cell);
  // Marks `cell` and draws it in real colours.
  void Redraw(TLightCell* cell);

  // The background of a field: `multi` (not yet changed) or the window colour.
  static void SetFieldBackground(QWidget* field, const QColor& multi, bool isMulti);
  static void SetWindowBackground(QWidget* field);
  static QColor Silver();
  QColor ButtonFace() const;
  // A number field of the dialog that warns through the program's prompts.
  NumberEdit* NewNumberEdit(const char* name, int minimum, int maximum);
  // A field that takes only digits.
  static QLineEdit* NewDigitsEdit(const char* name, QWidget* parent = nullptr);

  const TDialogContext& context_;
  TStageData* doc_ = nullptr;
  TPropertyTarget choice_;
  // True while FormShow fills the controls: changes then are not the user's.
  bool filling_ = false;

 private:
  const char* positionPrefix_;
  int32_t kind_;
  TLightCell* created_ = nullptr;
  bool modifiedBefore_ = false;
};

}  // namespace lumaplot
