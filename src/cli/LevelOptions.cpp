#include "cli/LevelOptions.h"

#include <algorithm>

#include "cli/CliCommand.h"
#include "cli/CliIo.h"
#include "util/ChannelText.h"
#include "util/FileIo.h"

namespace lumaplot::cli {
namespace {

bool ParseChoice(const QString& text, int last, int32_t& value) {
  bool ok = false;
  const int v = text.toInt(&ok);
  if (!ok || v < 0 || v > last) return false;
  value = v;
  return true;
}

bool ParseSet(const QString& item, std::pair<int, uint8_t>& set) {
  const qsizetype eq = item.indexOf('=');
  if (eq < 0) return false;
  const int channel = ParseChannelName(item.left(eq).toStdString());
  bool ok = false;
  const int level = item.mid(eq + 1).trimmed().toInt(&ok);
  if (channel < 0 || !ok || level < 0 || level > 255) return false;
  set = {channel, static_cast<uint8_t>(level)};
  return true;
}

}  // namespace

bool ParseLevelOptions(const QCommandLineParser& parser, const LevelOptions& options,
                       LevelRequest& request, int& status) {
  if (!ParseChoice(parser.value(options.dimval), 2, request.Settings.DimValMode)) {
    status = UsageError("--dimval takes 0, 1 or 2");
    return false;
  }
  if (!ParseChoice(parser.value(options.chmode), 1, request.Settings.DmxChMode)) {
    status = UsageError("--chmode takes 0 or 1");
    return false;
  }
  request.Settings.ExchangeValCh = parser.isSet(options.exchange);
  request.LevelsFile = parser.value(options.levels).toStdString();
  request.RecordingFile = parser.value(options.recording);
  if (!request.RecordingFile.isEmpty() && !request.LevelsFile.empty()) {
    status = UsageError("--levels and --recording cannot be given together");
    return false;
  }
  if (request.RecordingFile.isEmpty() != !parser.isSet(options.at)) {
    status = UsageError("--recording and --at go together");
    return false;
  }
  if (parser.isSet(options.at) && !ParseRecordingMoment(parser.value(options.at), request.At)) {
    status =
        UsageError("--at takes a frame number or hh:mm:ss.cc, not " + parser.value(options.at));
    return false;
  }
  for (const QString& value : parser.values(options.set)) {
    for (const QString& item : value.split(',', Qt::SkipEmptyParts)) {
      std::pair<int, uint8_t> set;
      if (!ParseSet(item, set)) {
        status = UsageError(
            "--set takes CH=V with a channel A001 … H512 or 1 … 4096 and a "
            "level 0 … 255, not " +
            item);
        return false;
      }
      request.Sets.push_back(set);
    }
  }
  return true;
}

bool FillShownLevels(const LevelRequest& request, TStageData& doc, int& status) {
  doc.ShownLevels.fill(0);
  if (!request.LevelsFile.empty()) {
    std::string bytes;
    std::string error;
    // Only the first 4096 bytes are levels; the rest of a file is never read.
    if (!ReadFileHead(request.LevelsFile, doc.ShownLevels.size(), bytes, &error)) {
      status = Fail("cannot read the levels: " + QString::fromStdString(error));
      return false;
    }
    const size_t count = std::min(bytes.size(), doc.ShownLevels.size());
    std::copy_n(reinterpret_cast<const uint8_t*>(bytes.data()), count, doc.ShownLevels.begin());
  }
  if (!request.RecordingFile.isEmpty()) {
    std::vector<uint8_t> frame;
    QString error;
    if (!ReadRecordingFrame(request.RecordingFile, request.At, frame, error)) {
      status = Fail(error);
      return false;
    }
    std::copy_n(frame.begin(), std::min(frame.size(), doc.ShownLevels.size()),
                doc.ShownLevels.begin());
  }
  for (const auto& [channel, level] : request.Sets) {
    doc.ShownLevels[static_cast<size_t>(channel)] = level;
  }
  return true;
}

}  // namespace lumaplot::cli
