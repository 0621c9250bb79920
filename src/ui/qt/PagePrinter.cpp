#include "ui/qt/PagePrinter.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

#include "model/ObjectDrawing.h"
#include "model/PageGrid.h"
#include "model/PrintLayout.h"
#include "ui/qt/PainterCanvas.h"
#include "util/FileIo.h"

namespace lumaplot {

void PaintPrintPage(const TStageData& doc, QPainter& painter, QSize area, QSize paintBox,
                    const TPresentationSettings& settings) {
  const double scale = PrintScale(doc.ScrWidth, doc.ScrHeight, paintBox.width(), paintBox.height(),
                                  area.width(), area.height());
  if (scale <= 0.0) return;
  painter.save();
  // What lies beyond the printable area is cut there, not drawn into the margins.
  painter.setClipRect(QRect(QPoint(0, 0), area));
  PainterCanvas canvas(painter);
  if (doc.Background) {
    canvas.DrawPicture(PrintPictureRect(scale, doc.Background->Width(), doc.Background->Height()),
                       *doc.Background);
  }
  if (doc.ShowGrid) {
    PaintGrid(canvas, doc.GridStyle, doc.GridColor, PrintGridStep(scale, doc.GridSize),
              area.width(), area.height());
  }
  const std::unique_ptr<TStageData> print =
      MakePrintDocument(doc, scale, area.width(), area.height());
  print->Canvas = &canvas;
  DrawAll(*print, true, true, false, settings);
  painter.restore();
}

bool PrintPage(const TStageData& doc, QPrinter& printer, QSize paintBox,
               const TPresentationSettings& settings, std::string* error) {
  QPainter painter;
  if (!painter.begin(&printer)) {
    if (error) *error = "the printer " + printer.printerName().toStdString() + " cannot start";
    return false;
  }
  const QSize area = printer.pageLayout().paintRectPixels(printer.resolution()).size();
  PaintPrintPage(doc, painter, area, paintBox, settings);
  return painter.end();
}

bool PdfPageSizeByName(const QString& name, QPageSize::PageSizeId& size) {
  const QString lower = name.toLower();
  if (lower == "a4") {
    size = QPageSize::A4;
  } else if (lower == "a3") {
    size = QPageSize::A3;
  } else if (lower == "letter") {
    size = QPageSize::Letter;
  } else {
    return false;
  }
  return true;
}

bool PdfBytes(const TStageData& doc, QPageSize::PageSizeId pageSize, QSize paintBox,
              const TPresentationSettings& settings, QByteArray& bytes, std::string* error) {
  QByteArray written;
  QBuffer buffer(&written);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setResolution(kPdfResolution);
    writer.setPageLayout(
        QPageLayout(QPageSize(pageSize), QPageLayout::Landscape,
                    QMarginsF(kPdfMarginMm, kPdfMarginMm, kPdfMarginMm, kPdfMarginMm),
                    QPageLayout::Millimeter));
    writer.setTitle(QString::fromStdString(doc.Title));
    writer.setCreator("Lumaplot");
    QPainter painter;
    if (!painter.begin(&writer)) {
      if (error) *error = "the PDF page cannot be drawn";
      return false;
    }
    const QSize area = writer.pageLayout().paintRectPixels(writer.resolution()).size();
    PaintPrintPage(doc, painter, area, paintBox, settings);
    if (!painter.end()) {
      if (error) *error = "the PDF page cannot be finished";
      return false;
    }
  }
  bytes = std::move(written);
  return true;
}

bool WritePdf(const TStageData& doc, const std::string& path, QPageSize::PageSizeId pageSize,
              QSize paintBox, const TPresentationSettings& settings, std::string* error) {
  QByteArray bytes;
  if (!PdfBytes(doc, pageSize, paintBox, settings, bytes, error)) return false;
  return WriteFileAtomically(path, std::string_view(bytes.constData(), bytes.size()), error);
}

bool PrinterInstalled() { return !QPrinterInfo::availablePrinterNames().isEmpty(); }

}  // namespace lumaplot
