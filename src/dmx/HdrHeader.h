#pragma once
// The 512-byte header of a recording file (".dat" with the magic "!DMXHDR!"), byte
// for byte as the Windows program reads and writes it. All integers are 32-bit,
// least significant byte first; times are IEEE doubles counting days since
// 30 December 1899 in local time (the fraction is the time of day):
//
//   0   8   magic "!DMXHDR!"            48  4  frame size (levels per frame)
//   8   1   0, ends the magic           52  4  frame count
//   9   7   reserved                    56  4  frame interval in ms
//   16  32  title, 8-bit (CP932) text,  60  4  reserved
//           NUL-terminated, <= 30 bytes 64  8  start time
//                                       72  8  stop time
//   80  432 reserved; the frames follow at 512, frame k at 512 + k * frame size.
//
// HdrHeader is a plain value; accessors read and write its bytes and never fail.
// Values read from a file are untrusted: use CorrectFrameSize before sizing reads.
#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace lumaplot {

inline constexpr int kHdrHeaderSize = 512;
inline constexpr int kHdrTitleMaxBytes = 30;
inline constexpr int kHdrPortLevels = 512;  // levels of one port in a frame

struct HdrHeader {
  std::array<std::uint8_t, kHdrHeaderSize> Bytes{};

  // The first 9 bytes are "!DMXHDR!" and a zero byte.
  bool HasMagic() const;
  void SetMagic();

  // UTF-8; read up to the first NUL of the title field.
  std::string Title() const;
  // Converted to CP932 and cut to 30 bytes without splitting a character.
  void SetTitle(std::string_view utf8);

  std::int32_t FrameSize() const { return ReadInt(48); }
  void SetFrameSize(std::int32_t v) { WriteInt(48, v); }
  std::int32_t FrameCount() const { return ReadInt(52); }
  void SetFrameCount(std::int32_t v) { WriteInt(52, v); }
  std::int32_t IntervalMs() const { return ReadInt(56); }
  void SetIntervalMs(std::int32_t v) { WriteInt(56, v); }
  double StartTime() const { return ReadDouble(64); }
  void SetStartTime(double v) { WriteDouble(64, v); }
  double StopTime() const { return ReadDouble(72); }
  void SetStopTime(double v) { WriteDouble(72, v); }

 private:
  std::int32_t ReadInt(int offset) const;
  void WriteInt(int offset, std::int32_t value);
  double ReadDouble(int offset) const;
  void WriteDouble(int offset, double value);
};

// The frame size a reader uses for a header's frame size: below 512 reads as 512,
// above `maxFrameSize` as `maxFrameSize`.
int CorrectFrameSize(std::int32_t declared, int maxFrameSize);

// Whole frames of `frameSize` bytes after the header in a file of `fileLength` bytes.
std::int64_t WholeFramesInFile(std::int64_t fileLength, int frameSize);

// A moment as days since 30 December 1899 in the local time zone.
double ToOleDate(std::chrono::system_clock::time_point moment);

// "yyyy-mm-ddThh:mm:ss.zzz" of such a day count, rounded to the millisecond. False
// for values that are no date (not finite, or outside the years 100 to 9999).
bool OleDateToIsoText(double days, std::string& text);

}  // namespace lumaplot
