#include "ui/dialogs/LinePrpDlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <optional>

#include "core/AppCore.h"
#include "ui/qt/NumberEdit.h"
#include "ui/qt/Prompts.h"

namespace lumaplot {
namespace {

// The integer a field holds, if it holds one.
std::optional<int32_t> IntegerIn(const QLineEdit* edit) {
  bool ok = false;
  const int value = edit->text().trimmed().toInt(&ok);
  return ok ? std::optional<int32_t>(value) : std::nullopt;
}

}  // namespace

TLinePrpDlg::TLinePrpDlg(const TDialogContext& context, QWidget* parent)
    : TObjectPrpDlg(context, parent, "LinePrpDlg", "LinePrpDlg", KindLine),
      SizeEdit_(NewNumberEdit("SizeEdit", 1, 100)),
      FgColPanel_(new TColorPanel("FgColPanel", "RefColBtn")),
      PosEdit_{NewDigitsEdit("PosEdit1"), NewDigitsEdit("PosEdit2"), NewDigitsEdit("PosEdit3"),
               NewDigitsEdit("PosEdit4")},
      OKBtn_(new QPushButton("OK")),
      CancelBtn_(new QPushButton("キャンセル")) {
  setWindowTitle("ラインのプロパティ");
  OKBtn_->setObjectName("OKBtn");
  OKBtn_->setDefault(true);
  CancelBtn_->setObjectName("CancelBtn");
  for (QLineEdit* edit : PosEdit_) edit->setFixedWidth(56);
  SizeEdit_->setFixedWidth(70);

  connect(SizeEdit_->Edit(), &QLineEdit::textChanged, this, [this] { SizeEditChange(); });
  connect(FgColPanel_->Button(), &QToolButton::clicked, this, [this] { RefColBtnClick(); });
  connect(OKBtn_, &QPushButton::clicked, this, [this] {
    if (OKBtnClick()) accept();
  });
  connect(CancelBtn_, &QPushButton::clicked, this, &QDialog::reject);

  auto* fields = new QGridLayout;
  fields->addWidget(new QLabel("太さ"), 0, 0);
  fields->addWidget(SizeEdit_, 0, 1, 1, 2);
  fields->addWidget(new QLabel("色"), 1, 0);
  fields->addWidget(FgColPanel_, 1, 1, 1, 4);
  auto* positions = new QHBoxLayout;
  positions->addWidget(PosEdit_[0]);
  positions->addWidget(new QLabel(","));
  positions->addWidget(PosEdit_[1]);
  positions->addWidget(new QLabel("-"));
  positions->addWidget(PosEdit_[2]);
  positions->addWidget(new QLabel(","));
  positions->addWidget(PosEdit_[3]);
  fields->addWidget(new QLabel("位置"), 2, 0);
  fields->addLayout(positions, 2, 1, 1, 4);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(OKBtn_);
  buttons->addWidget(CancelBtn_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool TLinePrpDlg::FormShow() {
  if (!Multi() && !Target()) return false;
  setWindowTitle("ラインのプロパティ");
  changed_ = {};
  if (Multi()) {
    const TLightCell& common = doc_->Template;
    for (QLineEdit* edit : PosEdit_) edit->clear();
    FgColPanel_->SetColor(common.Color);
    SizeEdit_->SetUpDownValue(common.Size);
    if (common.Size == 0) SizeEdit_->Edit()->clear();
  } else {
    const TLightCell* line = Target();
    FgColPanel_->SetColor(line->Color);
    SizeEdit_->SetUpDownValue(line->Size);
    const int32_t ends[] = {line->X1, line->Y1, line->X2, line->Y2};
    for (int i = 0; i < 4; ++i) PosEdit_[i]->setText(QString::number(ends[i]));
  }
  for (QLineEdit* edit : PosEdit_) {
    edit->setEnabled(!Multi());
    SetFieldBackground(edit, Silver(), Multi());
  }
  SetFieldBackground(SizeEdit_, Silver(), Multi());
  return true;
}

void TLinePrpDlg::RefColBtnClick() {
  int32_t color = FgColPanel_->Color();
  if (!context_.Prompts.ChooseColor || !context_.Prompts.ChooseColor(color)) return;
  FgColPanel_->SetColor(color);
  if (Multi()) changed_.Color = true;
}

void TLinePrpDlg::SizeEditChange() {
  if (filling_ || !Multi()) return;
  changed_.Size = true;
  SetWindowBackground(SizeEdit_);
}

bool TLinePrpDlg::OKBtnClick() {
  const int32_t width = SizeEdit_->UpDownTextValid() ? SizeEdit_->Text().trimmed().toInt() : 0;
  const int32_t color = FgColPanel_->Color();
  if (Multi()) {
    for (TLightCell* line : doc_->Selection) {
      if (line->Kind != KindLine) continue;
      if (changed_.Color) line->Color = color;
      if (width > 0 && changed_.Size) line->Size = width;
      Redraw(line);
    }
  } else {
    TLightCell* line = Target();
    line->Color = color;
    if (width > 0) line->Size = width;
    int32_t* ends[] = {&line->X1, &line->Y1, &line->X2, &line->Y2};
    for (int i = 0; i < 4; ++i) {
      if (const std::optional<int32_t> value = IntegerIn(PosEdit_[i])) *ends[i] = *value;
    }
    Redraw(line);
  }
  // The next line drawn takes them; "the lines differ" is no colour to draw with.
  TEnvData& env = context_.Core.Env();
  if (color != kNoColor) env.LineColor = color;
  if (width > 0) env.LineSize = width;
  doc_->Modified = true;
  return true;
}

}  // namespace lumaplot
