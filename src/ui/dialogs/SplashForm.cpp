#include "ui/dialogs/SplashForm.h"
#include "ui/qt/ProgramFace.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace lumaplot {
namespace {

constexpr double kOpacity = 192.0 / 255.0;
const QColor kPanelColor(0xC0, 0xDC, 0xC0);  // a pale green
constexpr int kMakerFontPixels = 21;
constexpr int kLongTitle = 12;  // characters; longer titles get the smaller font

QLabel* CenteredLabel(const QString& name, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  label->setAlignment(Qt::AlignCenter);
  return label;
}

}  // namespace

TSplashForm::TSplashForm(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      Panel1_(new QFrame(this)),
      TitleLabel_(CenteredLabel("TitleLabel", Panel1_)),
      MakerLabel_(CenteredLabel("MakerLabel", Panel1_)),
      MsgLabel_(CenteredLabel("MsgLabel", Panel1_)),
      Timer1_(new QTimer(this)) {
  setObjectName("SplashForm");
  setAttribute(Qt::WA_DeleteOnClose);
  setFixedSize(kWidth, kHeight);
  setWindowOpacity(kOpacity);

  Panel1_->setObjectName("Panel1");
  Panel1_->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Panel1_->setLineWidth(2);
  QPalette palette = Panel1_->palette();
  palette.setColor(QPalette::Window, kPanelColor);
  palette.setColor(QPalette::WindowText, Qt::black);
  Panel1_->setPalette(palette);
  Panel1_->setAutoFillBackground(true);

  QFont makerFont = MakerLabel_->font();
  makerFont.setPixelSize(kMakerFontPixels);
  MakerLabel_->setFont(makerFont);
  MakerLabel_->setText("DMX512 照明モニタ・仕込み図エディタ");

  auto* panelLayout = new QVBoxLayout(Panel1_);
  panelLayout->setContentsMargins(16, 24, 16, 16);
  panelLayout->addStretch(2);
  panelLayout->addWidget(TitleLabel_);
  panelLayout->addWidget(MakerLabel_);
  panelLayout->addStretch(3);
  panelLayout->addWidget(MsgLabel_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Panel1_);

  Timer1_->setObjectName("Timer1");
  Timer1_->setSingleShot(true);
  connect(Timer1_, &QTimer::timeout, this, &TSplashForm::Timer1Timer);
}

void TSplashForm::SetMessage(const QString& text) {
  MsgLabel_->setText(text);
  repaint();
}

void TSplashForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  FormShow();
}

void TSplashForm::mousePressEvent(QMouseEvent* event) {
  QWidget::mousePressEvent(event);
  Panel1MouseDown();
}

void TSplashForm::FormShow() {
  const QString title = ProgramName();
  QFont titleFont = TitleLabel_->font();
  titleFont.setBold(true);
  titleFont.setPointSize(title.size() > kLongTitle ? 36 : 48);
  TitleLabel_->setFont(titleFont);
  TitleLabel_->setText(title);
  if (const QScreen* screen = QApplication::primaryScreen()) {
    QRect frame(QPoint(), size());
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
  if (DisplayTime_ < 1) {
    Timer1_->stop();
  } else {
    Timer1_->start(DisplayTime_);
  }
}

void TSplashForm::Timer1Timer() {
  Timer1_->stop();
  close();
}

void TSplashForm::Panel1MouseDown() { close(); }

}  // namespace lumaplot
