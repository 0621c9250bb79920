// lumaplot-cli render: the page of a plot as the view paints it, written as PNG.
#include <QBuffer>
#include <QCommandLineParser>

#include <cstdint>

#include "cli/CliCommand.h"
#include "cli/CliIo.h"
#include "cli/LevelOptions.h"
#include "cli/PageStage.h"
#include "cli/StageCliSupport.h"
#include "ui/qt/PagePainter.h"
#include "ui/qt/QtCanvas.h"
#include "util/FileIo.h"

namespace lumaplot::cli {
namespace {

// Large enough for any screen, small enough that the image fits in memory.
constexpr int kMaxRenderSide = 8192;

bool ParseSide(const QCommandLineParser& parser, const QCommandLineOption& option, int& side) {
  if (!parser.isSet(option)) return true;
  bool ok = false;
  side = parser.value(option).toInt(&ok);
  return ok && side >= 1 && side <= kMaxRenderSide;
}

bool WritePng(const QImage& image, const QString& path, int& status) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  std::string error;
  if (!image.save(&buffer, "PNG")) {
    status = Fail("cannot encode the picture");
    return false;
  }
  if (!WriteFileAtomically(path.toStdString(), std::string_view(bytes.constData(), bytes.size()),
                           &error)) {
    status = Fail("cannot write: " + Utf8(error));
    return false;
  }
  return true;
}

}  // namespace

int RunRender(const QStringList& args) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Paints the page of a plot as the view shows it when the page fits (background,\n"
      "picture, grid, every object after one presentation update) and writes a PNG.\n"
      "The picture has the page size unless --width and --height say otherwise.");
  parser.addPositionalArgument("STAGE", "The stage file (.dat).");
  const QCommandLineOption output(QStringList{"o", "output"}, "The PNG file to write.", "OUT");
  const QCommandLineOption width("width", "Picture width in pixels (1 … 8192).", "W");
  const QCommandLineOption height("height", "Picture height in pixels (1 … 8192).", "H");
  const QCommandLineOption library = LibraryOption();
  const LevelOptions levelOptions;
  parser.addOptions({output, width, height, library});
  parser.addOptions(levelOptions.All());
  int status = kExitOk;
  if (!ParseCommandLine(parser, "render", args, status)) return status;
  if (parser.positionalArguments().size() != 1) return UsageError("render takes one STAGE file");
  if (!parser.isSet(output)) return UsageError("render needs -o OUT.png");
  int w = 0;
  int h = 0;
  if (!ParseSide(parser, width, w) || !ParseSide(parser, height, h)) {
    return UsageError("--width and --height take 1 … 8192");
  }
  LevelRequest request;
  if (!ParseLevelOptions(parser, levelOptions, request, status)) return status;

  TLightLib lightLib;
  if (!LoadCliLibrary(parser, library, lightLib, status)) return status;
  TStageData doc;
  doc.OnMissingType = MissingTypeAnswers({});
  const QString stagePath = parser.positionalArguments().front();
  if (!LoadPageStage(stagePath, lightLib, doc, status)) return status;
  if (w == 0) w = doc.ScrWidth;
  if (h == 0) h = doc.ScrHeight;
  if (w < 1 || w > kMaxRenderSide || h < 1 || h > kMaxRenderSide) {
    return Fail(QString("the page size %1 x %2 cannot be rendered; give --width and --height")
                    .arg(w)
                    .arg(h));
  }
  if (!FillShownLevels(request, doc, status)) return status;

  UpdateLights(doc);
  QtCanvas canvas(QSize(w, h), doc.BgColor);
  PaintPage(doc, canvas, request.Settings);
  return WritePng(canvas.Image(), parser.value(output), status) ? kExitOk : status;
}

}  // namespace lumaplot::cli
