#include "ui/qt/ProgramIcon.h"

#include "ui/qt/Resources.h"

namespace lumaplot {

QIcon ProgramIcon() {
  InitResources();
  QIcon icon;
  for (int size : {16, 32, 48, 64, 256}) {
    icon.addFile(QString(":/icons/lumaplot-%1.png").arg(size), QSize(size, size));
  }
  return icon;
}

}  // namespace lumaplot
