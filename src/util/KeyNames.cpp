#include "util/KeyNames.h"

#include <array>

#include "util/AsciiCase.h"

namespace lumaplot {
namespace {

struct NamedKey {
  std::string_view name;
  uint16_t code;
  bool arrow;
};

// The keys after the letters and digits, in the order the options dialog lists them.
constexpr std::array<NamedKey, 27> kOtherKeys{{
    {"F1", 0x70, false},   {"F2", 0x71, false},    {"F3", 0x72, false},    {"F4", 0x73, false},
    {"F5", 0x74, false},   {"F6", 0x75, false},    {"F7", 0x76, false},    {"F8", 0x77, false},
    {"F9", 0x78, false},   {"F10", 0x79, false},   {"F11", 0x7A, false},   {"F12", 0x7B, false},
    {"Del", 0x2E, false},  {"Ins", 0x2D, false},   {"BkSp", 0x08, false},  {"PgUp", 0x21, false},
    {"PgDn", 0x22, false}, {"Home", 0x24, false},  {"End", 0x23, false},   {"Left", 0x25, true},
    {"Up", 0x26, true},    {"Right", 0x27, true},  {"Down", 0x28, true},   {"Tab", 0x09, false},
    {"Esc", 0x1B, false},  {"Enter", 0x0D, false}, {"Space", 0x20, false},
}};

constexpr std::string_view kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr std::string_view kDigits = "0123456789";

// Letters and digits are their own virtual-key codes ('A' = 0x41, '0' = 0x30).
bool IsLetterOrDigitCode(uint16_t code) {
  return (code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9');
}

}  // namespace

void FillKeyNames(std::vector<std::string>& items, bool withoutArrows) {
  items.clear();
  for (char c : kLetters) items.emplace_back(1, c);
  for (char c : kDigits) items.emplace_back(1, c);
  for (const NamedKey& key : kOtherKeys) {
    if (key.arrow && withoutArrows) continue;
    items.emplace_back(key.name);
  }
}

uint16_t KeyCodeOfName(std::string_view name) {
  if (name.size() == 1) {
    const auto code = static_cast<uint16_t>(ToUpperAscii(name[0]));
    return IsLetterOrDigitCode(code) ? code : 0;
  }
  for (const NamedKey& key : kOtherKeys) {
    if (EqualsIgnoringCase(key.name, name)) return key.code;
  }
  return 0;
}

std::string_view KeyNameOfCode(uint16_t code) {
  if (code >= 'A' && code <= 'Z') return kLetters.substr(code - 'A', 1);
  if (code >= '0' && code <= '9') return kDigits.substr(code - '0', 1);
  for (const NamedKey& key : kOtherKeys) {
    if (key.code == code) return key.name;
  }
  return {};
}

}  // namespace lumaplot
