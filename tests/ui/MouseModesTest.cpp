// Editing the plot with the mouse on the page of the main window: the six modes,
// their commands, cursors and lists, and the press, move and release rules, driven
// with mouse events and key modifiers on the page box.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "model/Selection.h"
#include "model/StageFile.h"
#include "support/EditingForm.h"
#include "ui/dialogs/ShapePrpDlg.h"
#include "ui/dialogs/TextPrpDlg.h"
#include "ui/main/MainBars.h"
#include "ui/main/tools/LineTool.h"
#include "ui/main/tools/ToolManager.h"
#include "ui/qt/NumberEdit.h"

namespace lumaplot {
namespace {

using test::AddLight;
using test::AddLine;
using test::AddText;

class MouseModesTest : public test::EditingForm {
 public:
  const TLibItem& Type(const char* name) {
    const TLightLib& library = core->Library();
    return library.Items[library.IndexOfName(name)];
  }
  TLightCell* Light(const char* type, int x, int y, int startCh = kNotPatched) {
    return AddLight(Doc(), Type(type), x, y, startCh);
  }
  QComboBox* Channels() { return form->Bars().ChCombo(); }
  QComboBox* Types() { return form->Bars().LightCombo(); }
  TLightList LightsOf(const TStageData& doc) {
    TLightList lights;
    for (TLightCell* cell : doc.Objects) {
      if (cell->Kind == KindLight) lights.push_back(cell);
    }
    return lights;
  }
};

struct TPoint2 {
  int X, Y;
  friend bool operator==(const TPoint2&, const TPoint2&) = default;
};

TPoint2 At(const TLightCell* cell) { return {cell->X1, cell->Y1}; }

// The press, move and release rules, one case a row: the mode, the settings, the
// plot, what the mouse does, and what the plot, the selection and the program's
// warnings are afterwards.
TEST_F(MouseModesTest, PressMoveAndReleaseRules) {
  using Objects = std::vector<TLightCell*>;
  struct TCase {
    const char* what;
    TActionId mode;
    const char* settings;
    std::function<Objects(MouseModesTest&)> plot;
    std::function<void(MouseModesTest&)> mouse;
    std::function<void(MouseModesTest&, const Objects&)> check;
  };
  const TCase cases[] = {
      {"two overlapping lights: the later one is hit", TActionId::ModeNormal, "",
       [](MouseModesTest& t) -> Objects {
         return {t.Light("Scan", 100, 100), t.Light("PAR", 110, 110)};
       },
       [](MouseModesTest& t) { t.Click(115, 115); },
       [](MouseModesTest& t, const Objects& o) {
         EXPECT_EQ(t.Doc().Selection, (TLightList{o[1]}));
         EXPECT_EQ(t.form->Edit().AddTemplate.Fixture.Name, "PAR");
         EXPECT_EQ(t.Types()->currentText(), "PAR");
         EXPECT_FALSE(t.Doc().Modified);
       }},
      {"Shift takes a selected object out", TActionId::ModeNormal, "",
       [](MouseModesTest& t) -> Objects {
         Objects o{t.Light("PAR", 100, 100), t.Light("PAR", 200, 100)};
         for (TLightCell* cell : o) SetSelected(t.Doc(), cell, true);
         return o;
       },
       [](MouseModesTest& t) { t.Click(105, 105, Qt::ShiftModifier); },
       [](MouseModesTest& t, const Objects& o) {
         EXPECT_EQ(t.Doc().Selection, (TLightList{o[1]}));
       }},
      {"a click on one of several selected keeps them", TActionId::ModeNormal, "",
       [](MouseModesTest& t) -> Objects {
         Objects o{t.Light("PAR", 100, 100), t.Light("PAR", 200, 100)};
         for (TLightCell* cell : o) SetSelected(t.Doc(), cell, true);
         return o;
       },
       [](MouseModesTest& t) { t.Click(205, 105); },
       [](MouseModesTest& t, const Objects& o) {
         EXPECT_EQ(t.Doc().Selection, (TLightList{o[0], o[1]}));
       }},
      {"Shift on the empty page keeps the selection and bands", TActionId::ModeNormal, "",
       [](MouseModesTest& t) -> Objects {
         Objects o{t.Light("PAR", 100, 100), t.Light("PAR", 300, 300)};
         SetSelected(t.Doc(), o[0], true);
         return o;
       },
       [](MouseModesTest& t) { t.Drag(250, 250, 350, 350, Qt::ShiftModifier); },
       [](MouseModesTest& t, const Objects& o) {
         EXPECT_EQ(t.Doc().Selection, (TLightList{o[0], o[1]}));
         EXPECT_FALSE(t.form->Edit().RubberBand);
       }},
      {"a band alone selects only what it encloses", TActionId::ModeNormal, "",
       [](MouseModesTest& t) -> Objects {
         Objects o{t.Light("PAR", 100, 100), t.Light("PAR", 300, 300), t.Light("PAR", 320, 300)};
         SetSelected(t.Doc(), o[0], true);
         return o;
       },
       [](MouseModesTest& t) { t.Drag(330, 330, 290, 290); },
       [](MouseModesTest& t, const Objects& o) {
         EXPECT_EQ(t.Doc().Selection, (TLightList{o[1]}));  // o[2] reaches past the band
       }},
      {"Ctrl on a line takes the lights centred on it", TActionId::ModeNormal, "",
       [](MouseModesTest& t) -> Objects {
         return {AddLine(t.Doc(), 0, 200, 600, 200), t.Light("PAR", 90, 190),
                 t.Light("PAR", 200, 300), t.Light("Scan", 285, 190), t.Light("PAR", 490, 190)};
       },
       [](MouseModesTest& t) { t.Click(50, 200, Qt::ControlModifier); },
       [](MouseModesTest& t, const Objects& o) {
         EXPECT_EQ(t.Doc().Selection, (TLightList{o[0], o[1], o[3], o[4]}));
       }},
      {"a drag moves the selection and can be taken back", TActionId::ModeNormal, "",
       [](MouseModesTest& t) -> Objects {
         Objects o{t.Light("PAR", 100, 100), t.Light("PAR", 200, 100), t.Light("PAR", 300, 100)};
         SetSelected(t.Doc(), o[0], true);
         SetSelected(t.Doc(), o[1], true);
         return o;
       },
       [](MouseModesTest& t) {
         t.Press(105, 105);
         t.Move(115, 110);
         t.Move(125, 115);
         t.Release(125, 115);
       },
       [](MouseModesTest& t, const Objects& o) {
         EXPECT_EQ(At(o[0]), (TPoint2{120, 110}));
         EXPECT_EQ(At(o[1]), (TPoint2{220, 110}));
         EXPECT_EQ(At(o[2]), (TPoint2{300, 100}));
         EXPECT_FALSE(o[0]->Moving());
         EXPECT_TRUE(t.Doc().Modified);
         EXPECT_EQ(o[0]->UndoCount, 1) << "one push for the whole drag";
         EXPECT_FALSE(t.form->Edit().MoveArmed);
       }},
      {"no move while moving is inhibited", TActionId::ModeNormal, "",
       [](MouseModesTest& t) -> Objects {
         t.Doc().InhibitMove = true;
         return {t.Light("PAR", 100, 100)};
       },
       [](MouseModesTest& t) { t.Drag(105, 105, 155, 155); },
       [](MouseModesTest& t, const Objects& o) {
         EXPECT_EQ(At(o[0]), (TPoint2{100, 100}));
         EXPECT_EQ(t.Doc().Selection, (TLightList{o[0]}));
         EXPECT_FALSE(t.Doc().Modified);
       }},
      {"the release snaps to the grid", TActionId::ModeNormal,
       "[General]\r\nSnapGrid=1\r\nGridSize=20\r\n",
       [](MouseModesTest& t) -> Objects { return {t.Light("PAR", 20, 20)}; },
       [](MouseModesTest& t) { t.Drag(25, 25, 36, 54); },  // to (31, 49)
       [](MouseModesTest&, const Objects& o) {
         EXPECT_EQ(At(o[0]), (TPoint2{40, 40}));
         EXPECT_EQ(o[0]->UndoCount, 1);
       }},
      {"a click alone snaps, and counts as a change", TActionId::ModeNormal,
       "[General]\r\nSnapGrid=1\r\nGridSize=20\r\n",
       [](MouseModesTest& t) -> Objects { return {t.Light("PAR", -7, 5)}; },
       [](MouseModesTest& t) { t.Click(5, 10); },
       [](MouseModesTest& t, const Objects& o) {
         EXPECT_EQ(At(o[0]), (TPoint2{0, 0}));
         EXPECT_TRUE(t.Doc().Modified);
         EXPECT_TRUE(t.Doc().CanUndo);
       }},
      {"a light that would leave the page stays", TActionId::ModeNormal, "",
       [](MouseModesTest& t) -> Objects {
         Objects o{t.Light("PAR", 770, 100), t.Light("PAR", 100, 100)};
         for (TLightCell* cell : o) SetSelected(t.Doc(), cell, true);
         return o;
       },
       [](MouseModesTest& t) { t.Drag(105, 105, 125, 95); },
       [](MouseModesTest&, const Objects& o) {
         EXPECT_EQ(At(o[0]), (TPoint2{770, 100}));  // not even the upward part
         EXPECT_EQ(At(o[1]), (TPoint2{120, 90}));
       }},
      {"snapping never takes a light off the page", TActionId::ModeNormal,
       "[General]\r\nSnapGrid=1\r\nGridSize=20\r\n",
       [](MouseModesTest& t) -> Objects { return {t.Light("Scan", 750, 100)}; },
       // To 770: its right edge is on the page's; rounding up to 780 would pass it.
       [](MouseModesTest& t) { t.Drag(755, 105, 775, 105); },
       [](MouseModesTest&, const Objects& o) {
         EXPECT_EQ(At(o[0]), (TPoint2{760, 100}));
       }},
      {"adding steps the channel on", TActionId::ModeAdd, "",
       [](MouseModesTest& t) -> Objects {
         t.Types()->setCurrentIndex(t.Types()->findText("Scan"));
         t.Channels()->setCurrentIndex(10);
         return {};
       },
       [](MouseModesTest& t) { t.Click(100, 100); },
       [](MouseModesTest& t, const Objects&) {
         ASSERT_EQ(t.Doc().Objects.size(), 1u);
         const TLightCell& light = *t.Doc().Objects[0];
         EXPECT_EQ(light.Fixture.Name, "Scan");
         EXPECT_EQ(light.StartCh, 10);
         EXPECT_EQ(At(&light), (TPoint2{100, 100}));
         EXPECT_EQ((std::pair(light.Width, light.Height)), (std::pair(30, 20)));
         EXPECT_EQ(t.Channels()->currentIndex(), 16);
         EXPECT_TRUE(t.Doc().Modified);
         EXPECT_TRUE(t.warnings.isEmpty());
       }},
      {"the last channels are taken with a warning", TActionId::ModeAdd, "",
       [](MouseModesTest& t) -> Objects {
         t.Types()->setCurrentIndex(t.Types()->findText("PAR"));
         t.Channels()->setCurrentIndex(4093);
         return {};
       },
       [](MouseModesTest& t) { t.Click(100, 100); },
       [](MouseModesTest& t, const Objects&) {
         ASSERT_EQ(t.Doc().Objects.size(), 1u);
         EXPECT_EQ(t.Doc().Objects[0]->StartCh, 4093);
         EXPECT_EQ(t.Channels()->currentIndex(), 4093);
         EXPECT_EQ(t.warnings, QStringList({"最終チャンネルに達しました"}));
       }},
      {"a light past the last channel is refused", TActionId::ModeAdd, "",
       [](MouseModesTest& t) -> Objects {
         t.Types()->setCurrentIndex(t.Types()->findText("PAR"));
         t.Channels()->setCurrentIndex(4094);
         return {};
       },
       [](MouseModesTest& t) { t.Click(100, 100); },
       [](MouseModesTest& t, const Objects&) {
         EXPECT_TRUE(t.Doc().Objects.empty());
         EXPECT_FALSE(t.Doc().Modified);
         EXPECT_EQ(t.warnings, QStringList({"チャンネル範囲がオーバーします"}));
       }},
      {"a channel typed into the list is the one taken", TActionId::ModeAdd, "",
       [](MouseModesTest& t) -> Objects {
         t.Types()->setCurrentIndex(t.Types()->findText("PAR"));
         t.Channels()->setCurrentIndex(0);
         t.Channels()->setEditText("b001");
         return {};
       },
       [](MouseModesTest& t) { t.Click(100, 100); },
       [](MouseModesTest& t, const Objects&) {
         ASSERT_EQ(t.Doc().Objects.size(), 1u);
         EXPECT_EQ(t.Doc().Objects[0]->StartCh, 512);
         EXPECT_EQ(t.Channels()->currentText(), "B004");
       }},
      {"a click on a light only picks its type", TActionId::ModeAdd, "",
       [](MouseModesTest& t) -> Objects {
         Objects o{t.Light("Scan", 100, 100)};
         t.Types()->setCurrentIndex(t.Types()->findText("PAR"));
         return o;
       },
       [](MouseModesTest& t) { t.Click(105, 105); },
       [](MouseModesTest& t, const Objects&) {
         EXPECT_EQ(t.Doc().Objects.size(), 1u);
         EXPECT_EQ(t.Types()->currentText(), "Scan");
       }},
      {"a light added on the grid snaps down", TActionId::ModeAdd,
       "[General]\r\nSnapGrid=1\r\nGridSize=20\r\n", [](MouseModesTest&) -> Objects { return {}; },
       [](MouseModesTest& t) { t.Click(33, 47); },
       [](MouseModesTest& t, const Objects&) {
         ASSERT_EQ(t.Doc().Objects.size(), 1u);
         EXPECT_EQ(At(t.Doc().Objects[0]), (TPoint2{20, 40}));
       }},
      {"a line with Shift is horizontal", TActionId::ModeLine,
       "[Default]\r\nLineSize=3\r\nLineColor=255\r\n",
       [](MouseModesTest&) -> Objects { return {}; },
       [](MouseModesTest& t) {
         t.Press(10, 10);
         t.Move(40, 30);
         t.Move(50, 20, Qt::ShiftModifier);
         EXPECT_EQ(t.form->Edit().LastMouseX, 50);
         EXPECT_EQ(t.form->Edit().LastMouseY, 10);
         t.Release(50, 20, Qt::ShiftModifier);
       },
       [](MouseModesTest& t, const Objects&) {
         ASSERT_EQ(t.Doc().Objects.size(), 1u);
         const TLightCell& line = *t.Doc().Objects[0];
         EXPECT_EQ(line.Kind, KindLine);
         EXPECT_EQ((std::vector<int>{line.X1, line.Y1, line.X2, line.Y2}),
                   (std::vector<int>{10, 10, 50, 10}));
         EXPECT_EQ(line.Size, 3);
         EXPECT_EQ(line.Color, 255);
         EXPECT_TRUE(t.Doc().Modified);
         EXPECT_FALSE(t.form->Edit().DrawingLine);
       }},
      {"a line without length is no line", TActionId::ModeLine, "",
       [](MouseModesTest&) -> Objects { return {}; },
       [](MouseModesTest& t) { t.Drag(30, 30, 30, 30); },
       [](MouseModesTest& t, const Objects&) {
         EXPECT_TRUE(t.Doc().Objects.empty());
         EXPECT_FALSE(t.Doc().Modified);
       }},
      {"after a double-click no line starts until the mode is chosen", TActionId::ModeLine, "",
       [](MouseModesTest&) -> Objects { return {}; },
       [](MouseModesTest& t) {
         t.DoubleClick(30, 30);
         t.Drag(30, 30, 80, 80);
         EXPECT_TRUE(t.Doc().Objects.empty());
         t.form->Action(TActionId::ModeLine)->trigger();
         t.Drag(30, 30, 80, 80);
       },
       [](MouseModesTest& t, const Objects&) { EXPECT_EQ(t.Doc().Objects.size(), 1u); }},
      {"delete mode deletes the topmost object with any button", TActionId::ModeDel, "",
       [](MouseModesTest& t) -> Objects {
         return {t.Light("Scan", 100, 100), t.Light("PAR", 110, 110)};
       },
       [](MouseModesTest& t) {
         t.Press(115, 115, {}, Qt::RightButton);
         t.Release(115, 115, {}, Qt::RightButton);
       },
       [](MouseModesTest& t, const Objects& o) {
         EXPECT_EQ(t.Doc().Objects, (TLightList{o[0]}));
         EXPECT_TRUE(t.Doc().Modified);
       }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    TearDown();
    warnings.clear();
    Start(c.settings);
    form->Action(c.mode)->trigger();
    const Objects objects = c.plot(*this);
    c.mouse(*this);
    c.check(*this, objects);
  }
}

TEST_F(MouseModesTest, ModeCommandsAreGroupedOnToolBar2WithTheirCursors) {
  TLumaplotForm& f = Start();
  const struct {
    TActionId id;
    const char* caption;
    const char* hint;
    bool lightList, channelList;
  } modes[] = {
      {TActionId::ModeNormal, "通常編集モード", "通常編集モード", false, false},
      {TActionId::ModeAdd, "新規追加モード", "灯体の新規追加モード", true, true},
      {TActionId::ModeText, "テキスト追加モード", "テキストの新規追加", false, false},
      {TActionId::ModeLine, "ライン追加モード", "ラインの新規追加(Shiftキーで水平・垂直)", false,
       false},
      {TActionId::ModeShape, "図形追加モード", "図形の新規追加", false, false},
      {TActionId::ModeDel, "削除モード", "削除モード", false, false},
  };
  const QList<QAction*> bar = f.Bars().ToolBar(1)->actions();
  for (const auto& mode : modes) {
    QAction* action = f.Action(mode.id);
    SCOPED_TRACE(action->objectName().toStdString());
    EXPECT_EQ(action->text(), mode.caption);
    EXPECT_EQ(action->toolTip(), mode.hint);
    EXPECT_TRUE(bar.contains(action));
    EXPECT_TRUE(action->isEnabled());
    EXPECT_FALSE(action->icon().isNull());
    action->trigger();
    EXPECT_TRUE(action->isChecked());
    EXPECT_EQ(std::count_if(std::begin(modes), std::end(modes),
                            [&f](const auto& m) { return f.Action(m.id)->isChecked(); }),
              1);
    EXPECT_EQ(Types()->isEnabled(), mode.lightList);
    EXPECT_EQ(Channels()->isEnabled(), mode.channelList);
    const QCursor cursor = Page()->cursor();
    if (mode.id == TActionId::ModeNormal) {
      EXPECT_EQ(cursor.shape(), Qt::ArrowCursor);
    } else {
      // Drawn for the program, pointing with its tip.
      EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
      EXPECT_EQ(cursor.hotSpot(), QPoint(0, 0));
      EXPECT_EQ(cursor.pixmap().size(), QSize(32, 32));
    }
  }
  EXPECT_EQ(f.Bars().LastChBtn()->text(), "↓");
  EXPECT_EQ(f.Bars().LastChBtn()->toolTip(), "最初の空きチャンネル");

  // Only the normal mode can be chosen without a plot or with a read-only one.
  Doc().EditInhibit = true;
  f.UpdateActions();
  EXPECT_TRUE(f.Action(TActionId::ModeNormal)->isEnabled());
  EXPECT_FALSE(f.Action(TActionId::ModeAdd)->isEnabled());
  EXPECT_FALSE(f.Action(TActionId::ModeDel)->isEnabled());
  // A read-only plot keeps its objects even in a mode chosen before.
  TLightCell* light = Light("PAR", 100, 100);
  Click(105, 105);
  EXPECT_EQ(Doc().Objects, (TLightList{light}));
}

TEST_F(MouseModesTest, AddModeShowsTheTemplatesTypeAndTheCursorOverLights) {
  TLumaplotForm& f = Start();
  TLightCell* scan = Light("Scan", 100, 100);
  scan->FilterColor = 0x00FF00;
  scan->Flags = kFlagShowLevel;
  Click(105, 105);  // normal mode: the clicked light is the template
  f.Action(TActionId::ModeAdd)->trigger();
  EXPECT_TRUE(Doc().Selection.empty());
  EXPECT_EQ(Types()->currentText(), "Scan");
  EXPECT_EQ(Types()->count(), 3);
  Move(105, 105, {}, false);
  EXPECT_EQ(Page()->cursor().shape(), Qt::ArrowCursor);
  Move(300, 300, {}, false);
  EXPECT_EQ(Page()->cursor().shape(), Qt::BitmapCursor);

  Channels()->setCurrentIndex(20);
  Click(300, 300);
  const TLightCell* added = Doc().Objects.back();
  EXPECT_EQ(added->Fixture.Name, "Scan");
  EXPECT_EQ(added->Flags, static_cast<uint32_t>(kFlagShowLevel));
  EXPECT_EQ(added->FilterColor, kNoColor);
  EXPECT_EQ(added->StartCh, 20);
}

TEST_F(MouseModesTest, TheArrowFindsTheFirstFreeChannel) {
  TLumaplotForm& f = Start();
  AddText(Doc(), 10, 10, "Stage");
  f.Bars().LastChBtn()->click();
  EXPECT_EQ(Channels()->currentIndex(), 2);  // the text holds [-1, 2)
  EXPECT_EQ(Channels()->currentText(), "A003");
  Light("PAR", 100, 100, 2);
  f.Bars().LastChBtn()->click();
  EXPECT_EQ(Channels()->currentIndex(), 5);
  for (int start = 0; start < kStageChannels; start += 3) {
    Doc().AppendObject(test::NewLight(Type("PAR"), 300, 300, start));
  }
  f.Bars().LastChBtn()->click();
  EXPECT_EQ(warnings, QStringList({"空チャンネルがありません"}));
  EXPECT_EQ(Channels()->currentIndex(), 5);
}

TEST_F(MouseModesTest, DeletedObjectsAreReachableFromNowhere) {
  TLumaplotForm& f = Start();
  TLightCell* a = Light("PAR", 100, 100);
  TLightCell* b = Light("PAR", 200, 100);
  SelectAll(Doc(), true);
  Doc().Primary = a;
  Click(105, 105);  // normal mode: the template becomes a copy of a
  SelectAll(Doc(), true);
  Doc().Primary = a;
  f.Action(TActionId::ModeDel)->trigger();
  Click(105, 105);
  EXPECT_EQ(Doc().Objects, (TLightList{b}));
  EXPECT_EQ(Doc().Selection, (TLightList{b}));
  EXPECT_EQ(Doc().Primary, nullptr);
  // The refresh tick reads the selection for the status bar; the page is painted anew.
  f.Timer1Timer();
  Page()->repaint();
  EXPECT_EQ(f.StatusText(2).left(3), "PAR");
  EXPECT_EQ(f.Edit().AddTemplate.X1, 100);  // the template is a copy of its own
  Click(205, 105);
  EXPECT_TRUE(Doc().Objects.empty());
  EXPECT_TRUE(Doc().Selection.empty());
  f.Timer1Timer();
  EXPECT_EQ(f.StatusText(2), "0個の灯体を選択中");
}

TEST_F(MouseModesTest, BandAndLineAreDrawnOverThePageNotIntoIt) {
  TLumaplotForm& f = Start();
  Page()->repaint();
  const QImage before = Page()->Surface().Snapshot();
  Press(100, 100);
  Move(200, 150);
  EXPECT_TRUE(f.Edit().RubberBand);
  EXPECT_EQ(Page()->Surface().Image(), before);
  QImage shown = Page()->grab().toImage();
  const QColor inverted = QColor(0xFF, 0xFF, 0xFF);  // black page, inverted
  EXPECT_EQ(shown.pixelColor(150, 100), inverted);
  EXPECT_EQ(shown.pixelColor(150, 149), inverted);
  EXPECT_EQ(shown.pixelColor(100, 120), inverted);
  EXPECT_EQ(shown.pixelColor(199, 120), inverted);
  EXPECT_EQ(shown.pixelColor(150, 120), QColor(Qt::black));
  Move(120, 110);  // the band shrinks: its old edges are gone
  shown = Page()->grab().toImage();
  EXPECT_EQ(shown.pixelColor(150, 149), QColor(Qt::black));
  EXPECT_EQ(shown.pixelColor(110, 109), inverted);
  Release(120, 110);
  EXPECT_FALSE(Page()->HasOverlay());
  EXPECT_EQ(Page()->grab().toImage().pixelColor(110, 109), QColor(Qt::black));

  f.Action(TActionId::ModeLine)->trigger();
  Page()->repaint();
  Press(10, 10);
  Move(50, 20, Qt::ShiftModifier);
  EXPECT_EQ(f.StatusText(2), "  直線 (  10,  10 -   50,  10)  L=  40");
  EXPECT_EQ(Page()->grab().toImage().pixelColor(30, 10), inverted);
  EXPECT_EQ(Page()->Surface().Image(), before);
  f.Timer1Timer();  // the tick leaves the line's panel alone
  EXPECT_EQ(f.StatusText(2), "  直線 (  10,  10 -   50,  10)  L=  40");
  Move(40, 40);
  EXPECT_EQ(f.StatusText(2), "  直線 (  10,  10 -   40,  40)  L=  42");
  Release(40, 40);
  EXPECT_FALSE(Page()->HasOverlay());
  EXPECT_EQ(TLineTool::LineStatusText({1000, 2000}, {-3, 5}),
            "  直線 (1000,2000 -   -3,   5)  L=2232");
}

TEST_F(MouseModesTest, TheSelectionTurnsTowardsThePointerWhileRotating) {
  TLumaplotForm& f = Start("[General]\r\nMinAngle=5\r\n");
  TLightCell* pivot = Light("Scan", 100, 100);  // centre (115, 110)
  TLightCell* other = Light("PAR", 200, 100);
  SelectAll(Doc(), true);
  f.Edit().Rotating = true;
  Move(50, 110, {}, false);  // left of the centre on its row
  EXPECT_EQ(pivot->Angle, 180);
  EXPECT_EQ(other->Angle, 180);
  EXPECT_EQ(Doc().Primary, pivot);
  Move(165, 160, Qt::ShiftModifier, false);
  EXPECT_EQ(pivot->Angle, 45);
  EXPECT_TRUE(pivot->Moving());
  // A press, even on the pivot, moves nothing; its release ends the rotation.
  Press(115, 110);
  EXPECT_FALSE(f.Edit().MoveArmed);
  Release(115, 110);
  EXPECT_FALSE(f.Edit().Rotating);
  EXPECT_FALSE(pivot->Moving());
  EXPECT_TRUE(Doc().Modified);
  EXPECT_EQ(pivot->UndoCount, 1);
  Move(50, 110, {}, false);
  EXPECT_EQ(pivot->Angle, 45);
}

TEST_F(MouseModesTest, RightClickOpensTheCanvasMenu) {
  Start();
  auto* popup = form->findChild<QMenu*>("PopupMenu1");
  ASSERT_NE(popup, nullptr);
  Press(100, 100, {}, Qt::RightButton);
  EXPECT_FALSE(popup->isVisible()) << "nothing to offer yet";
  popup->addAction("probe");
  Press(100, 100, {}, Qt::RightButton);
  EXPECT_TRUE(popup->isVisible());
  popup->hide();
  // Not in the middle of a band.
  Press(100, 100);
  Move(150, 150);
  Press(150, 150, {}, Qt::RightButton);
  EXPECT_FALSE(popup->isVisible());
  Release(150, 150);
}

TEST_F(MouseModesTest, TextAndShapeModesMakeObjectsThroughTheirDialogs) {
  TLumaplotForm& f = Start();
  f.Action(TActionId::ModeText)->trigger();
  bool busyInDialog = false;
  WhenShown<TTextPrpDlg>([&](TTextPrpDlg& dialog) {
    busyInDialog = f.Busy();
    EXPECT_EQ(dialog.windowTitle(), "テキストの新規追加");
    dialog.findChild<QLineEdit*>("TextEdit")->setText("Stage left");
    dialog.findChild<QPushButton*>("OKBtn")->click();
  });
  Click(40, 50);
  EXPECT_TRUE(shown);
  EXPECT_TRUE(busyInDialog);
  ASSERT_EQ(Doc().Objects.size(), 1u);
  EXPECT_EQ(Doc().Objects[0]->Text, "Stage left");
  EXPECT_EQ(At(Doc().Objects[0]), (TPoint2{40, 50}));
  EXPECT_TRUE(Doc().Modified);

  // A double-click on the text opens it; afterwards no click makes texts until the
  // mode is chosen again.
  WhenShown<TTextPrpDlg>([](TTextPrpDlg& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "テキストのプロパティ");
    dialog.reject();
  });
  Press(45, 55);  // the first click of the double-click opens it too
  int opened = shown ? 1 : 0;
  Release(45, 55);
  WhenShown<TTextPrpDlg>([](TTextPrpDlg& dialog) { dialog.reject(); });
  QTest::mouseDClick(Page(), Qt::LeftButton, {}, QPoint(45, 55));
  opened += shown ? 1 : 0;
  Release(45, 55);
  EXPECT_EQ(opened, 2);
  WhenShown<TTextPrpDlg>([](TTextPrpDlg& dialog) { dialog.reject(); });
  Click(300, 300);
  EXPECT_FALSE(shown);
  QApplication::processEvents();
  EXPECT_EQ(Doc().Objects.size(), 1u);

  f.Action(TActionId::ModeShape)->trigger();
  WhenShown<TShapePrpDlg>([](TShapePrpDlg& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "図形の新規追加");
    dialog.findChild<QPushButton*>("OKBtn")->click();
  });
  Click(200, 100);
  ASSERT_EQ(Doc().Objects.size(), 2u);
  const TLightCell& shape = *Doc().Objects[0];
  EXPECT_EQ(shape.Kind, KindShape);
  EXPECT_EQ((std::vector<int>{shape.X1, shape.Y1, shape.X2, shape.Y2}),
            (std::vector<int>{200, 100, 300, 200}));
}

TEST_F(MouseModesTest, CancelledNewObjectsLeaveThePlotAsItWas) {
  TLumaplotForm& f = Start();
  TLightCell* light = Light("PAR", 500, 500);
  for (const bool modifiedBefore : {false, true}) {
    for (const TActionId mode : {TActionId::ModeText, TActionId::ModeShape}) {
      SCOPED_TRACE(std::string(modifiedBefore ? "modified" : "unmodified") +
                   (mode == TActionId::ModeText ? " text" : " shape"));
      Doc().Modified = modifiedBefore;
      f.Action(mode)->trigger();
      const auto cancel = [](QDialog& dialog) {
        dialog.findChild<QPushButton*>("CancelBtn")->click();
      };
      if (mode == TActionId::ModeText) {
        WhenShown<TTextPrpDlg>(cancel);
      } else {
        WhenShown<TShapePrpDlg>(cancel);
      }
      Click(100, 100);
      EXPECT_TRUE(shown);
      EXPECT_EQ(Doc().Objects, (TLightList{light}));
      EXPECT_EQ(Doc().Modified, modifiedBefore);
    }
  }
}

TEST_F(MouseModesTest, ADrawnRigIsSavedAndReadBack) {
  TLumaplotForm& f = Start();
  f.Action(TActionId::ModeAdd)->trigger();
  Types()->setCurrentIndex(Types()->findText("PAR"));
  Channels()->setCurrentIndex(0);
  for (int x : {100, 140, 180}) Click(x, 100);
  f.Action(TActionId::ModeLine)->trigger();
  Drag(90, 130, 220, 135, Qt::ShiftModifier);
  saveAs = QString::fromStdString(dir.File("rig.dat"));
  FileSaveAsItemClick(f.Context());
  EXPECT_FALSE(Doc().Modified);

  TStageData read;
  TStageReadContext context;
  context.Library = &core->Library();
  ASSERT_TRUE(LoadStage(read, saveAs.toStdString(), context));
  ASSERT_EQ(read.Objects.size(), 4u);
  EXPECT_EQ(read.Objects[0]->Kind, KindLine);
  EXPECT_EQ((std::vector<int>{read.Objects[0]->X1, read.Objects[0]->Y1, read.Objects[0]->X2,
                              read.Objects[0]->Y2}),
            (std::vector<int>{90, 130, 220, 130}));
  std::vector<int> channels;
  for (const TLightCell* light : LightsOf(read)) channels.push_back(light->StartCh);
  EXPECT_EQ(channels, (std::vector<int>{0, 3, 6}));
  EXPECT_EQ(read.Objects[1]->Fixture.Name, "PAR");
}

}  // namespace
}  // namespace lumaplot
