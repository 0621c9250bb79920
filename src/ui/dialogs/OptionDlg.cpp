#include "ui/dialogs/OptionDlg.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QShowEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <array>

#include "core/AppCore.h"
#include "core/ArtnetEnvironment.h"
#include "dmx/NetInterfaces.h"
#include "dmx/PortAddress.h"
#include "ui/dialogs/ArtNetPropDlg.h"
#include "ui/qt/KeySequence.h"
#include "ui/qt/ListItems.h"
#include "ui/qt/NumberEdit.h"
#include "ui/qt/Prompts.h"
#include "util/KeyNames.h"
#include "util/ShortCutText.h"

namespace lumaplot {
namespace {

constexpr int kPageTabWidth = 100;
constexpr int kMargin = 8;
constexpr int kButtonWidth = 75;
constexpr char kDuplicateShortCut[] = "ショートカットキーが重複しています";
constexpr int kDefaultInterval = 50;
constexpr int kDefaultThreshold = 128;

// The page control's tabs are 100 pixels wide, or wider when a caption needs it.
class TPageTabBar : public QTabBar {
 public:
  using QTabBar::QTabBar;

 protected:
  QSize tabSizeHint(int index) const override {
    QSize size = QTabBar::tabSizeHint(index);
    size.setWidth(std::max(size.width(), kPageTabWidth));
    return size;
  }
};

class TPageControl : public QTabWidget {
 public:
  explicit TPageControl(QWidget* parent) : QTabWidget(parent) { setTabBar(new TPageTabBar); }
};

QComboBox* MakeList(QWidget* parent, const char* name) {
  auto* combo = new QComboBox(parent);
  combo->setObjectName(name);
  return combo;
}

QCheckBox* MakeCheck(QWidget* parent, const char* name, const QString& caption) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(name);
  return box;
}

NumberEdit* MakeNumber(QWidget* parent, const char* name, int minimum, int maximum, int digits) {
  auto* edit = new NumberEdit(parent);
  edit->setObjectName(name);
  edit->Edit()->setObjectName(QString(name) + "Field");
  edit->SetRange(minimum, maximum);
  edit->Edit()->setMaxLength(digits);
  edit->setFixedWidth(64);
  return edit;
}

QGroupBox* MakeGroup(QWidget* parent, const char* name, const QString& caption) {
  auto* group = new QGroupBox(caption, parent);
  group->setObjectName(name);
  return group;
}

// Selects the radio button of `id`, or none when there is no such button.
void CheckRadio(QButtonGroup* group, int id) {
  if (QAbstractButton* button = group->button(id)) {
    button->setChecked(true);
    return;
  }
  group->setExclusive(false);
  for (QAbstractButton* button : group->buttons()) button->setChecked(false);
  group->setExclusive(true);
}

// The number of the selected item, `fallback` when it is not one; `current` when
// no item is selected.
int SelectedNumber(const QComboBox* combo, int current, int fallback) {
  if (combo->currentIndex() < 0) return current;
  bool ok = false;
  const int value = combo->currentText().toInt(&ok);
  return ok ? value : fallback;
}

// How long ago a node last answered, and whether it stopped.
QString AgeText(const TArtNode& node, uint64_t nowMs) {
  const uint64_t seconds = (nowMs > node.LastReplyMs ? nowMs - node.LastReplyMs : 0) / 1000;
  const QString ago =
      seconds < 60 ? QString("%1秒前").arg(seconds) : QString("%1分前").arg(seconds / 60);
  return NodeAnswering(node, nowMs) ? "   (" + ago + ")" : "   応答なし (" + ago + ")";
}

QString EndpointText(UdpEndpoint endpoint) {
  return QString::fromStdString(Ipv4Text(endpoint.Address)) + ":" + QString::number(endpoint.Port);
}

}  // namespace

TOptionDlg::TOptionDlg(const TDialogContext& context, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      context_(context),
      PageControl1_(new TPageControl(this)),
      OKBtn_(new QPushButton("OK", this)),
      CancelBtn_(new QPushButton("キャンセル", this)),
      Timer1_(new QTimer(this)) {
  setObjectName("OptionDlg");
  setWindowTitle("オプション設定");
  PageControl1_->setObjectName("PageControl1");
  PageControl1_->addTab(CreateGeneralPage(), "一般");
  PageControl1_->addTab(CreateDmxPage(), "DMX");
  PageControl1_->addTab(CreateShortCutPage(), "ショートカット");
  PageControl1_->addTab(CreateAdvancedPage(), "高度な設定");
  PageControl1_->addTab(CreateNetworkPage(), "ネットワーク");

  OKBtn_->setObjectName("OKBtn");
  OKBtn_->setDefault(true);
  OKBtn_->setFixedWidth(kButtonWidth);
  CancelBtn_->setObjectName("CancelBtn");
  CancelBtn_->setFixedWidth(kButtonWidth);
  connect(OKBtn_, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelBtn_, &QPushButton::clicked, this, &QDialog::reject);

  Timer1_->setObjectName("Timer1");
  Timer1_->setInterval(kNodeListIntervalMs);
  connect(Timer1_, &QTimer::timeout, this, &TOptionDlg::Timer1Timer);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(OKBtn_);
  buttons->addWidget(CancelBtn_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
  layout->addWidget(PageControl1_, 1);
  layout->addLayout(buttons);
  resize(kClientWidth, kClientHeight);
}

// --- Pages ---

QWidget* TOptionDlg::CreateGeneralPage() {
  auto* page = new QWidget;
  page->setObjectName("GeneralSheet");
  const auto warn = [this](const QString& text) {
    context_.Prompts.Warning(NumberEdit::RangeWarningText(text), {});
  };

  auto* grid = MakeGroup(page, "GridGroup", "配置グリッド(&G)");
  GridEdit_ = MakeNumber(grid, "GridEdit", 1, 999, 3);
  GridEdit_->SetWarningFunction(warn);
  SnapCheckBox_ = MakeCheck(grid, "SnapCheckBox", "スナップ");
  auto* gridLayout = new QHBoxLayout(grid);
  gridLayout->addWidget(new QLabel("サイズ", grid));
  gridLayout->addWidget(GridEdit_);
  gridLayout->addSpacing(16);
  gridLayout->addWidget(SnapCheckBox_);
  gridLayout->addStretch(1);

  MinAngEdit_ = MakeNumber(page, "MinAngEdit", 1, 90, 3);
  MinAngEdit_->SetWarningFunction(warn);
  auto* angleLabel = new QLabel("最小回転角(&A)", page);
  angleLabel->setBuddy(MinAngEdit_->Edit());

  auto* valGroup = MakeGroup(page, "ValRadioGroup", "ディマー値表示(&D)");
  ValRadioGroup_ = new QButtonGroup(valGroup);
  auto* valLayout = new QHBoxLayout(valGroup);
  int id = 0;
  for (const char* caption : {"%", "DEC", "HEX"}) {
    auto* radio = new QRadioButton(caption, valGroup);
    radio->setObjectName(QString("ValRadio%1").arg(id));
    ValRadioGroup_->addButton(radio, id++);
    valLayout->addWidget(radio);
  }
  auto* chGroup = MakeGroup(page, "ChRadioGroup", "DMXチャンネル表示(&C)");
  ChRadioGroup_ = new QButtonGroup(chGroup);
  auto* chLayout = new QHBoxLayout(chGroup);
  id = 0;
  for (const char* caption : {"A001～H512", "1～4096"}) {
    auto* radio = new QRadioButton(caption, chGroup);
    radio->setObjectName(QString("ChRadio%1").arg(id));
    ChRadioGroup_->addButton(radio, id++);
    chLayout->addWidget(radio);
  }
  ExValChCheckBox_ = MakeCheck(page, "ExValChCheckBox", "ディマー値とチャンネル表示を逆にする");

  auto* tabs = MakeGroup(page, "TabGroup", "データ切替タブ(&T)");
  TabWidthEdit_ = new QLineEdit(tabs);
  TabWidthEdit_->setObjectName("TabWidthEdit");
  TabWidthEdit_->setValidator(
      new QRegularExpressionValidator(QRegularExpression("[0-9]*"), TabWidthEdit_));
  TabWidthEdit_->setMaxLength(5);
  TabWidthEdit_->setFixedWidth(64);
  TabStyleComboBox_ = MakeList(tabs, "TabStyleComboBox");
  TabStyleComboBox_->setEditable(false);
  FillItemsFromText(TabStyleComboBox_, "タブ|ボタン|フラット", '|');
  TabMltCheckBox_ = MakeCheck(tabs, "TabMltCheckBox", "複数行");
  auto* tabsLayout = new QHBoxLayout(tabs);
  tabsLayout->addWidget(new QLabel("表示幅", tabs));
  tabsLayout->addWidget(TabWidthEdit_);
  tabsLayout->addSpacing(12);
  tabsLayout->addWidget(new QLabel("形状", tabs));
  tabsLayout->addWidget(TabStyleComboBox_);
  tabsLayout->addSpacing(12);
  tabsLayout->addWidget(TabMltCheckBox_);
  tabsLayout->addStretch(1);

  OpenLastCheckBox_ = MakeCheck(page, "OpenLastCheckBox", "起動時に前回のデータを開く");
  HideTitleCheckBox_ =
      MakeCheck(page, "HideTitleCheckBox", "最大化時にタイトルバーとメニューを隠す(&H)");
  EditorEdit_ = new QLineEdit(page);
  EditorEdit_->setObjectName("EditorEdit");
  RefEditorBtn_ = new QPushButton("...", page);
  RefEditorBtn_->setObjectName("RefEditorBtn");
  RefEditorBtn_->setFixedWidth(32);
  connect(RefEditorBtn_, &QPushButton::clicked, this, &TOptionDlg::RefEditorBtnClick);

  auto* angleRow = new QHBoxLayout;
  angleRow->addWidget(angleLabel);
  angleRow->addWidget(MinAngEdit_);
  angleRow->addStretch(1);
  auto* editorRow = new QHBoxLayout;
  auto* editorLabel = new QLabel("エディタ", page);
  editorLabel->setBuddy(EditorEdit_);
  editorRow->addWidget(editorLabel);
  editorRow->addWidget(EditorEdit_, 1);
  editorRow->addWidget(RefEditorBtn_);

  auto* layout = new QVBoxLayout(page);
  layout->addWidget(grid);
  layout->addLayout(angleRow);
  layout->addWidget(valGroup);
  layout->addWidget(chGroup);
  layout->addWidget(ExValChCheckBox_);
  layout->addWidget(tabs);
  layout->addWidget(OpenLastCheckBox_);
  layout->addWidget(HideTitleCheckBox_);
  layout->addLayout(editorRow);
  layout->addStretch(1);
  return page;
}

QWidget* TOptionDlg::CreateDmxPage() {
  auto* page = new QWidget;
  page->setObjectName("DmxSheet");
  auto* artnet = MakeGroup(page, "ArtNetGroup", "ArtNet");

  InetComboBox_ = MakeList(artnet, "InetComboBox");
  for (int net = 0; net < 128; ++net) InetComboBox_->addItem(QString::number(net));
  connect(InetComboBox_, &QComboBox::activated, this, &TOptionDlg::IuniComboBoxChange);

  auto* ports = MakeGroup(artnet, "PortGroup", "入力ポート(&P)");
  auto* portLayout = new QGridLayout(ports);
  for (int column = 0; column < 2; ++column) {
    portLayout->addWidget(new QLabel("Sub-Net", ports), 0, column * 4 + 1);
    portLayout->addWidget(new QLabel("Universe", ports), 0, column * 4 + 2);
  }
  portLayout->setColumnMinimumWidth(3, 24);
  for (int k = 0; k < kInputPortCount; ++k) {
    auto* sub = MakeList(ports, QString("IsubComboBox%1").arg(k + 1).toUtf8().constData());
    auto* unv = MakeList(ports, QString("IunvComboBox%1").arg(k + 1).toUtf8().constData());
    for (int digit = 0; digit < 16; ++digit) {
      sub->addItem(QString::number(digit, 16).toUpper());
      unv->addItem(QString::number(digit, 16).toUpper());
    }
    connect(sub, &QComboBox::activated, this, &TOptionDlg::IuniComboBoxChange);
    connect(unv, &QComboBox::activated, this, &TOptionDlg::IuniComboBoxChange);
    isub_.push_back(sub);
    iunv_.push_back(unv);
    // Ports 1-4 on the left, 5-8 on the right.
    const int row = k % 4 + 1;
    const int column = k / 4 * 4;
    portLayout->addWidget(new QLabel(QString::number(k + 1), ports), row, column);
    portLayout->addWidget(sub, row, column + 1);
    portLayout->addWidget(unv, row, column + 2);
  }

  IpAdrLabel_ = new QLabel(artnet);
  IpAdrLabel_->setObjectName("IpAdrLabel");
  NodeListBox_ = new QListWidget(artnet);
  NodeListBox_->setObjectName("NodeListBox");
  // The addresses are padded to line up, which needs letters of one width.
  NodeListBox_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  connect(NodeListBox_, &QListWidget::currentRowChanged, this, &TOptionDlg::PropActionUpdate);
  connect(NodeListBox_, &QListWidget::itemDoubleClicked, this, [this] {
    if (PropAction_->isEnabled()) PropAction_->trigger();
  });
  NodeScanBtn_ = new QPushButton("スキャン(&S)", artnet);
  NodeScanBtn_->setObjectName("NodeScanBtn");
  connect(NodeScanBtn_, &QPushButton::clicked, this, &TOptionDlg::NodeScanBtnClick);
  PropAction_ = new QAction("詳細", this);
  PropAction_->setObjectName("PropAction");
  connect(PropAction_, &QAction::triggered, this, &TOptionDlg::PropActionExecute);
  Button1_ = new QPushButton("詳細", artnet);
  Button1_->setObjectName("Button1");
  connect(Button1_, &QPushButton::clicked, PropAction_, &QAction::trigger);
  connect(PropAction_, &QAction::changed, this,
          [this] { Button1_->setEnabled(PropAction_->isEnabled()); });

  auto* netRow = new QHBoxLayout;
  netRow->addWidget(new QLabel("Net", artnet));
  netRow->addWidget(InetComboBox_);
  netRow->addStretch(1);
  auto* nodeButtons = new QVBoxLayout;
  nodeButtons->addWidget(NodeScanBtn_);
  nodeButtons->addWidget(Button1_);
  nodeButtons->addStretch(1);
  auto* nodeRow = new QHBoxLayout;
  nodeRow->addWidget(NodeListBox_, 1);
  nodeRow->addLayout(nodeButtons);
  auto* artnetLayout = new QVBoxLayout(artnet);
  artnetLayout->addLayout(netRow);
  artnetLayout->addWidget(ports);
  artnetLayout->addWidget(IpAdrLabel_);
  artnetLayout->addLayout(nodeRow, 1);

  auto* layout = new QVBoxLayout(page);
  layout->addWidget(artnet);
  return page;
}

QWidget* TOptionDlg::CreateShortCutPage() {
  auto* page = new QWidget;
  page->setObjectName("ShortCutSheet");
  ParentCombo_ = MakeList(page, "ParentCombo");
  connect(ParentCombo_, &QComboBox::activated, this, &TOptionDlg::ParentComboClick);

  ShortCutList_ = new QTreeWidget(page);
  ShortCutList_->setObjectName("ShortCutList");
  ShortCutList_->setColumnCount(2);
  ShortCutList_->setHeaderHidden(true);
  ShortCutList_->setRootIsDecorated(false);
  ShortCutList_->setUniformRowHeights(true);
  ShortCutList_->header()->setStretchLastSection(true);
  ShortCutList_->setColumnWidth(0, 240);
  connect(ShortCutList_, &QTreeWidget::currentItemChanged, this, &TOptionDlg::ShortCutListClick);

  auto* keys = MakeGroup(page, "KeyGroup", "キー(&K)");
  KeyComboBox_ = MakeList(keys, "KeyComboBox");
  std::vector<std::string> names;
  FillKeyNames(names, false);
  for (const std::string& name : names) KeyComboBox_->addItem(QString::fromStdString(name));
  connect(KeyComboBox_, &QComboBox::currentIndexChanged, this, &TOptionDlg::SKChgBtnUpdate);
  CtrlCheckBox_ = MakeCheck(keys, "CtrlCheckBox", "Ctrl");
  ShiftCheckBox_ = MakeCheck(keys, "ShiftCheckBox", "Shift");
  AltCheckBox_ = MakeCheck(keys, "AltCheckBox", "Alt");
  auto* keyLayout = new QHBoxLayout(keys);
  keyLayout->addWidget(CtrlCheckBox_);
  keyLayout->addWidget(ShiftCheckBox_);
  keyLayout->addWidget(AltCheckBox_);
  keyLayout->addWidget(KeyComboBox_, 1);

  SKChgBtn_ = new QPushButton("変更(&C)", page);
  SKChgBtn_->setObjectName("SKChgBtn");
  connect(SKChgBtn_, &QPushButton::clicked, this, &TOptionDlg::SKChgBtnClick);
  ClrBtn_ = new QPushButton("解除(&R)", page);
  ClrBtn_->setObjectName("ClrBtn");
  connect(ClrBtn_, &QPushButton::clicked, this, &TOptionDlg::ClrBtnClick);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(SKChgBtn_);
  buttons->addWidget(ClrBtn_);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(ParentCombo_);
  layout->addWidget(ShortCutList_, 1);
  layout->addWidget(keys);
  layout->addLayout(buttons);
  return page;
}

QWidget* TOptionDlg::CreateAdvancedPage() {
  auto* page = new QWidget;
  page->setObjectName("AdvancedSheet");
  auto* drawing = MakeGroup(page, "DrawGroup", "描画処理");
  IntervalComboBox_ = MakeList(drawing, "IntervalComboBox");
  FillItemsFromText(IntervalComboBox_, "200|150", '|');
  for (int ms : {100, 90, 80, 70, 60, 50, 40, 30, 20}) {
    IntervalComboBox_->addItem(QString::asprintf("%i", ms));
  }
  DatBufNComboBox_ = MakeList(drawing, "DatBufNComboBox");
  for (int n : {0, 1, 2}) DatBufNComboBox_->addItem(QString::number(n));
  connect(DatBufNComboBox_, &QComboBox::currentIndexChanged, this,
          &TOptionDlg::DatBufNComboBoxChange);
  ThresholdComboBox_ = MakeList(drawing, "ThresholdComboBox");
  for (int level : {32, 64, 96, 128, 160, 192, 224}) {
    ThresholdComboBox_->addItem(QString::number(level));
  }
  auto* form = new QGridLayout(drawing);
  form->addWidget(new QLabel("更新周期(ms)", drawing), 0, 0);
  form->addWidget(IntervalComboBox_, 0, 1);
  form->addWidget(new QLabel("バッファ段数", drawing), 1, 0);
  form->addWidget(DatBufNComboBox_, 1, 1);
  form->addWidget(new QLabel("変化閾値", drawing), 2, 0);
  form->addWidget(ThresholdComboBox_, 2, 1);
  form->setColumnStretch(2, 1);

  UseCom1CheckBox_ = MakeCheck(page, "UseCom1CheckBox", "COM1の入力信号線でデータ1～4を切り換える");
  SaveUTF8CheckBox_ =
      MakeCheck(page, "SaveUTF8CheckBox", "データファイルをUnicode(UTF-8)で保存する");
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(drawing);
  layout->addWidget(UseCom1CheckBox_);
  layout->addWidget(SaveUTF8CheckBox_);
  layout->addStretch(1);
  return page;
}

QWidget* TOptionDlg::CreateNetworkPage() {
  auto* page = new QWidget;
  page->setObjectName("NetworkSheet");
  auto* group = MakeGroup(page, "NetGroup", "Art-Net の通信");
  BindComboBox_ = MakeList(group, "BindComboBox");
  DestComboBox_ = MakeList(group, "DestComboBox");
  // A unicast address may be typed in.
  DestComboBox_->setEditable(true);
  DestComboBox_->setInsertPolicy(QComboBox::NoInsert);
  connect(BindComboBox_, &QComboBox::currentIndexChanged, this, &TOptionDlg::NetChoiceChange);
  connect(DestComboBox_, &QComboBox::currentTextChanged, this, &TOptionDlg::NetChoiceChange);
  NetApplyBtn_ = new QPushButton("適用(&A)", group);
  NetApplyBtn_->setObjectName("NetApplyBtn");
  connect(NetApplyBtn_, &QPushButton::clicked, this, &TOptionDlg::NetApplyBtnClick);
  NetFixedLabel_ = new QLabel(group);
  NetFixedLabel_->setObjectName("NetFixedLabel");
  NetFixedLabel_->setWordWrap(true);
  NetStateLabel_ = new QLabel(group);
  NetStateLabel_->setObjectName("NetStateLabel");
  NetStateLabel_->setWordWrap(true);
  NetStateLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* bindLabel = new QLabel("受信するアドレス(&L)", group);
  bindLabel->setBuddy(BindComboBox_);
  auto* destLabel = new QLabel("送信先(&D)", group);
  destLabel->setBuddy(DestComboBox_);
  auto* note = new QLabel(
      "ポーリングと応答の送信先です。一覧から選ぶか、ノードのアドレスを入力します。\n"
      "「適用」を押すと、その場で受信をやり直します（キャンセルでは戻りません）。",
      group);
  note->setWordWrap(true);
  auto* form = new QGridLayout(group);
  form->addWidget(bindLabel, 0, 0);
  form->addWidget(BindComboBox_, 0, 1);
  form->addWidget(destLabel, 1, 0);
  form->addWidget(DestComboBox_, 1, 1);
  form->addWidget(note, 2, 0, 1, 2);
  auto* applyRow = new QHBoxLayout;
  applyRow->addStretch(1);
  applyRow->addWidget(NetApplyBtn_);
  form->addLayout(applyRow, 3, 0, 1, 2);
  form->addWidget(NetFixedLabel_, 4, 0, 1, 2);
  form->addWidget(NetStateLabel_, 5, 0, 1, 2);
  form->setColumnStretch(1, 1);

  auto* layout = new QVBoxLayout(page);
  layout->addWidget(group);
  layout->addStretch(1);
  return page;
}

// --- Showing, OK and closing ---

void TOptionDlg::SetCommands(std::vector<TShortCutCommand> commands) {
  commands_ = std::move(commands);
}

void TOptionDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // A window restored by the system keeps what the user has entered so far.
  if (!event->spontaneous()) FormShow();
}

void TOptionDlg::hideEvent(QHideEvent* event) {
  if (!event->spontaneous()) Timer1_->stop();
  QDialog::hideEvent(event);
}

void TOptionDlg::FormShow() {
  const TEnvData& env = context_.Core.Env();
  GridEdit_->SetUpDownValue(env.GridSize);
  MinAngEdit_->SetUpDownValue(env.MinAngle);
  SnapCheckBox_->setChecked(env.SnapGrid);
  CheckRadio(ValRadioGroup_, env.DimValMode);
  CheckRadio(ChRadioGroup_, env.DmxChMode);
  ExValChCheckBox_->setChecked(env.ExchangeValCh);
  TabWidthEdit_->setText(QString::number(env.TabWidth));
  TabStyleComboBox_->setCurrentIndex(env.TabStyle < TabStyleComboBox_->count() ? env.TabStyle : -1);
  TabMltCheckBox_->setChecked(env.TabMultiLine);
  OpenLastCheckBox_->setChecked(env.OpenLastData);
  HideTitleCheckBox_->setChecked(env.HideTitleMenu);
  EditorEdit_->setText(QString::fromStdString(env.Editor));

  IntervalComboBox_->setCurrentIndex(
      IntervalComboBox_->findText(QString::number(env.UpdateInterval)));
  const int stages = env.DatBufferN;
  DatBufNComboBox_->setCurrentIndex(stages >= 0 && stages < DatBufNComboBox_->count() ? stages
                                                                                      : -1);
  ThresholdComboBox_->setCurrentIndex(
      ThresholdComboBox_->findText(QString::number(env.DatThreshold.load())));
  DatBufNComboBoxChange();
  UseCom1CheckBox_->setChecked(env.UseCom1Switch);
  SaveUTF8CheckBox_->setChecked(env.SaveUTF8);

  InetComboBox_->setCurrentIndex(PortNet(env.RxUniverse[0]));
  for (int k = 0; k < kInputPortCount; ++k) {
    isub_[static_cast<size_t>(k)]->setCurrentIndex(
        PortSubNet(env.RxUniverse[static_cast<size_t>(k)]));
    iunv_[static_cast<size_t>(k)]->setCurrentIndex(
        PortUniverse(env.RxUniverse[static_cast<size_t>(k)]));
  }

  FillShortCutList();
  FillNetworkChoices();
  ShowEngineState();

  TArtnetThread& engine = context_.Core.Engine();
  engine.NodesChanged = true;
  Timer1Timer();
  Timer1_->start();
}

void TOptionDlg::done(int result) {
  if (result == QDialog::Accepted) OKBtnClick();
  Timer1_->stop();
  QDialog::done(result);
}

void TOptionDlg::OKBtnClick() {
  TEnvData& env = context_.Core.Env();
  if (GridEdit_->UpDownTextValid()) env.GridSize = GridEdit_->Position();
  if (MinAngEdit_->UpDownTextValid()) env.MinAngle = MinAngEdit_->Position();
  env.SnapGrid = SnapCheckBox_->isChecked();
  if (ValRadioGroup_->checkedId() >= 0) env.DimValMode = ValRadioGroup_->checkedId();
  if (ChRadioGroup_->checkedId() >= 0) env.DmxChMode = ChRadioGroup_->checkedId();
  env.ExchangeValCh = ExValChCheckBox_->isChecked();
  env.HideTitleMenu = HideTitleCheckBox_->isChecked();
  env.OpenLastData = OpenLastCheckBox_->isChecked();
  bool ok = false;
  const int tabWidth = TabWidthEdit_->text().toInt(&ok);
  env.TabWidth = ok ? tabWidth : 0;
  if (TabStyleComboBox_->currentIndex() >= 0) {
    env.TabStyle = static_cast<uint8_t>(TabStyleComboBox_->currentIndex());
  }
  env.TabMultiLine = TabMltCheckBox_->isChecked();
  env.Editor = EditorEdit_->text().toStdString();
  env.UpdateInterval = SelectedNumber(IntervalComboBox_, env.UpdateInterval, kDefaultInterval);
  // No stage chosen reads as none at all in the change filter.
  env.DatBufferN = DatBufNComboBox_->currentIndex();
  env.DatThreshold = SelectedNumber(ThresholdComboBox_, env.DatThreshold, kDefaultThreshold);
  env.UseCom1Switch = UseCom1CheckBox_->isChecked();
  env.SaveUTF8 = SaveUTF8CheckBox_->isChecked();
}

void TOptionDlg::RefEditorBtnClick() {
  TFileDialogRequest request;
  request.Title = "エディタの選択";
  // Programs here carry no ".exe"; any file may be the editor.
  request.Filter = "エディタ (*)|*";
  request.Folder = QString::fromStdString(context_.Core.Env().ProgramFolder());
  const QString chosen = context_.Prompts.OpenFileName(request);
  if (!chosen.isEmpty()) EditorEdit_->setText(chosen);
}

void TOptionDlg::DatBufNComboBoxChange() {
  ThresholdComboBox_->setEnabled(DatBufNComboBox_->currentIndex() > 0);
}

// --- DMX page ---

void TOptionDlg::IuniComboBoxChange() {
  // The page shows one Net, which every port takes.
  const int net = std::max(InetComboBox_->currentIndex(), 0);
  std::array<int32_t, kInputPortCount> addresses{};
  for (size_t k = 0; k < addresses.size(); ++k) {
    addresses[k] = MakePortAddress(net, std::max(isub_[k]->currentIndex(), 0),
                                   std::max(iunv_[k]->currentIndex(), 0));
  }
  context_.Core.SetInputPortAddresses(addresses);
}

void TOptionDlg::Timer1Timer() {
  TArtnetThread& engine = context_.Core.Engine();
  const bool changed = engine.NodesChanged.exchange(false);
  const uint64_t now = engine.NowMs();
  std::vector<TArtNode> nodes = engine.Nodes();
  QStringList lines;
  for (const TArtNode& node : nodes) {
    lines << QString::fromStdString(NodeListLine(node)) + AgeText(node, now);
  }
  if (!changed && lines == listedLines_) return;

  const int row = NodeListBox_->currentRow();
  if (NodeListBox_->count() != lines.size()) {
    NodeListBox_->clear();
    NodeListBox_->addItems(lines);
  } else {
    for (int i = 0; i < lines.size(); ++i) NodeListBox_->item(i)->setText(lines[i]);
  }
  const QBrush silent = palette().brush(QPalette::Disabled, QPalette::Text);
  for (int i = 0; i < lines.size(); ++i) {
    NodeListBox_->item(i)->setForeground(NodeAnswering(nodes[static_cast<size_t>(i)], now)
                                             ? palette().brush(QPalette::Text)
                                             : silent);
  }
  if (row >= 0 && row < NodeListBox_->count()) NodeListBox_->setCurrentRow(row);
  listedNodes_ = std::move(nodes);
  listedLines_ = lines;
  PropActionUpdate();
}

void TOptionDlg::ClearNodeList() {
  NodeListBox_->clear();
  listedNodes_.clear();
  listedLines_.clear();
  PropActionUpdate();
}

void TOptionDlg::NodeScanBtnClick() {
  ClearNodeList();
  context_.Core.ScanNodes();
}

void TOptionDlg::PropActionUpdate() {
  const int row = NodeListBox_->currentRow();
  PropAction_->setEnabled(row >= 0 && row < static_cast<int>(listedNodes_.size()));
  Button1_->setEnabled(PropAction_->isEnabled());
}

void TOptionDlg::PropActionExecute() {
  const int row = NodeListBox_->currentRow();
  if (row < 0 || row >= static_cast<int>(listedNodes_.size())) return;
  // The node as the line shows it, even when a scan empties the table meanwhile.
  TArtNetPropDlg& dialog = PropDlg();
  dialog.Node = listedNodes_[static_cast<size_t>(row)];
  dialog.exec();
}

TArtNetPropDlg& TOptionDlg::PropDlg() {
  if (!propDlg_) propDlg_ = new TArtNetPropDlg(context_, this);
  return *propDlg_;
}

// --- Shortcut page ---

void TOptionDlg::FillShortCutList() {
  ParentCombo_->clear();
  ShortCutList_->clear();
  for (const TShortCutCommand& command : commands_) {
    if (ParentCombo_->findText(command.Category) < 0) ParentCombo_->addItem(command.Category);
    const QString shortcut =
        QString::fromStdString(ShortCutToText(FromKeySequence(command.Action->shortcut())));
    new QTreeWidgetItem(ShortCutList_, {command.Caption, shortcut});
  }
  ParentCombo_->setCurrentIndex(ParentCombo_->count() > 0 ? 0 : -1);
  if (ShortCutList_->topLevelItemCount() > 0) {
    ShortCutList_->setCurrentItem(ShortCutList_->topLevelItem(0));
  }
  ShortCutListClick();
}

int TOptionDlg::SelectedCommand() const {
  const int row = ShortCutList_->indexOfTopLevelItem(ShortCutList_->currentItem());
  return row >= 0 && row < static_cast<int>(commands_.size()) ? row : -1;
}

void TOptionDlg::ParentComboClick() {
  const QString category = ParentCombo_->currentText();
  for (size_t i = 0; i < commands_.size(); ++i) {
    if (commands_[i].Category != category) continue;
    QTreeWidgetItem* item = ShortCutList_->topLevelItem(static_cast<int>(i));
    ShortCutList_->scrollToItem(item, QAbstractItemView::PositionAtTop);
    ShortCutList_->setCurrentItem(item);
    return;
  }
}

void TOptionDlg::ShortCutListClick() {
  const int i = SelectedCommand();
  if (i >= 0) {
    const TShortCutCommand& command = commands_[static_cast<size_t>(i)];
    ParentCombo_->setCurrentIndex(ParentCombo_->findText(command.Category));
    QString text =
        QString::fromStdString(ShortCutToText(FromKeySequence(command.Action->shortcut())));
    const auto take = [&text](const QString& prefix) {
      const bool present = text.contains(prefix);
      text.remove(prefix);
      return present;
    };
    ShiftCheckBox_->setChecked(take("Shift+"));
    CtrlCheckBox_->setChecked(take("Ctrl+"));
    AltCheckBox_->setChecked(take("Alt+"));
    KeyComboBox_->setCurrentIndex(text.isEmpty() ? -1 : KeyComboBox_->findText(text));
  }
  SKChgBtnUpdate();
}

// A change needs a key: without one the change would be "no shortcut", which is
// what the clear button is for.
void TOptionDlg::SKChgBtnUpdate() {
  SKChgBtn_->setEnabled(SelectedCommand() >= 0 && KeyComboBox_->currentIndex() >= 0);
  ClrBtn_->setEnabled(SelectedCommand() >= 0);
}

void TOptionDlg::SKChgBtnClick() {
  const int i = SelectedCommand();
  if (i < 0 || KeyComboBox_->currentIndex() < 0) return;
  const QString text = QString(ShiftCheckBox_->isChecked() ? "Shift+" : "") +
                       (CtrlCheckBox_->isChecked() ? "Ctrl+" : "") +
                       (AltCheckBox_->isChecked() ? "Alt+" : "") + KeyComboBox_->currentText();
  const ShortCut shortcut = TextToShortCut(text.toStdString());
  if (shortcut == kNoShortCut) return;
  for (size_t j = 0; j < commands_.size(); ++j) {
    if (static_cast<int>(j) == i) continue;
    if (FromKeySequence(commands_[j].Action->shortcut()) == shortcut) {
      context_.Prompts.Warning(kDuplicateShortCut, {});
      return;
    }
  }
  commands_[static_cast<size_t>(i)].Action->setShortcut(ToKeySequence(shortcut));
  ShortCutList_->topLevelItem(i)->setText(1, QString::fromStdString(ShortCutToText(shortcut)));
}

void TOptionDlg::ClrBtnClick() {
  const int i = SelectedCommand();
  if (i < 0) return;
  commands_[static_cast<size_t>(i)].Action->setShortcut(QKeySequence());
  ShortCutList_->topLevelItem(i)->setText(1, {});
  ShiftCheckBox_->setChecked(false);
  CtrlCheckBox_->setChecked(false);
  AltCheckBox_->setChecked(false);
  KeyComboBox_->setCurrentIndex(-1);
}

// --- Network page ---

void TOptionDlg::FillNetworkChoices() {
  const TAppCore& core = context_.Core;
  const TEnvData& env = core.Env();
  {
    const QSignalBlocker quiet(BindComboBox_);
    BindComboBox_->clear();
    BindComboBox_->addItem("すべてのインターフェース (0.0.0.0)", QString());
    std::vector<NetInterface> interfaces;
    ReadNetInterfaces(interfaces);
    for (const NetInterface& item : interfaces) {
      const QString address = QString::fromStdString(Ipv4Text(item.Address));
      BindComboBox_->addItem(QString("%1 (%2)").arg(address, QString::fromStdString(item.Name)),
                             address);
    }
    const QString chosen = QString::fromStdString(env.ArtNetBind);
    int index = BindComboBox_->findData(chosen);
    if (index < 0) {
      // An address the host no longer has is shown as it is, not silently replaced.
      BindComboBox_->addItem(chosen + " (見つかりません)", chosen);
      index = BindComboBox_->count() - 1;
    }
    BindComboBox_->setCurrentIndex(index);
  }
  {
    const QSignalBlocker quiet(DestComboBox_);
    DestComboBox_->clear();
    DestComboBox_->addItem("受信するネットワークのブロードキャスト", QString(kArtNetDestSubnet));
    DestComboBox_->addItem(kArtnetBroadcast, QString(kArtnetBroadcast));
    DestComboBox_->addItem(kAltNetworkBroadcast, QString(kAltNetworkBroadcast));
    QString chosen = QString::fromStdString(env.ArtNetDest);
    if (chosen.isEmpty()) {
      chosen = core.Engine().AltNetwork() ? kAltNetworkBroadcast : kArtnetBroadcast;
    }
    const int index = DestComboBox_->findData(chosen);
    if (index >= 0) {
      DestComboBox_->setCurrentIndex(index);
    } else {
      DestComboBox_->setCurrentIndex(-1);
      DestComboBox_->setEditText(chosen);
    }
  }
  const bool bindFixed = core.Setup().ArtnetBindFixed;
  const bool destFixed = core.Setup().ArtnetDestFixed;
  BindComboBox_->setEnabled(!bindFixed);
  DestComboBox_->setEnabled(!destFixed);
  QStringList fixed;
  if (bindFixed) fixed << kArtnetBindVariable;
  if (destFixed) fixed << kArtnetDestVariable;
  NetFixedLabel_->setText(fixed.isEmpty() ? QString()
                                          : "起動時の指定 (" + fixed.join(", ") +
                                                ") が優先されるため、ここでは変えられません。");
  NetFixedLabel_->setVisible(!fixed.isEmpty());
  NetChoiceChange();
}

QString TOptionDlg::ChosenBind() const { return BindComboBox_->currentData().toString(); }

std::optional<QString> TOptionDlg::ChosenDest() const {
  const QString text = DestComboBox_->currentText().trimmed();
  const int index = DestComboBox_->findText(text);
  if (index >= 0) return DestComboBox_->itemData(index).toString();
  uint32_t address = 0;
  if (ParseIpv4(text.toStdString(), address) && address != 0) return text;
  return std::nullopt;
}

void TOptionDlg::NetChoiceChange() {
  const TEnvData& env = context_.Core.Env();
  const std::optional<QString> dest = ChosenDest();
  QPalette palette = DestComboBox_->palette();
  palette.setColor(QPalette::Text, dest ? QPalette().color(QPalette::Text) : QColor(Qt::red));
  DestComboBox_->setPalette(palette);
  // What the settings hold now; an empty destination is shown as the default it means.
  const QString storedDest = QString::fromStdString(env.ArtNetDest);
  const bool destChanged = dest && *dest != storedDest &&
                           !(storedDest.isEmpty() && *dest == (context_.Core.Engine().AltNetwork()
                                                                   ? QString(kAltNetworkBroadcast)
                                                                   : QString(kArtnetBroadcast)));
  const bool bindChanged = ChosenBind() != QString::fromStdString(env.ArtNetBind);
  NetApplyBtn_->setEnabled(dest.has_value() && (bindChanged || destChanged) &&
                           (BindComboBox_->isEnabled() || DestComboBox_->isEnabled()));
}

void TOptionDlg::NetApplyBtnClick() {
  const std::optional<QString> dest = ChosenDest();
  if (!dest) return;
  TAppCore& core = context_.Core;
  TEnvData& env = core.Env();
  if (BindComboBox_->isEnabled()) env.ArtNetBind = ChosenBind().toStdString();
  if (DestComboBox_->isEnabled()) env.ArtNetDest = dest->toStdString();
  std::string problem;
  const bool receiving = core.RestartEngine(&problem);
  ShowEngineState();
  NetChoiceChange();
  // The new engine knows no node yet; it has polled as it started.
  ClearNodeList();
  if (!receiving) {
    context_.Prompts.Warning(
        "Art-Net の受信を開始できませんでした。\n" + QString::fromStdString(problem), {});
  }
}

void TOptionDlg::ShowEngineState() {
  const TArtnetThread& engine = context_.Core.Engine();
  IpAdrLabel_->setText("IPアドレス: " + QString::fromStdString(engine.OwnIpText()));
  QString state;
  if (!engine.Ready()) {
    state = "受信できません: " + QString::fromStdString(engine.SocketError());
  } else {
    const UdpEndpoint local = engine.LocalEndpoint();
    state = "受信: " + (local.Address == 0 ? QString("すべてのインターフェース:%1").arg(local.Port)
                                           : EndpointText(local));
    if (const UdpEndpoint broadcast = engine.BroadcastEndpoint(); broadcast.Address != 0) {
      state += "、" + EndpointText(broadcast) + " (ブロードキャスト)";
    }
  }
  state += "\n送信先: " + EndpointText(engine.DestAddr());
  if (engine.Ready() && !engine.DestOnHostNetwork()) {
    state += "（このコンピュータのネットワークにないため、送信しません）";
  }
  NetStateLabel_->setText(state);
}

}  // namespace lumaplot
