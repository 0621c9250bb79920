#include "ui/main/tools/SelectTool.h"

#include <QComboBox>

#include "model/HitTest.h"
#include "model/ObjectDrawing.h"
#include "model/Selection.h"
#include "ui/main/MainBars.h"

namespace lumaplot {
namespace {

bool IsSelectedAmongSeveral(const TStageData& doc, const TLightCell* cell) {
  return doc.Selection.size() >= 2 && cell->Selected;
}

// Selects every light whose centre lies on `line`, in list order.
void SelectLightsOnLine(TStageData& doc, TLightCell& line) {
  for (TLightCell* cell : doc.Objects) {
    if (cell->Kind != KindLight) continue;
    if (HitTest(line, cell->X1 + cell->Width / 2, cell->Y1 + cell->Height / 2)) {
      SetSelected(doc, cell, true);
    }
  }
}

// Takes the hand mark off the primary object; no object is primary afterwards.
void DropPrimary(TStageData& doc) {
  if (doc.Primary) DrawObject(doc, doc.Primary, false);
  doc.Primary = nullptr;
}

}  // namespace

void TSelectTool::Activate() {
  context_.Bars.LightCombo()->setEnabled(false);
  context_.Bars.ChCombo()->setEnabled(false);
  context_.Edit.BandSuppress = false;
  context_.Edit.MoveSuppress = false;
}

void TSelectTool::Press(const TToolEvent& event) {
  TStageData& doc = *context_.Doc();
  if (event.Button != Qt::LeftButton) return;
  const int index = ObjectAt(doc, event.X, event.Y);
  if (index >= 0) {
    PressOnObject(doc, doc.Objects[static_cast<size_t>(index)], event);
  } else {
    PressOnPage(doc, event);
  }
}

void TSelectTool::PressOnObject(TStageData& doc, TLightCell* cell, const TToolEvent& event) {
  TLightCell& addTemplate = context_.Edit.AddTemplate;
  const int32_t startCh = addTemplate.StartCh;
  addTemplate = *cell;
  addTemplate.StartCh = startCh;
  if (cell->Kind == KindLight) {
    QComboBox* types = context_.Bars.LightCombo();
    const int found = types->findText(QString::fromStdString(cell->Fixture.Name));
    if (found >= 0) types->setCurrentIndex(found);
  }

  if (event.Modifiers & Qt::ShiftModifier) {
    SetSelected(doc, cell, !cell->Selected);
  } else if (!IsSelectedAmongSeveral(doc, cell)) {
    SelectAll(doc, false);
    SetSelected(doc, cell, true);
  }
  if (event.Modifiers & Qt::ControlModifier && cell->Kind == KindLine &&
      doc.Selection.size() == 1 && cell->Selected) {
    SelectLightsOnLine(doc, *cell);
  }

  DropPrimary(doc);
  cell->SetNeedsDraw();
}

void TSelectTool::PressOnPage(TStageData& doc, const TToolEvent& event) {
  if (context_.Edit.BandSuppress || context_.Edit.Rotating) return;
  if (!(event.Modifiers & Qt::ShiftModifier)) {
    SelectAll(doc, false);
    context_.Bars.SetStatusText(3, {});
    DropPrimary(doc);
  }
}

}  // namespace lumaplot
