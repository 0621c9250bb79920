#include "ui/main/commands/PropertyCommands.h"

#include "model/LightCell.h"
#include "ui/dialogs/DialogHost.h"
#include "ui/dialogs/LightPrpDlg.h"
#include "ui/dialogs/LinePrpDlg.h"
#include "ui/dialogs/ShapePrpDlg.h"
#include "ui/dialogs/TextPrpDlg.h"
#include "ui/main/commands/CommandContext.h"

namespace lumaplot {
namespace {

TObjectPrpDlg* DialogOf(TDialogHost& dialogs, int32_t kind) {
  switch (kind) {
    case KindShape:
      return &dialogs.Get<TShapePrpDlg>();
    case KindLine:
      return &dialogs.Get<TLinePrpDlg>();
    case KindText:
      return &dialogs.Get<TTextPrpDlg>();
    case KindLight:
      return &dialogs.Get<TLightPrpDlg>();
    default:
      return nullptr;
  }
}

}  // namespace

bool HasPropertyDialog(int32_t kind) {
  return kind == KindShape || kind == KindLine || kind == KindText || kind == KindLight;
}

bool ShowObjectProperties(TCommandContext& context, int32_t kind, int x, int y) {
  TStageData* doc = context.Doc();
  if (!doc || doc->EditInhibit || !HasPropertyDialog(kind)) return false;
  TObjectPrpDlg* dialog = DialogOf(context.Dialogs, kind);
  dialog->X = x;
  dialog->Y = y;
  if (dialog->ShowModal() != QDialog::Accepted) return false;
  doc->Modified = true;
  context.Host.ObjectsChanged();
  return true;
}

}  // namespace lumaplot
