#include "cli/RecordingFrame.h"

#include <QRegularExpression>

#include <algorithm>

#include "cli/RecordingInfo.h"
#include "dmx/HdrRecorder.h"

namespace lumaplot::cli {

bool ParseRecordingMoment(const QString& text, RecordingMoment& moment) {
  static const QRegularExpression frameForm("^\\d{1,9}$");
  static const QRegularExpression timeForm(
      "^(?:(?:(\\d{1,4}):)?(\\d{1,2}):)?(\\d{1,2})(?:\\.(\\d{1,2}))?$");
  const QString trimmed = text.trimmed();
  if (frameForm.match(trimmed).hasMatch() && !trimmed.contains(':')) {
    moment = {false, trimmed.toLongLong(), 0};
    return true;
  }
  const QRegularExpressionMatch m = timeForm.match(trimmed);
  if (!m.hasMatch()) return false;
  const std::int64_t hours = m.captured(1).toLongLong();
  const std::int64_t minutes = m.captured(2).toLongLong();
  const std::int64_t seconds = m.captured(3).toLongLong();
  QString hundredths = m.captured(4);
  if (hundredths.size() == 1) hundredths += '0';  // ".5" is half a second
  if ((m.hasCaptured(2) && seconds > 59) || (m.hasCaptured(1) && minutes > 59)) return false;
  moment.IsTime = true;
  moment.Frame = 0;
  moment.Milliseconds =
      ((hours * 60 + minutes) * 60 + seconds) * 1000 + hundredths.toLongLong() * 10;
  return true;
}

bool ReadRecordingFrame(const QString& path, const RecordingMoment& moment,
                        std::vector<std::uint8_t>& levels, QString& error) {
  THdrRecorder recorder(kRecorderPorts);
  std::string reason;
  if (!recorder.Open(path.toStdString(), false, &reason)) {
    error = QString::fromStdString(reason);
    return false;
  }
  const std::int64_t frame =
      moment.IsTime ? moment.Milliseconds / std::max(1, recorder.IntervalMs()) : moment.Frame;
  recorder.SetScrubbing(true);
  if (frame > INT32_MAX || !recorder.Seek(static_cast<int>(frame))) {
    // What the file holds, not what its header claims (a killed or hostile header
    // may say 0 or 2147483647).
    error = QString("frame %1 is not in %2 (it holds %3 frames)")
                .arg(frame)
                .arg(path)
                .arg(recorder.PlayableFrames());
    return false;
  }
  levels.assign(THdrRecorder::kMaxFrameLevels, 0);
  levels.resize(static_cast<size_t>(recorder.Tick(levels.data())));
  return true;
}

}  // namespace lumaplot::cli
