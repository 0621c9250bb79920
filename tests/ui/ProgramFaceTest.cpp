// The program's face on the standard dialogs: Qt's own Japanese translations are
// loaded, so a question's buttons read はい / いいえ / キャンセル.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

#include "support/TestApplication.h"
#include "ui/qt/MessageBoxes.h"
#include "ui/qt/ProgramFace.h"

namespace lumaplot {
namespace {

// A button's text without its access key: "はい(&Y)" reads "はい".
QString Plain(QString text) {
  const int key = text.indexOf("(&");
  if (key >= 0) text.truncate(key);
  return text.remove('&');
}

TEST(ProgramFace, QuestionButtonsAreJapanese) {
  test::TestApplication();
  QStringList buttons;
  QString title;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    title = box->windowTitle();
    for (const auto button : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel}) {
      buttons << Plain(box->button(button)->text());
    }
    box->done(QMessageBox::Cancel);
  });
  EXPECT_EQ(MsgYesNoCancel("閉じますか"), QMessageBox::Cancel);
  EXPECT_EQ(buttons, QStringList({"はい", "いいえ", "キャンセル"}));
  EXPECT_EQ(title, "確認");
  EXPECT_EQ(ProgramName(), "Lumaplot");
}

}  // namespace
}  // namespace lumaplot
