// lumaplot-cli lights: what every light of a plot shows for a set of levels.
#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonObject>

#include "cli/CliCommand.h"
#include "cli/CliIo.h"
#include "cli/LevelOptions.h"
#include "cli/StageCliSupport.h"
#include "model/LightPresentation.h"

namespace lumaplot::cli {
namespace {

// The levels of the light's channels; a channel past the last reads 0, and a light
// that is not patched has none.
QJsonArray ChannelLevels(const TStageData& doc, const TLightCell& light) {
  QJsonArray levels;
  if (light.StartCh < 0 || light.StartCh >= kStageChannels) return levels;
  const int count = light.Fixture.UsedChannels();
  for (int i = 0; i < count; ++i) {
    levels.append(PresentedLevel(doc.ShownLevels, light, i));
  }
  return levels;
}

QJsonObject LightJson(const TStageData& doc, const TLightCell& light,
                      const TPresentationSettings& settings) {
  const TLightText level = LevelText(doc, light, settings.DimValMode);
  const TLightText channel = ChannelText(doc, light, settings.DmxChMode);
  return {{"Name", Utf8(light.Fixture.Name)},
          {"StartCh", light.StartCh},
          {"Color", light.Color},
          {"Level", light.Level},
          {"BarLevel", light.BarLevel},
          {"NeedsDraw", light.NeedsDraw()},
          {"LevelText", Utf8(level.Text)},
          {"LevelColor", level.Color},
          {"ChannelText", Utf8(channel.Text)},
          {"ChannelColor", channel.Color},
          {"Levels", ChannelLevels(doc, light)}};
}

}  // namespace

int RunLights(const QStringList& args) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Shows what every light of a plot displays for the given levels: one JSON line per\n"
      "light in drawing order, after one presentation update. StartCh is 0-based (-1: not\n"
      "patched); NeedsDraw tells whether the update changed the light's colour or bar fill;\n"
      "Levels are the light's channel levels after the update (inversions included).");
  parser.addPositionalArgument("STAGE", "The stage file (.dat).");
  const QCommandLineOption library = LibraryOption();
  const LevelOptions levelOptions;
  parser.addOption(library);
  parser.addOptions(levelOptions.All());
  int status = kExitOk;
  if (!ParseCommandLine(parser, "lights", args, status)) return status;
  if (parser.positionalArguments().size() != 1) return UsageError("lights takes one STAGE file");
  LevelRequest request;
  if (!ParseLevelOptions(parser, levelOptions, request, status)) return status;

  TLightLib lightLib;
  if (!LoadCliLibrary(parser, library, lightLib, status)) return status;
  TStageData doc;
  doc.OnMissingType = MissingTypeAnswers({});
  if (!LoadCliStage(parser.positionalArguments().front(), lightLib, doc, status)) return status;
  if (!FillShownLevels(request, doc, status)) return status;

  // As after the first painting of the page: nothing waits to be drawn.
  for (TLightCell* cell : doc.Objects) cell->SetNeedsDraw(false);
  UpdateLights(doc);
  for (const TLightCell* cell : doc.Objects) {
    if (cell->Kind == KindLight) PrintJsonLine(LightJson(doc, *cell, request.Settings));
  }
  return kExitOk;
}

}  // namespace lumaplot::cli
