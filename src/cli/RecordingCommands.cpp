// lumaplot-cli rec-info and rec-frame: what a recording file holds.
#include <sys/stat.h>
#include <unistd.h>

#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <algorithm>
#include <string>
#include <vector>

#include "cli/CliCommand.h"
#include "cli/CliIo.h"
#include "cli/RecordingFrame.h"
#include "cli/RecordingInfo.h"
#include "util/FileIo.h"

namespace lumaplot::cli {
namespace {

constexpr char kBadRecordingMessage[] = "不正なデータファイルです";

QJsonValue DateValue(double days) {
  std::string text;
  if (!OleDateToIsoText(days, text)) return QJsonValue::Null;
  return QString::fromStdString(text);
}

// Reads the header as it stands in the file; false (with the exit status in
// `status`) when the file cannot be read or is no recording.
bool ReadRawHeader(const QString& path, HdrHeader& header, qint64& length, int& status) {
  std::string error;
  const int fd = OpenRegularFile(path.toStdString(), &error);
  if (fd < 0) {
    status = Fail(QString::fromStdString(error));
    return false;
  }
  struct stat st {};
  length = ::fstat(fd, &st) == 0 ? st.st_size : 0;
  const ssize_t read = ::pread(fd, header.Bytes.data(), header.Bytes.size(), 0);
  ::close(fd);
  if (read != static_cast<ssize_t>(header.Bytes.size()) || !header.HasMagic()) {
    status = Fail(kBadRecordingMessage);
    return false;
  }
  return true;
}

}  // namespace

int RunRecInfo(const QStringList& args) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Prints the header of a recording file and how many whole frames it holds.");
  parser.addPositionalArgument("FILE", "The recording file (.dat).");
  int status = kExitOk;
  if (!ParseCommandLine(parser, "rec-info", args, status)) return status;
  if (parser.positionalArguments().size() != 1) return UsageError("rec-info takes one FILE");

  return PrintRecordingInfo(parser.positionalArguments().at(0));
}

int PrintRecordingInfo(const QString& path) {
  HdrHeader header;
  qint64 length = 0;
  int status = kExitOk;
  if (!ReadRawHeader(path, header, length, status)) return status;
  const int frameSize = CorrectFrameSize(header.FrameSize(), kRecorderFrameLevels);
  PrintJsonLine({
      {"Title", QString::fromStdString(header.Title())},
      {"FrameSize", header.FrameSize()},
      {"FrameCount", header.FrameCount()},
      {"IntervalMs", header.IntervalMs()},
      {"StartTime", DateValue(header.StartTime())},
      {"StopTime", DateValue(header.StopTime())},
      {"Frames", static_cast<qint64>(WholeFramesInFile(length, frameSize))},
      {"Length", length},
  });
  return kExitOk;
}

int RunRecFrame(const QStringList& args) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Prints the levels of one frame of a recording file (frames count from 0).");
  parser.addPositionalArgument("FILE", "The recording file (.dat).");
  parser.addPositionalArgument("N", "The frame number, from 0.");
  int status = kExitOk;
  if (!ParseCommandLine(parser, "rec-frame", args, status)) return status;
  const QStringList positional = parser.positionalArguments();
  if (positional.size() != 2) return UsageError("rec-frame takes FILE and N");
  bool isNumber = false;
  const int frame = positional.at(1).toInt(&isNumber);
  if (!isNumber || frame < 0)
    return UsageError("N must be a frame number from 0: " + positional.at(1));

  const QString path = positional.at(0);
  HdrHeader header;
  qint64 length = 0;
  if (!ReadRawHeader(path, header, length, status)) return status;

  std::vector<std::uint8_t> levels;
  QString error;
  if (!ReadRecordingFrame(path, {false, frame, 0}, levels, error)) return Fail(error);
  QJsonArray values;
  for (const std::uint8_t level : levels) values.append(level);
  PrintJsonLine({{"Frame", frame}, {"Levels", values}});
  return kExitOk;
}

}  // namespace lumaplot::cli
