#pragma once
// TSplashForm: the window shown while the program starts, with the product name (the
// application's display name) and the current start-up step in MsgLabel.
// Start-up creates it, sets DisplayTime 0 (stay until closed), shows it, calls
// SetMessage before each long step and closes it at the end. A click closes it at
// any time, and a positive DisplayTime closes it after that many milliseconds; either
// way the window deletes itself. Callers therefore hold it in a QPointer and skip
// SetMessage and close once the pointer is null. GUI thread only.
#include <QWidget>

class QFrame;
class QLabel;
class QTimer;

namespace lumaplot {

class TSplashForm : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kWidth = 480;
  static constexpr int kHeight = 280;

  explicit TSplashForm(QWidget* parent = nullptr);

  // Milliseconds after showing until the window closes itself; 0 or less: never.
  // Takes effect at the next showing.
  int DisplayTime() const { return DisplayTime_; }
  void SetDisplayTime(int milliseconds) { DisplayTime_ = milliseconds; }

  // Shows `text` as the current step and repaints at once.
  void SetMessage(const QString& text);

 protected:
  void showEvent(QShowEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void FormShow();
  void Timer1Timer();
  void Panel1MouseDown();

  QFrame* Panel1_;
  QLabel* TitleLabel_;
  QLabel* MakerLabel_;
  QLabel* MsgLabel_;
  QTimer* Timer1_;
  int DisplayTime_ = 5000;
};

}  // namespace lumaplot
