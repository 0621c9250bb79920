#pragma once
// The bytes of a recording file for tests.
#include <cstdint>
#include <string>

#include "dmx/HdrHeader.h"

namespace lumaplot::test {

// A recording whose header says `frameSize` and `frameCount` (20 ms frames, title
// "ライブ", started 2024-01-31 12:00, stopped two seconds later), followed by
// `frames` frames of `stride` bytes, frame k filled with k + 1, and `extra` loose bytes.
inline std::string RecordingBytes(std::int32_t frameSize, std::int32_t frameCount, int frames,
                                  int stride, int extra = 0) {
  HdrHeader h;
  h.SetMagic();
  h.SetTitle("ライブ");
  h.SetFrameSize(frameSize);
  h.SetFrameCount(frameCount);
  h.SetIntervalMs(20);
  h.SetStartTime(45322.5);
  h.SetStopTime(45322.5 + 2.0 / 86400.0);
  std::string bytes(reinterpret_cast<const char*>(h.Bytes.data()), h.Bytes.size());
  for (int k = 0; k < frames; ++k)
    bytes += std::string(static_cast<size_t>(stride), static_cast<char>(k + 1));
  return bytes + std::string(static_cast<size_t>(extra), '\x7f');
}

}  // namespace lumaplot::test
