#include "util/TextCodec.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

#include "util/FileIo.h"

namespace lumaplot {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";

// How many bytes an undecodable sequence at `p` spans (at least 1).
using SkipFn = size_t (*)(const char* p, size_t left);

size_t SkipOne(const char*, size_t) { return 1; }
size_t SkipTwo(const char*, size_t) { return 2; }
// One character: the lead byte and the continuation bytes that follow it, so that
// a broken sequence never swallows the next character.
size_t SkipUtf8Character(const char* p, size_t left) {
  const auto lead = static_cast<unsigned char>(*p);
  size_t expected = 1;
  if (lead >= 0xF0 && lead <= 0xF4)
    expected = 4;
  else if (lead >= 0xE0 && lead <= 0xEF)
    expected = 3;
  else if (lead >= 0xC2 && lead <= 0xDF)
    expected = 2;
  size_t n = 1;
  while (n < expected && n < left && (static_cast<unsigned char>(p[n]) & 0xC0) == 0x80) ++n;
  return n;
}

// Converts with iconv; an input sequence that cannot be converted is replaced by
// `replacement` (already in the target encoding) and skipped.
std::string Convert(const char* to, const char* from, std::string_view input,
                    std::string_view replacement, SkipFn skip) {
  iconv_t cd = ::iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(input);
  std::string out;
  out.reserve(input.size() * 2);
  char* in = const_cast<char*>(input.data());
  size_t inLeft = input.size();
  char buffer[4096];
  while (inLeft > 0) {
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    const size_t rc = ::iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer, sizeof buffer - outLeft);
    if (rc != static_cast<size_t>(-1) || errno == E2BIG) continue;
    // EILSEQ, or EINVAL for a sequence cut off at the end: replace and go on.
    out.append(replacement);
    const size_t step = std::min(skip(in, inLeft), inLeft);
    in += step;
    inLeft -= step;
  }
  char* outPtr = buffer;
  size_t outLeft = sizeof buffer;
  ::iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
  out.append(buffer, sizeof buffer - outLeft);
  ::iconv_close(cd);
  return out;
}

}  // namespace

std::string Cp932ToUtf8(std::string_view bytes) {
  return Convert("UTF-8", "CP932", bytes, kReplacementUtf8, SkipOne);
}

std::string Utf8ToCp932(std::string_view utf8) {
  return Convert("CP932", "UTF-8", utf8, "?", SkipUtf8Character);
}

bool IsValidUtf8(std::string_view bytes) {
  size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) {
      ++i;
      continue;
    }
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      if (lead == 0xE0) low = 0xA0;   // overlong
      if (lead == 0xED) high = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      if (lead == 0xF0) low = 0x90;   // overlong
      if (lead == 0xF4) high = 0x8F;  // past U+10FFFF
    } else {
      return false;
    }
    if (i + length > bytes.size()) return false;
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    if (second < low || second > high) return false;
    for (size_t k = 2; k < length; ++k) {
      if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

std::string DecodeByBom(std::string_view bytes) {
  if (bytes.substr(0, 3) == kUtf8Bom) {
    return Convert("UTF-8", "UTF-8", bytes.substr(3), kReplacementUtf8, SkipOne);
  }
  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
    return Convert("UTF-8", "UTF-16LE", bytes.substr(2), kReplacementUtf8, SkipTwo);
  }
  if (bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF') {
    return Convert("UTF-8", "UTF-16BE", bytes.substr(2), kReplacementUtf8, SkipTwo);
  }
  return Cp932ToUtf8(bytes);
}

std::string EncodeText(std::string_view utf8, TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::Cp932:
      return Utf8ToCp932(utf8);
    case TextEncoding::Utf8Bom:
      return std::string(kUtf8Bom) + std::string(utf8);
    case TextEncoding::Utf8:
      break;
  }
  return std::string(utf8);
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

std::string JoinLinesCrLf(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

bool ReadTextLines(const std::string& path, std::vector<std::string>& lines, std::string* error) {
  std::string bytes;
  lines.clear();
  if (!ReadFileBytes(path, bytes, error)) return false;
  lines = SplitLines(DecodeByBom(bytes));
  return true;
}

bool WriteTextLines(const std::string& path, const std::vector<std::string>& lines,
                    TextEncoding encoding, std::string* error) {
  return WriteFileAtomically(path, EncodeText(JoinLinesCrLf(lines), encoding), error);
}

}  // namespace lumaplot
