#pragma once
// The texts the main window shows about its documents and its input: the window
// caption, the status bar's panels 0 (document counter), 1 (signal source and
// state) and 2 (the selection), the tab texts and the window menu's items. Pure
// functions of what they are given; GUI thread (they read documents).
#include <array>

#include <QString>

#include "model/StageData.h"

namespace lumaplot {

class TArtnetThread;
class THdrRecorder;

// What status panel 1 reports about.
struct TSignalState {
  static constexpr int kMaxPorts = 32;
  bool RecorderPlays = false;  // playing or scrubbing
  int RecorderFrameSize = 0;   // levels per recorded frame
  int InCount = 0;             // input ports of the engine
  bool TestMode = false;
  bool Ready = false;  // the engine's socket is set up
  std::array<bool, kMaxPorts> Receiving{};
};

TSignalState SignalStateOf(const TArtnetThread& engine, const THdrRecorder* recorder);

// "HDR: (AB------)" while the recorder plays; otherwise "NET:" with "テストモード",
// "受信中(A-C-----)", "無信号" or "NG".
QString SignalStatusText(const TSignalState& state);

// The selected object for panel 2: the one selected object, the `Primary` of several,
// or a count ("%u個の灯体を選択中"). Empty without a document. `letterForm` picks the
// "A001" channel form.
QString SelectionStatusText(const TStageData* doc, bool letterForm);

// " %u/%u": the current document's place and the number of documents.
QString DocumentCounterText(int currentIndex, int count);

// appTitle + " - (デバッグモード)" when `altNetwork` + " [" + title and file, or "無題",
// + "]" + " : 編集禁止" / " : 移動禁止"; the bare title without a document.
QString MainCaption(const QString& appTitle, bool altNetwork, const TStageData* doc);

// The text of the document's tab after a full refresh: its title, else "データ" +
// (index + 1).
QString TabText(const TStageData& doc, int index);
// The text a tab gets when it is added: " " + title or "データ" + count + " ".
QString NewTabText(const TStageData& doc, int documentCount);

// Item `index` (0 … 19) of the window menu: "&1: " … "&0: " for the first ten, three
// blanks after that, then the title or, without one, the file name.
QString WindowMenuCaption(const TStageData& doc, int index);

}  // namespace lumaplot
