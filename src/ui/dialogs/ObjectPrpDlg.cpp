#include "ui/dialogs/ObjectPrpDlg.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QToolButton>

#include "core/AppCore.h"
#include "model/ObjectDrawing.h"
#include "ui/qt/ColorConvert.h"
#include "ui/qt/NumberEdit.h"
#include "ui/qt/Prompts.h"
#include "ui/qt/WindowState.h"

namespace lumaplot {

TColorPanel::TColorPanel(const char* panelName, const char* buttonName, QWidget* parent)
    : QFrame(parent), swatch_(new QFrame(this)), button_(new QToolButton(this)) {
  setObjectName(panelName);
  swatch_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  swatch_->setFixedSize(48, 22);
  swatch_->setAutoFillBackground(true);
  button_->setObjectName(buttonName);
  button_->setText("...");
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(4);
  layout->addWidget(swatch_);
  layout->addWidget(button_);
  layout->addStretch(1);
  SetColor(0);
}

void TColorPanel::SetColor(int32_t color) {
  color_ = color;
  QPalette palette = swatch_->palette();
  palette.setColor(QPalette::Window, SwatchColor(color, QPalette()));
  swatch_->setPalette(palette);
}

TObjectPrpDlg::TObjectPrpDlg(const TDialogContext& context, QWidget* parent, const char* name,
                             const char* positionPrefix, int32_t kind)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      context_(context),
      positionPrefix_(positionPrefix),
      kind_(kind) {
  setObjectName(name);
}

int TObjectPrpDlg::ShowModal() {
  doc_ = context_.Core.CurrentDoc();
  created_ = nullptr;
  if (!doc_ || doc_->EditInhibit) return Rejected;
  modifiedBefore_ = doc_->Modified;
  choice_ = ChoosePropertyTarget(*doc_, kind_, X, Y, PresentationSettings());
  filling_ = true;
  const bool ready = FormShow();
  filling_ = false;
  if (!ready) {
    done(Rejected);
    return Rejected;
  }
  const QPoint owner = parentWidget() ? parentWidget()->pos() : QPoint();
  LoadFormPos(context_.Core.Ini(), positionPrefix_, this, owner.x() + 100, owner.y() + 100, 0, 0);
  return exec();
}

void TObjectPrpDlg::done(int result) {
  if (isVisible()) SaveFormPos(context_.Core.Ini(), positionPrefix_, this);
  if (result != Accepted && created_ && doc_) {
    doc_->DeleteObject(created_);
    doc_->Modified = modifiedBefore_;
  }
  created_ = nullptr;
  // The objects may go away before the next showing.
  choice_ = {};
  QDialog::done(result);
}

void TObjectPrpDlg::AdoptNewObject(TLightCell* cell) {
  created_ = cell;
  choice_.Target = cell;
  choice_.CreateNew = false;
  doc_->Modified = true;
}

void TObjectPrpDlg::Redraw(TLightCell* cell) {
  cell->SetNeedsDraw();
  DrawObject(*doc_, cell, true);
}

void TObjectPrpDlg::SetFieldBackground(QWidget* field, const QColor& multi, bool isMulti) {
  QPalette palette = field->palette();
  const QColor colour = isMulti ? multi : QPalette().color(QPalette::Base);
  palette.setColor(QPalette::Base, colour);
  palette.setColor(QPalette::Button, isMulti ? multi : QPalette().color(QPalette::Button));
  field->setPalette(palette);
  // A number field shows its line edit.
  for (QLineEdit* edit : field->findChildren<QLineEdit*>()) {
    QPalette inner = edit->palette();
    inner.setColor(QPalette::Base, colour);
    edit->setPalette(inner);
  }
}

void TObjectPrpDlg::SetWindowBackground(QWidget* field) { SetFieldBackground(field, {}, false); }

QColor TObjectPrpDlg::Silver() { return QColor(0xC0, 0xC0, 0xC0); }

QColor TObjectPrpDlg::ButtonFace() const { return QPalette().color(QPalette::Button); }

NumberEdit* TObjectPrpDlg::NewNumberEdit(const char* name, int minimum, int maximum) {
  auto* edit = new NumberEdit(this);
  edit->setObjectName(name);
  edit->SetRange(minimum, maximum);
  edit->SetWarningFunction([this](const QString& text) {
    if (context_.Prompts.Warning)
      context_.Prompts.Warning(NumberEdit::RangeWarningText(text), "警告");
  });
  return edit;
}

QLineEdit* TObjectPrpDlg::NewDigitsEdit(const char* name, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edit));
  return edit;
}

}  // namespace lumaplot
