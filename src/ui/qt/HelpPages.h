#pragma once
// The help pages (Japanese HTML) are compiled into the program and written out to a
// per-user folder when the user asks for help, so that the desktop's browser can
// show them whatever the program was installed from; pages that are already there
// and unchanged are not rewritten. GUI thread only.
#include <QString>

namespace lumaplot {

// Writes every help page into `folder` (created when missing) and returns the path of
// the contents page; empty with the reason in `error` when a page cannot be written.
QString ExtractHelpPages(const QString& folder, QString* error = nullptr);

// The per-user folder for the help pages: the user's cache folder + "/lumaplot/help".
QString HelpFolder();

// Opens the contents page in the desktop's browser; tells the user with MsgError
// when the pages cannot be written or no browser takes them.
void ShowHelpContents();

}  // namespace lumaplot
