#include "model/LightGridText.h"

#include <cstdio>

#include "model/LightPresentation.h"

namespace lumaplot {
namespace {

constexpr std::string_view kRoleTexts[] = {"-", "R", "G", "B", "Y", "M", "C", "W", "D", "I"};

}  // namespace

std::string_view RoleText(int32_t role) {
  if (role < 0 || role >= static_cast<int32_t>(std::size(kRoleTexts))) return {};
  return kRoleTexts[role];
}

std::string ListLevelText(int level, int32_t mode) {
  const unsigned value = static_cast<unsigned>(level) & 0xFFu;
  char text[8];
  switch (mode) {
    case ListValPercent:
      // 254 is 99.6 %: cut, not rounded, so only a full level reads "FF".
      if (value == 255) return " FF";
      std::snprintf(text, sizeof text, " %02u", value * 100 / 255);
      return text;
    case ListValDecimal:
      std::snprintf(text, sizeof text, " %3u", value);
      return text;
    case ListValHex:
      std::snprintf(text, sizeof text, " %02X", value);
      return text;
    default:
      return {};
  }
}

int ListCellLevel(const TLevelBuffer& levels, const TLightCell& light, int index) {
  if (index < 0 || index >= light.Fixture.UsedChannels()) return kEmptyCell;
  if (light.StartCh < 0 || light.StartCh >= kStageChannels) return kEmptyCell;
  if (int64_t{light.StartCh} + index >= kStageChannels) return kEmptyCell;
  return PresentedLevel(levels, light, index);
}

std::string ListCellText(int32_t role, int level, int32_t mode) {
  if (level == kEmptyCell) return {};
  return std::string(RoleText(role)) + ListLevelText(level, mode);
}

void SortListLights(TLightList& lights, int32_t gridSortMode) {
  if (gridSortMode == 0) SortCells(lights, CompareNameChannel);
  if (gridSortMode == 1) SortCells(lights, CompareChannelName);
}

}  // namespace lumaplot
