#pragma once
// The File menu: new, open, save, save as, close and exit, and files dropped on the
// window. Every command that changes the document list runs in the busy bracket and
// ends with a full refresh. GUI thread only.
#include <string>
#include <vector>

#include <QString>

#include "model/StageData.h"

namespace lumaplot {

struct TCommandContext;

void FileNewItemClick(TCommandContext& context);
void FileOpenItemClick(TCommandContext& context);
void FileSaveItemClick(TCommandContext& context);
void FileSaveAsItemClick(TCommandContext& context);
void FileCloseExecute(TCommandContext& context);
void FileExitItemClick(TCommandContext& context);

// Opens the ".DAT" files among `paths` (folders are searched) as documents, up to
// the document limit; a file that cannot be read beeps.
void OpenDroppedFiles(TCommandContext& context, const std::vector<std::string>& paths);

// Saves `doc` to its file, or asks for one when it has none; false when it was not
// saved (cancelled or failed; a failure has been shown to the user).
bool SaveDocument(TCommandContext& context, TStageData& doc);
bool SaveDocumentAs(TCommandContext& context, TStageData& doc);

// Asks `question` about the unsaved changes of `doc` (Yes, No, Cancel). Yes saves
// it (asking for a name when it has none). True when the caller may go on: No, or
// Yes and the document was saved; false after Cancel or a save that did not happen.
bool SaveChangesFirst(TCommandContext& context, TStageData& doc, const QString& question);

// The questions of closing one document and of closing the program (the latter
// ends in "?"), for a document with or without a file name.
QString CloseDocumentQuestion(const TStageData& doc);
QString ExitQuestion(const TStageData& doc);

}  // namespace lumaplot
