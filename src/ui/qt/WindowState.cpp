#include "ui/qt/WindowState.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "ui/qt/WindowPlacement.h"

namespace lumaplot {
namespace {

constexpr Qt::WindowStates kNotNormal =
    Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;

// What the window frame adds to the client size (nothing before the window manager
// has framed the window).
QSize FrameExtra(const QWidget* form) {
  return form->frameGeometry().size() - form->geometry().size();
}

// The available areas of the screens, the primary first, less the frame: a client
// rectangle fits into such an area exactly when the framed window fits on the screen.
std::vector<WindowBounds> ScreensForClientSize(QSize frameExtra) {
  std::vector<WindowBounds> areas;
  QScreen* primary = QGuiApplication::primaryScreen();
  QList<QScreen*> screens = QGuiApplication::screens();
  if (primary != nullptr) {
    screens.removeAll(primary);
    screens.prepend(primary);
  }
  for (const QScreen* screen : screens) {
    const QRect area = screen->availableGeometry();
    areas.push_back({area.x(), area.y(), area.width() - frameExtra.width(),
                     area.height() - frameExtra.height()});
  }
  return areas;
}

WindowBounds CurrentBounds(const QWidget* form) {
  return {form->x(), form->y(), form->width(), form->height()};
}

// The bounds the window has, or returns to, in the normal state.
WindowBounds NormalBounds(const QWidget* form) {
  QRect normal = form->geometry();
  if ((form->windowState() & kNotNormal) && form->normalGeometry().isValid()) {
    normal = form->normalGeometry();
  }
  // normalGeometry() is a client rectangle; the stored corner is the frame's.
  const QPoint frameOffset = form->geometry().topLeft() - form->frameGeometry().topLeft();
  return {normal.x() - frameOffset.x(), normal.y() - frameOffset.y(), normal.width(),
          normal.height()};
}

void Apply(QWidget* form, const WindowBounds& bounds) {
  form->resize(bounds.Width, bounds.Height);
  form->move(bounds.Left, bounds.Top);
}

bool HasFixedSize(const QWidget* form) { return form->minimumSize() == form->maximumSize(); }

}  // namespace

void RestoreMainWindow(QWidget* form, const IniFile& ini, int defaultWidth, int defaultHeight) {
  const MainWindowPlacement placement =
      ReadMainWindowPlacement(ini, CurrentBounds(form), defaultWidth, defaultHeight,
                              form->logicalDpiX(), ScreensForClientSize(FrameExtra(form)));
  // The normal bounds go in first, so that they are what un-maximising returns to.
  form->setWindowState(form->windowState() & ~kNotNormal);
  Apply(form, placement.Bounds);
  if (placement.State == kWindowMaximized) {
    form->setWindowState(form->windowState() | Qt::WindowMaximized);
  }
}

void SaveMainWindow(const QWidget* form, IniFile& ini) {
  MainWindowPlacement placement;
  placement.Bounds = NormalBounds(form);
  placement.State = (form->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))
                        ? kWindowMaximized
                        : kWindowNormal;
  WriteMainWindowPlacement(ini, placement, form->logicalDpiX());
}

void LoadFormPos(const IniFile& ini, std::string_view prefix, QWidget* form, int defaultLeft,
                 int defaultTop, int defaultWidth, int defaultHeight) {
  Apply(form, ReadFormPos(ini, prefix, CurrentBounds(form), HasFixedSize(form),
                          {defaultLeft, defaultTop, defaultWidth, defaultHeight},
                          ScreensForClientSize(FrameExtra(form))));
}

void SaveFormPos(IniFile& ini, std::string_view prefix, const QWidget* form) {
  WriteFormPos(ini, prefix, NormalBounds(form), HasFixedSize(form));
}

}  // namespace lumaplot
