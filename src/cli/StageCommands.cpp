// lumaplot-cli objects, convert and list: reading a plot and writing it back or as
// a light list.
#include <QCommandLineParser>
#include <QJsonObject>

#include "cli/CliCommand.h"
#include "cli/CliIo.h"
#include "cli/StageCliSupport.h"
#include "model/LightListExport.h"
#include "model/StageFile.h"

namespace lumaplot::cli {
namespace {

QJsonObject DocumentJson(const TStageData& doc) {
  return {{"BgImage", Utf8(doc.BgImage)},
          {"Title", Utf8(doc.Title)},
          {"ScrWidth", doc.ScrWidth},
          {"ScrHeight", doc.ScrHeight},
          {"ShowGrid", doc.ShowGrid},
          {"GridSize", doc.GridSize},
          {"GridStyle", doc.GridStyle},
          {"BgColor", doc.BgColor},
          {"GridColor", doc.GridColor},
          {"ValColor", doc.ValColor},
          {"ValZeroColor", doc.ValZeroColor},
          {"ValFullColor", doc.ValFullColor},
          {"ValBgColor", doc.ValBgColor},
          {"ChColor", doc.ChColor},
          {"ModColor", doc.ModColor},
          {"ModChN", doc.ModChN},
          {"ValFontName", Utf8(doc.ValFont.Name)},
          {"ValFontSize", doc.ValFont.Size},
          {"ChFontName", Utf8(doc.ChFont.Name)},
          {"ChFontSize", doc.ChFont.Size},
          {"InhibitMove", doc.InhibitMove},
          {"EditInhibit", doc.EditInhibit},
          {"Modified", doc.Modified}};
}

QJsonObject CellJson(const TLightCell& c) {
  return {{"Kind", c.Kind},
          {"Order", c.Order},
          {"X1", c.X1},
          {"Y1", c.Y1},
          {"X2", c.X2},
          {"Y2", c.Y2},
          {"Size", c.Size},
          {"Size2", c.Size2},
          {"Angle", c.Angle},
          {"Color", c.Color},
          {"Color2", c.Color2},
          {"FilterColor", c.FilterColor},
          {"Flags", static_cast<qint64>(c.Flags)},
          {"ShapeType", c.ShapeType},
          {"Text", Utf8(c.Text)},
          {"Comment", Utf8(c.Comment)},
          {"StartCh", c.StartCh},
          {"Width", c.Width},
          {"Height", c.Height},
          {"Fixture", FixtureJson(c.Fixture)}};
}

// The options every plot-reading command shares; false (status set) on bad usage.
struct PlotArguments {
  QCommandLineOption library = LibraryOption();
  QCommandLineOption replace = ReplaceOption();
  QCommandLineOption output{QStringList{"o", "output"}, "The file to write.", "OUT"};
};

bool ReadPlot(QCommandLineParser& parser, const PlotArguments& options, const QString& command,
              TLightLib& library, TStageData& document, int& status) {
  if (parser.positionalArguments().size() != 1) {
    status = UsageError(command + " takes one STAGE file");
    return false;
  }
  TypeReplacements replacements;
  if (!ParseReplacements(parser.values(options.replace), replacements, status)) return false;
  if (!LoadCliLibrary(parser, options.library, library, status)) return false;
  document.OnMissingType = MissingTypeAnswers(std::move(replacements));
  return LoadCliStage(parser.positionalArguments().front(), library, document, status);
}

}  // namespace

int RunObjects(const QStringList& args) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Prints a plot as JSON lines: its options, then every object in drawing order.");
  parser.addPositionalArgument("STAGE", "The stage file (.dat).");
  const PlotArguments options;
  parser.addOptions({options.library, options.replace});
  int status = kExitOk;
  if (!ParseCommandLine(parser, "objects", args, status)) return status;
  TLightLib library;
  TStageData document;
  if (!ReadPlot(parser, options, "objects", library, document, status)) return status;
  PrintJsonLine({{"Document", DocumentJson(document)}});
  for (const TLightCell* cell : document.Objects) PrintJsonLine(CellJson(*cell));
  return kExitOk;
}

int RunConvert(const QStringList& args) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Reads a plot and writes it again: Shift-JIS (code page 932) unless --utf8.");
  parser.addPositionalArgument("STAGE", "The stage file (.dat).");
  const PlotArguments options;
  const QCommandLineOption utf8("utf8", "Write UTF-8 with a byte-order mark.");
  parser.addOptions({options.output, utf8, options.library, options.replace});
  int status = kExitOk;
  if (!ParseCommandLine(parser, "convert", args, status)) return status;
  if (!parser.isSet(options.output)) return UsageError("convert needs -o OUT");
  TLightLib library;
  TStageData document;
  if (!ReadPlot(parser, options, "convert", library, document, status)) return status;
  document.FileName = parser.value(options.output).toStdString();
  std::string error;
  if (!SaveStage(document, parser.isSet(utf8), &error)) return Fail("cannot write: " + Utf8(error));
  return kExitOk;
}

int RunList(const QStringList& args) {
  QCommandLineParser parser;
  parser.setApplicationDescription("Writes the light list of a plot as text (code page 932).");
  parser.addPositionalArgument("STAGE", "The stage file (.dat).");
  const PlotArguments options;
  const QCommandLineOption numberForm("number-form",
                                      "Channels as 1 … 4096 instead of A001 … H512.");
  const QCommandLineOption sort(
      "sort", "0: type name, then channel (default); 1: channel, then name; 2: plot order.",
      "0|1|2", "0");
  parser.addOptions({options.output, options.library, options.replace, numberForm, sort});
  int status = kExitOk;
  if (!ParseCommandLine(parser, "list", args, status)) return status;
  if (!parser.isSet(options.output)) return UsageError("list needs -o OUT");
  const QString sortText = parser.value(sort);
  if (sortText != "0" && sortText != "1" && sortText != "2") {
    return UsageError("--sort takes 0, 1 or 2");
  }
  TLightLib library;
  TStageData document;
  if (!ReadPlot(parser, options, "list", library, document, status)) return status;
  const TLightListOptions listOptions{.DmxChMode = parser.isSet(numberForm) ? 1 : 0,
                                      .GridSortMode = sortText.toInt()};
  std::string error;
  if (!ExportLightList(document, parser.value(options.output).toStdString(), listOptions, &error)) {
    return Fail("cannot write: " + Utf8(error));
  }
  return kExitOk;
}

}  // namespace lumaplot::cli
