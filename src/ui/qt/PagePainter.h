#pragma once
// The full repaint of a page surface, shared by the main window's page view and
// lumaplot-cli's render: the surface in the page background colour, the background
// picture at (0, 0) in its own size, the grid over the whole surface, then every
// object in list order in its real colours (later objects cover earlier ones).
// `Moving` is kept. GUI thread only.
#include "model/LightPresentation.h"
#include "model/StageData.h"
#include "ui/qt/QtCanvas.h"

namespace lumaplot {

// Paints `doc` over the whole of `canvas`. The objects are drawn onto `canvas`
// even when the document's own `Canvas` is another surface.
void PaintPage(TStageData& doc, QtCanvas& canvas, const TPresentationSettings& settings);

}  // namespace lumaplot
