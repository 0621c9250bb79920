#pragma once
// TAboutBox ("バージョン情報"): the program's icon, product name (the application's
// display name), the version compiled into the program and a short description.
// Created once at start-up and shown modally by the main window's about command;
// it needs no setting up before showing. GUI thread only.
#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace lumaplot {

class TAboutBox : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 338;
  static constexpr int kClientHeight = 206;

  explicit TAboutBox(QWidget* parent = nullptr);

  // "Version " + the program's version.
  static QString VersionLabelText();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormShow();

  QFrame* Panel1_;
  QLabel* VirtualImage1_;
  QLabel* ProductName_;
  QLabel* Version_;
  QLabel* UnitVersion_;
  QLabel* NoticeLabel_;
  QPushButton* OKButton_;
};

}  // namespace lumaplot
