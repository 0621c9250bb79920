#include "ui/dialogs/ChgLtypeDlg.h"

#include <algorithm>

#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QShowEvent>
#include <QStringList>
#include <QVBoxLayout>

#include "core/AppCore.h"
#include "model/LightLib.h"
#include "ui/qt/ChannelLists.h"

namespace lumaplot {
namespace {

constexpr int kMargin = 8;
constexpr int kBevelWidth = 297;
constexpr int kBevelHeight = 121;
constexpr int kComboWidth = 265;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kButtonGap = 19;      // between the bevel and the button
constexpr int kBottomMargin = 14;   // below the button
constexpr int kMaxNameWidth = 480;  // pixels of the missing name shown in full

}  // namespace

TChgLtypeDlg::TChgLtypeDlg(const TLightLib& library, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      library_(library),
      Bevel1_(new QFrame(this)),
      MsgLabel_(new QLabel("未定義", Bevel1_)),
      Label1_(new QLabel("現在のライブラリから代わりのタイプを選んでください", Bevel1_)),
      LightCombo_(new QComboBox(Bevel1_)),
      OKBtn_(new QPushButton("OK", this)) {
  setObjectName("ChgLtypeDlg");
  setWindowTitle("未定義灯体の変更");

  Bevel1_->setObjectName("Bevel1");
  Bevel1_->setFrameStyle(QFrame::Box | QFrame::Sunken);
  Bevel1_->setMinimumSize(kBevelWidth, kBevelHeight);

  MsgLabel_->setObjectName("MsgLabel");
  MsgLabel_->setTextFormat(Qt::PlainText);
  MsgLabel_->setWordWrap(true);
  Label1_->setObjectName("Label1");

  LightCombo_->setObjectName("LightCombo");
  LightCombo_->setMinimumWidth(kComboWidth);
  LightCombo_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  // `activated` comes only from the user (mouse, keys, wheel), as the change that
  // enables OK must.
  connect(LightCombo_, &QComboBox::activated, this, &TChgLtypeDlg::LightComboChange);

  OKBtn_->setObjectName("OKBtn");
  OKBtn_->setDefault(true);
  OKBtn_->setAutoDefault(true);
  OKBtn_->setFixedSize(kButtonWidth, kButtonHeight);
  connect(OKBtn_, &QPushButton::clicked, this, &QDialog::accept);
  setTabOrder(LightCombo_, OKBtn_);

  auto* bevelLayout = new QVBoxLayout(Bevel1_);
  bevelLayout->setContentsMargins(16, 16, 16, 16);
  bevelLayout->setSpacing(8);
  bevelLayout->addStretch(1);
  bevelLayout->addWidget(MsgLabel_);
  bevelLayout->addWidget(Label1_);
  bevelLayout->addWidget(LightCombo_);
  bevelLayout->addStretch(1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(OKBtn_);
  buttons->addStretch(1);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(kMargin, kMargin, kMargin, kBottomMargin);
  layout->setSpacing(0);
  layout->addWidget(Bevel1_);
  layout->addSpacing(kButtonGap);
  layout->addLayout(buttons);
  // A dialog border: the size follows the contents and the user cannot change it.
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

TChgLtypeDlg::TChgLtypeDlg(const TDialogContext& context, QWidget* parent)
    : TChgLtypeDlg(context.Core.Library(), parent) {}

void TChgLtypeDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // A window restored from the task bar is shown again by the system; the choice
  // made so far must survive that.
  if (!event->spontaneous()) FormShow();
}

void TChgLtypeDlg::FormShow() {
  LightCombo_->clear();
  LightCombo_->addItems(SortedTypeNames(library_));
  LightCombo_->setCurrentIndex(-1);
  ShowMissingName();
  OKBtn_->setEnabled(false);
  LightCombo_->setFocus();
}

// The name comes from a file and can be of any length. A name too wide for the
// dialog is shortened in the middle, so that the dialog stays on the screen; the
// tool tip then holds the whole message.
void TChgLtypeDlg::ShowMissingName() {
  const QString message = "[" + TypeName + "] は未定義のタイプです";
  const QFontMetrics metrics = MsgLabel_->fontMetrics();
  if (metrics.horizontalAdvance(TypeName) <= kMaxNameWidth) {
    MsgLabel_->setText(message);
    MsgLabel_->setToolTip({});
    return;
  }
  MsgLabel_->setText("[" + metrics.elidedText(TypeName, Qt::ElideMiddle, kMaxNameWidth) +
                     "] は未定義のタイプです");
  MsgLabel_->setToolTip(message);
}

void TChgLtypeDlg::LightComboChange() { OKBtn_->setEnabled(true); }

void TChgLtypeDlg::done(int result) {
  if (result == QDialog::Accepted && LightCombo_->currentIndex() >= 0) {
    TypeName = LightCombo_->currentText();
  }
  QDialog::done(result);
}

TStageData::MissingTypeQuestion MissingTypeHandler(TChgLtypeDlg& dialog) {
  return [guarded = QPointer<TChgLtypeDlg>(&dialog)](const std::string& name) {
    if (guarded.isNull() || guarded->isVisible()) return name;
    guarded->TypeName = QString::fromStdString(name);
    guarded->exec();
    // The dialog may have been destroyed while its event loop ran.
    return guarded.isNull() ? name : guarded->TypeName.toStdString();
  };
}

}  // namespace lumaplot
