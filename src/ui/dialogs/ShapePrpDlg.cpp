#include "ui/dialogs/ShapePrpDlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <cstdlib>

#include "core/AppCore.h"
#include "model/CellMove.h"
#include "ui/qt/NumberEdit.h"
#include "ui/qt/Prompts.h"

namespace lumaplot {
namespace {

constexpr const char kNewCaption[] = "図形の新規追加";

int32_t IntegerOr(const QLineEdit* edit, int32_t fallback) {
  bool ok = false;
  const int value = edit->text().trimmed().toInt(&ok);
  return ok ? value : fallback;
}

}  // namespace

TShapePrpDlg::TShapePrpDlg(const TDialogContext& context, QWidget* parent)
    : TObjectPrpDlg(context, parent, "ShapePrpDlg", "ShapePrpDlg", KindShape),
      ShpComboBox_(new QComboBox),
      WdEdit_(NewDigitsEdit("WdEdit")),
      HiEdit_(NewDigitsEdit("HiEdit")),
      LwEdit_(NewNumberEdit("LwEdit", 0, 360)),
      ColPanel1_(new TColorPanel("ColPanel1", "RefColBtn1")),
      ColPanel2_(new TColorPanel("ColPanel2", "RefColBtn2")),
      OKBtn_(new QPushButton("OK")),
      CancelBtn_(new QPushButton("キャンセル")) {
  setWindowTitle("図形のプロパティ");
  ShpComboBox_->setObjectName("ShpComboBox");
  ShpComboBox_->addItems({"長方形", "楕円"});
  WdEdit_->setFixedWidth(70);
  HiEdit_->setFixedWidth(70);
  LwEdit_->setFixedWidth(70);
  OKBtn_->setObjectName("OKBtn");
  OKBtn_->setDefault(true);
  CancelBtn_->setObjectName("CancelBtn");

  connect(WdEdit_, &QLineEdit::textChanged, this, [this] { FieldChange(changed_.Width, WdEdit_); });
  connect(HiEdit_, &QLineEdit::textChanged, this,
          [this] { FieldChange(changed_.Height, HiEdit_); });
  connect(LwEdit_->Edit(), &QLineEdit::textChanged, this,
          [this] { FieldChange(changed_.LineWidth, LwEdit_); });
  connect(ColPanel1_->Button(), &QToolButton::clicked, this, [this] { RefColBtnClick(0); });
  connect(ColPanel2_->Button(), &QToolButton::clicked, this, [this] { RefColBtnClick(1); });
  connect(OKBtn_, &QPushButton::clicked, this, [this] {
    if (OKBtnClick()) accept();
  });
  connect(CancelBtn_, &QPushButton::clicked, this, &QDialog::reject);

  auto* fields = new QGridLayout;
  fields->addWidget(new QLabel("タイプ"), 0, 0);
  fields->addWidget(ShpComboBox_, 0, 1);
  fields->addWidget(new QLabel("幅"), 1, 0);
  fields->addWidget(WdEdit_, 1, 1, Qt::AlignLeft);
  fields->addWidget(new QLabel("高さ"), 2, 0);
  fields->addWidget(HiEdit_, 2, 1, Qt::AlignLeft);
  fields->addWidget(new QLabel("線幅"), 3, 0);
  fields->addWidget(LwEdit_, 3, 1, Qt::AlignLeft);
  fields->addWidget(new QLabel("色"), 4, 0);
  fields->addWidget(ColPanel1_, 4, 1);
  fields->addWidget(new QLabel("輪郭"), 5, 0);
  fields->addWidget(ColPanel2_, 5, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(OKBtn_);
  buttons->addWidget(CancelBtn_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool TShapePrpDlg::FormShow() {
  setWindowTitle("図形のプロパティ");
  changed_ = {};
  if (choice_.CreateNew) {
    setWindowTitle(kNewCaption);
    AdoptNewObject(AddNewShape(*doc_, X, Y, context_.Core.Env()));
  }
  if (!Multi() && !Target()) return false;
  if (!Multi()) {
    const TLightCell& shape = *Target();
    ShpComboBox_->setEnabled(true);
    ShpComboBox_->setCurrentIndex(shape.ShapeType == kShapeEllipse     ? 1
                                  : shape.ShapeType == kShapeRectangle ? 0
                                                                       : -1);
    WdEdit_->setText(QString::number(std::llabs(int64_t{shape.X2} - shape.X1)));
    HiEdit_->setText(QString::number(std::llabs(int64_t{shape.Y2} - shape.Y1)));
    LwEdit_->SetUpDownValue(shape.Size);
    ColPanel1_->SetColor(shape.Color);
    ColPanel2_->SetColor(shape.Color2);
  } else {
    const TLightCell& common = doc_->Template;
    ShpComboBox_->setEnabled(false);
    ShpComboBox_->setCurrentIndex(-1);
    LwEdit_->SetUpDownValue(common.Size);
    ColPanel1_->SetColor(common.Color);
    ColPanel2_->SetColor(common.Color2);
  }
  for (QWidget* field : std::initializer_list<QWidget*>{WdEdit_, HiEdit_, LwEdit_}) {
    SetFieldBackground(field, ButtonFace(), Multi());
  }
  return true;
}

void TShapePrpDlg::FieldChange(bool& flag, QWidget* field) {
  if (filling_ || !Multi()) return;
  flag = true;
  SetWindowBackground(field);
}

void TShapePrpDlg::RefColBtnClick(int tag) {
  TColorPanel* panel = tag == 0 ? ColPanel1_ : ColPanel2_;
  int32_t color = panel->Color();
  if (!context_.Prompts.ChooseColor || !context_.Prompts.ChooseColor(color)) return;
  panel->SetColor(color);
  if (Multi()) (tag == 0 ? changed_.Fill : changed_.Outline) = true;
}

bool TShapePrpDlg::OKBtnClick() {
  TEnvData& env = context_.Core.Env();
  const int32_t width = IntegerOr(WdEdit_, env.ShapeWidth);
  const int32_t height = IntegerOr(HiEdit_, env.ShapeHeight);
  const bool lineWidthValid = LwEdit_->UpDownTextValid();
  const int32_t lineWidth = LwEdit_->Text().trimmed().toInt();
  if (Multi()) {
    for (TLightCell* shape : doc_->Selection) {
      if (shape->Kind != KindShape) continue;
      if (changed_.Width) shape->X2 = ClampToInt32(int64_t{shape->X1} + width);
      if (changed_.Height) shape->Y2 = ClampToInt32(int64_t{shape->Y1} + height);
      if (changed_.LineWidth && lineWidthValid) shape->Size = lineWidth;
      if (changed_.Fill) shape->Color = ColPanel1_->Color();
      if (changed_.Outline) shape->Color2 = ColPanel2_->Color();
      Redraw(shape);
    }
  } else {
    TLightCell& shape = *Target();
    if (ShpComboBox_->currentIndex() >= 0) shape.ShapeType = ShpComboBox_->currentIndex();
    shape.X2 = ClampToInt32(int64_t{shape.X1} + width);
    shape.Y2 = ClampToInt32(int64_t{shape.Y1} + height);
    if (lineWidthValid) shape.Size = lineWidth;
    shape.Color = ColPanel1_->Color();
    shape.Color2 = ColPanel2_->Color();
    doc_->Modified = true;
    if (windowTitle() == kNewCaption) {
      env.ShapeType = shape.ShapeType;
      env.ShapeWidth = width;
      env.ShapeHeight = height;
      env.ShapeSize = shape.Size;
      env.ShapeColor = shape.Color;
      env.ShapeColor2 = shape.Color2;
    }
    Redraw(&shape);
  }
  return true;
}

}  // namespace lumaplot
