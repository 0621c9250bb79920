#pragma once
// The program's own icon (four lamps on a dark plot), in every size the resources
// hold. GUI thread only.
#include <QIcon>

namespace lumaplot {

QIcon ProgramIcon();

}  // namespace lumaplot
