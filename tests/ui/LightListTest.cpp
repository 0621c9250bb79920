// The light list window ("灯体一覧"): its cells and level forms, the two sort orders,
// rebuilding when objects or the document change, going to a light, the property
// call point and the stored column widths; then the same window in the main window:
// the View menu command, start-up and exit, and the plot centred on a double-clicked
// light. In process and offscreen; the Art-Net engine listens on loopback only.
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "model/LightGridText.h"
#include "model/Selection.h"
#include "support/LoopbackCore.h"
#include "support/StageBuilder.h"
#include "support/TempDir.h"
#include "support/TestApplication.h"
#include "ui/dialogs/LtListForm.h"
#include "ui/main/LumaplotForm.h"
#include "ui/main/PageView.h"
#include "ui/main/TabControl.h"
#include "ui/main/commands/ToolWindowCommands.h"
#include "ui/qt/Prompts.h"
#include "ui/qt/WindowPlacement.h"
#include "util/IniFile.h"

namespace lumaplot {
namespace {

TLibItem NamedType(const char* name, std::initializer_list<int32_t> roles) {
  TLibItem type = test::MakeType(roles);
  type.Name = name;
  return type;
}

// --- The window alone, over a core whose documents the test makes ---

class LightListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::TestApplication();
    core = std::make_unique<TAppCore>(test::LoopbackCoreSetup(dir.Path()));
    list = std::make_unique<TLtListForm>(TDialogContext{*core, prompts}, nullptr);
  }
  void TearDown() override {
    list.reset();
    core.reset();
  }

  // A new current document.
  TStageData& NewDoc() {
    TStageData* doc = core->Documents().Add(core->NewDocument());
    core->Documents().SetCurrent(core->Documents().IndexOf(doc));
    return *doc;
  }

  void Show() {
    list->show();
    list->Timer1Timer();
  }

  std::vector<QString> Column(int column) const {
    std::vector<QString> texts;
    for (int row = 0; row < list->RowCount(); ++row) texts.push_back(list->CellText(row, column));
    return texts;
  }

  void SelectRow(int row) { list->LightGrid()->selectRow(row); }

  test::TempDir dir;
  TPrompts prompts;
  std::unique_ptr<TAppCore> core;
  std::unique_ptr<TLtListForm> list;
};

TEST_F(LightListTest, RowsShowEveryLightWithItsChannels) {
  TStageData& doc = NewDoc();
  test::AddLight(doc, NamedType("RGB", {RoleRed, RoleGreen, RoleBlue}), 0, 0, 10);
  test::AddLight(doc, NamedType("Loose", {RoleDimmer}), 0, 0, kNotPatched);
  test::AddLight(doc, NamedType("Edge", {RoleNone, RoleDimmer, RoleWhite}), 0, 0, 4094);
  test::AddText(doc, 0, 0, "not a light");
  doc.ShownLevels[10] = 255;
  doc.ShownLevels[11] = 128;
  doc.ShownLevels[4094] = 254;
  doc.ShownLevels[4095] = 1;
  Show();

  ASSERT_EQ(list->RowCount(), 3);
  EXPECT_EQ(Column(0), (std::vector<QString>{"1", "2", "3"}));
  EXPECT_EQ(Column(1), (std::vector<QString>{"Edge", "Loose", "RGB"}));
  EXPECT_EQ(Column(2), (std::vector<QString>{"H511", "", "A011"}));
  EXPECT_EQ(Column(3), (std::vector<QString>{"3", "1", "3"}));
  // Channels 1 … 3, then the empty channel cells.
  EXPECT_EQ(Column(4), (std::vector<QString>{"- 99", "", "R FF"}));
  EXPECT_EQ(Column(5), (std::vector<QString>{"D 00", "", "G 50"}));
  EXPECT_EQ(Column(6), (std::vector<QString>{"", "", "B 00"}));  // past channel 4096
  for (int column = 7; column < kLightGridColumns; ++column) {
    EXPECT_EQ(Column(column), (std::vector<QString>{"", "", ""})) << column;
  }
  const QAbstractItemModel* model = list->LightGrid()->model();
  EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "Name");
  EXPECT_EQ(model->headerData(2, Qt::Horizontal).toString(), "Top");
  EXPECT_EQ(model->headerData(3, Qt::Horizontal).toString(), "Ch.");
  EXPECT_EQ(model->headerData(4, Qt::Horizontal).toString(), "1");
  EXPECT_EQ(model->headerData(19, Qt::Horizontal).toString(), "16");
  EXPECT_EQ(list->windowTitle(), "灯体一覧");
}

// The level form comes from the pop-up menu, which checks the form in use.
TEST_F(LightListTest, TheLevelFormIsChosenFromThePopupMenu) {
  TStageData& doc = NewDoc();
  test::AddLight(doc, NamedType("RGB", {RoleRed, RoleGreen, RoleBlue}), 0, 0, 0);
  doc.ShownLevels = {255, 128, 10};
  Show();
  auto* forms = list->PopupMenu()->findChild<QMenu*>("PopDmodItem");
  ASSERT_NE(forms, nullptr);
  EXPECT_EQ(forms->title(), "値の表示形式(&F)");

  const struct {
    int Item;
    const char* Cells[3];
  } cases[] = {
      {1, {"R 255", "G 128", "B  10"}},
      {2, {"R FF", "G 80", "B 0A"}},
      {0, {"R FF", "G 50", "B 03"}},
  };
  for (const auto& c : cases) {
    list->PopDmodItem(c.Item)->trigger();
    EXPECT_EQ(core->Env().ListValMode, c.Item);
    emit forms->aboutToShow();
    for (int item = 0; item < 3; ++item) {
      EXPECT_EQ(list->PopDmodItem(item)->isChecked(), item == c.Item) << c.Item;
    }
    for (int k = 0; k < 3; ++k) EXPECT_EQ(list->CellText(0, 4 + k), c.Cells[k]) << c.Item;
  }
  EXPECT_EQ(list->PopDmodItem(0)->text(), "パーセント (&P)");
  EXPECT_EQ(list->PopDmodItem(1)->text(), "10進数(0～255) (&D)");
  EXPECT_EQ(list->PopDmodItem(2)->text(), "16進数(00～FF) (&H)");
}

// Only cells whose level changed are repainted; a tick without a change touches none.
TEST_F(LightListTest, ATickRepaintsOnlyChangedCells) {
  TStageData& doc = NewDoc();
  for (int i = 0; i < 50; ++i) {
    test::AddLight(doc, NamedType("RGB", {RoleRed, RoleGreen, RoleBlue}), 0, 0, 3 * i);
  }
  core->Env().GridSortMode = 2;  // document order
  Show();
  QSignalSpy changes(list->LightGrid()->model(), &QAbstractItemModel::dataChanged);
  list->Timer1Timer();
  EXPECT_EQ(changes.count(), 0);

  doc.ShownLevels[3 * 20 + 1] = 77;  // light 21, green
  list->Timer1Timer();
  ASSERT_EQ(changes.count(), 1);
  const auto topLeft = changes[0][0].value<QModelIndex>();
  const auto bottomRight = changes[0][1].value<QModelIndex>();
  EXPECT_EQ(topLeft, list->LightGrid()->model()->index(20, 5));
  EXPECT_EQ(bottomRight, topLeft);
  EXPECT_EQ(list->CellText(20, 5), "G 30");

  // Selecting a light on the plot frames its number.
  changes.clear();
  doc.Objects[7]->Selected = true;
  list->Timer1Timer();
  ASSERT_EQ(changes.count(), 1);
  EXPECT_EQ(changes[0][0].value<QModelIndex>(), list->LightGrid()->model()->index(7, 0));
}

// "Name" sorts by type name, "Top" by channel; ties go to the next key. The selected
// row stays on its light.
TEST_F(LightListTest, HeaderClicksSortAndTheSelectionFollowsItsLight) {
  TStageData& doc = NewDoc();
  TLightCell* par2 = test::AddLight(doc, NamedType("PAR", {RoleDimmer}), 10, 0, 2);
  TLightCell* led9 = test::AddLight(doc, NamedType("led", {RoleDimmer}), 0, 0, 9);
  TLightCell* par0 = test::AddLight(doc, NamedType("par", {RoleDimmer}), 0, 0, 0);
  TLightCell* led2 = test::AddLight(doc, NamedType("LED", {RoleDimmer}), 0, 0, 2);
  TLightCell* par2Left = test::AddLight(doc, NamedType("PAR", {RoleDimmer}), 5, 0, 2);
  Show();
  const auto rows = [this] {
    std::vector<const TLightCell*> lights;
    for (int row = 0; row < list->RowCount(); ++row) lights.push_back(list->RowLight(row));
    return lights;
  };
  EXPECT_EQ(rows(), (std::vector<const TLightCell*>{led2, led9, par0, par2Left, par2}));
  SelectRow(3);  // par2Left

  QHeaderView* header = list->LightGrid()->horizontalHeader();
  const auto click = [header](int column) {
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(column) + 5, 5));
  };
  click(2);
  EXPECT_EQ(core->Env().GridSortMode, 1);
  EXPECT_TRUE(list->NeedsRebuild());
  list->Timer1Timer();
  EXPECT_EQ(rows(), (std::vector<const TLightCell*>{par0, led2, par2Left, par2, led9}));
  EXPECT_EQ(list->LightGrid()->selectionModel()->selectedRows().value(0).row(), 2);

  click(3);  // "Ch." does not sort
  EXPECT_FALSE(list->NeedsRebuild());
  click(1);
  EXPECT_EQ(core->Env().GridSortMode, 0);
  list->Timer1Timer();
  EXPECT_EQ(rows(), (std::vector<const TLightCell*>{led2, led9, par0, par2Left, par2}));
  EXPECT_EQ(list->LightGrid()->selectionModel()->selectedRows().value(0).row(), 3);
}

// A row never shows a light that is gone: a delete followed by RefreshLights, and
// even a delete nobody announced, rebuild the rows at the next tick.
TEST_F(LightListTest, RowsAreRebuiltWhenObjectsChange) {
  TStageData& doc = NewDoc();
  TLightCell* a = test::AddLight(doc, NamedType("A", {RoleRed}), 0, 0, 0);
  TLightCell* b = test::AddLight(doc, NamedType("B", {RoleRed}), 0, 0, 1);
  TLightCell* c = test::AddLight(doc, NamedType("C", {RoleRed}), 0, 0, 2);
  Show();
  ASSERT_EQ(list->RowCount(), 3);

  doc.DeleteObject(b);
  list->RefreshLights();
  EXPECT_TRUE(list->NeedsRebuild());
  list->Timer1Timer();
  EXPECT_FALSE(list->NeedsRebuild());
  EXPECT_EQ(Column(1), (std::vector<QString>{"A", "C"}));

  doc.DeleteObject(a);  // not announced
  list->Timer1Timer();
  ASSERT_EQ(list->RowCount(), 1);
  EXPECT_EQ(list->RowLight(0), c);

  // A new type and channel show once the list is told.
  c->Fixture.Name = "Changed";
  c->StartCh = 512;
  list->Timer1Timer();
  EXPECT_EQ(list->CellText(0, 1), "C");
  list->RefreshLights();
  list->Timer1Timer();
  EXPECT_EQ(list->CellText(0, 1), "Changed");
  EXPECT_EQ(list->CellText(0, 2), "B001");

  // The channel form of the settings is followed without being told.
  core->Env().DmxChMode = 1;
  list->Timer1Timer();
  EXPECT_EQ(list->CellText(0, 2), "513");
}

// Without a document the rows stay, drawn blank, and none of them holds a light.
TEST_F(LightListTest, ClosingTheLastDocumentBlanksTheRows) {
  TStageData& doc = NewDoc();
  test::AddLight(doc, NamedType("A", {RoleRed}), 0, 0, 0);
  test::AddLight(doc, NamedType("B", {RoleRed}), 0, 0, 1);
  Show();
  core->Documents().Remove(&doc);
  list->RefreshLights();
  list->Timer1Timer();
  ASSERT_EQ(list->RowCount(), 2);
  for (int row = 0; row < 2; ++row) {
    EXPECT_EQ(list->RowLight(row), nullptr);
    for (int column = 0; column < kLightGridColumns; ++column) {
      EXPECT_EQ(list->CellText(row, column), "");
    }
  }
  EXPECT_TRUE(list->LightGrid()->model()->index(0, 0).data(Qt::UserRole + 3).toBool());
  SelectRow(0);
  list->LightGridDblClick();  // nothing to go to
  EXPECT_FALSE(list->HasSelectedRow());
  list->LightGrid()->grab();  // painting blank rows reads no light
}

// Double-click (and Enter) make the row's light the only selected one and the
// primary, and ask the main window to centre on it; Esc closes the window.
TEST_F(LightListTest, GoingToALightSelectsItAlone) {
  TStageData& doc = NewDoc();
  TLightCell* a = test::AddLight(doc, NamedType("A", {RoleRed}), 100, 100, 0);
  TLightCell* b = test::AddLight(doc, NamedType("B", {RoleRed}), 300, 200, 1);
  test::AddText(doc, 10, 10, "t");
  SelectAll(doc, true);
  doc.Primary = a;
  std::vector<TLightCell*> centred;
  list->CentreOnLight = [&centred](TLightCell& light) { centred.push_back(&light); };
  Show();

  QTableView* grid = list->LightGrid();
  const QRect row1 = grid->visualRect(grid->model()->index(1, 2));
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, row1.center());
  QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, row1.center());
  EXPECT_EQ(doc.Selection, (TLightList{b}));
  EXPECT_EQ(doc.Primary, b);
  EXPECT_TRUE(b->Selected);
  EXPECT_FALSE(a->Selected);
  EXPECT_EQ(centred, (std::vector<TLightCell*>{b}));

  SelectRow(0);
  QTest::keyClick(grid, Qt::Key_Return);
  EXPECT_EQ(doc.Primary, a);
  EXPECT_EQ(doc.Selection, (TLightList{a}));
  EXPECT_EQ(centred.size(), 2u);

  QTest::keyClick(grid, Qt::Key_Escape);
  EXPECT_FALSE(list->isVisible());
}

// The property call point: the row's light is gone to first, the dialog's OK marks
// the document modified and the rows for rebuilding. It is offered only while a
// dialog is connected, a row is selected and the plot may be edited.
TEST_F(LightListTest, PropertiesOfTheSelectedRow) {
  TStageData& doc = NewDoc();
  TLightCell* a = test::AddLight(doc, NamedType("A", {RoleRed}), 0, 0, 0);
  TLightCell* b = test::AddLight(doc, NamedType("B", {RoleRed}), 0, 0, 1);
  Show();
  const auto offered = [this] {
    emit list->LightGrid()->customContextMenuRequested({5, 5});
    const bool enabled = list->PopPropItem()->isEnabled();
    list->PopupMenu()->hide();
    return enabled;
  };
  EXPECT_EQ(list->PopPropItem()->text(), "灯体のプロパティ(&I)");
  SelectRow(1);
  EXPECT_FALSE(offered());  // no dialog connected yet

  std::vector<TLightList> shownFor;
  bool answer = false;
  list->ShowLightProperties = [&] {
    shownFor.push_back(doc.Selection);
    return answer;
  };
  int repaints = 0;
  list->RepaintMain = [&repaints] { ++repaints; };
  EXPECT_TRUE(offered());

  list->PopPropItem()->trigger();  // cancelled
  ASSERT_EQ(shownFor.size(), 1u);
  EXPECT_EQ(shownFor[0], (TLightList{b}));
  EXPECT_FALSE(doc.Modified);
  EXPECT_FALSE(list->NeedsRebuild());
  EXPECT_EQ(repaints, 2);  // going to the light, then after the dialog

  answer = true;
  SelectRow(0);
  list->PopPropItemClick();
  ASSERT_EQ(shownFor.size(), 2u);
  EXPECT_EQ(shownFor[1], (TLightList{a}));
  EXPECT_TRUE(doc.Modified);
  EXPECT_TRUE(list->NeedsRebuild());

  doc.EditInhibit = true;
  EXPECT_FALSE(offered());
  list->PopPropItemClick();
  EXPECT_EQ(shownFor.size(), 2u);
}

struct WidthCase {
  int Dpi;
  int Stored;  // at 96 dots per inch
  int Shown;
};

// Widths are stored at 96 dots per inch and shown scaled to the screen, rounding to
// the nearest pixel both ways.
TEST(LightGridWidths, StoredAt96DotsPerInch) {
  const WidthCase cases[] = {{96, 120, 120}, {144, 120, 180}, {120, 45, 56},
                             {144, 33, 50},  {72, 45, 34},    {0, 50, 50}};
  for (const WidthCase& c : cases) {
    IniFile ini;
    ini.WriteInteger("LightGrid", "ColWidth1", c.Stored);
    const TGridWidths widths = ReadLightGridWidths(ini, c.Dpi);
    EXPECT_EQ(widths[1], c.Shown) << c.Dpi;
    IniFile written;
    WriteLightGridWidths(written, widths, c.Dpi);
    EXPECT_EQ(written.ReadInteger("LightGrid", "ColWidth1", -1),
              MulDiv(c.Shown, 96, c.Dpi > 0 ? c.Dpi : 96))
        << c.Dpi;
  }
  const TGridWidths defaults = ReadLightGridWidths(IniFile(), 144);
  EXPECT_EQ(defaults, (TGridWidths{48, 180, 54, 48, 68, 68, 68, 68, 68, 68,
                                   68, 68,  68, 68, 68, 68, 68, 68, 68, 68}));
  IniFile broken;
  broken.WriteInteger("LightGrid", "ColWidth0", 0);
  broken.WriteInteger("LightGrid", "ColWidth2", -40);
  broken.WriteString("LightGrid", "ColWidth3", "wide");
  const TGridWidths read = ReadLightGridWidths(broken, 96);
  EXPECT_EQ(read[0], 32);
  EXPECT_EQ(read[2], 36);
  EXPECT_EQ(read[3], 32);
}

// The window reads the widths when shown and writes them, with its place, on closing.
TEST_F(LightListTest, ColumnWidthsAndPlaceAreKept) {
  core->Ini().WriteInteger("LightGrid", "ColWidth1", 200);
  NewDoc();
  Show();
  const int dpi = list->logicalDpiX();
  EXPECT_EQ(list->LightGrid()->columnWidth(1), MulDiv(200, dpi, 96));
  EXPECT_EQ(list->LightGrid()->columnWidth(4), MulDiv(45, dpi, 96));
  EXPECT_EQ(list->size(), QSize(300, 300));
  list->LightGrid()->setColumnWidth(5, 90);
  list->close();
  EXPECT_FALSE(list->Timer1()->isActive());
  EXPECT_EQ(core->Ini().ReadInteger("LightGrid", "ColWidth5", -1), MulDiv(90, 96, dpi));
  EXPECT_EQ(core->Ini().ReadInteger("LightGrid", "ColWidth1", -1), 200);
  EXPECT_TRUE(core->Ini().KeyExists("General", "LtListFormLeft"));
  EXPECT_EQ(core->Ini().ReadInteger("General", "LtListFormWidth", -1), 300);
}

// The tick does nothing while the main window is busy or the window is hidden.
TEST_F(LightListTest, BusyOrHiddenTicksDoNothing) {
  TStageData& doc = NewDoc();
  test::AddLight(doc, NamedType("A", {RoleRed}), 0, 0, 0);
  bool busy = true;
  list->MainBusy = [&busy] { return busy; };
  Show();
  EXPECT_EQ(list->RowCount(), 0);
  busy = false;
  list->Timer1Timer();
  EXPECT_EQ(list->RowCount(), 1);
  EXPECT_EQ(list->Timer1()->interval(), 100);
  list->hide();
  doc.ShownLevels[0] = 255;
  list->Timer1Timer();
  EXPECT_EQ(list->CellText(0, 4), "R 00");
}

// --- The window in the main window ---

class LightListInMainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { test::TestApplication(); }
  void TearDown() override {
    if (form) form->hide();
    form.reset();
    core.reset();
  }

  TLumaplotForm& Start(const std::string& settings = {}) {
    if (!settings.empty()) dir.Write("lumaplot.INI", settings);
    core = std::make_unique<TAppCore>(test::LoopbackCoreSetup(dir.Path()));
    TMainFormSetup setup;
    setup.Prompts.YesNoCancel = [](const QString&, const QString&) { return QMessageBox::No; };
    setup.Prompts.Warning = [](const QString&, const QString&) {};
    setup.Prompts.Error = [](const QString&, const QString&) {};
    setup.Prompts.Info = [](const QString&, const QString&) {};
    setup.AskMissingType = [](const std::string& name) { return name; };
    form = std::make_unique<TLumaplotForm>(*core, std::move(setup));
    form->resize(800, 600);
    form->show();
    QApplication::processEvents();
    return *form;
  }

  TStageData& AddDoc(int width = 800, int height = 600) {
    TStageData* doc = core->Documents().Add(core->NewDocument());
    doc->ScrWidth = width;
    doc->ScrHeight = height;
    core->Documents().SetCurrent(core->Documents().IndexOf(doc));
    form->FullRefresh();
    return *doc;
  }

  TLtListForm* List() const { return form->Dialogs().Find<TLtListForm>(); }

  test::TempDir dir;
  std::unique_ptr<TAppCore> core;
  std::unique_ptr<TLumaplotForm> form;
};

TEST_F(LightListInMainWindowTest, ViewMenuCommandShowsAndClosesTheList) {
  TLumaplotForm& f = Start();
  QAction* command = f.Action(TActionId::ShowList);
  EXPECT_EQ(command->text(), "灯体一覧(&L)");
  EXPECT_TRUE(command->isCheckable());
  command->trigger();
  ASSERT_NE(List(), nullptr);
  EXPECT_TRUE(List()->isVisible());
  EXPECT_TRUE(command->isChecked());
  EXPECT_TRUE(List()->windowFlags() & Qt::WindowStaysOnTopHint);
  // Default place: 100 pixels right of and below the main window's corner.
  EXPECT_EQ(List()->pos(), f.frameGeometry().topLeft() + QPoint(100, 100));
  command->trigger();
  EXPECT_FALSE(List()->isVisible());
  EXPECT_FALSE(command->isChecked());
  EXPECT_TRUE(core->Ini().KeyExists("General", "LtListFormLeft"));
}

// The list open at exit is open again at the next start.
TEST_F(LightListInMainWindowTest, TheListComesBackAtStartUp) {
  TLumaplotForm& f = Start();
  f.Action(TActionId::ShowList)->trigger();
  ASSERT_TRUE(f.close());
  EXPECT_EQ(core->Ini().ReadInteger("General", "ShowLightGrid", -1), 1);
  EXPECT_FALSE(List()->isVisible());
  form.reset();
  core.reset();

  TLumaplotForm& again = Start();
  ASSERT_NE(List(), nullptr);
  EXPECT_TRUE(List()->isVisible());
  EXPECT_TRUE(again.Action(TActionId::ShowList)->isChecked());
  List()->close();
  ASSERT_TRUE(again.close());
  IniFile saved(dir.File("lumaplot.INI"));
  saved.Load();
  EXPECT_EQ(saved.ReadInteger("General", "ShowLightGrid", -1), 0);
}

// ObjectsChanged and a switch of documents reach the list.
TEST_F(LightListInMainWindowTest, ObjectsChangedAndDocumentSwitchesRebuildTheRows) {
  TLumaplotForm& f = Start();
  TStageData& first = AddDoc();
  test::AddLight(first, NamedType("First", {RoleRed}), 0, 0, 0);
  TLightCell* gone = test::AddLight(first, NamedType("Gone", {RoleRed}), 0, 0, 1);
  TStageData& second = AddDoc();
  test::AddLight(second, NamedType("Second", {RoleRed}), 0, 0, 0);
  f.Action(TActionId::ShowList)->trigger();
  TLtListForm& list = *List();
  list.Timer1Timer();
  EXPECT_EQ(list.CellText(0, 1), "Second");

  f.Action(TActionId::ChgActData1)->trigger();
  EXPECT_TRUE(list.NeedsRebuild());
  list.Timer1Timer();
  ASSERT_EQ(list.RowCount(), 2);
  EXPECT_EQ(list.CellText(1, 1), "Gone");

  first.DeleteObject(gone);
  f.ObjectsChanged();
  EXPECT_TRUE(list.NeedsRebuild());
  list.Timer1Timer();
  EXPECT_EQ(list.RowCount(), 1);

  // The tab switches too.
  f.TabControl1()->Tabs()->setCurrentIndex(1);
  list.Timer1Timer();
  EXPECT_EQ(list.CellText(0, 1), "Second");
}

// A double-click selects the light on the plot and scrolls the plot so that the
// light's corner is at the centre of the view.
TEST_F(LightListInMainWindowTest, DoubleClickCentresThePlotOnTheLight) {
  TLumaplotForm& f = Start();
  TStageData& doc = AddDoc(3000, 2000);
  TLightCell* near = test::AddLight(doc, NamedType("Near", {RoleRed}), 20, 20, 0);
  TLightCell* far = test::AddLight(doc, NamedType("Far", {RoleRed}), 1500, 1200, 1);
  SetSelected(doc, near, true);
  doc.Primary = near;
  f.Action(TActionId::ShowList)->trigger();
  TLtListForm& list = *List();
  list.Timer1Timer();
  ASSERT_EQ(list.RowLight(0), far);

  QTableView* grid = list.LightGrid();
  const QPoint row0 = grid->visualRect(grid->model()->index(0, 1)).center();
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, row0);
  QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, row0);
  EXPECT_EQ(doc.Primary, far);
  EXPECT_EQ(doc.Selection, (TLightList{far}));
  EXPECT_FALSE(near->Selected);
  const QWidget* area = f.ScrollBox()->viewport();
  EXPECT_EQ(f.ScrollBox()->horizontalScrollBar()->value(), 1500 - area->width() / 2);
  EXPECT_EQ(f.ScrollBox()->verticalScrollBar()->value(), 1200 - area->height() / 2);
  EXPECT_EQ(grid->selectionModel()->selectedRows().value(0).row(), 0);

  // The main window's own way to the primary selects its row in the list.
  doc.Primary = near;
  ShowPrimary(f.Context());
  EXPECT_EQ(grid->selectionModel()->selectedRows().value(0).row(), 1);
  EXPECT_EQ(f.ScrollBox()->horizontalScrollBar()->value(), 0);
}

}  // namespace
}  // namespace lumaplot
