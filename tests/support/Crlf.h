#pragma once
// Test texts are written with "\n"; files of the Windows world end lines in CR LF.
#include <string>
#include <string_view>

namespace lumaplot::test {

inline std::string Crlf(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

}  // namespace lumaplot::test
