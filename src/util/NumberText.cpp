#include "util/NumberText.h"

#include <limits>

namespace lumaplot {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

int32_t ReadNumber(std::string_view text, int32_t def) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  if (i >= text.size()) return def;

  size_t hexStart = std::string_view::npos;
  if (text[i] == '$' || text[i] == 'x' || text[i] == 'X') {
    hexStart = i + 1;
  } else if (text[i] == '0' && i + 1 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hexStart = i + 2;
  }

  if (hexStart != std::string_view::npos) {
    const size_t digits = text.size() - hexStart;
    if (digits == 0 || digits > 8) return def;
    uint32_t value = 0;
    for (size_t k = hexStart; k < text.size(); ++k) {
      const int d = HexDigit(text[k]);
      if (d < 0) return def;
      value = (value << 4) | static_cast<uint32_t>(d);
    }
    if (negative) value = 0u - value;
    return static_cast<int32_t>(value);
  }

  int64_t value = 0;
  for (size_t k = i; k < text.size(); ++k) {
    if (text[k] < '0' || text[k] > '9') return def;
    value = value * 10 + (text[k] - '0');
    if (value > int64_t{std::numeric_limits<int32_t>::max()} + 1) return def;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<int32_t>::max()) return def;
  return static_cast<int32_t>(value);
}

std::string_view TrimControls(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= 0x20) text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= 0x20) text.remove_suffix(1);
  return text;
}

}  // namespace lumaplot
