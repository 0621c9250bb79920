#include "ui/main/FormTexts.h"

#include <algorithm>
#include <cmath>

#include "dmx/ArtnetThread.h"
#include "dmx/HdrRecorder.h"
#include "util/ChannelText.h"

namespace lumaplot {
namespace {

QString PortLetters(int inCount, const auto& on) {
  QString letters;
  for (int i = 0; i < inCount; ++i) letters += on(i) ? QChar('A' + i) : QChar('-');
  return letters;
}

QString ChannelRangeText(const TLightCell& light, bool letterForm) {
  if (light.StartCh == kNotPatched) return "none";
  const QString first = QString::fromStdString(ChannelName(light.StartCh, letterForm));
  if (light.Fixture.Channels < 2) return first;
  return first + "～" +
         QString::fromStdString(
             ChannelName(light.StartCh + light.Fixture.Channels - 1, letterForm));
}

QString ObjectText(const TLightCell& cell, bool letterForm) {
  switch (cell.Kind) {
    case KindLine: {
      const double dx = static_cast<double>(cell.X2) - cell.X1;
      const double dy = static_cast<double>(cell.Y2) - cell.Y1;
      const int length = static_cast<int>(std::sqrt(dx * dx + dy * dy));
      return QString::asprintf("  直線 (%4d,%4d - %4d,%4d)  L=%4d", cell.X1, cell.Y1, cell.X2,
                               cell.Y2, length);
    }
    case KindText:
      return QString::asprintf("  テキスト (%4d - %4d)", cell.X1, cell.Y1);
    case KindLight:
      return QString::fromStdString(cell.Fixture.Name) +
             "  Ch.=" + ChannelRangeText(cell, letterForm) +
             QString::asprintf("  (%4d - %4d : %3d°)", cell.X1, cell.Y1, cell.Angle);
    default:
      return {};
  }
}

}  // namespace

TSignalState SignalStateOf(const TArtnetThread& engine, const THdrRecorder* recorder) {
  TSignalState state;
  if (recorder) {
    state.RecorderPlays = recorder->Playing() || recorder->Scrubbing();
    state.RecorderFrameSize = recorder->FrameSize();
  }
  state.InCount = std::min(engine.InCount(), TSignalState::kMaxPorts);
  state.TestMode = engine.TestMode;
  state.Ready = engine.Ready();
  for (int i = 0; i < state.InCount; ++i) state.Receiving[i] = engine.Received(i) != 0;
  return state;
}

QString SignalStatusText(const TSignalState& state) {
  const int inCount = std::clamp(state.InCount, 0, TSignalState::kMaxPorts);
  if (state.RecorderPlays) {
    return "HDR: (" +
           PortLetters(inCount, [&](int i) { return state.RecorderFrameSize >= 512 * (i + 1); }) +
           ")";
  }
  if (state.TestMode) return "NET:テストモード";
  if (!state.Ready) return "NET:NG";
  bool any = false;
  for (int i = 0; i < inCount; ++i) any = any || state.Receiving[i];
  if (!any) return "NET:無信号";
  return "NET:受信中(" + PortLetters(inCount, [&](int i) { return state.Receiving[i]; }) + ")";
}

QString SelectionStatusText(const TStageData* doc, bool letterForm) {
  if (!doc) return {};
  const size_t count = doc->Selection.size();
  const TLightCell* subject = count == 1 ? doc->Selection.front() : doc->Primary;
  if (count == 0 || !subject) {
    return QString::asprintf("%u個の灯体を選択中", static_cast<unsigned>(count));
  }
  return ObjectText(*subject, letterForm);
}

QString DocumentCounterText(int currentIndex, int count) {
  return QString::asprintf(" %u/%u", static_cast<unsigned>(currentIndex + 1),
                           static_cast<unsigned>(count));
}

QString MainCaption(const QString& appTitle, bool altNetwork, const TStageData* doc) {
  if (!doc) return appTitle;
  QString caption = appTitle;
  if (altNetwork) caption += " - (デバッグモード)";
  caption += " [";
  if (!doc->FileName.empty()) {
    if (!doc->Title.empty()) caption += QString::fromStdString(doc->Title) + ": ";
    caption += QString::fromStdString(doc->FileName) + "]";
  } else {
    caption += "無題]";
  }
  if (doc->EditInhibit) {
    caption += " : 編集禁止";
  } else if (doc->InhibitMove) {
    caption += " : 移動禁止";
  }
  return caption;
}

QString TabText(const TStageData& doc, int index) {
  if (!doc.Title.empty()) return QString::fromStdString(doc.Title);
  return "データ" + QString::number(index + 1);
}

QString NewTabText(const TStageData& doc, int documentCount) {
  const QString name = doc.Title.empty() ? "データ" + QString::number(documentCount)
                                         : QString::fromStdString(doc.Title);
  return " " + name + " ";
}

QString WindowMenuCaption(const TStageData& doc, int index) {
  const QString prefix = index <= 9 ? QString("&%1: ").arg((index + 1) % 10) : QString("   ");
  return prefix + QString::fromStdString(doc.Title.empty() ? doc.FileName : doc.Title);
}

}  // namespace lumaplot
