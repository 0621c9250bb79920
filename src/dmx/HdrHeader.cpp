#include "dmx/HdrHeader.h"

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "util/TextCodec.h"

namespace lumaplot {
namespace {

constexpr char kMagic[] = "!DMXHDR!";  // with its terminating zero: 9 bytes
constexpr int kTitleOffset = 16;
constexpr int kTitleField = 32;

// The date that day 0 of the header's times stands for.
constexpr std::chrono::sys_days kOleEpoch =
    std::chrono::year{1899} / std::chrono::December / std::chrono::day{30};
constexpr double kMsPerDay = 86'400'000.0;

bool IsCp932LeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

}  // namespace

bool HdrHeader::HasMagic() const { return std::memcmp(Bytes.data(), kMagic, sizeof kMagic) == 0; }

void HdrHeader::SetMagic() { std::memcpy(Bytes.data(), kMagic, sizeof kMagic); }

std::string HdrHeader::Title() const {
  const auto* field = reinterpret_cast<const char*>(Bytes.data() + kTitleOffset);
  return Cp932ToUtf8(std::string_view(field, ::strnlen(field, kTitleField)));
}

void HdrHeader::SetTitle(std::string_view utf8) {
  const std::string bytes = Utf8ToCp932(utf8);
  size_t length = 0;
  while (length < bytes.size()) {
    const size_t next =
        length + (IsCp932LeadByte(static_cast<unsigned char>(bytes[length])) ? 2 : 1);
    if (next > kHdrTitleMaxBytes || next > bytes.size()) break;
    length = next;
  }
  std::memset(Bytes.data() + kTitleOffset, 0, kTitleField);
  std::memcpy(Bytes.data() + kTitleOffset, bytes.data(), length);
}

std::int32_t HdrHeader::ReadInt(int offset) const {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | Bytes[static_cast<size_t>(offset + i)];
  return static_cast<std::int32_t>(v);
}

void HdrHeader::WriteInt(int offset, std::int32_t value) {
  auto v = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i, v >>= 8)
    Bytes[static_cast<size_t>(offset + i)] = static_cast<std::uint8_t>(v);
}

double HdrHeader::ReadDouble(int offset) const {
  std::uint64_t v = 0;
  for (int i = 7; i >= 0; --i) v = (v << 8) | Bytes[static_cast<size_t>(offset + i)];
  return std::bit_cast<double>(v);
}

void HdrHeader::WriteDouble(int offset, double value) {
  auto v = std::bit_cast<std::uint64_t>(value);
  for (int i = 0; i < 8; ++i, v >>= 8)
    Bytes[static_cast<size_t>(offset + i)] = static_cast<std::uint8_t>(v);
}

int CorrectFrameSize(std::int32_t declared, int maxFrameSize) {
  if (declared < kHdrPortLevels) return kHdrPortLevels;
  if (declared > maxFrameSize) return maxFrameSize;
  return declared;
}

std::int64_t WholeFramesInFile(std::int64_t fileLength, int frameSize) {
  if (frameSize <= 0 || fileLength <= kHdrHeaderSize) return 0;
  return (fileLength - kHdrHeaderSize) / frameSize;
}

double ToOleDate(std::chrono::system_clock::time_point moment) {
  using namespace std::chrono;
  const auto ms = floor<milliseconds>(moment);
  const std::time_t seconds = system_clock::to_time_t(
      time_point_cast<system_clock::duration>(floor<std::chrono::seconds>(ms)));
  std::tm local{};
  ::localtime_r(&seconds, &local);
  const sys_days date = year{local.tm_year + 1900} /
                        month{static_cast<unsigned>(local.tm_mon + 1)} /
                        day{static_cast<unsigned>(local.tm_mday)};
  const double msOfDay = ((local.tm_hour * 60.0 + local.tm_min) * 60.0 + local.tm_sec) * 1000.0 +
                         static_cast<double>((ms - floor<std::chrono::seconds>(ms)).count());
  return static_cast<double>((date - kOleEpoch).count()) + msOfDay / kMsPerDay;
}

bool OleDateToIsoText(double days, std::string& text) {
  // The range the Windows date type allows: 1 January 100 to 31 December 9999.
  if (!std::isfinite(days) || days < -657434.0 || days >= 2958466.0) return false;
  using namespace std::chrono;
  // The whole part counts days, the fraction (also of a negative value) is the time of day.
  const double whole = std::trunc(days);
  auto dayNumber = static_cast<long>(whole);
  auto msOfDay = static_cast<long long>(std::llround(std::fabs(days - whole) * kMsPerDay));
  if (msOfDay >= static_cast<long long>(kMsPerDay)) {
    ++dayNumber;
    msOfDay -= static_cast<long long>(kMsPerDay);
  }
  const year_month_day date{kOleEpoch + std::chrono::days{dayNumber}};
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02uT%02lld:%02lld:%02lld.%03lld",
                static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
                static_cast<unsigned>(date.day()), msOfDay / 3'600'000, msOfDay / 60'000 % 60,
                msOfDay / 1000 % 60, msOfDay % 1000);
  text = buffer;
  return true;
}

}  // namespace lumaplot
