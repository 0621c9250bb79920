// lumaplot-cli pdf: the plot printed as a one-page PDF, as the program's PDF command
// writes it, for the levels of a moment.
#include <QCommandLineParser>

#include "cli/CliCommand.h"
#include "cli/CliIo.h"
#include "cli/LevelOptions.h"
#include "cli/PageStage.h"
#include "cli/StageCliSupport.h"
#include "ui/qt/PagePrinter.h"

namespace lumaplot::cli {

int RunPdf(const QStringList& args) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Prints the page of a plot into a one-page vector PDF, landscape, scaled to fit the\n"
      "paper as the print command scales it, with every light in the colour the given\n"
      "levels mix to.");
  parser.addPositionalArgument("STAGE", "The stage file (.dat).");
  const QCommandLineOption output(QStringList{"o", "output"}, "The PDF file to write.", "OUT");
  const QCommandLineOption page("page", "Paper: a4, a3 or letter.", "a4|a3|letter", "a4");
  const QCommandLineOption library = LibraryOption();
  const LevelOptions levelOptions;
  parser.addOptions({output, page, library});
  parser.addOptions(levelOptions.All());
  int status = kExitOk;
  if (!ParseCommandLine(parser, "pdf", args, status)) return status;
  if (parser.positionalArguments().size() != 1) return UsageError("pdf takes one STAGE file");
  if (!parser.isSet(output)) return UsageError("pdf needs -o OUT.pdf");
  QPageSize::PageSizeId pageSize = QPageSize::A4;
  if (!PdfPageSizeByName(parser.value(page), pageSize)) {
    return UsageError("--page takes a4, a3 or letter, not " + parser.value(page));
  }
  LevelRequest request;
  if (!ParseLevelOptions(parser, levelOptions, request, status)) return status;

  TLightLib lightLib;
  if (!LoadCliLibrary(parser, library, lightLib, status)) return status;
  TStageData doc;
  doc.OnMissingType = MissingTypeAnswers({});
  if (!LoadPageStage(parser.positionalArguments().front(), lightLib, doc, status)) return status;
  if (!FillShownLevels(request, doc, status)) return status;
  UpdateLights(doc);

  std::string error;
  if (!WritePdf(doc, parser.value(output).toStdString(), pageSize, QSize(), request.Settings,
                &error)) {
    return Fail("cannot write the PDF: " + Utf8(error));
  }
  return kExitOk;
}

}  // namespace lumaplot::cli
