#pragma once
// The program's message boxes: modal, owned by the active window, with the stated
// icon, buttons and default captions. An empty caption takes the default.
#include <QMessageBox>
#include <QString>

namespace lumaplot {

void MsgError(const QString& text, const QString& caption = {});    // "エラー", stop icon
void MsgWarning(const QString& text, const QString& caption = {});  // "警告", exclamation
void MsgInfo(const QString& text, const QString& caption = {});     // "確認", no icon
bool MsgYesNo(const QString& text, const QString& caption = {});    // true when Yes
// Returns QMessageBox::Yes, No or Cancel.
QMessageBox::StandardButton MsgYesNoCancel(const QString& text, const QString& caption = {});

}  // namespace lumaplot
