#pragma once
// Printing a page, the one routine behind the print command, its preview, the PDF
// command and lumaplot-cli's pdf: the page is scaled to fit the printable area
// (model/PrintLayout.h), then the background picture (stretched by the same scale),
// the grid and every object, as scaled copies in a temporary document, are drawn
// through a PainterCanvas. The paper is not filled: the page background colour is not
// printed.
//
// GUI thread only (fonts). The document is only read; its lights show the levels
// their last presentation update gave them.
#include <QByteArray>
#include <QPageSize>
#include <QSize>

#include <string>

#include "model/LightPresentation.h"
#include "model/StageData.h"

class QPainter;
class QPrinter;

namespace lumaplot {

// Paints `doc` with `painter`, which is active on a device whose printable area is
// `area` device pixels with the painter's origin at its top-left corner. `paintBox`
// is the size of the paint box that shows the page on the screen (an empty size when
// there is none); a larger box scales the page down as the screen shows it smaller.
void PaintPrintPage(const TStageData& doc, QPainter& painter, QSize area, QSize paintBox,
                    const TPresentationSettings& settings);

// Prints `doc` as one page on `printer` as it is set up (its orientation, paper and
// resolution). False, with the reason, when the printer cannot be started.
bool PrintPage(const TStageData& doc, QPrinter& printer, QSize paintBox,
               const TPresentationSettings& settings, std::string* error = nullptr);

// The paper sizes of PDF output, by their names "a4", "a3", "letter" (any letter
// case); false for any other name.
bool PdfPageSizeByName(const QString& name, QPageSize::PageSizeId& size);

// Margins of PDF output on every side, as a printer has its unprintable border.
inline constexpr double kPdfMarginMm = 10.0;
// The resolution the page is drawn at in a PDF.
inline constexpr int kPdfResolution = 1200;

// A one-page PDF of `doc`: landscape on `pageSize` paper, the document's title as
// the PDF's title. False with the reason when nothing could be drawn.
bool PdfBytes(const TStageData& doc, QPageSize::PageSizeId pageSize, QSize paintBox,
              const TPresentationSettings& settings, QByteArray& bytes,
              std::string* error = nullptr);
// PdfBytes written to `path` atomically (the old file stays whole on failure).
bool WritePdf(const TStageData& doc, const std::string& path, QPageSize::PageSizeId pageSize,
              QSize paintBox, const TPresentationSettings& settings, std::string* error = nullptr);

// At least one printer is installed.
bool PrinterInstalled();

}  // namespace lumaplot
