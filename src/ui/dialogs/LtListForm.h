#pragma once
// TLtListForm ("灯体一覧"): a modeless tool window, always on top, that lists every
// light of the current document in a grid (row number, type name, start channel,
// channel count, and for each of 16 channels its role and live level), sorted by
// type name or by channel (`GridSortMode`, chosen by clicking the "Name" or "Top"
// header) or in document order. Its pop-up menu chooses the level form
// (`ListValMode`), shows the property dialog of the selected light and runs the list
// export. A double-click or Enter selects the row's light on the plot, and the main
// window centres its plot on it; Esc closes the window.
//
// The grid refreshes from the window's own 100 ms timer while it is shown and the
// main window is not busy. Its rows are rebuilt only when they must be (the main
// window called RefreshLights, the sort order or the channel form changed, or the
// document is not the one listed); otherwise only level cells whose level changed
// are repainted. Rows keep the texts they show, so a row never reads a light after
// the light is gone; the light pointer of a row is only compared with the
// document's objects, and used once it is found there.
//
// The main window's side is a few callbacks, each of which may be left empty. The
// levels are read from the current document's `ShownLevels` under LevelLock.
// Created once and reused; the application core must outlive it. GUI thread only.
#include <QWidget>

#include <array>
#include <functional>

#include "model/LightList.h"
#include "ui/dialogs/DialogContext.h"

class QAction;
class QMenu;
class QTableView;
class QTimer;

namespace lumaplot {

class IniFile;
class TLightGridModel;
struct TLightCell;
class TStageData;

inline constexpr int kLightGridColumns = 20;
using TGridWidths = std::array<int, kLightGridColumns>;

// Column widths of section "LightGrid" ("ColWidth0" … "ColWidth19", stored at 96
// dots per inch) scaled to `dpi`; defaults 32, 120, 36, 32 and 45 for the channel
// columns. A stored width below 1 takes the default, so no column is lost from view.
TGridWidths ReadLightGridWidths(const IniFile& ini, int dpi);
// Stores `widths` (pixels at `dpi`) at 96 dots per inch.
void WriteLightGridWidths(IniFile& ini, const TGridWidths& widths, int dpi);

class TLtListForm : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kTimerMs = 100;
  static constexpr int kDefaultSize = 300;
  static constexpr int kRowHeight = 20;  // pixels at 96 dots per inch

  TLtListForm(const TDialogContext& context, QWidget* parent);
  ~TLtListForm() override;

  // --- The main window's side ---
  // True while the main window is busy: the timer tick then does nothing.
  std::function<bool()> MainBusy;
  // Centres the main window's plot on `light`, which has just become the current
  // document's selected `Primary`, repaints the plot and selects the light's row.
  std::function<void(TLightCell& light)> CentreOnLight;
  // Shows the light property dialog for the selected lights of the current
  // document; true when the user ended it with OK. Not set: the pop-up menu's
  // property item is disabled.
  std::function<bool()> ShowLightProperties;
  // The main window's full refresh.
  std::function<void()> RepaintMain;
  // The main window's list export command, the pop-up menu's last item.
  void SetListAction(QAction* action);

  // The current document or its objects changed: the rows are rebuilt from the
  // current document (blank, keeping their number, without one) at the next tick.
  void RefreshLights();
  // Selects the row of `light`, if it is listed.
  void SelectLight(const TLightCell* light);
  // At least one row of a listed light is selected.
  bool HasSelectedRow() const;
  // The property command: goes to the selected row's light, then shows its property
  // dialog; OK marks the document modified and the rows for rebuilding.
  void PopPropItemClick();

  // --- Handlers, reachable for tests and benchmarks ---
  void Timer1Timer();
  // Double-click or Enter: the selected row's light becomes the only selected light
  // and the primary of the plot, and the plot is centred on it.
  void LightGridDblClick();
  // A click on header column `column`: 1 sorts by name, 2 by channel.
  void LightGridHeaderClick(int column);
  // `ListValMode` = `mode`, from the level form items.
  void PopDmodClick(int mode);

  QTableView* LightGrid() const { return LightGrid_; }
  QMenu* PopupMenu() const { return PopupMenu_; }
  QAction* PopPropItem() const { return PopPropItem_; }
  QAction* PopDmodItem(int mode) const;
  QTimer* Timer1() const { return Timer1_; }
  bool NeedsRebuild() const { return NeedsRebuild_; }
  int RowCount() const;
  QString CellText(int row, int column) const;
  // The light of `row`, or none for a blank row; for comparing only.
  const TLightCell* RowLight(int row) const;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormShow();
  void FormClose();
  void Rebuild(TStageData& doc);
  void PopDmodItemClick();
  void UpdatePopupItems();
  bool GoToSelectedLight();
  TLightCell* SelectedLight() const;
  int Dpi() const;

  TAppCore& core_;
  TLightList Lights_;  // the current document's lights, sorted at every rebuild
  bool NeedsRebuild_ = true;
  const TStageData* listedDoc_ = nullptr;  // the document the rows were built from
  size_t listedObjects_ = 0;               // its object count then
  int listedChMode_ = -1;                  // `DmxChMode` of the "Top" texts

  TLightGridModel* model_;  // a child of the window, as the grid
  QTableView* LightGrid_;
  QMenu* PopupMenu_;
  QAction* PopPropItem_;
  QMenu* PopDmodMenu_;
  std::array<QAction*, 3> PopDmodItems_{};
  QAction* PopListItem_ = nullptr;
  QTimer* Timer1_;
};

}  // namespace lumaplot
