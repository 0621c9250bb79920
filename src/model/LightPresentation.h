#pragma once
// What a light shows for the DMX levels of its document: the colour its channels
// mix to, the level of its dimmer or brightness channel, the fill of a bar graph,
// and the level and channel texts beside it with their colours and places.
//
// UpdateLights runs on the GUI thread while the caller holds LevelLock, since it
// reads the document's `ShownLevels`. It never writes them: a channel whose role the
// type inverts is inverted in the value used for the colour and level only, so a
// level held still shows a steady colour however many ticks pass. The text functions
// only read. Lights whose channels reach past the last of the 4096 levels read the
// missing channels as level 0 without touching anything outside the buffer; a
// `StartCh` outside 0 … 4095 counts as not patched.
#include <cstdint>
#include <string>

#include "model/Canvas.h"
#include "model/StageData.h"
#include "util/FontSpec.h"

namespace lumaplot {

class TEnvData;

// The preferences that decide how objects are presented and drawn.
struct TPresentationSettings {
  int32_t DimValMode = 0;      // level text: 0 percent, 1 decimal, 2 hexadecimal
  int32_t DmxChMode = 0;       // channel text: 0 "A001" form, otherwise "1" form
  bool ExchangeValCh = false;  // level text above the light, channel text below
  FontSpec DefaultFont;        // face of text objects (their height is their Size)
};

// The settings record's presentation preferences.
TPresentationSettings PresentationSettingsOf(const TEnvData& env);

// The program-wide presentation settings used by the drawing and hit-testing calls
// that take none. The main window sets them from the settings record at start-up
// and whenever the preferences change. GUI thread only.
TPresentationSettings& PresentationSettings();

// The level channel `index` (0-based) of `light` presents with `levels`: the level
// as stored, or 255 - level when the type inverts that channel's role. 0 for a
// channel past the last level, an index outside the type's channels, or a light that
// is not patched.
int PresentedLevel(const TLevelBuffer& levels, const TLightCell& light, int index);

// Recomputes `Color`, `Level` and `BarLevel` of every patched light of `doc` from
// `ShownLevels`, and marks (unless `Moving`) the lights whose colour or bar fill
// changed. A change of the level alone marks nothing.
void UpdateLights(TStageData& doc);

struct TLightText {
  std::string Text;  // UTF-8
  int32_t Color = 0;
  friend bool operator==(const TLightText&, const TLightText&) = default;
};

// The level text of `light` and its colour in `doc`'s level colours; an unknown
// mode gives an empty text in `ValColor`.
TLightText LevelText(const TStageData& doc, const TLightCell& light, int32_t dimValMode);
// The channel text ("A001" form when `dmxChMode` is 0, else "1" form; empty when not
// patched) in `ModColor` on every `ModChN`-th channel, otherwise `ChColor`.
TLightText ChannelText(const TStageData& doc, const TLightCell& light, int32_t dmxChMode);

// Where a text of `width` x `height` pixels stands beside a light whose drawn outline
// has the bounding box `box`: centred horizontally, below the box or above it.
TPoint TextBelow(const TRect& box, int32_t width);
TPoint TextAbove(const TRect& box, int32_t width, int32_t height);

}  // namespace lumaplot
