#include "ui/main/commands/CommandRules.h"

#include "ui/main/commands/CommandContext.h"

namespace lumaplot {

bool Always(const TCommandContext&) { return true; }

bool HasDocument(const TCommandContext& context) { return context.Doc() != nullptr; }

bool BelowDocumentLimit(const TCommandContext& context) { return !context.Core.Documents().Full(); }

bool Editable(const TCommandContext& context) {
  return context.Doc() != nullptr && !context.Doc()->EditInhibit;
}

bool Movable(const TCommandContext& context) {
  return Editable(context) && !context.Doc()->InhibitMove;
}

bool HasSelection(const TCommandContext& context) {
  return context.Doc() != nullptr && !context.Doc()->Selection.empty();
}

}  // namespace lumaplot
