#include "ui/dialogs/LibraryDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QShowEvent>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "core/AppCore.h"
#include "model/LightLib.h"
#include "model/ObjectDrawing.h"
#include "ui/qt/ChannelLists.h"
#include "ui/qt/ColorConvert.h"
#include "ui/qt/NumberEdit.h"
#include "ui/qt/Prompts.h"
#include "ui/qt/QtCanvas.h"
#include "ui/qt/WindowState.h"
#include "util/IniFile.h"

namespace lumaplot {
namespace {

constexpr char kPosPrefix[] = "LibraryDlg";
constexpr int kDefaultOffset = 100;  // from the main window's corner
constexpr int kListWidth = 170;
constexpr int kChannelColumnWidth = 30;  // at 96 dots per inch
constexpr int kSilver = 0xC0C0C0;
constexpr int kNoneItem = 9;  // the radio item of role 0

QString Qt8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Radio item i (0..8) stands for role i + 1, item 9 for role 0.
int RoleItem(int role) { return role >= RoleRed && role <= RoleBrightness ? role - 1 : kNoneItem; }
int ItemRole(int item) { return item >= 0 && item < kNoneItem ? item + 1 : RoleNone; }

NumberEdit* MakeNumberEdit(const char* name, int minimum, int maximum, int digits,
                           QWidget* parent) {
  auto* edit = new NumberEdit(parent);
  edit->setObjectName(name);
  edit->SetRange(minimum, maximum);
  edit->Edit()->setMaxLength(digits);
  edit->Edit()->setValidator(
      new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edit->Edit()));
  edit->setFixedWidth(22 + 10 * (digits + 1));
  return edit;
}

QPushButton* MakeButton(const char* name, const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  // Enter in a field must not press a button that changes the library.
  button->setAutoDefault(false);
  button->setDefault(false);
  return button;
}

}  // namespace

// The preview paint box: what LtPaintBoxPaint draws.
class TLibraryDlg::TPreview : public QWidget {
 public:
  TPreview(TLibraryDlg& dialog, QWidget* parent) : QWidget(parent), dialog_(dialog) {
    setObjectName("LtPaintBox");
    setFixedSize(kPreviewSize, kPreviewSize);
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    dialog_.LtPaintBoxPaint(painter, size());
  }

 private:
  TLibraryDlg& dialog_;
};

TLibraryDlg::TLibraryDlg(TLightLib& library, IniFile& ini, TPrompts& prompts, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      EditItem(DefaultLibItem()),
      library_(library),
      ini_(ini),
      prompts_(prompts) {
  setObjectName("LibraryDlg");
  setWindowTitle("ライブラリ編集");
  CreateControls();
}

TLibraryDlg::TLibraryDlg(const TDialogContext& context, QWidget* parent)
    : TLibraryDlg(context.Core.Library(), context.Core.Ini(), context.Prompts, parent) {}

TLibraryDlg::~TLibraryDlg() = default;

void TLibraryDlg::CreateControls() {
  HeaderControl1_ = new QLabel("灯体名", this);
  HeaderControl1_->setObjectName("HeaderControl1");
  HeaderControl1_->setFrameStyle(QFrame::Panel | QFrame::Raised);
  HeaderControl1_->setContentsMargins(4, 1, 4, 1);
  LibListBox_ = new QListWidget(this);
  LibListBox_->setObjectName("LibListBox");
  LibListBox_->setFixedWidth(kListWidth);
  LibListBox_->setSelectionMode(QAbstractItemView::SingleSelection);
  connect(LibListBox_, &QListWidget::currentRowChanged, this, [this] { LibListBoxClick(); });
  connect(LibListBox_, &QListWidget::itemClicked, this, [this] { LibListBoxClick(); });

  LtPaintBox_ = new TPreview(*this, this);

  NameEdit_ = new QLineEdit(this);
  NameEdit_->setObjectName("NameEdit");
  NameEdit_->setMaxLength(kMaxTypeNameLength);
  connect(NameEdit_, &QLineEdit::textChanged, this, [this] { NameEditChange(); });

  ShapeCombo_ = new QComboBox(this);
  ShapeCombo_->setObjectName("ShapeCombo");
  ShapeCombo_->addItems(QString("円|四角形|八角形|バーグラフ").split('|'));
  connect(ShapeCombo_, &QComboBox::currentIndexChanged, this, [this] { ShapeComboChange(); });

  SizeXEdit_ = MakeNumberEdit("SizeXEdit", kMinTypeSize, kMaxTypeSize, 3, this);
  SizeYEdit_ = MakeNumberEdit("SizeYEdit", kMinTypeSize, kMaxTypeSize, 3, this);
  ChnEdit_ = MakeNumberEdit("ChnEdit", 0, kMaxChannels, 2, this);
  for (NumberEdit* edit : {SizeXEdit_, SizeYEdit_, ChnEdit_}) {
    edit->SetWarningFunction(
        [this](const QString& text) { prompts_.Warning(NumberEdit::RangeWarningText(text), {}); });
  }
  // Connected after the field's own handler, so the position is taken first.
  connect(SizeXEdit_->Edit(), &QLineEdit::textChanged, this, [this] { SizeXEditChange(); });
  connect(SizeYEdit_->Edit(), &QLineEdit::textChanged, this, [this] { SizeYEditChange(); });
  connect(ChnEdit_->Edit(), &QLineEdit::textChanged, this, [this] { ChnEditChange(); });

  FrmColCheckBox_ = new QCheckBox("輪郭色", this);
  FrmColCheckBox_->setObjectName("FrmColCheckBox");
  connect(FrmColCheckBox_, &QCheckBox::clicked, this, [this] { FrmColCheckBoxClick(); });
  ColPanel_ = new QFrame(this);
  ColPanel_->setObjectName("ColPanel");
  ColPanel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  ColPanel_->setAutoFillBackground(true);
  ColPanel_->setFixedSize(40, 22);
  RefColBtn_ = MakeButton("RefColBtn", "...", this);
  RefColBtn_->setFixedWidth(28);
  connect(RefColBtn_, &QPushButton::clicked, this, [this] { RefColBtnClick(); });

  CInvertCheckBox_ = new QCheckBox("カラー反転", this);
  CInvertCheckBox_->setObjectName("CInvertCheckBox");
  connect(CInvertCheckBox_, &QCheckBox::clicked, this, [this] { CInvertCheckBoxClick(); });
  BInvertCheckBox_ = new QCheckBox("ブライトネス反転", this);
  BInvertCheckBox_->setObjectName("BInvertCheckBox");
  connect(BInvertCheckBox_, &QCheckBox::clicked, this, [this] { BInvertCheckBoxClick(); });

  auto* roles = new QGroupBox("チャンネル属性", this);
  ChDefGrid_ = new QTableWidget(1, 2, roles);
  ChDefGrid_->setObjectName("ChDefGrid");
  ChDefGrid_->setHorizontalHeaderLabels({"Ch.", "属性"});
  ChDefGrid_->verticalHeader()->hide();
  ChDefGrid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  ChDefGrid_->verticalHeader()->setDefaultSectionSize(kGridRowHeight);
  ChDefGrid_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Fixed);
  ChDefGrid_->horizontalHeader()->setStretchLastSection(true);
  const double dpiScale = (screen() ? screen()->logicalDotsPerInchX() : 96.0) / 96.0;
  ChDefGrid_->setColumnWidth(0, static_cast<int>(kChannelColumnWidth * dpiScale));
  ChDefGrid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  ChDefGrid_->setSelectionMode(QAbstractItemView::SingleSelection);
  ChDefGrid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ChDefGrid_->setMinimumSize(140, 8 * kGridRowHeight);
  connect(ChDefGrid_, &QTableWidget::currentCellChanged, this, [this] { ChDefGridClick(); });

  ChAtrRadioGrp_ = new QWidget(roles);
  ChAtrRadioGrp_->setObjectName("ChAtrRadioGrp");
  ChAtrButtons_ = new QButtonGroup(ChAtrRadioGrp_);
  auto* radioLayout = new QVBoxLayout(ChAtrRadioGrp_);
  radioLayout->setContentsMargins(0, 0, 0, 0);
  radioLayout->setSpacing(2);
  const char* const kItems[] = {"Red",  "Green", "Blue",   "Yellow",     "Magenta",
                                "Cyan", "White", "Dimmer", "Brightness", "None"};
  for (int i = 0; i < static_cast<int>(std::size(kItems)); ++i) {
    auto* radio = new QRadioButton(kItems[i], ChAtrRadioGrp_);
    radio->setObjectName(QString("ChAtrRadio%1").arg(i));
    ChAtrButtons_->addButton(radio, i);
    radioLayout->addWidget(radio);
  }
  radioLayout->addStretch(1);
  connect(ChAtrButtons_, &QButtonGroup::idClicked, this,
          [this](int item) { ChAtrRadioGrpClick(item); });
  auto* rolesLayout = new QHBoxLayout(roles);
  rolesLayout->addWidget(ChDefGrid_, 1);
  rolesLayout->addWidget(ChAtrRadioGrp_);

  UpdateBtn_ = MakeButton("UpdateBtn", "変更", this);
  AddBtn_ = MakeButton("AddBtn", "追加", this);
  DeleteBtn_ = MakeButton("DeleteBtn", "削除", this);
  CloseBtn_ = MakeButton("CloseBtn", "閉じる", this);
  connect(UpdateBtn_, &QPushButton::clicked, this, [this] { UpdateBtnClick(); });
  connect(AddBtn_, &QPushButton::clicked, this, [this] { AddBtnClick(); });
  connect(DeleteBtn_, &QPushButton::clicked, this, [this] { DeleteBtnClick(); });
  connect(CloseBtn_, &QPushButton::clicked, this, &QDialog::reject);

  // Layout: the list on the left; the preview and the fields beside it; the roles
  // below them; the buttons at the bottom.
  auto* fields = new QGridLayout;
  fields->setHorizontalSpacing(6);
  fields->setVerticalSpacing(6);
  int row = 0;
  fields->addWidget(new QLabel("名称", this), row, 0);
  fields->addWidget(NameEdit_, row++, 1);
  fields->addWidget(new QLabel("形状", this), row, 0);
  fields->addWidget(ShapeCombo_, row++, 1);
  auto* sizes = new QHBoxLayout;
  sizes->addWidget(SizeXEdit_);
  sizes->addWidget(new QLabel("×", this));
  sizes->addWidget(SizeYEdit_);
  sizes->addStretch(1);
  fields->addWidget(new QLabel("サイズ", this), row, 0);
  fields->addLayout(sizes, row++, 1);
  auto* colour = new QHBoxLayout;
  colour->addWidget(FrmColCheckBox_);
  colour->addWidget(ColPanel_);
  colour->addWidget(RefColBtn_);
  colour->addStretch(1);
  fields->addLayout(colour, row++, 0, 1, 2);
  auto* channels = new QHBoxLayout;
  channels->addWidget(ChnEdit_);
  channels->addStretch(1);
  fields->addWidget(new QLabel("ch.数", this), row, 0);
  fields->addLayout(channels, row++, 1);
  fields->addWidget(CInvertCheckBox_, row++, 0, 1, 2);
  fields->addWidget(BInvertCheckBox_, row++, 0, 1, 2);
  fields->setRowStretch(row, 1);

  auto* top = new QHBoxLayout;
  top->addWidget(LtPaintBox_, 0, Qt::AlignTop);
  top->addLayout(fields, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  for (QPushButton* button : {UpdateBtn_, AddBtn_, DeleteBtn_, CloseBtn_}) {
    buttons->addWidget(button);
  }

  auto* right = new QVBoxLayout;
  right->addLayout(top);
  right->addWidget(roles, 1);
  right->addLayout(buttons);

  auto* left = new QVBoxLayout;
  left->setSpacing(0);
  left->addWidget(HeaderControl1_);
  left->addWidget(LibListBox_, 1);

  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left);
  layout->addLayout(right, 1);
}

void TLibraryDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // A window restored from the task bar is shown again by the system; what the user
  // edits must survive that.
  if (!event->spontaneous()) FormShow();
}

void TLibraryDlg::FormShow() {
  const QPoint corner = parentWidget() ? parentWidget()->pos() : QPoint();
  LoadFormPos(ini_, kPosPrefix, this, corner.x() + kDefaultOffset, corner.y() + kDefaultOffset,
              width(), height());
  LibListBox_->clear();
  LibListBox_->addItems(SortedTypeNames(library_));
  LibListBox_->setCurrentRow(LibListBox_->count() > 0 ? 0 : -1);
  libChanged_ = false;
  LibListBoxClick();
  LibListBox_->setFocus();
}

void TLibraryDlg::done(int result) {
  SaveFormPos(ini_, kPosPrefix, this);
  QDialog::done(result);
  FormClose();
}

void TLibraryDlg::FormClose() {
  if (!libChanged_ && !savePending_) return;
  std::string error;
  if (library_.SaveToFile(library_.FileName, &error)) {
    savePending_ = false;
    return;
  }
  savePending_ = true;
  prompts_.Error("灯体ライブラリを保存できませんでした。\n" +
                     QString::fromStdString(library_.FileName) + "\n" +
                     QString::fromStdString(error) +
                     "\n編集した内容は保存されるまで残ります。ライブラリ編集をもう一度閉じると"
                     "保存し直します。",
                 {});
}

void TLibraryDlg::LibListBoxClick() {
  const QListWidgetItem* selected = LibListBox_->currentItem();
  if (selected == nullptr) return;
  if (library_.IndexOfName(selected->text().toStdString(), &EditItem) < 0) return;
  NameEdit_->setText(Qt8(EditItem.Name));
  NameEditChange();
  if (EditItem.Shape >= Circle && EditItem.Shape <= BarGraph) {
    ShapeCombo_->setCurrentIndex(EditItem.Shape);
  }
  // As if typed: for a circle the height follows the width.
  SizeXEdit_->SetUpDownValue(EditItem.Width);
  SizeXEditChange();
  SizeYEdit_->SetUpDownValue(EditItem.Height);
  SizeYEditChange();
  ShowFrameColor();
  FrmColCheckBox_->setChecked(EditItem.FrmColor != kNoColor);
  CInvertCheckBox_->setChecked((EditItem.ExAtr & kExAtrColorInvert) != 0);
  BInvertCheckBox_->setChecked((EditItem.ExAtr & kExAtrBrightnessInvert) != 0);
  // The grid is filled for this type below; no channel of it is taken away here.
  gridChannels_ = std::clamp(EditItem.Channels, 0, kMaxChannels);
  ChnEdit_->SetUpDownValue(EditItem.Channels);
  ChnEditChange();
  LtPaintBox_->update();
}

void TLibraryDlg::FillGrid() {
  const int channels = std::clamp(EditItem.Channels, 0, kMaxChannels);
  gridChannels_ = channels;
  ChDefGrid_->setRowCount(std::max(channels, 1));
  for (int row = 1; row <= std::max(channels, 1); ++row) {
    const bool used = row <= channels;
    SetGridCell(row, 0, used ? QString::number(row) : QString());
    SetGridCell(row, 1,
                used ? Qt8(RoleWord(EditItem.ChAtr[static_cast<size_t>(row - 1)])) : QString());
  }
  ChAtrRadioGrp_->setEnabled(channels > 0);
  if (channels > 0) {
    ChDefGrid_->setCurrentCell(0, 0);
    ShowRole(EditItem.ChAtr[0]);
  }
}

void TLibraryDlg::SetGridCell(int row, int column, const QString& text) {
  QTableWidgetItem* item = ChDefGrid_->item(row - 1, column);
  if (item == nullptr) {
    item = new QTableWidgetItem;
    ChDefGrid_->setItem(row - 1, column, item);
  }
  item->setText(text);
}

int TLibraryDlg::SelectedGridRow() const {
  const int row = ChDefGrid_->currentRow() + 1;
  return row >= 1 && row <= gridChannels_ ? row : 0;
}

void TLibraryDlg::ShowRole(int role) {
  if (QAbstractButton* button = ChAtrButtons_->button(RoleItem(role))) button->setChecked(true);
}

void TLibraryDlg::ShowFrameColor() {
  QPalette palette = ColPanel_->palette();
  palette.setColor(QPalette::Window, SwatchColor(EditItem.FrmColor, palette));
  ColPanel_->setPalette(palette);
  LtPaintBox_->update();
}

void TLibraryDlg::UpdateAddBtn() { AddBtn_->setEnabled(library_.IndexOfName(EditItem.Name) < 0); }

void TLibraryDlg::NameEditChange() {
  EditItem.Name = NameEdit_->text().toStdString();
  UpdateAddBtn();
}

void TLibraryDlg::ShapeComboChange() {
  const int index = ShapeCombo_->currentIndex();
  if (index < Circle || index > BarGraph) return;
  EditItem.Shape = index;
  LtPaintBox_->update();
}

void TLibraryDlg::SizeXEditChange() {
  if (!SizeXEdit_->UpDownTextValid()) return;
  EditItem.Width = SizeXEdit_->Position();
  if (EditItem.Shape == Circle) {
    EditItem.Height = EditItem.Width;
    SizeYEdit_->SetUpDownValue(EditItem.Width);
  }
  LtPaintBox_->update();
}

void TLibraryDlg::SizeYEditChange() {
  if (!SizeYEdit_->UpDownTextValid()) return;
  EditItem.Height = SizeYEdit_->Position();
  if (EditItem.Shape == Circle) {
    EditItem.Width = EditItem.Height;
    SizeXEdit_->SetUpDownValue(EditItem.Height);
  }
  LtPaintBox_->update();
}

void TLibraryDlg::RefColBtnClick() {
  int32_t color = EditItem.FrmColor;
  if (!prompts_.ChooseColor || !prompts_.ChooseColor(color)) return;
  EditItem.FrmColor = color;
  FrmColCheckBox_->setChecked(EditItem.FrmColor != kNoColor);
  ShowFrameColor();
}

void TLibraryDlg::FrmColCheckBoxClick() {
  // Ticking keeps the colour held; a colour is chosen with the button.
  if (!FrmColCheckBox_->isChecked()) EditItem.FrmColor = kNoColor;
  ShowFrameColor();
}

void TLibraryDlg::CInvertCheckBoxClick() {
  EditItem.ExAtr = CInvertCheckBox_->isChecked() ? EditItem.ExAtr | kExAtrColorInvert
                                                 : EditItem.ExAtr & ~kExAtrColorInvert;
}

void TLibraryDlg::BInvertCheckBoxClick() {
  EditItem.ExAtr = BInvertCheckBox_->isChecked() ? EditItem.ExAtr | kExAtrBrightnessInvert
                                                 : EditItem.ExAtr & ~kExAtrBrightnessInvert;
}

void TLibraryDlg::ChnEditChange() {
  if (!ChnEdit_->UpDownTextValid()) return;
  const int channels = ChnEdit_->Position();
  const int shown = gridChannels_;
  // The roles of the channels taken away are cleared, so a count raised again shows
  // them as None.
  for (int k = channels + 1; k <= shown; ++k) EditItem.ChAtr[static_cast<size_t>(k - 1)] = RoleNone;
  EditItem.Channels = channels;
  // The rows show what the type holds, so a row that comes back shows the role that
  // will be saved with it.
  FillGrid();
}

void TLibraryDlg::ChDefGridClick() {
  const int row = SelectedGridRow();
  if (row >= 1) ShowRole(EditItem.ChAtr[static_cast<size_t>(row - 1)]);
}

void TLibraryDlg::ChAtrRadioGrpClick(int item) {
  const int row = SelectedGridRow();
  if (row < 1) return;
  const int role = ItemRole(item);
  EditItem.ChAtr[static_cast<size_t>(row - 1)] = role;
  SetGridCell(row, 1, Qt8(RoleWord(role)));
}

bool TLibraryDlg::RefuseEmptyName() {
  if (!NameEdit_->text().trimmed().isEmpty()) return false;
  prompts_.Warning("灯体名を入力してください", {});
  NameEdit_->setFocus();
  return true;
}

void TLibraryDlg::UpdateBtnClick() {
  QListWidgetItem* selected = LibListBox_->currentItem();
  if (selected == nullptr) return;
  const int index = library_.IndexOfName(selected->text().toStdString());
  if (index < 0 || RefuseEmptyName()) return;
  selected->setText(Qt8(EditItem.Name));
  library_.Items[index] = EditItem;
  libChanged_ = true;
  UpdateAddBtn();
}

void TLibraryDlg::AddBtnClick() {
  if (library_.IndexOfName(EditItem.Name) >= 0 || RefuseEmptyName()) return;
  if (library_.Items.IsFull()) {
    prompts_.Warning(QString("灯体ライブラリに登録できるのは%1種類までです。\n"
                             "追加するには、使っていない灯体を削除してください。")
                         .arg(kMaxLibItems),
                     {});
    return;
  }
  if (library_.Items.Add(EditItem) == nullptr) return;
  // Into the list at its sorted place, after the names that sort equal.
  int row = 0;
  while (row < LibListBox_->count() &&
         CompareNamesNoCase(LibListBox_->item(row)->text().toStdString(), EditItem.Name) <= 0) {
    ++row;
  }
  LibListBox_->insertItem(row, Qt8(EditItem.Name));
  LibListBox_->setCurrentRow(row);
  libChanged_ = true;
  UpdateAddBtn();
}

void TLibraryDlg::DeleteBtnClick() {
  const QListWidgetItem* selected = LibListBox_->currentItem();
  if (selected == nullptr) return;
  const QString name = selected->text();
  const int index = library_.IndexOfName(name.toStdString());
  if (index < 0) return;
  if (!prompts_.YesNo || !prompts_.YesNo(name + " 削除してもいいですか", "確認")) return;
  const int row = LibListBox_->currentRow();
  library_.Items.Delete(index);
  libChanged_ = true;
  {
    // The row goes; the entry taking its place is selected and shown below.
    const QSignalBlocker quiet(LibListBox_);
    delete LibListBox_->takeItem(row);
    SelectListName(std::min(row, LibListBox_->count() - 1));
  }
  LibListBoxClick();
  UpdateAddBtn();
}

void TLibraryDlg::SelectListName(int row) { LibListBox_->setCurrentRow(row); }

void TLibraryDlg::LtPaintBoxPaint(QPainter& painter, QSize size) {
  QtCanvas canvas(size, 0x000000);
  TLightCell* light = NewCell();
  light->Kind = KindLight;
  light->Fixture = EditItem;
  light->Width = EditItem.Width;
  light->Height = EditItem.Height;
  light->Angle = 0;
  light->Color = kSilver;
  light->X1 = (size.width() - EditItem.Width) / 2;
  light->Y1 = (size.height() - EditItem.Height) / 2;
  light->SetNeedsDraw();
  preview_.Canvas = &canvas;
  DrawObject(preview_, light, true);
  preview_.Canvas = nullptr;
  FreeCell(light);
  painter.drawImage(0, 0, canvas.Image());
}

}  // namespace lumaplot
