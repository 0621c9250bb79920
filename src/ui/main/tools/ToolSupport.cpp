#include "ui/main/tools/ToolSupport.h"

#include "model/HitTest.h"
#include "model/ObjectDrawing.h"
#include "ui/main/PageView.h"
#include "ui/main/commands/CommandContext.h"

namespace lumaplot {

TStageData* EditableDoc(const TCommandContext& context) {
  TStageData* doc = context.Doc();
  return doc && !doc->EditInhibit ? doc : nullptr;
}

TLightCell* ObjectUnder(TStageData& doc, int x, int y) {
  const int index = ObjectAt(doc, x, y);
  return index >= 0 ? doc.Objects[static_cast<size_t>(index)] : nullptr;
}

void DropPrimary(TStageData& doc) {
  if (doc.Primary) DrawObject(doc, doc.Primary, false);
  doc.Primary = nullptr;
}

void SetPageCursor(TCommandContext& context, const QCursor& cursor) {
  QWidget* page = context.View.ScrBox();
  // Asked on every pointer move; the same cursor is not set again.
  const QCursor current = page->cursor();
  if (current.shape() == cursor.shape() &&
      (cursor.shape() != Qt::BitmapCursor ||
       current.pixmap().cacheKey() == cursor.pixmap().cacheKey())) {
    return;
  }
  page->setCursor(cursor);
}

void ShowDrawn(TCommandContext& context) { context.View.ScrBox()->ShowDrawn(); }

}  // namespace lumaplot
