#pragma once
// The drawing surface the stage model draws on and measures texts with. The
// drawing interface (pens, brushes, fonts, primitives, text measuring) is declared
// here; the Qt layer implements it over a retained image, tests over a recorder.

namespace lumaplot {

class Canvas;

}  // namespace lumaplot
