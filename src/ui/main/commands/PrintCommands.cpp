#include "ui/main/commands/PrintCommands.h"

#include <QFileInfo>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "model/LightPresentation.h"
#include "ui/main/PageView.h"
#include "ui/main/commands/CommandContext.h"
#include "ui/qt/PagePrinter.h"
#include "ui/qt/Prompts.h"

namespace lumaplot {
namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

// What the printer's queue and the PDF call the job.
QString JobName(const TStageData& doc) {
  if (!doc.Title.empty()) return Text(doc.Title);
  return doc.FileName.empty() ? QString("無題") : QFileInfo(Text(doc.FileName)).fileName();
}

}  // namespace

bool PrinterReady(const TCommandContext& context) {
  return context.Doc() != nullptr && context.Core.Env().PrinterPresent;
}

QSize PaintBoxSize(const TCommandContext& context) { return context.View.ScrBox()->size(); }

void FilePrintExecute(TCommandContext& context) {
  if (!PrinterReady(context)) return;
  TStageData& doc = *context.Doc();
  const QSize box = PaintBoxSize(context);
  TBusyBracket busy(context.Host);
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageOrientation(QPageLayout::Landscape);
  printer.setDocName(JobName(doc));
  QPrintPreviewDialog preview(&printer, context.Host.Window());
  preview.setWindowTitle("印刷プレビュー");
  // The preview draws the page, and its print button asks with the platform's print
  // dialog and draws the page again for the printer chosen there.
  QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                   [&context, &doc, box](QPrinter* target) {
                     std::string error;
                     if (!PrintPage(doc, *target, box, PresentationSettings(), &error)) {
                       context.Prompts.Error("印刷できませんでした。\n" + Text(error), {});
                     }
                   });
  preview.exec();
}

void FilePdfExecute(TCommandContext& context) {
  TStageData* doc = context.Doc();
  if (doc == nullptr) return;
  const QSize box = PaintBoxSize(context);
  TBusyBracket busy(context.Host);
  const QString name = doc->FileName.empty()
                           ? QString()
                           : QFileInfo(Text(doc->FileName)).completeBaseName() + ".pdf";
  const QString file = context.Prompts.SaveFileName(
      {"PDFに出力", "PDF (*.pdf)|*.PDF", "pdf", Text(context.Core.Env().LastDir), name});
  if (file.isEmpty()) return;
  std::string error;
  if (!WritePdf(*doc, file.toStdString(), kPdfCommandPage, box, PresentationSettings(), &error)) {
    context.Prompts.Error("PDFを書き込めませんでした。\n" + file + "\n" + Text(error), {});
  }
}

}  // namespace lumaplot
