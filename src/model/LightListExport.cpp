#include "model/LightListExport.h"

#include "util/ChannelText.h"
#include "util/TextCodec.h"

namespace lumaplot {
namespace {

constexpr std::string_view kRoleLetters[] = {"-", "R", "G", "B", "Y", "M", "C", "W", "D", "I"};

// Left-aligned in at least `width` columns, counted in bytes of code page 932 as the
// file holds them (a full-width character takes two).
std::string PadRight(const std::string& text, size_t width) {
  const size_t used = Utf8ToCp932(text).size();
  return used >= width ? text : text + std::string(width - used, ' ');
}

std::string LightLine(const TLightCell& light, bool letterForm) {
  std::string line = PadRight(light.Fixture.Name, 20) + " " +
                     PadRight(ChannelName(light.StartCh, letterForm), 4) + " ";
  for (int i = 0; i < light.Fixture.UsedChannels(); ++i) {
    const int32_t role = light.Fixture.ChAtr[static_cast<size_t>(i)];
    line += ' ';
    if (role >= 0 && role < static_cast<int32_t>(std::size(kRoleLetters)))
      line += kRoleLetters[role];
  }
  return line;
}

}  // namespace

std::vector<std::string> LightListLines(const TStageData& document,
                                        const TLightListOptions& options) {
  TLightList lights;
  for (TLightCell* cell : document.Objects) {
    if (cell->Kind == KindLight) lights.push_back(cell);
  }
  if (options.GridSortMode == 0) SortCells(lights, CompareNameChannel);
  if (options.GridSortMode == 1) SortCells(lights, CompareChannelName);

  const std::string rule(50, '-');
  std::vector<std::string> lines = {"Title : " + document.Title, "", "Type                 Ch.",
                                    rule};
  for (const TLightCell* light : lights) lines.push_back(LightLine(*light, options.DmxChMode == 0));
  lines.push_back(rule);
  return lines;
}

bool ExportLightList(const TStageData& document, const std::string& path,
                     const TLightListOptions& options, std::string* error) {
  return WriteTextLines(path, LightListLines(document, options), TextEncoding::Cp932, error);
}

}  // namespace lumaplot
