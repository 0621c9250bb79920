#include "model/LightPresentation.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "util/ChannelText.h"
#include "util/EnvData.h"
#include "util/SystemColor.h"

namespace lumaplot {
namespace {

struct TMix {
  int Red = 0;
  int Green = 0;
  int Blue = 0;
  int White = 0;
  int Level = 0;
  bool DimmerMode = false;
};

bool IsInverted(int32_t role, int32_t exAtr) {
  if (role >= RoleRed && role <= RoleCyan) return (exAtr & kExAtrColorInvert) != 0;
  if (role == RoleBrightness) return (exAtr & kExAtrBrightnessInvert) != 0;
  return false;
}

bool IsPatched(int32_t startCh) { return startCh >= 0 && startCh < kStageChannels; }

// Channel `i` of a patched light. Only the value used is inverted: the buffer keeps
// what the input wrote, so a level that stays the same looks the same on every tick,
// and lights sharing the channel see the same level. A channel past the last level
// reads 0.
int ChannelLevel(const TLevelBuffer& levels, const TLightCell& light, int i) {
  const int64_t channel = int64_t{light.StartCh} + i;
  const int v = channel < kStageChannels ? levels[static_cast<size_t>(channel)] : 0;
  return IsInverted(light.Fixture.ChAtr[static_cast<size_t>(i)], light.Fixture.ExAtr) ? 255 - v : v;
}

void ApplyRole(TMix& mix, int32_t role, int v) {
  switch (role) {
    case RoleRed:
      mix.Red = v;
      mix.DimmerMode = false;
      break;
    case RoleGreen:
      mix.Green = v;
      mix.DimmerMode = false;
      break;
    case RoleBlue:
      mix.Blue = v;
      mix.DimmerMode = false;
      break;
    case RoleYellow:
      mix.Blue = 255 - v;
      mix.DimmerMode = false;
      break;
    case RoleMagenta:
      mix.Green = 255 - v;
      mix.DimmerMode = false;
      break;
    case RoleCyan:
      mix.Red = 255 - v;
      mix.DimmerMode = false;
      break;
    case RoleWhite:
      mix.White = v;
      mix.DimmerMode = false;
      break;
    case RoleDimmer:
      mix.Level = v;
      mix.DimmerMode = true;
      break;
    case RoleBrightness:
      mix.Level = v;
      break;
    default:
      break;
  }
}

TMix MixChannels(const TLevelBuffer& levels, const TLightCell& light) {
  TMix mix;
  const TLibItem& type = light.Fixture;
  const int count = type.UsedChannels();
  for (int i = 0; i < count; ++i) {
    ApplyRole(mix, type.ChAtr[static_cast<size_t>(i)], ChannelLevel(levels, light, i));
  }
  return mix;
}

// In dimmer mode the body shows its filter colour (white without one) at the
// dimmer's level; the colour channels do not count.
void ApplyDimmer(TMix& mix, int32_t filterColor, double fraction) {
  const int32_t base = filterColor == kNoColor ? 0xFFFFFF : ColorToRgb(filterColor);
  const int baseRed = base & 0xFF;
  const int baseGreen = (base >> 8) & 0xFF;
  const int baseBlue = (base >> 16) & 0xFF;
  if (fraction < 1.0) {
    mix.Red = static_cast<int>(baseRed * fraction);
    mix.Green = static_cast<int>(baseGreen * fraction);
    mix.Blue = static_cast<int>(baseBlue * fraction);
  } else {
    mix.Red = baseRed;
    mix.Green = baseGreen;
    mix.Blue = baseBlue;
  }
}

void UpdateLight(const TLevelBuffer& levels, TLightCell& light) {
  TMix mix = MixChannels(levels, light);
  double fraction = 1.0;
  if (mix.DimmerMode) {
    fraction = mix.Level / 255.0;
    ApplyDimmer(mix, light.FilterColor, fraction);
  }
  if (mix.White > 0) {
    mix.Red = std::min(mix.Red + mix.White, 255);
    mix.Green = std::min(mix.Green + mix.White, 255);
    mix.Blue = std::min(mix.Blue + mix.White, 255);
  }
  const int32_t color = mix.Red + 256 * mix.Green + 65536 * mix.Blue;
  if (color != light.Color) {
    light.Color = color;
    if (!light.Moving()) light.SetNeedsDraw();
  }
  light.Level = mix.Level;
  if (light.Fixture.Shape != BarGraph) {
    light.BarLevel = 0.0;
  } else if (mix.DimmerMode && fraction != light.BarLevel) {
    light.BarLevel = fraction;
    if (!light.Moving()) light.SetNeedsDraw();
  }
}

std::string Format(const char* format, unsigned value) {
  char text[16];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// Percent rounded half up; a bar graph shows its fill, other lights their level.
unsigned Percent(const TLightCell& light) {
  const double exact =
      light.Fixture.Shape == BarGraph ? light.BarLevel * 100.0 : light.Level * 100.0 / 255.0;
  const double rounded = std::floor(exact + 0.5);
  return rounded > 0.0 ? static_cast<unsigned>(std::min(rounded, 100.0)) : 0u;
}

unsigned LevelByte(const TLightCell& light) {
  return static_cast<unsigned>(std::clamp(light.Level, 0, 255));
}

}  // namespace

TPresentationSettings PresentationSettingsOf(const TEnvData& env) {
  return {env.DimValMode, env.DmxChMode, env.ExchangeValCh, env.DefaultFont};
}

TPresentationSettings& PresentationSettings() {
  static TPresentationSettings settings;
  return settings;
}

int PresentedLevel(const TLevelBuffer& levels, const TLightCell& light, int index) {
  if (!IsPatched(light.StartCh) || index < 0 || index >= light.Fixture.UsedChannels()) return 0;
  return ChannelLevel(levels, light, index);
}

void UpdateLights(TStageData& doc) {
  for (TLightCell* cell : doc.Objects) {
    if (cell == nullptr || cell->Kind != KindLight || !IsPatched(cell->StartCh)) continue;
    UpdateLight(doc.ShownLevels, *cell);
  }
}

TLightText LevelText(const TStageData& doc, const TLightCell& light, int32_t dimValMode) {
  switch (dimValMode) {
    case 0: {
      const unsigned p = Percent(light);
      if (p >= 100) return {"FF", doc.ValFullColor};
      return {Format("%02u", p), p == 0 ? doc.ValZeroColor : doc.ValColor};
    }
    case 1:
    case 2: {
      const unsigned level = LevelByte(light);
      const int32_t color = level == 0     ? doc.ValZeroColor
                            : level == 255 ? doc.ValFullColor
                                           : doc.ValColor;
      return {Format(dimValMode == 1 ? "%03u" : "%02X", level), color};
    }
    default:
      return {"", doc.ValColor};
  }
}

TLightText ChannelText(const TStageData& doc, const TLightCell& light, int32_t dmxChMode) {
  if (!IsPatched(light.StartCh)) return {"", doc.ChColor};
  const bool marked = doc.ModChN >= 1 && (light.StartCh + 1) % doc.ModChN == 0;
  return {ChannelName(light.StartCh, dmxChMode == 0), marked ? doc.ModColor : doc.ChColor};
}

TPoint TextBelow(const TRect& box, int32_t width) {
  return {box.Left + (box.Right - box.Left - width) / 2 + 1, box.Bottom + 2};
}

TPoint TextAbove(const TRect& box, int32_t width, int32_t height) {
  return {box.Left + (box.Right - box.Left - width) / 2 + 1, box.Top - height - 1};
}

}  // namespace lumaplot
