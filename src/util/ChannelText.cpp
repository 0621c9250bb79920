#include "util/ChannelText.h"

#include <cstdio>

#include "util/AsciiCase.h"
#include "util/NumberText.h"

namespace lumaplot {
namespace {

constexpr int kPortChannels = 512;
constexpr int kPortCount = 8;
constexpr int kChannelCount = kPortChannels * kPortCount;

}  // namespace

std::string ChannelName(int channel, bool letterForm) {
  // Beyond the last port the letter form would run past "H" into text nobody can
  // read back, so both forms stay empty outside the channel space.
  if (channel < 0 || channel >= kChannelCount) return {};
  char text[16];
  if (letterForm) {
    std::snprintf(text, sizeof text, "%c%03d", 'A' + channel / kPortChannels,
                  channel % kPortChannels + 1);
  } else {
    std::snprintf(text, sizeof text, "%d", channel + 1);
  }
  return text;
}

int ParseChannelName(std::string_view text, int limit) {
  const std::string upper = ToUpperAscii(TrimControls(text));
  if (upper.empty() || upper == "ALL") return -1;
  const char first = upper.front();
  if (first >= 'A' && first <= 'H') {
    const int n = ReadNumber(std::string_view(upper).substr(1), -1);
    if (n < 1 || n > kPortChannels) return -1;
    return (first - 'A') * kPortChannels + n - 1;
  }
  const int n = ReadNumber(upper, -1);
  if (n < 1 || n > limit) return -1;
  return n - 1;
}

}  // namespace lumaplot
