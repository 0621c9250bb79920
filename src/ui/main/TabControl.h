#pragma once
// `TabControl1`: the tab bar of the open documents around the page view. It holds
// one tab per document, in the order of the documents; the view is its content. The
// tabs sit on top, bottom, left or right, or are hidden, and then the view fills the
// control alone. Tabs have a fixed width when one is set (0: as wide as their text);
// with several lines allowed, tabs shrink to fit instead of scrolling. GUI thread only.
#include <QTabBar>
#include <QWidget>

class QBoxLayout;

namespace lumaplot {

class TTabBar : public QTabBar {
  Q_OBJECT

 public:
  using QTabBar::QTabBar;
  void SetTabWidth(int width);

 protected:
  QSize tabSizeHint(int index) const override;

 private:
  int tabWidth_ = 0;
};

class TTabControl : public QWidget {
  Q_OBJECT

 public:
  enum Position { Top = 0, Bottom = 1, Left = 2, Right = 3 };

  explicit TTabControl(QWidget* content, QWidget* parent = nullptr);

  TTabBar* Tabs() const { return tabs_; }
  // 0 top, 1 bottom, 2 left, 3 right; other values read as top.
  void SetTabPosition(int position);
  int TabPosition() const { return position_; }
  void SetTabsVisible(bool visible);
  bool TabsVisible() const { return tabsVisible_; }
  // `TabStyle`: 0 tabs, 1 buttons, 2 flat buttons; `TabMultiLine`; `TabWidth`.
  void SetTabLook(int style, bool multiLine, int width);

 private:
  TTabBar* tabs_;
  QBoxLayout* layout_;
  int position_ = Top;
  bool tabsVisible_ = true;
};

}  // namespace lumaplot
