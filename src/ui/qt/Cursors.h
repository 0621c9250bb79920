#pragma once
// The mouse cursors of the editing modes, drawn for the program (resources/cursors,
// 32 x 32, the hot spot at the arrow's tip). GUI thread only.
#include <QCursor>

namespace lumaplot {

enum class TToolCursor {
  AddTool,    // "ADD_TOOL": adding lights
  DelTool,    // "DEL_TOOL": deleting
  TextTool,   // "TEXT_TOOL": adding texts
  LineTool,   // "LINE_TOOL": drawing lines
  ShapeTool,  // "SHAPE_TOOL": adding shapes
};

// The cursor; the arrow cursor when its picture cannot be read.
QCursor ToolCursor(TToolCursor which);

}  // namespace lumaplot
