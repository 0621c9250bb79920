#include "ui/dialogs/TextPrpDlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/AppCore.h"
#include "ui/qt/NumberEdit.h"
#include "ui/qt/Prompts.h"

namespace lumaplot {
namespace {

constexpr const char kNewCaption[] = "テキストの新規追加";
constexpr const char kMultiText[] = " *******";

void ApplyBit(uint32_t& flags, const QCheckBox* box, uint32_t bit) {
  if (box->checkState() == Qt::Checked) flags |= bit;
  if (box->checkState() == Qt::Unchecked) flags &= ~bit;
}

}  // namespace

TTextPrpDlg::TTextPrpDlg(const TDialogContext& context, QWidget* parent)
    : TObjectPrpDlg(context, parent, "TextPrpDlg", "TextPrpDlg", KindText),
      TextEdit_(new QLineEdit),
      FgColPanel_(new TColorPanel("FgColPanel", "RefColBtn")),
      SizeEdit_(NewNumberEdit("SizeEdit", 5, 100)),
      BoldCheckBox_(new QCheckBox("太字(&B)")),
      ItlcCheckBox_(new QCheckBox("斜体(&I)")),
      OKBtn_(new QPushButton("OK")),
      CancelBtn_(new QPushButton("キャンセル")) {
  setWindowTitle("テキストのプロパティ");
  TextEdit_->setObjectName("TextEdit");
  TextEdit_->setMinimumWidth(260);
  SizeEdit_->SetUpDownValue(16);
  SizeEdit_->setFixedWidth(70);
  BoldCheckBox_->setObjectName("BoldCheckBox");
  ItlcCheckBox_->setObjectName("ItlcCheckBox");
  OKBtn_->setObjectName("OKBtn");
  OKBtn_->setDefault(true);
  CancelBtn_->setObjectName("CancelBtn");

  connect(TextEdit_, &QLineEdit::textChanged, this, [this] { TextEditChange(); });
  connect(SizeEdit_->Edit(), &QLineEdit::textChanged, this, [this] { SizeEditChange(); });
  connect(FgColPanel_->Button(), &QToolButton::clicked, this, [this] { RefColBtnClick(); });
  connect(OKBtn_, &QPushButton::clicked, this, [this] {
    if (OKBtnClick()) accept();
  });
  connect(CancelBtn_, &QPushButton::clicked, this, &QDialog::reject);

  auto* textLabel = new QLabel("テキスト(&T)");
  textLabel->setBuddy(TextEdit_);
  auto* fields = new QGridLayout;
  fields->addWidget(textLabel, 0, 0);
  fields->addWidget(TextEdit_, 0, 1, 1, 2);
  fields->addWidget(new QLabel("文字色"), 1, 0);
  fields->addWidget(FgColPanel_, 1, 1, 1, 2);
  fields->addWidget(new QLabel("サイズ"), 2, 0);
  fields->addWidget(SizeEdit_, 2, 1, Qt::AlignLeft);
  auto* styles = new QHBoxLayout;
  styles->addWidget(BoldCheckBox_);
  styles->addWidget(ItlcCheckBox_);
  styles->addStretch(1);
  fields->addLayout(styles, 3, 1, 1, 2);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(OKBtn_);
  buttons->addWidget(CancelBtn_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool TTextPrpDlg::FormShow() {
  setWindowTitle("テキストのプロパティ");
  changed_ = {};
  if (choice_.CreateNew) {
    setWindowTitle(kNewCaption);
    AdoptNewObject(AddNewText(*doc_, X, Y, context_.Core.Env()));
  }
  if (!Multi() && !Target()) return false;
  if (!Multi()) {
    const TLightCell& text = *Target();
    TextEdit_->setEnabled(true);
    TextEdit_->setPalette(QPalette());
    TextEdit_->setText(QString::fromStdString(text.Text));
    FgColPanel_->SetColor(text.Color);
    SizeEdit_->SetUpDownValue(text.Size);
    BoldCheckBox_->setTristate(false);
    ItlcCheckBox_->setTristate(false);
    BoldCheckBox_->setChecked((text.Flags & kFlagBold) != 0);
    ItlcCheckBox_->setChecked((text.Flags & kFlagItalic) != 0);
    TextEdit_->setFocus();
  } else {
    const TLightCell& common = doc_->Template;
    TextEdit_->setEnabled(false);
    QPalette gray = TextEdit_->palette();
    gray.setColor(QPalette::Text, QPalette().color(QPalette::Disabled, QPalette::Text));
    TextEdit_->setPalette(gray);
    TextEdit_->setText(kMultiText);
    FgColPanel_->SetColor(common.Color);
    SizeEdit_->SetUpDownValue(common.Size);  // "differs" (0) shows the smallest size
    for (QCheckBox* box : {BoldCheckBox_, ItlcCheckBox_}) {
      box->setTristate(true);
      box->setCheckState(Qt::PartiallyChecked);
    }
  }
  SetFieldBackground(SizeEdit_, ButtonFace(), Multi());
  TextEditChange();
  return true;
}

void TTextPrpDlg::TextEditChange() { OKBtn_->setEnabled(!TextEdit_->text().isEmpty()); }

void TTextPrpDlg::SizeEditChange() {
  if (filling_ || !Multi()) return;
  changed_.Size = true;
  SetWindowBackground(SizeEdit_);
}

void TTextPrpDlg::RefColBtnClick() {
  int32_t color = FgColPanel_->Color();
  if (!context_.Prompts.ChooseColor || !context_.Prompts.ChooseColor(color)) return;
  FgColPanel_->SetColor(color);
  if (Multi()) changed_.Color = true;
}

bool TTextPrpDlg::OKBtnClick() {
  if (TextEdit_->text().isEmpty()) return false;
  const int32_t size = SizeEdit_->UpDownTextValid() ? SizeEdit_->Text().trimmed().toInt() : -1;
  const int32_t color = FgColPanel_->Color();
  if (Multi()) {
    for (TLightCell* text : doc_->Selection) {
      if (text->Kind != KindText) continue;
      if (changed_.Color) text->Color = color;
      if (size > 0 && changed_.Size) text->Size = size;
      ApplyBit(text->Flags, BoldCheckBox_, kFlagBold);
      ApplyBit(text->Flags, ItlcCheckBox_, kFlagItalic);
      Redraw(text);
    }
  } else {
    TLightCell& text = *Target();
    text.Text = TextEdit_->text().toStdString();
    text.Color = color;
    if (size > 0) text.Size = size;
    const uint32_t style = (BoldCheckBox_->isChecked() ? kFlagBold : 0u) |
                           (ItlcCheckBox_->isChecked() ? kFlagItalic : 0u);
    text.Flags = style;
    if (windowTitle() == kNewCaption) {
      TEnvData& env = context_.Core.Env();
      if (size > 0) env.TextSize = size;
      env.TextColor = color;
      env.TextStyle = static_cast<int32_t>(style);
    }
    Redraw(&text);
  }
  doc_->Modified = true;
  return true;
}

}  // namespace lumaplot
