#pragma once
// Filling combo boxes and list boxes from one delimited text, as the dialogs do
// with fixed captions ("タブ|ボタン|フラット"). GUI thread only.
#include <QChar>
#include <QString>
#include <QStringList>

class QComboBox;
class QListWidget;

namespace lumaplot {

// The pieces of `text` between separators, in order, up to the first empty piece:
// "a||b" gives only "a", an empty text nothing.
QStringList ItemsFromText(const QString& text, QChar separator);

// Appends ItemsFromText(text, separator) to the list's items.
void FillItemsFromText(QComboBox* items, const QString& text, QChar separator);
void FillItemsFromText(QListWidget* items, const QString& text, QChar separator);

}  // namespace lumaplot
