#include "ui/dialogs/LtListForm.h"

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include <QAbstractTableModel>
#include <QAction>
#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QShowEvent>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "core/AppCore.h"
#include "model/LightGridText.h"
#include "model/ObjectDrawing.h"
#include "model/Selection.h"
#include "ui/qt/WindowPlacement.h"
#include "ui/qt/WindowState.h"
#include "util/ChannelText.h"
#include "util/IniFile.h"

namespace lumaplot {

namespace {

constexpr int kStoredDpi = 96;
constexpr int kFirstChannelColumn = 4;
constexpr int kMaxColumnWidth = 4000;  // pixels at 96 dots per inch
constexpr TGridWidths kDefaultWidths = {32, 120, 36, 32, 45, 45, 45, 45, 45, 45,
                                        45, 45,  45, 45, 45, 45, 45, 45, 45, 45};
constexpr const char* kPrefix = "LtListForm";
constexpr int kDefaultOffset = 100;  // from the main window's corner
constexpr int kTextMargin = 4;       // text from the cell's top-left corner, at 96 dpi

std::string WidthKey(int column) { return "ColWidth" + std::to_string(column); }

int SafeDpi(int dpi) { return dpi > 0 ? dpi : kStoredDpi; }

}  // namespace

TGridWidths ReadLightGridWidths(const IniFile& ini, int dpi) {
  TGridWidths widths{};
  for (int column = 0; column < kLightGridColumns; ++column) {
    const auto slot = static_cast<size_t>(column);
    int stored = ini.ReadInteger(kLightGridSection, WidthKey(column), kDefaultWidths[slot]);
    if (stored < 1) stored = kDefaultWidths[slot];
    stored = std::min(stored, kMaxColumnWidth);
    widths[slot] = MulDiv(stored, SafeDpi(dpi), kStoredDpi);
  }
  return widths;
}

void WriteLightGridWidths(IniFile& ini, const TGridWidths& widths, int dpi) {
  for (int column = 0; column < kLightGridColumns; ++column) {
    ini.WriteInteger(kLightGridSection, WidthKey(column),
                     MulDiv(widths[static_cast<size_t>(column)], kStoredDpi, SafeDpi(dpi)));
  }
}

// --- The grid's rows ---

// One light's row as it is shown. The texts are kept, so painting never reads the
// light; only the timer tick does, after it has made sure the light still exists.
struct TGridRow {
  TLightCell* Light = nullptr;  // none: a blank row
  QString Name;
  QString Top;
  QString Count;
  int Cells = 0;  // channel cells the light has, 0 … 16
  std::array<int32_t, kListChannelCells> Roles{};
  std::array<int16_t, kListChannelCells> Levels{};  // kEmptyCell for an empty cell
  bool Marked = false;                              // the light is selected on the plot
};

class TLightGridModel : public QAbstractTableModel {
 public:
  static constexpr int kEmptyRole = Qt::UserRole + 1;   // a cell without text
  static constexpr int kMarkedRole = Qt::UserRole + 2;  // column 0 of a light selected on the plot
  static constexpr int kBlankRole = Qt::UserRole + 3;   // a row without a light

  explicit TLightGridModel(QObject* parent) : QAbstractTableModel(parent) {}

  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
  }
  int columnCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : kLightGridColumns;
  }
  Qt::ItemFlags flags(const QModelIndex&) const override {
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  }

  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
      case 0:
        return QString();
      case 1:
        return QStringLiteral("Name");
      case 2:
        return QStringLiteral("Top");
      case 3:
        return QStringLiteral("Ch.");
      default:
        return QString::number(section - kFirstChannelColumn + 1);
    }
  }

  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const TGridRow& row = rows_[static_cast<size_t>(index.row())];
    const int column = index.column();
    switch (role) {
      case Qt::DisplayRole:
        return Text(row, index.row(), column);
      case kEmptyRole:
        return row.Light != nullptr && column > 0 && Text(row, index.row(), column).isEmpty();
      case kMarkedRole:
        return column == 0 && row.Marked;
      case kBlankRole:
        return row.Light == nullptr;
      default:
        return {};
    }
  }

  const TGridRow& Row(int row) const { return rows_[static_cast<size_t>(row)]; }
  int Mode() const { return mode_; }

  // New rows; their levels and marks are taken from `levels` and the lights.
  void SetRows(std::vector<TGridRow> rows, const TLevelBuffer& levels, int mode) {
    beginResetModel();
    rows_ = std::move(rows);
    mode_ = mode;
    for (TGridRow& row : rows_) {
      row.Marked = row.Light->Selected;
      for (int k = 0; k < row.Cells; ++k) {
        row.Levels[static_cast<size_t>(k)] =
            static_cast<int16_t>(ListCellLevel(levels, *row.Light, k));
      }
    }
    lastLevels_ = levels;
    endResetModel();
  }

  // The rows stay, showing nothing, and point at no light any more.
  void Blank() {
    for (TGridRow& row : rows_) row = TGridRow{};
    if (!rows_.empty()) emit dataChanged(index(0, 0), index(rowCount() - 1, kLightGridColumns - 1));
  }

  // Brings the level cells and the marks up to date and repaints the cells that
  // changed. Levels that did not change since the last call need no cell looked at.
  void Refresh(const TLevelBuffer& levels) {
    const bool levelsChanged = levels != lastLevels_;
    lastLevels_ = levels;
    int runFirst = -1;
    int runLast = -1;
    int columnMin = kLightGridColumns;
    int columnMax = -1;
    const auto flush = [&] {
      if (runFirst >= 0) emit dataChanged(index(runFirst, columnMin), index(runLast, columnMax));
      runFirst = -1;
      columnMin = kLightGridColumns;
      columnMax = -1;
    };
    for (int r = 0; r < rowCount(); ++r) {
      TGridRow& row = rows_[static_cast<size_t>(r)];
      if (row.Light == nullptr) continue;
      int first = kLightGridColumns;
      int last = -1;
      if (row.Light->Selected != row.Marked) {
        row.Marked = row.Light->Selected;
        first = last = 0;
      }
      if (levelsChanged) {
        for (int k = 0; k < row.Cells; ++k) {
          const auto level = static_cast<int16_t>(ListCellLevel(levels, *row.Light, k));
          int16_t& shown = row.Levels[static_cast<size_t>(k)];
          if (level == shown) continue;
          shown = level;
          first = std::min(first, kFirstChannelColumn + k);
          last = std::max(last, kFirstChannelColumn + k);
        }
      }
      if (last < 0) continue;
      // Neighbouring changed rows are repainted together.
      if (runFirst < 0 || runLast != r - 1) {
        flush();
        runFirst = r;
      }
      runLast = r;
      columnMin = std::min(columnMin, first);
      columnMax = std::max(columnMax, last);
    }
    flush();
  }

  // Every level text changes its form.
  void SetMode(int mode) {
    if (mode == mode_) return;
    mode_ = mode;
    if (!rows_.empty()) {
      emit dataChanged(index(0, kFirstChannelColumn), index(rowCount() - 1, kLightGridColumns - 1));
    }
  }

 private:
  QString Text(const TGridRow& row, int r, int column) const {
    if (row.Light == nullptr) return {};
    switch (column) {
      case 0:
        return QString::number(r + 1);
      case 1:
        return row.Name;
      case 2:
        return row.Top;
      case 3:
        return row.Count;
      default: {
        const auto k = static_cast<size_t>(column - kFirstChannelColumn);
        return QString::fromStdString(ListCellText(row.Roles[k], row.Levels[k], mode_));
      }
    }
  }

  std::vector<TGridRow> rows_;
  int mode_ = 0;
  TLevelBuffer lastLevels_{};
};

namespace {

// The cells as the list paints them: the number column in button colours with a
// red frame while its light is selected on the plot, an empty cell in the button
// shadow colour, the selected row in the highlight colours, and text a few pixels
// in from the cell's top-left corner.
class TLightGridDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const QPalette& palette = option.palette;
    const QRect cell = option.rect;
    QColor background = palette.color(QPalette::Base);
    QColor text = palette.color(QPalette::Text);
    if (index.data(TLightGridModel::kBlankRole).toBool()) {
      painter->fillRect(cell, background);
      return;
    }
    if (index.column() == 0) {
      background = palette.color(QPalette::Button);
      text = palette.color(QPalette::ButtonText);
    } else if (index.data(TLightGridModel::kEmptyRole).toBool()) {
      background = palette.color(QPalette::Dark);
    } else if (option.state & QStyle::State_Selected) {
      background = palette.color(QPalette::Highlight);
      text = palette.color(QPalette::HighlightedText);
    }
    painter->fillRect(cell, background);
    const QWidget* view = option.widget;
    const int dpi = view ? view->logicalDpiX() : kStoredDpi;
    const int margin = MulDiv(kTextMargin, SafeDpi(dpi), kStoredDpi);
    painter->save();
    painter->setClipRect(cell);
    painter->setPen(text);
    painter->setFont(option.font);
    painter->drawText(cell.adjusted(margin, margin, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                      index.data(Qt::DisplayRole).toString());
    if (index.data(TLightGridModel::kMarkedRole).toBool()) {
      painter->setPen(QPen(Qt::red, 1));
      painter->setBrush(Qt::NoBrush);
      painter->drawRect(cell.adjusted(0, 0, -1, -1));
    }
    painter->restore();
  }
};

}  // namespace

// --- The window ---

TLtListForm::TLtListForm(const TDialogContext& context, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint),
      core_(context.Core),
      model_(new TLightGridModel(this)),
      LightGrid_(new QTableView(this)),
      PopupMenu_(new QMenu(this)),
      PopPropItem_(new QAction("灯体のプロパティ(&I)", this)),
      PopDmodMenu_(new QMenu("値の表示形式(&F)", PopupMenu_)),
      Timer1_(new QTimer(this)) {
  setObjectName("LtListForm");
  setWindowTitle("灯体一覧");
  resize(kDefaultSize, kDefaultSize);

  LightGrid_->setObjectName("LightGrid");
  LightGrid_->setModel(model_);
  LightGrid_->setItemDelegate(new TLightGridDelegate(LightGrid_));
  LightGrid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  LightGrid_->setSelectionMode(QAbstractItemView::SingleSelection);
  LightGrid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  LightGrid_->setWordWrap(false);
  LightGrid_->setCornerButtonEnabled(false);
  LightGrid_->verticalHeader()->hide();
  LightGrid_->verticalHeader()->setMinimumSectionSize(1);
  LightGrid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  LightGrid_->verticalHeader()->setDefaultSectionSize(MulDiv(kRowHeight, Dpi(), kStoredDpi));
  QHeaderView* header = LightGrid_->horizontalHeader();
  header->setMinimumSectionSize(1);
  header->setSectionResizeMode(QHeaderView::Interactive);
  header->setStretchLastSection(false);
  header->setHighlightSections(false);
  header->setSectionsClickable(true);
  header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  connect(header, &QHeaderView::sectionClicked, this,
          [this](int column) { LightGridHeaderClick(column); });
  connect(LightGrid_, &QTableView::doubleClicked, this, [this] { LightGridDblClick(); });
  LightGrid_->installEventFilter(this);
  LightGrid_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(LightGrid_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    UpdatePopupItems();
    PopupMenu_->popup(LightGrid_->viewport()->mapToGlobal(at));
  });
  const TGridWidths widths = ReadLightGridWidths(core_.Ini(), Dpi());
  for (int column = 0; column < kLightGridColumns; ++column) {
    LightGrid_->setColumnWidth(column, widths[static_cast<size_t>(column)]);
  }

  PopupMenu_->setObjectName("PopupMenu1");
  PopPropItem_->setObjectName("PopPropItem");
  connect(PopPropItem_, &QAction::triggered, this, [this] { PopPropItemClick(); });
  PopupMenu_->addAction(PopPropItem_);
  PopDmodMenu_->setObjectName("PopDmodItem");
  constexpr const char* kModeCaptions[] = {"パーセント (&P)", "10進数(0～255) (&D)",
                                           "16進数(00～FF) (&H)"};
  for (int mode = 0; mode < 3; ++mode) {
    QAction* item = PopDmodMenu_->addAction(kModeCaptions[mode]);
    item->setObjectName(QString("PopDmod%1Item").arg(mode + 1));
    item->setCheckable(true);
    connect(item, &QAction::triggered, this, [this, mode] { PopDmodClick(mode); });
    PopDmodItems_[static_cast<size_t>(mode)] = item;
  }
  connect(PopDmodMenu_, &QMenu::aboutToShow, this, [this] { PopDmodItemClick(); });
  PopupMenu_->addMenu(PopDmodMenu_);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(LightGrid_);

  Timer1_->setObjectName("Timer1");
  Timer1_->setInterval(kTimerMs);
  connect(Timer1_, &QTimer::timeout, this, [this] { Timer1Timer(); });
}

TLtListForm::~TLtListForm() = default;

int TLtListForm::Dpi() const { return SafeDpi(logicalDpiX()); }

void TLtListForm::SetListAction(QAction* action) {
  if (action == PopListItem_) return;
  if (PopListItem_) {
    PopupMenu_->removeAction(PopListItem_);
  } else {
    PopupMenu_->addSeparator();
  }
  PopListItem_ = action;
  if (action) PopupMenu_->addAction(action);
}

QAction* TLtListForm::PopDmodItem(int mode) const {
  return mode >= 0 && mode < 3 ? PopDmodItems_[static_cast<size_t>(mode)] : nullptr;
}

int TLtListForm::RowCount() const { return model_->rowCount(); }

QString TLtListForm::CellText(int row, int column) const {
  return model_->index(row, column).data().toString();
}

const TLightCell* TLtListForm::RowLight(int row) const {
  return row >= 0 && row < model_->rowCount() ? model_->Row(row).Light : nullptr;
}

// --- Showing and closing ---

void TLtListForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // A window restored from the task bar comes back as it was.
  if (!event->spontaneous()) FormShow();
}

void TLtListForm::FormShow() {
  const QWidget* main = parentWidget();
  const QPoint corner = main ? main->frameGeometry().topLeft() : QPoint();
  LoadFormPos(core_.Ini(), kPrefix, this, corner.x() + kDefaultOffset, corner.y() + kDefaultOffset,
              kDefaultSize, kDefaultSize);
  const TGridWidths widths = ReadLightGridWidths(core_.Ini(), Dpi());
  for (int column = 0; column < kLightGridColumns; ++column) {
    LightGrid_->setColumnWidth(column, widths[static_cast<size_t>(column)]);
  }
  RefreshLights();
  Timer1_->start();
}

void TLtListForm::closeEvent(QCloseEvent* event) {
  if (isVisible()) FormClose();
  QWidget::closeEvent(event);
}

void TLtListForm::FormClose() {
  Timer1_->stop();
  IniFile& ini = core_.Ini();
  SaveFormPos(ini, kPrefix, this);
  TGridWidths widths{};
  for (int column = 0; column < kLightGridColumns; ++column) {
    widths[static_cast<size_t>(column)] = LightGrid_->columnWidth(column);
  }
  WriteLightGridWidths(ini, widths, Dpi());
}

// --- Rows ---

void TLtListForm::RefreshLights() {
  Lights_.clear();
  TStageData* doc = core_.CurrentDoc();
  listedDoc_ = doc;
  listedObjects_ = doc ? doc->Objects.size() : 0;
  if (doc) {
    for (TLightCell* cell : doc->Objects) {
      if (cell != nullptr && cell->Kind == KindLight) Lights_.push_back(cell);
    }
  } else {
    // Nothing to list: the rows stay until a document comes, but show nothing and
    // hold no light that may now be gone.
    model_->Blank();
  }
  NeedsRebuild_ = true;
}

void TLtListForm::Timer1Timer() {
  if (!isVisible() || (MainBusy && MainBusy())) return;
  TStageData* doc = core_.CurrentDoc();
  if (!doc) return;
  // The rows must belong to this document as it is now, whoever forgot to say so.
  if (doc != listedDoc_ || doc->Objects.size() != listedObjects_) RefreshLights();
  TLevelBuffer levels;
  {
    std::lock_guard lock(core_.Documents().LevelLock);
    levels = doc->ShownLevels;
  }
  const TEnvData& env = core_.Env();
  if (NeedsRebuild_ || model_->rowCount() != static_cast<int>(Lights_.size()) ||
      listedChMode_ != env.DmxChMode) {
    Rebuild(*doc);
    return;
  }
  model_->SetMode(env.ListValMode);
  model_->Refresh(levels);
}

void TLtListForm::Rebuild(TStageData& doc) {
  const TLightCell* keep = SelectedLight();
  const TEnvData& env = core_.Env();
  SortListLights(Lights_, env.GridSortMode);
  std::vector<TGridRow> rows(Lights_.size());
  for (size_t i = 0; i < Lights_.size(); ++i) {
    TLightCell& light = *Lights_[i];
    TGridRow& row = rows[i];
    row.Light = &light;
    row.Name = QString::fromStdString(light.Fixture.Name);
    row.Top = QString::fromStdString(ChannelName(light.StartCh, env.DmxChMode == 0));
    row.Count = QString::number(light.Fixture.Channels);
    row.Cells = std::min(light.Fixture.UsedChannels(), kListChannelCells);
    std::copy_n(light.Fixture.ChAtr.begin(), kListChannelCells, row.Roles.begin());
    row.Levels.fill(static_cast<int16_t>(kEmptyCell));
  }
  TLevelBuffer levels;
  {
    std::lock_guard lock(core_.Documents().LevelLock);
    levels = doc.ShownLevels;
  }
  model_->SetRows(std::move(rows), levels, env.ListValMode);
  NeedsRebuild_ = false;
  listedChMode_ = env.DmxChMode;
  if (keep) SelectLight(keep);
}

void TLtListForm::SelectLight(const TLightCell* light) {
  if (light == nullptr) return;
  for (int row = 0; row < model_->rowCount(); ++row) {
    if (model_->Row(row).Light != light) continue;
    LightGrid_->selectRow(row);
    LightGrid_->scrollTo(model_->index(row, 0));
    return;
  }
}

TLightCell* TLtListForm::SelectedLight() const {
  const QModelIndexList selected = LightGrid_->selectionModel()->selectedRows();
  if (selected.isEmpty()) return nullptr;
  const int row = selected.first().row();
  return row < model_->rowCount() ? model_->Row(row).Light : nullptr;
}

bool TLtListForm::HasSelectedRow() const { return SelectedLight() != nullptr; }

// --- Going to a light ---

bool TLtListForm::GoToSelectedLight() {
  TStageData* doc = core_.CurrentDoc();
  TLightCell* light = SelectedLight();
  if (!doc || !light) return false;
  // A row is only trusted once its light is found among the document's objects.
  if (std::find(doc->Objects.begin(), doc->Objects.end(), light) == doc->Objects.end()) {
    RefreshLights();
    return false;
  }
  SelectAll(*doc, false);
  if (doc->Primary) DrawObject(*doc, doc->Primary, false);
  SetSelected(*doc, light, true);
  doc->Primary = light;
  if (CentreOnLight) {
    CentreOnLight(*light);
  } else if (RepaintMain) {
    RepaintMain();
  }
  return true;
}

void TLtListForm::LightGridDblClick() { GoToSelectedLight(); }

void TLtListForm::PopPropItemClick() {
  TStageData* doc = core_.CurrentDoc();
  if (!ShowLightProperties || !doc || doc->EditInhibit) return;
  if (!GoToSelectedLight()) return;
  if (ShowLightProperties()) {
    // The dialog may have changed types and channels: the rows are made anew.
    if (TStageData* shown = core_.CurrentDoc()) shown->Modified = true;
    RefreshLights();
  }
  if (RepaintMain) RepaintMain();
}

// --- Sorting, the level form and the keys ---

void TLtListForm::LightGridHeaderClick(int column) {
  if (column != 1 && column != 2) return;
  core_.Env().GridSortMode = column == 1 ? 0 : 1;
  NeedsRebuild_ = true;
}

void TLtListForm::PopDmodItemClick() {
  const int mode = core_.Env().ListValMode;
  for (int item = 0; item < 3; ++item) {
    PopDmodItems_[static_cast<size_t>(item)]->setChecked(item == mode);
  }
}

void TLtListForm::PopDmodClick(int mode) {
  core_.Env().ListValMode = mode;
  model_->SetMode(mode);
}

void TLtListForm::UpdatePopupItems() {
  const TStageData* doc = core_.CurrentDoc();
  PopPropItem_->setEnabled(ShowLightProperties && doc && !doc->EditInhibit && HasSelectedRow());
  PopDmodItemClick();
}

bool TLtListForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == LightGrid_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      LightGridDblClick();
      return true;
    }
    if (key == Qt::Key_Escape) {
      close();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace lumaplot
