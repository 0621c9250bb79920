#pragma once
// A number entry field: a line edit paired with an up-down control that holds the
// valid range and the taken value (its position), as every dialog uses them.
// - While the text is not an integer within the range it is shown red and not
//   taken: Position() keeps the last valid number.
// - Leaving a red field (by Tab or a click elsewhere in the window) warns with
//   "入力した数値[" + text + "]は範囲を超えています" and puts the focus back. The
//   warning runs just after the focus has moved, so a click on a button goes through
//   first; a dialog that closes meanwhile is not warned about. Dialogs read only
//   valid values (UpDownTextValid) when they take their fields.
// - The arrows and the Up/Down keys step the position by one within the range and
//   write it into the text.
// The warning is MsgWarning by default; tests replace it with SetWarningFunction,
// since a modal box would block them. GUI thread only.
#include <functional>
#include <optional>

#include <QString>
#include <QWidget>

class QLineEdit;
class QToolButton;

namespace lumaplot {

class NumberEdit : public QWidget {
  Q_OBJECT

 public:
  using WarningFunction = std::function<void(const QString& text)>;

  explicit NumberEdit(QWidget* parent = nullptr);

  // A reversed range is put in order; the position is clamped into it and the text
  // is checked again (it is not rewritten).
  void SetRange(int minimum, int maximum);
  int Minimum() const { return minimum_; }
  int Maximum() const { return maximum_; }

  // The last number taken: from a valid text, a step or SetUpDownValue.
  int Position() const { return position_; }

  // Sets the position (clamped into the range) and writes it as "%i" into the text.
  void SetUpDownValue(int value);

  // True when the text is an integer within Minimum() … Maximum(); text that is not
  // a number counts as out of range.
  bool UpDownTextValid() const;

  QLineEdit* Edit() const { return edit_; }
  QString Text() const;

  // Replaces the warning shown on leaving a red field (given the field's text).
  void SetWarningFunction(WarningFunction warn);

  // "入力した数値[" + text + "]は範囲を超えています"
  static QString RangeWarningText(const QString& text);

 signals:
  void PositionChanged(int position);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::optional<int> ValidNumber() const;
  void EditChange();
  void NumberEditExit();
  void Step(int delta);
  void SetPosition(int position);

  QLineEdit* edit_;
  QToolButton* up_;
  QToolButton* down_;
  int minimum_ = 0;
  int maximum_ = 100;
  int position_ = 0;
  WarningFunction warn_;
};

}  // namespace lumaplot
