#include "ui/qt/MessageBoxes.h"

#include <QApplication>

namespace lumaplot {
namespace {

QMessageBox::StandardButton Show(QMessageBox::Icon icon, const QString& text,
                                 const QString& caption, const QString& fallback,
                                 QMessageBox::StandardButtons buttons) {
  QMessageBox box(icon, caption.isEmpty() ? fallback : caption, text, buttons,
                  QApplication::activeWindow());
  box.setWindowModality(Qt::ApplicationModal);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace

void MsgError(const QString& text, const QString& caption) {
  Show(QMessageBox::Critical, text, caption, "エラー", QMessageBox::Ok);
}

void MsgWarning(const QString& text, const QString& caption) {
  Show(QMessageBox::Warning, text, caption, "警告", QMessageBox::Ok);
}

void MsgInfo(const QString& text, const QString& caption) {
  Show(QMessageBox::NoIcon, text, caption, "確認", QMessageBox::Ok);
}

bool MsgYesNo(const QString& text, const QString& caption) {
  return Show(QMessageBox::Question, text, caption, "確認", QMessageBox::Yes | QMessageBox::No) ==
         QMessageBox::Yes;
}

QMessageBox::StandardButton MsgYesNoCancel(const QString& text, const QString& caption) {
  return Show(QMessageBox::Question, text, caption, "確認",
              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
}

}  // namespace lumaplot
