#pragma once
// The File menu's printing: the current plot printed (after the platform's print
// preview, whose print button brings the print dialog) or written as a one-page PDF,
// both through the one print routine of ui/qt/PagePrinter with the page scaled to
// the paper. Printing needs an installed printer (`PrinterPresent`); a PDF can always
// be written. GUI thread only.
#include <QPageSize>
#include <QSize>

namespace lumaplot {

struct TCommandContext;

// A document is current and a printer is installed.
bool PrinterReady(const TCommandContext& context);

void FilePrintExecute(TCommandContext& context);
void FilePdfExecute(TCommandContext& context);

// The paper of the PDF command: A4, landscape.
inline constexpr QPageSize::PageSizeId kPdfCommandPage = QPageSize::A4;

// The size of the paint box showing the page, which the scale rule takes into account.
QSize PaintBoxSize(const TCommandContext& context);

}  // namespace lumaplot
