#include "ui/dialogs/LightPrpDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>

#include <functional>

#include "core/AppCore.h"
#include "model/LightLib.h"
#include "model/ObjectDrawing.h"
#include "ui/qt/NumberEdit.h"
#include "ui/qt/Prompts.h"
#include "ui/qt/QtCanvas.h"
#include "util/ChannelText.h"

namespace lumaplot {
namespace {

constexpr int kPreviewWidth = 180;
constexpr int kPreviewHeight = 120;

// The preview's paint box: what it shows is painted by the dialog.
class TPaintBox : public QWidget {
 public:
  using QWidget::QWidget;
  std::function<void(QPainter&)> OnPaint;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    if (OnPaint) OnPaint(painter);
  }
};

// The wait cursor while the dialog fills its lists.
class TWaitCursor {
 public:
  TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
  TWaitCursor(const TWaitCursor&) = delete;
  TWaitCursor& operator=(const TWaitCursor&) = delete;
};

QCheckBox* NewCheckBox(const char* name, const char* caption) {
  auto* box = new QCheckBox(caption);
  box->setObjectName(name);
  return box;
}

}  // namespace

TLightPrpDlg::TLightPrpDlg(const TDialogContext& context, QWidget* parent)
    : TObjectPrpDlg(context, parent, "LtPrpDlg", "LtPrpDlg", KindLight),
      LightCombo_(new QComboBox),
      LtPaintBox_(new TPaintBox),
      ChEdit_(new QLineEdit),
      AngleEdit_(NewNumberEdit("AngleEdit", 0, 360)),
      FilterPanel_(new TColorPanel("FilterPanel", "RefFilterBtn")),
      FrmFilChkBox_(NewCheckBox("FrmFilChkBox", "輪郭をフィルタ色に")),
      DimValChkBox_(NewCheckBox("DimValChkBox", "ディマー値を表示")),
      DmxChChkBox_(NewCheckBox("DmxChChkBox", "DMXチャンネルを表示")),
      OKBtn_(new QPushButton("OK")),
      CancelBtn_(new QPushButton("キャンセル")),
      preview_(std::make_unique<TStageData>()) {
  setWindowTitle("プロパティ");
  LightCombo_->setObjectName("LightCombo");
  LightCombo_->setMinimumWidth(kPreviewWidth);
  LtPaintBox_->setObjectName("LtPaintBox");
  LtPaintBox_->setFixedSize(kPreviewWidth, kPreviewHeight);
  static_cast<TPaintBox*>(LtPaintBox_)->OnPaint = [this](QPainter& painter) {
    LtPaintBoxPaint(painter);
  };
  ChEdit_->setObjectName("ChEdit");
  ChEdit_->setMaxLength(8);
  AngleEdit_->Edit()->setMaxLength(3);
  AngleEdit_->Edit()->setValidator(
      new QRegularExpressionValidator(QRegularExpression("[0-9]*"), AngleEdit_->Edit()));
  OKBtn_->setObjectName("OKBtn");
  OKBtn_->setDefault(true);
  CancelBtn_->setObjectName("CancelBtn");

  connect(LightCombo_, &QComboBox::activated, this, [this] { LightComboChange(true); });
  connect(ChEdit_, &QLineEdit::textChanged, this, [this] { ChEditChange(); });
  connect(AngleEdit_->Edit(), &QLineEdit::textChanged, this, [this] { AngleEditChange(); });
  connect(FilterPanel_->Button(), &QToolButton::clicked, this, [this] { RefFilterBtnClick(); });
  for (QCheckBox* box : {FrmFilChkBox_, DimValChkBox_, DmxChChkBox_}) {
    connect(box, &QCheckBox::stateChanged, LtPaintBox_, [this] { LtPaintBox_->update(); });
  }
  connect(OKBtn_, &QPushButton::clicked, this, [this] {
    if (OKBtnClick()) accept();
  });
  connect(CancelBtn_, &QPushButton::clicked, this, &QDialog::reject);

  auto* typeGroup = new QGroupBox("灯体(&L)");
  auto* typeLayout = new QVBoxLayout(typeGroup);
  typeLayout->addWidget(LightCombo_);
  typeLayout->addWidget(LtPaintBox_, 0, Qt::AlignHCenter);

  auto* fields = new QGridLayout;
  auto* chLabel = new QLabel("先頭Ch(&T)");
  chLabel->setBuddy(ChEdit_);
  auto* angleLabel = new QLabel("角度(&A)");
  angleLabel->setBuddy(AngleEdit_->Edit());
  fields->addWidget(chLabel, 0, 0);
  fields->addWidget(ChEdit_, 0, 1);
  fields->addWidget(angleLabel, 1, 0);
  fields->addWidget(AngleEdit_, 1, 1);
  fields->addWidget(new QLabel("フィルタ"), 2, 0);
  fields->addWidget(FilterPanel_, 2, 1);
  fields->addWidget(FrmFilChkBox_, 3, 0, 1, 2);
  fields->addWidget(DimValChkBox_, 4, 0, 1, 2);
  fields->addWidget(DmxChChkBox_, 5, 0, 1, 2);
  fields->setRowStretch(6, 1);

  auto* body = new QHBoxLayout;
  body->addWidget(typeGroup);
  body->addLayout(fields);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(OKBtn_);
  buttons->addWidget(CancelBtn_);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(body);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  setTabOrder(LightCombo_, ChEdit_);
  setTabOrder(ChEdit_, AngleEdit_->Edit());
}

TLightPrpDlg::~TLightPrpDlg() = default;

QImage TLightPrpDlg::PreviewImage() const {
  return previewCanvas_ ? previewCanvas_->Snapshot() : QImage();
}

bool TLightPrpDlg::FormShow() {
  if (!choice_.Target) return false;
  const TWaitCursor wait;
  const TLightLib& library = context_.Core.Library();
  LightCombo_->clear();
  for (int i = 0; i < library.Items.Count(); ++i) {
    LightCombo_->addItem(QString::fromStdString(library.Items[i].Name));
  }
  setWindowTitle(QString("プロパティ [%1,%2]").arg(X).arg(Y));
  preview_->BgColor = doc_->BgColor;
  preview_->ValColor = doc_->ValColor;
  preview_->ValFullColor = doc_->ValFullColor;
  preview_->ValZeroColor = doc_->ValZeroColor;
  preview_->ValBgColor = doc_->ValBgColor;
  preview_->ChColor = doc_->ChColor;
  preview_->ChFont = doc_->ChFont;
  preview_->ValFont = doc_->ValFont;
  changed_ = {};

  const bool letters = context_.Core.Env().DmxChMode == 0;
  // A type the library lacks stays the light's own, so that OK alone never
  // replaces it by the default type.
  const auto workingFrom = [this, &library](const TLibItem& own) {
    if (library.IndexOfName(own.Name, &working_) < 0) working_ = own;
  };
  const auto selectWorking = [this] {
    LightCombo_->setCurrentIndex(
        LightCombo_->findText(QString::fromStdString(working_.Name), Qt::MatchExactly));
    LightComboChange(false);
  };
  if (!Multi()) {
    const TLightCell& light = *choice_.Target;
    workingFrom(light.Fixture);
    selectWorking();
    ChEdit_->setText(QString::fromStdString(ChannelName(light.StartCh, letters)));
    AngleEdit_->Edit()->setText(QString::number(light.Angle));
    filter_ = light.FilterColor;
    const std::pair<QCheckBox*, uint32_t> boxes[] = {{FrmFilChkBox_, kFlagOutlineFilter},
                                                     {DimValChkBox_, kFlagShowLevel},
                                                     {DmxChChkBox_, kFlagShowChannel}};
    for (const auto& [box, bit] : boxes) {
      box->setTristate(false);
      box->setChecked((light.Flags & bit) != 0);
    }
  } else {
    const TLightCell& common = doc_->Template;
    for (QCheckBox* box : {FrmFilChkBox_, DimValChkBox_, DmxChChkBox_}) {
      box->setTristate(true);
      box->setCheckState(Qt::PartiallyChecked);
    }
    if (!common.Fixture.Name.empty()) workingFrom(common.Fixture);
    selectWorking();
    if (common.StartCh != kStartChDiffers) {
      ChEdit_->setText(QString::fromStdString(ChannelName(common.StartCh, letters)));
    }
    AngleEdit_->SetUpDownValue(common.Angle);
    filter_ = common.FilterColor;
  }
  ShowFilter();
  for (QWidget* field : std::initializer_list<QWidget*>{LightCombo_, ChEdit_, AngleEdit_}) {
    SetFieldBackground(field, Silver(), Multi());
  }
  ChEdit_->setFocus();
  LtPaintBox_->update();
  return true;
}

void TLightPrpDlg::LightComboChange(bool fromUser) {
  if (LightCombo_->currentIndex() >= 0) {
    context_.Core.Library().IndexOfName(LightCombo_->currentText().toStdString(), &working_);
  }
  const bool hasChannels = working_.Channels > 0;
  if (!hasChannels) ChEdit_->clear();
  ChEdit_->setEnabled(hasChannels);
  if (fromUser && Multi()) {
    changed_.Type = true;
    SetWindowBackground(LightCombo_);
    // A type without channels unpatches every light it goes to.
    if (!hasChannels) {
      changed_.Channel = true;
      SetWindowBackground(ChEdit_);
    }
  }
  LtPaintBox_->update();
}

void TLightPrpDlg::ChEditChange() {
  if (filling_ || !Multi()) return;
  changed_.Channel = true;
  SetWindowBackground(ChEdit_);
}

void TLightPrpDlg::AngleEditChange() {
  if (filling_ || !Multi() || !AngleEdit_->UpDownTextValid()) return;
  changed_.Angle = true;
  SetWindowBackground(AngleEdit_);
}

void TLightPrpDlg::RefFilterBtnClick() {
  int32_t color = filter_;
  if (!context_.Prompts.ChooseColor || !context_.Prompts.ChooseColor(color)) return;
  filter_ = color == 0 ? kNoColor : color;  // black is no filter
  if (Multi()) changed_.Filter = true;
  ShowFilter();
  LtPaintBox_->update();
}

void TLightPrpDlg::ShowFilter() { FilterPanel_->SetColor(filter_); }

uint32_t TLightPrpDlg::PreviewFlags(const TLightCell& light) const {
  uint32_t flags = light.Flags;
  const std::pair<QCheckBox*, uint32_t> boxes[] = {{FrmFilChkBox_, kFlagOutlineFilter},
                                                   {DimValChkBox_, kFlagShowLevel},
                                                   {DmxChChkBox_, kFlagShowChannel}};
  for (const auto& [box, bit] : boxes) {
    if (box->checkState() == Qt::Checked) flags |= bit;
    if (box->checkState() == Qt::Unchecked) flags &= ~bit;
  }
  return flags;
}

void TLightPrpDlg::LtPaintBoxPaint(QPainter& painter) {
  const QSize size = LtPaintBox_->size();
  if (!previewCanvas_) previewCanvas_ = std::make_unique<QtCanvas>(size);
  if (previewCanvas_->Size() != size) previewCanvas_->Resize(size);
  preview_->Canvas = previewCanvas_.get();
  QtCanvas& canvas = *previewCanvas_;
  canvas.SetPenMode(TPenMode::Copy);
  canvas.SetBrushStyle(TBrushStyle::Solid);
  canvas.SetBrushColor(preview_->BgColor);
  canvas.FillRect({0, 0, size.width(), size.height()});

  // A passing copy of the target, so it shows the colour and level it has now.
  TLightCell light = choice_.Target ? *choice_.Target : TLightCell{};
  light.Kind = KindLight;
  light.Fixture = working_;
  light.Width = working_.Width;
  light.Height = working_.Height;
  light.Angle = 0;
  light.X1 = (size.width() - working_.Width) / 2;
  light.Y1 = (size.height() - working_.Height) / 2;
  light.FilterColor = filter_;
  light.Flags = PreviewFlags(light);
  // Shown as it looks, not in the selection colour.
  light.Selected = false;
  light.SetMoving(false);
  light.ValueRect = {};
  light.Canvas = &canvas;
  light.SetNeedsDraw();
  DrawObject(*preview_, &light, true);
  canvas.TakeDirtyRect();
  painter.drawImage(0, 0, canvas.Image());
}

void TLightPrpDlg::ApplyFlag(TLightCell& light, QCheckBox* box, uint32_t bit) const {
  if (box->checkState() == Qt::Checked) light.Flags |= bit;
  if (box->checkState() == Qt::Unchecked) light.Flags &= ~bit;
}

bool TLightPrpDlg::OKBtnClick() {
  const QString text = ChEdit_->text();
  const int channel = ParseChannelName(text.toStdString(), kStageChannels);
  if (channel < 0 && !text.isEmpty()) {
    if (context_.Prompts.Warning) {
      context_.Prompts.Warning("入力したチャンネル[" + text + "]は範囲を超えています", "警告");
    }
    ChEdit_->setFocus();
    return false;
  }
  const bool angleValid = AngleEdit_->UpDownTextValid();
  const int angle = AngleEdit_->Text().trimmed().toInt();
  const auto write = [&](TLightCell& light, bool type, bool ch, bool ang, bool filter) {
    light.SetNeedsDraw();
    DrawObject(*doc_, &light, false);
    if (type) {
      light.Fixture = working_;
      light.Width = working_.Width;
      light.Height = working_.Height;
    }
    if (ang && angleValid) light.Angle = angle;
    if (filter) light.FilterColor = filter_;
    if (ch) light.StartCh = channel;
    ApplyFlag(light, FrmFilChkBox_, kFlagOutlineFilter);
    ApplyFlag(light, DimValChkBox_, kFlagShowLevel);
    ApplyFlag(light, DmxChChkBox_, kFlagShowChannel);
    light.SetNeedsDraw();
  };
  if (!Multi()) {
    write(*choice_.Target, true, true, true, true);
  } else {
    for (TLightCell* light : doc_->Selection) {
      if (light->Kind != KindLight) continue;
      write(*light, changed_.Type, changed_.Channel, changed_.Angle, changed_.Filter);
    }
  }
  return true;
}

}  // namespace lumaplot
