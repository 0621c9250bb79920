#include "ui/qt/NumberEdit.h"

#include <algorithm>
#include <cstdint>

#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/qt/MessageBoxes.h"

namespace lumaplot {
namespace {

constexpr int kArrowWidth = 16;

QToolButton* MakeArrow(Qt::ArrowType type, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setArrowType(type);
  button->setAutoRepeat(true);
  // Stepping must not take the focus from the field, or a red field would warn.
  button->setFocusPolicy(Qt::NoFocus);
  return button;
}

// Leaving the field, as opposed to the window losing the focus or a menu opening.
bool IsLeaving(Qt::FocusReason reason) {
  return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

}  // namespace

NumberEdit::NumberEdit(QWidget* parent)
    : QWidget(parent),
      edit_(new QLineEdit(this)),
      up_(MakeArrow(Qt::UpArrow, this)),
      down_(MakeArrow(Qt::DownArrow, this)),
      warn_([](const QString& text) { MsgWarning(RangeWarningText(text)); }) {
  const int arrowHeight = std::max(8, edit_->sizeHint().height() / 2);
  up_->setFixedSize(kArrowWidth, arrowHeight);
  down_->setFixedSize(kArrowWidth, arrowHeight);

  auto* arrows = new QVBoxLayout;
  arrows->setContentsMargins(0, 0, 0, 0);
  arrows->setSpacing(0);
  arrows->addWidget(up_);
  arrows->addWidget(down_);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(edit_, 1);
  layout->addLayout(arrows);

  setFocusProxy(edit_);
  setSizePolicy(edit_->sizePolicy());
  edit_->installEventFilter(this);
  connect(edit_, &QLineEdit::textChanged, this, &NumberEdit::EditChange);
  connect(up_, &QToolButton::clicked, this, [this] { Step(1); });
  connect(down_, &QToolButton::clicked, this, [this] { Step(-1); });
  SetUpDownValue(0);
}

void NumberEdit::SetRange(int minimum, int maximum) {
  minimum_ = std::min(minimum, maximum);
  maximum_ = std::max(minimum, maximum);
  SetPosition(std::clamp(position_, minimum_, maximum_));
  EditChange();
}

void NumberEdit::SetUpDownValue(int value) {
  SetPosition(std::clamp(value, minimum_, maximum_));
  edit_->setText(QString::number(position_));
  EditChange();  // the text may be unchanged but red from an earlier range
}

bool NumberEdit::UpDownTextValid() const { return ValidNumber().has_value(); }

std::optional<int> NumberEdit::ValidNumber() const {
  bool ok = false;
  const int value = edit_->text().trimmed().toInt(&ok, 10);
  if (!ok || value < minimum_ || value > maximum_) return std::nullopt;
  return value;
}

QString NumberEdit::Text() const { return edit_->text(); }

void NumberEdit::SetWarningFunction(WarningFunction warn) { warn_ = std::move(warn); }

QString NumberEdit::RangeWarningText(const QString& text) {
  return "入力した数値[" + text + "]は範囲を超えています";
}

bool NumberEdit::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edit_) {
    if (event->type() == QEvent::FocusOut &&
        IsLeaving(static_cast<QFocusEvent*>(event)->reason()) && !UpDownTextValid()) {
      QTimer::singleShot(0, this, &NumberEdit::NumberEditExit);
    } else if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Up || key == Qt::Key_Down) {
        Step(key == Qt::Key_Up ? 1 : -1);
        return true;
      }
    }
  }
  return QWidget::eventFilter(watched, event);
}

void NumberEdit::EditChange() {
  if (const std::optional<int> value = ValidNumber()) {
    edit_->setPalette(QPalette());
    SetPosition(*value);
    return;
  }
  QPalette red = edit_->palette();
  red.setColor(QPalette::Text, Qt::red);
  edit_->setPalette(red);
}

void NumberEdit::NumberEditExit() {
  // By now the field may have been corrected, hidden with its dialog or re-entered.
  if (UpDownTextValid() || !isVisible() || !isEnabled() || edit_->hasFocus()) return;
  warn_(edit_->text());
  edit_->setFocus(Qt::OtherFocusReason);
}

void NumberEdit::Step(int delta) {
  const int64_t target = static_cast<int64_t>(position_) + delta;
  SetUpDownValue(static_cast<int>(std::clamp<int64_t>(target, minimum_, maximum_)));
}

void NumberEdit::SetPosition(int position) {
  if (position == position_) return;
  position_ = position;
  emit PositionChanged(position_);
}

}  // namespace lumaplot
