#include "ui/dialogs/OptScrDlg.h"

#include <QAction>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>

#include "core/AppCore.h"
#include "model/StageData.h"
#include "ui/qt/ColorConvert.h"
#include "ui/qt/ListItems.h"
#include "ui/qt/NumberEdit.h"
#include "ui/qt/Prompts.h"

namespace lumaplot {
namespace {

constexpr int kMargin = 8;
constexpr int kButtonWidth = 75;
constexpr int kPanelWidth = 40;

QGroupBox* MakeGroup(QWidget* parent, const char* name, const QString& caption) {
  auto* group = new QGroupBox(caption, parent);
  group->setObjectName(name);
  return group;
}

NumberEdit* MakeNumber(QWidget* parent, const char* name, int minimum, int maximum, int digits) {
  auto* edit = new NumberEdit(parent);
  edit->setObjectName(name);
  edit->Edit()->setObjectName(QString(name) + "Field");
  edit->SetRange(minimum, maximum);
  edit->Edit()->setMaxLength(digits);
  edit->setFixedWidth(72);
  return edit;
}

QString FontText(const FontSpec& font) {
  const QString name = font.Name.empty() ? QString("既定") : QString::fromStdString(font.Name);
  return QString("%1, %2pt").arg(name).arg(font.Size);
}

std::optional<FontSpec> PlatformFont(const FontSpec& initial, QWidget* parent) {
  QFont font;
  if (!initial.Name.empty()) font.setFamilies({QString::fromStdString(initial.Name)});
  font.setPointSize(std::max(initial.Size, 1));
  font.setBold((initial.Style & kFontBold) != 0);
  font.setItalic((initial.Style & kFontItalic) != 0);
  font.setUnderline((initial.Style & kFontUnderline) != 0);
  font.setStrikeOut((initial.Style & kFontStrikeOut) != 0);
  bool ok = false;
  const QFont chosen = QFontDialog::getFont(&ok, font, parent, "フォント");
  if (!ok) return std::nullopt;
  FontSpec spec;
  spec.Name = chosen.family().toStdString();
  spec.Size = chosen.pointSize() > 0 ? chosen.pointSize() : initial.Size;
  spec.Style = (chosen.bold() ? kFontBold : 0) | (chosen.italic() ? kFontItalic : 0) |
               (chosen.underline() ? kFontUnderline : 0) |
               (chosen.strikeOut() ? kFontStrikeOut : 0);
  return spec;
}

// "*.BMP;*.PNG;..." of every picture format the program reads.
QString PictureMasks() {
  QStringList masks;
  for (const QByteArray& format : QImageReader::supportedImageFormats()) {
    masks << "*." + QString::fromLatin1(format).toUpper();
  }
  masks.removeDuplicates();
  return masks.join(';');
}

}  // namespace

TColorButton::TColorButton(QWidget* parent) : QPushButton(parent) {
  setFixedSize(kPanelWidth, 22);
  SetColor(0);
}

void TColorButton::SetColor(int32_t color) {
  color_ = color;
  setStyleSheet(QString("background-color: %1; border: 1px solid palette(mid);")
                    .arg(SwatchColor(color, palette()).name()));
}

TOptScrDlg::TOptScrDlg(const TDialogContext& context, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint),
      context_(context),
      OKBtn_(new QPushButton("OK", this)),
      CancelBtn_(new QPushButton("キャンセル", this)) {
  setObjectName("OptScrDlg");
  setWindowTitle("画面設定");
  ChooseColor = [this](int32_t initial) -> std::optional<int32_t> {
    int32_t color = initial;
    if (!context_.Prompts.ChooseColor || !context_.Prompts.ChooseColor(color)) return std::nullopt;
    return color;
  };
  ChooseFont = [this](const FontSpec& initial) { return PlatformFont(initial, this); };
  const auto warn = [this](const QString& text) {
    context_.Prompts.Warning(NumberEdit::RangeWarningText(text), {});
  };

  auto* title = MakeGroup(this, "TitleGroup", "タイトル(&T)");
  DataNameEdit_ = new QLineEdit(title);
  DataNameEdit_->setObjectName("DataNameEdit");
  auto* titleLayout = new QHBoxLayout(title);
  titleLayout->addWidget(DataNameEdit_);

  // The largest page needs five digits.
  auto* size = MakeGroup(this, "ScrSizeGroup", "画面サイズ(&S)");
  ScrWdEdit_ = MakeNumber(size, "ScrWdEdit", kMinPageSide, kMaxPageSide, 5);
  ScrHiEdit_ = MakeNumber(size, "ScrHiEdit", kMinPageSide, kMaxPageSide, 5);
  ScrWdEdit_->SetWarningFunction(warn);
  ScrHiEdit_->SetWarningFunction(warn);
  FitScrSizeAction_ = new QAction("画像サイズを画面サイズに反映", this);
  FitScrSizeAction_->setObjectName("FitScrSizeAction");
  connect(FitScrSizeAction_, &QAction::triggered, this, &TOptScrDlg::FitScrSizeActionExecute);
  FitScrSizeBtn_ = new QPushButton(FitScrSizeAction_->text(), size);
  FitScrSizeBtn_->setObjectName("FitScrSizeBtn");
  connect(FitScrSizeBtn_, &QPushButton::clicked, FitScrSizeAction_, &QAction::trigger);
  connect(FitScrSizeAction_, &QAction::changed, this,
          [this] { FitScrSizeBtn_->setEnabled(FitScrSizeAction_->isEnabled()); });
  auto* widthLabel = new QLabel("幅(&W)", size);
  widthLabel->setBuddy(ScrWdEdit_->Edit());
  auto* heightLabel = new QLabel("高(&H)", size);
  heightLabel->setBuddy(ScrHiEdit_->Edit());
  auto* sizeLayout = new QHBoxLayout(size);
  sizeLayout->addWidget(widthLabel);
  sizeLayout->addWidget(ScrWdEdit_);
  sizeLayout->addSpacing(12);
  sizeLayout->addWidget(heightLabel);
  sizeLayout->addWidget(ScrHiEdit_);
  sizeLayout->addStretch(1);
  sizeLayout->addWidget(FitScrSizeBtn_);

  auto* back = MakeGroup(this, "BgGroup", "背景(&B)");
  BgColPanel_ = AddPanel(back, "BgColPanel");
  BgImgEdit_ = new QLineEdit(back);
  BgImgEdit_->setObjectName("BgImgEdit");
  connect(BgImgEdit_, &QLineEdit::textChanged, this, &TOptScrDlg::FitScrSizeActionUpdate);
  BgImgBtn_ = new QPushButton("...", back);
  BgImgBtn_->setObjectName("BgImgBtn");
  BgImgBtn_->setFixedWidth(32);
  connect(BgImgBtn_, &QPushButton::clicked, this, &TOptScrDlg::BgImgBtnClick);
  auto* backLayout = new QHBoxLayout(back);
  backLayout->addWidget(new QLabel("背景色", back));
  backLayout->addWidget(BgColPanel_);
  backLayout->addSpacing(12);
  backLayout->addWidget(new QLabel("画像", back));
  backLayout->addWidget(BgImgEdit_, 1);
  backLayout->addWidget(BgImgBtn_);

  auto* grid = MakeGroup(this, "GridGroup", "表示グリッド(&G)");
  GridCheckBox_ = new QCheckBox("表示する", grid);
  GridCheckBox_->setObjectName("GridCheckBox");
  GrdColPanel_ = AddPanel(grid, "GrdColPanel");
  GridStyleComboBox_ = new QComboBox(grid);
  GridStyleComboBox_->setObjectName("GridStyleComboBox");
  FillItemsFromText(GridStyleComboBox_, "ドット|実線|点線|一点鎖線", '|');
  GridEdit_ = MakeNumber(grid, "GridEdit", kMinGridSize, kMaxGridSize, 3);
  GridEdit_->SetWarningFunction(warn);
  auto* gridLayout = new QHBoxLayout(grid);
  gridLayout->addWidget(GridCheckBox_);
  gridLayout->addSpacing(12);
  gridLayout->addWidget(new QLabel("色", grid));
  gridLayout->addWidget(GrdColPanel_);
  gridLayout->addSpacing(12);
  gridLayout->addWidget(new QLabel("線種", grid));
  gridLayout->addWidget(GridStyleComboBox_);
  gridLayout->addSpacing(12);
  gridLayout->addWidget(new QLabel("サイズ", grid));
  gridLayout->addWidget(GridEdit_);
  gridLayout->addStretch(1);

  auto* values = MakeGroup(this, "ValGroup", "ディマー値表示(&V)");
  ValColPanel_ = AddPanel(values, "ValColPanel");
  VbgColPanel_ = AddPanel(values, "VbgColPanel");
  VzeroColPanel_ = AddPanel(values, "VzeroColPanel");
  VfullColPanel_ = AddPanel(values, "VfullColPanel");
  ValFontBtn_ = new QPushButton("フォント", values);
  ValFontBtn_->setObjectName("ValFontBtn");
  connect(ValFontBtn_, &QPushButton::clicked, this, [this] { ValFontBtnClick(0); });
  ValFontLabel_ = new QLabel(values);
  ValFontLabel_->setObjectName("ValFontLabel");
  auto* valueLayout = new QGridLayout(values);
  int column = 0;
  for (auto [caption, panel] : {std::pair{"文字", ValColPanel_},
                                {"背景", VbgColPanel_},
                                {"ゼロ", VzeroColPanel_},
                                {"フル", VfullColPanel_}}) {
    valueLayout->addWidget(new QLabel(caption, values), 0, column++);
    valueLayout->addWidget(panel, 0, column++);
  }
  valueLayout->setColumnStretch(column++, 1);
  valueLayout->addWidget(ValFontLabel_, 0, column++);
  valueLayout->addWidget(ValFontBtn_, 0, column);

  auto* channels = MakeGroup(this, "ChGroup", "DMXチャンネル表示(&C)");
  ChColPanel_ = AddPanel(channels, "ChColPanel");
  ModColPanel_ = AddPanel(channels, "ModColPanel");
  ModComboBox_ = new QComboBox(channels);
  ModComboBox_->setObjectName("ModComboBox");
  ModComboBox_->addItem("---");
  for (int n = 2; n <= kMaxModChN; ++n) ModComboBox_->addItem(QString::asprintf("%i", n));
  ChFontBtn_ = new QPushButton("フォント", channels);
  ChFontBtn_->setObjectName("ChFontBtn");
  connect(ChFontBtn_, &QPushButton::clicked, this, [this] { ValFontBtnClick(1); });
  ChFontLabel_ = new QLabel(channels);
  ChFontLabel_->setObjectName("ChFontLabel");
  auto* channelLayout = new QHBoxLayout(channels);
  channelLayout->addWidget(new QLabel("文字", channels));
  channelLayout->addWidget(ChColPanel_);
  channelLayout->addSpacing(12);
  channelLayout->addWidget(new QLabel("チャンネル毎の色", channels));
  channelLayout->addWidget(ModColPanel_);
  channelLayout->addWidget(ModComboBox_);
  channelLayout->addStretch(1);
  channelLayout->addWidget(ChFontLabel_);
  channelLayout->addWidget(ChFontBtn_);

  OKBtn_->setObjectName("OKBtn");
  OKBtn_->setDefault(true);
  OKBtn_->setFixedWidth(kButtonWidth);
  CancelBtn_->setObjectName("CancelBtn");
  CancelBtn_->setFixedWidth(kButtonWidth);
  connect(OKBtn_, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelBtn_, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(OKBtn_);
  buttons->addWidget(CancelBtn_);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
  for (QWidget* group : {static_cast<QWidget*>(title), static_cast<QWidget*>(size),
                         static_cast<QWidget*>(back), static_cast<QWidget*>(grid),
                         static_cast<QWidget*>(values), static_cast<QWidget*>(channels)}) {
    layout->addWidget(group);
  }
  layout->addStretch(1);
  layout->addLayout(buttons);
}

TColorButton* TOptScrDlg::AddPanel(QWidget* parent, const char* name) {
  auto* panel = new TColorButton(parent);
  panel->setObjectName(name);
  connect(panel, &QPushButton::clicked, this, [this, panel] { ColRefBtnClick(panel); });
  return panel;
}

void TOptScrDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TOptScrDlg::FormShow() {
  const TStageData* doc = context_.Core.CurrentDoc();
  OKBtn_->setEnabled(doc != nullptr);
  if (!doc) return;
  DataNameEdit_->setText(QString::fromStdString(doc->Title));
  GridCheckBox_->setChecked(doc->ShowGrid);
  GrdColPanel_->SetColor(doc->GridColor);
  BgColPanel_->SetColor(doc->BgColor);
  ValColPanel_->SetColor(doc->ValColor);
  VzeroColPanel_->SetColor(doc->ValZeroColor);
  VfullColPanel_->SetColor(doc->ValFullColor);
  VbgColPanel_->SetColor(doc->ValBgColor);
  ChColPanel_->SetColor(doc->ChColor);
  ModColPanel_->SetColor(doc->ModColor);
  valFont_ = doc->ValFont;
  chFont_ = doc->ChFont;
  ShowFonts();
  // A count beyond the list selects nothing and is kept on OK.
  const int modIndex = doc->ModChN > 0 ? doc->ModChN - 1 : 0;
  ModComboBox_->setCurrentIndex(modIndex < ModComboBox_->count() ? modIndex : -1);
  BgImgEdit_->setText(QString::fromStdString(doc->BgImage));
  ScrWdEdit_->SetUpDownValue(doc->ScrWidth);
  ScrHiEdit_->SetUpDownValue(doc->ScrHeight);
  GridEdit_->SetUpDownValue(doc->GridSize);
  GridStyleComboBox_->setCurrentIndex(doc->GridStyle >= 1 && doc->GridStyle <= 3 ? doc->GridStyle
                                                                                 : 0);
  FitScrSizeActionUpdate();
  DataNameEdit_->setFocus();
}

void TOptScrDlg::done(int result) {
  if (result == QDialog::Accepted && !OKBtnClick()) return;
  QDialog::done(result);
}

bool TOptScrDlg::OKBtnClick() {
  TStageData* doc = context_.Core.CurrentDoc();
  if (!doc) return true;
  // The picture is read first: a picture that cannot be read changes nothing.
  const std::string image = BgImgEdit_->text().toStdString();
  const bool newImage = image != doc->BgImage;
  std::unique_ptr<Picture> picture;
  if (newImage && !image.empty()) {
    if (PictureLoader* loader = context_.Core.Setup().Pictures.get()) {
      std::string path = image;
      context_.Core.Env().ResolvePath(path);
      std::string error;
      picture = loader->LoadPicture(path, &error);
      if (!picture) {
        // The reader's reason names the file it looked at; without one, the name does.
        context_.Prompts.Error("背景画像を読み込めませんでした。\n" +
                                   QString::fromStdString(error.empty() ? path : error),
                               {});
        BgImgEdit_->setFocus();
        return false;
      }
    }
  }

  doc->Title = DataNameEdit_->text().toStdString();
  if (newImage) {
    doc->BgImage = image;
    doc->Background = std::move(picture);
  }
  if (ScrWdEdit_->UpDownTextValid()) doc->ScrWidth = ScrWdEdit_->Position();
  if (ScrHiEdit_->UpDownTextValid()) doc->ScrHeight = ScrHiEdit_->Position();
  doc->ShowGrid = GridCheckBox_->isChecked();
  doc->GridColor = GrdColPanel_->Color();
  doc->BgColor = BgColPanel_->Color();
  doc->ValColor = ValColPanel_->Color();
  doc->ValZeroColor = VzeroColPanel_->Color();
  doc->ValFullColor = VfullColPanel_->Color();
  doc->ValBgColor = VbgColPanel_->Color();
  doc->ChColor = ChColPanel_->Color();
  doc->ModColor = ModColPanel_->Color();
  doc->ChFont = chFont_;
  doc->ValFont = valFont_;
  const int modIndex = ModComboBox_->currentIndex();
  if (modIndex >= 0) doc->ModChN = modIndex >= 1 ? modIndex + 1 : 0;
  const int style = GridStyleComboBox_->currentIndex();
  doc->GridStyle = style >= 1 && style <= 3 ? style : 0;
  if (GridEdit_->UpDownTextValid()) doc->GridSize = GridEdit_->Position();
  doc->Modified = true;
  return true;
}

void TOptScrDlg::BgImgBtnClick() {
  const std::string folder = context_.Core.Env().ProgramFolder();
  TFileDialogRequest request;
  request.Title = "背景画像の指定";
  request.Filter = "画像ファイル|" + PictureMasks() +
                   "|Bitmap (*.BMP)|*.BMP|JPEG File (*.JPG)|*.JPG;*.JPE;*.JPEG|PNG File(*.PNG)|"
                   "*.PNG|GIF File(*.GIF)|*.GIF";
  std::string current;
  request.Folder = ResolvedPicture(current)
                       ? QFileInfo(QString::fromStdString(current)).absolutePath()
                       : QString::fromStdString(folder);
  const QString chosen = context_.Prompts.OpenFileName(request);
  if (chosen.isEmpty()) return;
  // A picture inside the program folder is stored relative to it, as the document
  // resolves its picture, so that the folder can move with its pictures.
  const QString base = QDir::cleanPath(QString::fromStdString(folder));
  const QString path = QDir::cleanPath(chosen);
  BgImgEdit_->setText(path.startsWith(base + "/") ? QDir(base).relativeFilePath(path) : chosen);
}

void TOptScrDlg::ColRefBtnClick(TColorButton* panel) {
  if (const std::optional<int32_t> color = ChooseColor(panel->Color())) panel->SetColor(*color);
}

void TOptScrDlg::ValFontBtnClick(int tag) {
  FontSpec& font = tag == 0 ? valFont_ : chFont_;
  if (const std::optional<FontSpec> chosen = ChooseFont(font)) font = *chosen;
  ShowFonts();
}

void TOptScrDlg::ShowFonts() {
  ValFontLabel_->setText(FontText(valFont_));
  ChFontLabel_->setText(FontText(chFont_));
}

bool TOptScrDlg::ResolvedPicture(std::string& path) const {
  path = BgImgEdit_->text().toStdString();
  return context_.Core.Env().ResolvePath(path);
}

void TOptScrDlg::FitScrSizeActionUpdate() {
  std::string path;
  FitScrSizeAction_->setEnabled(ResolvedPicture(path));
  FitScrSizeBtn_->setEnabled(FitScrSizeAction_->isEnabled());
}

void TOptScrDlg::FitScrSizeActionExecute() {
  std::string path;
  if (!ResolvedPicture(path)) return;
  PictureLoader* loader = context_.Core.Setup().Pictures.get();
  if (!loader) return;
  if (const std::unique_ptr<Picture> picture = loader->LoadPicture(path)) {
    ScrWdEdit_->SetUpDownValue(picture->Width());
    ScrHiEdit_->SetUpDownValue(picture->Height());
  }
}

}  // namespace lumaplot
