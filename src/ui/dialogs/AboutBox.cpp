#include "ui/dialogs/AboutBox.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/qt/ProgramFace.h"
#include "ui/qt/ProgramIcon.h"
#include "util/Version.h"

namespace lumaplot {
namespace {

constexpr int kIconSize = 32;
constexpr int kProductNamePixels = 19;
constexpr int kShortName = 8;  // characters; names this short get 18 points

QLabel* CenteredLabel(const QString& name, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  label->setAlignment(Qt::AlignCenter);
  return label;
}

QPixmap ApplicationIconPixmap() {
  QIcon icon = QApplication::windowIcon();
  if (icon.isNull()) icon = ProgramIcon();
  return icon.pixmap(kIconSize, kIconSize);
}

}  // namespace

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      Panel1_(new QFrame(this)),
      VirtualImage1_(new QLabel(Panel1_)),
      ProductName_(CenteredLabel("ProductName", Panel1_)),
      Version_(CenteredLabel("Version", Panel1_)),
      UnitVersion_(CenteredLabel("UnitVersion", Panel1_)),
      NoticeLabel_(CenteredLabel("NoticeLabel", Panel1_)),
      OKButton_(new QPushButton("OK", this)) {
  setObjectName("AboutBox");
  setWindowTitle("バージョン情報");
  setFixedSize(kClientWidth, kClientHeight);

  Panel1_->setObjectName("Panel1");
  Panel1_->setFrameStyle(QFrame::Panel | QFrame::Sunken);

  VirtualImage1_->setObjectName("VirtualImage1");
  VirtualImage1_->setFixedSize(kIconSize, kIconSize);
  VirtualImage1_->setPixmap(ApplicationIconPixmap());

  QFont nameFont = ProductName_->font();
  nameFont.setPixelSize(kProductNamePixels);
  nameFont.setBold(true);
  ProductName_->setFont(nameFont);
  ProductName_->setText(ProgramName());
  Version_->setText(VersionLabelText());
  NoticeLabel_->setText("Art-Net 照明モニタ・仕込み図エディタ");

  // The icon sits in the top left corner; the texts are centred on the whole panel.
  auto* texts = new QVBoxLayout;
  texts->setSpacing(4);
  texts->addStretch(1);
  texts->addWidget(ProductName_);
  texts->addWidget(Version_);
  texts->addWidget(UnitVersion_);
  texts->addSpacing(8);
  texts->addWidget(NoticeLabel_);
  texts->addStretch(1);
  auto* panelLayout = new QGridLayout(Panel1_);
  panelLayout->setContentsMargins(8, 8, 8, 12);
  panelLayout->addLayout(texts, 0, 0);
  panelLayout->addWidget(VirtualImage1_, 0, 0, Qt::AlignLeft | Qt::AlignTop);

  OKButton_->setObjectName("OKButton");
  OKButton_->setDefault(true);
  connect(OKButton_, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(OKButton_);
  buttons->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 8, 8, 8);
  layout->addWidget(Panel1_, 1);
  layout->addLayout(buttons);
}

QString TAboutBox::VersionLabelText() { return QStringLiteral("Version " LUMAPLOT_VERSION_STRING); }

void TAboutBox::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

void TAboutBox::FormShow() {
  if (ProductName_->text().size() <= kShortName) {
    QFont nameFont = ProductName_->font();
    nameFont.setPointSize(18);
    ProductName_->setFont(nameFont);
  }
}

}  // namespace lumaplot
