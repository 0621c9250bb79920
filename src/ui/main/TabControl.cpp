#include "ui/main/TabControl.h"

#include <QBoxLayout>

namespace lumaplot {

void TTabBar::SetTabWidth(int width) {
  tabWidth_ = std::max(width, 0);
  // A changed size hint takes effect when the bar lays out its tabs again.
  setElideMode(elideMode());
  updateGeometry();
}

QSize TTabBar::tabSizeHint(int index) const {
  QSize size = QTabBar::tabSizeHint(index);
  if (tabWidth_ <= 0) return size;
  const bool vertical = shape() == QTabBar::RoundedWest || shape() == QTabBar::RoundedEast;
  if (vertical) {
    size.setHeight(tabWidth_);
  } else {
    size.setWidth(tabWidth_);
  }
  return size;
}

TTabControl::TTabControl(QWidget* content, QWidget* parent)
    : QWidget(parent), tabs_(new TTabBar), layout_(new QBoxLayout(QBoxLayout::TopToBottom, this)) {
  setObjectName("TabControl1");
  tabs_->setObjectName("TabBar");
  tabs_->setFocusPolicy(Qt::NoFocus);
  layout_->setContentsMargins(0, 0, 0, 0);
  layout_->setSpacing(0);
  layout_->addWidget(tabs_);
  layout_->addWidget(content, 1);
}

void TTabControl::SetTabPosition(int position) {
  struct Placement {
    QBoxLayout::Direction direction;
    QTabBar::Shape shape;
  };
  static constexpr Placement kPlacements[] = {
      {QBoxLayout::TopToBottom, QTabBar::RoundedNorth},
      {QBoxLayout::BottomToTop, QTabBar::RoundedSouth},
      {QBoxLayout::LeftToRight, QTabBar::RoundedWest},
      {QBoxLayout::RightToLeft, QTabBar::RoundedEast},
  };
  position_ = position >= Top && position <= Right ? position : Top;
  layout_->setDirection(kPlacements[position_].direction);
  tabs_->setShape(kPlacements[position_].shape);
}

void TTabControl::SetTabsVisible(bool visible) {
  tabsVisible_ = visible;
  tabs_->setVisible(visible);
}

void TTabControl::SetTabLook(int style, bool multiLine, int width) {
  // Buttons and flat buttons both take the plain document look, the nearest there is.
  tabs_->setDocumentMode(style != 0);
  tabs_->setDrawBase(style != 2);
  tabs_->setUsesScrollButtons(!multiLine);
  tabs_->setElideMode(multiLine ? Qt::ElideRight : Qt::ElideNone);
  tabs_->setExpanding(false);
  tabs_->SetTabWidth(width);
}

}  // namespace lumaplot
