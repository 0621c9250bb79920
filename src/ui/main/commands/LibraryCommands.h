#pragma once
// The File menu's light list export and fixture library commands: the light list
// of the current plot written as text and shown in the user's editor, the library
// editor, and the merge of another library file. The library commands bring the
// type lists of the tool bars up to date afterwards. GUI thread only.
#include <QString>

namespace lumaplot {

struct TCommandContext;

void FileListItemClick(TCommandContext& context);
void FileLibEditItemClick(TCommandContext& context);
void FileLibMergeItemClick(TCommandContext& context);

// Merges the library file `file` into the program's library and writes the library
// (the merge command after its file dialog). Duplicates with another definition are
// asked about; the result is told to the user.
void MergeLibraryFile(TCommandContext& context, const QString& file);

// The merge question about a type name held with another definition.
QString DuplicateTypeQuestion(const QString& name);

}  // namespace lumaplot
