#include "ui/qt/Cursors.h"

#include <QPixmap>

#include <array>

#include "ui/qt/Resources.h"

namespace lumaplot {
namespace {

constexpr const char* kCursorFiles[] = {
    ":/cursors/add_tool.png",  ":/cursors/del_tool.png",   ":/cursors/text_tool.png",
    ":/cursors/line_tool.png", ":/cursors/shape_tool.png",
};

}  // namespace

QCursor ToolCursor(TToolCursor which) {
  // Made once: a cursor is asked for on every pointer move over the page.
  static const std::array<QCursor, std::size(kCursorFiles)> cursors = [] {
    InitResources();
    std::array<QCursor, std::size(kCursorFiles)> made;
    for (size_t i = 0; i < made.size(); ++i) {
      const QPixmap picture(kCursorFiles[i]);
      made[i] = picture.isNull() ? QCursor(Qt::ArrowCursor) : QCursor(picture, 0, 0);
    }
    return made;
  }();
  return cursors[static_cast<size_t>(which)];
}

}  // namespace lumaplot
