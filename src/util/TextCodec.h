#pragma once
// Text encodings of the files the program shares with the Windows world. Inside the
// program every text is UTF-8; files are CP932 (Shift-JIS with Microsoft's
// extensions) or UTF-8/UTF-16 with a byte-order mark. Conversion runs through glibc
// iconv. Invalid or unmappable input never fails: a byte that cannot be decoded
// becomes U+FFFD, a character CP932 cannot hold becomes "?".
#include <string>
#include <string_view>
#include <vector>

namespace lumaplot {

enum class TextEncoding {
  Cp932,    // code page 932, no mark
  Utf8,     // UTF-8 without a mark
  Utf8Bom,  // UTF-8 with the byte-order mark EF BB BF
};

std::string Cp932ToUtf8(std::string_view bytes);
std::string Utf8ToCp932(std::string_view utf8);

// True when `bytes` is well-formed UTF-8 (no overlong forms, surrogates or values
// past U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// Decodes file bytes by their byte-order mark (UTF-8, UTF-16 LE, UTF-16 BE; the mark
// is dropped) or else as CP932, and returns UTF-8.
std::string DecodeByBom(std::string_view bytes);

// UTF-8 text to file bytes in `encoding` (the mark is added for Utf8Bom).
std::string EncodeText(std::string_view utf8, TextEncoding encoding);

// Splits at CR LF, lone CR or lone LF. A final line end adds no empty line.
std::vector<std::string> SplitLines(std::string_view text);

// Joins lines, each followed by CR LF.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);

// Reads a text file: DecodeByBom of its bytes, split into lines.
bool ReadTextLines(const std::string& path, std::vector<std::string>& lines,
                   std::string* error = nullptr);

// Writes lines with CR LF in `encoding`, atomically (see FileIo.h).
bool WriteTextLines(const std::string& path, const std::vector<std::string>& lines,
                    TextEncoding encoding, std::string* error = nullptr);

}  // namespace lumaplot
