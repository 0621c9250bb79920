#include "ui/qt/NumberEdit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include "support/TestApplication.h"

namespace lumaplot {
namespace {

bool ShownRed(const NumberEdit& edit) {
  return edit.Edit()->palette().color(QPalette::Text) == QColor(Qt::red);
}

// A window with a number field and a plain field to move the focus to; the number
// field's warnings are collected instead of shown.
class NumberEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto* layout = new QVBoxLayout(&window_);
    edit_ = new NumberEdit(&window_);
    other_ = new QLineEdit(&window_);
    layout->addWidget(edit_);
    layout->addWidget(other_);
    edit_->SetRange(1, 90);
    edit_->SetUpDownValue(20);
    edit_->SetWarningFunction([this](const QString& text) { warnings_.append(text); });
  }

  void ShowAndFocusEdit() {
    window_.show();
    window_.activateWindow();
    QApplication::processEvents();
    edit_->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    ASSERT_TRUE(edit_->Edit()->hasFocus());
  }

  void LeaveEdit() {
    other_->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
  }

  QApplication& application_ = test::TestApplication();  // before any widget
  QWidget window_;
  NumberEdit* edit_ = nullptr;
  QLineEdit* other_ = nullptr;
  QStringList warnings_;
};

TEST_F(NumberEditTest, TextOutOfRangeIsRedAndNotTaken) {
  struct Case {
    QString text;
    bool valid;
    int position;  // after the text was typed over "20"
  };
  const Case cases[] = {
      {"45", true, 45},   {"1", true, 1},      {"90", true, 90},           {" 7 ", true, 7},
      {"0", false, 20},   {"91", false, 20},   {"abc", false, 20},         {"", false, 20},
      {"4.5", false, 20}, {"0x10", false, 20}, {"99999999999", false, 20},
  };
  for (const Case& c : cases) {
    edit_->SetUpDownValue(20);
    edit_->Edit()->setText(c.text);
    EXPECT_EQ(edit_->UpDownTextValid(), c.valid) << c.text.toStdString();
    EXPECT_EQ(ShownRed(*edit_), !c.valid) << c.text.toStdString();
    EXPECT_EQ(edit_->Position(), c.position) << c.text.toStdString();
  }
}

TEST_F(NumberEditTest, SetUpDownValueClampsAndWritesTheNumber) {
  edit_->Edit()->setText("abc");
  edit_->SetUpDownValue(200);
  EXPECT_EQ(edit_->Text(), "90");
  EXPECT_EQ(edit_->Position(), 90);
  EXPECT_FALSE(ShownRed(*edit_));
  edit_->SetUpDownValue(-5);
  EXPECT_EQ(edit_->Text(), "1");
  // A narrower range turns the text red without rewriting it.
  edit_->SetUpDownValue(50);
  edit_->SetRange(1, 10);
  EXPECT_EQ(edit_->Text(), "50");
  EXPECT_TRUE(ShownRed(*edit_));
  EXPECT_EQ(edit_->Position(), 10);
}

TEST_F(NumberEditTest, UpDownKeysStepWithinTheRange) {
  QList<int> changes;
  QObject::connect(edit_, &NumberEdit::PositionChanged, [&changes](int p) { changes.append(p); });
  edit_->SetUpDownValue(89);
  QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
  QApplication::sendEvent(edit_->Edit(), &up);
  QApplication::sendEvent(edit_->Edit(), &up);
  EXPECT_EQ(edit_->Text(), "90");
  // A red text is replaced by the stepped position.
  edit_->Edit()->setText("500");
  QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
  QApplication::sendEvent(edit_->Edit(), &down);
  EXPECT_EQ(edit_->Text(), "89");
  EXPECT_FALSE(ShownRed(*edit_));
  EXPECT_EQ(changes, (QList<int>{89, 90, 89}));
}

TEST_F(NumberEditTest, LeavingARedFieldWarnsAndTakesTheFocusBack) {
  ShowAndFocusEdit();
  edit_->Edit()->setText("999");
  LeaveEdit();
  EXPECT_EQ(warnings_, QStringList{"999"});
  EXPECT_TRUE(edit_->Edit()->hasFocus());
  EXPECT_EQ(edit_->Position(), 20);
}

TEST_F(NumberEditTest, LeavingAValidFieldOrAClosedWindowDoesNotWarn) {
  ShowAndFocusEdit();
  edit_->Edit()->setText("30");
  LeaveEdit();
  EXPECT_TRUE(warnings_.isEmpty());
  EXPECT_TRUE(other_->hasFocus());

  edit_->setFocus(Qt::TabFocusReason);
  edit_->Edit()->setText("abc");
  // The focus moves to a button whose click closes the dialog before the warning runs.
  other_->setFocus(Qt::MouseFocusReason);
  window_.hide();
  QApplication::processEvents();
  EXPECT_TRUE(warnings_.isEmpty());
}

TEST_F(NumberEditTest, DefaultWarningText) {
  EXPECT_EQ(NumberEdit::RangeWarningText("123"), "入力した数値[123]は範囲を超えています");
}

}  // namespace
}  // namespace lumaplot
