#include "ui/qt/ListItems.h"

#include <QComboBox>
#include <QListWidget>

namespace lumaplot {

QStringList ItemsFromText(const QString& text, QChar separator) {
  QStringList items;
  for (const QString& piece : text.split(separator)) {
    if (piece.isEmpty()) break;
    items.append(piece);
  }
  return items;
}

void FillItemsFromText(QComboBox* items, const QString& text, QChar separator) {
  items->addItems(ItemsFromText(text, separator));
}

void FillItemsFromText(QListWidget* items, const QString& text, QChar separator) {
  items->addItems(ItemsFromText(text, separator));
}

}  // namespace lumaplot
