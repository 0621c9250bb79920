// The recorder window's file names and captions.
#include "dmx/HdrNames.h"

#include <ctime>
#include <set>

#include <gtest/gtest.h>

#include "dmx/HdrRecorder.h"

namespace lumaplot {
namespace {

// The moment of a local date and time, with `ms` milliseconds.
std::chrono::system_clock::time_point LocalMoment(int year, int month, int day, int hour,
                                                  int minute, int second, int ms = 0) {
  std::tm local{};
  local.tm_year = year - 1900;
  local.tm_mon = month - 1;
  local.tm_mday = day;
  local.tm_hour = hour;
  local.tm_min = minute;
  local.tm_sec = second;
  local.tm_isdst = -1;
  return std::chrono::system_clock::from_time_t(std::mktime(&local)) +
         std::chrono::milliseconds(ms);
}

TEST(HdrNames, RecordingFileNameFromTheLocalTime) {
  const auto none = [](const std::string&) { return false; };
  EXPECT_EQ(RecordingFileName("/rec/", LocalMoment(2024, 1, 31, 23, 59, 59, 400), none),
            "/rec/20240131_235959.dat");
  EXPECT_EQ(RecordingFileName("/rec/", LocalMoment(2024, 2, 1, 0, 0, 0), none),
            "/rec/20240201_000000.dat");
  EXPECT_EQ(RecordingFileName("", LocalMoment(2009, 7, 4, 8, 5, 3), none), "20090704_080503.dat");
}

// A second recording in the same second, or in the hour the clocks repeat, gets a
// name of its own instead of replacing the first.
TEST(HdrNames, ATakenNameIsNotReused) {
  std::set<std::string> taken = {"/rec/20240131_235959.dat", "/rec/20240131_235959_2.dat"};
  const auto exists = [&taken](const std::string& name) { return taken.count(name) > 0; };
  EXPECT_EQ(RecordingFileName("/rec/", LocalMoment(2024, 1, 31, 23, 59, 59), exists),
            "/rec/20240131_235959_3.dat");
  // A folder that claims every name still gives an answer.
  const auto all = [](const std::string&) { return true; };
  EXPECT_FALSE(RecordingFileName("/rec/", LocalMoment(2024, 1, 31, 23, 59, 59), all).empty());
}

TEST(HdrNames, Captions) {
  THdrRecorder recorder;
  HdrHeader header;
  header.SetFrameSize(4096);
  header.SetFrameCount(6000);  // two minutes at 20 ms
  EXPECT_EQ(RecordingCaption("/rec/20240131_235959.dat", &header, recorder),
            "HDR [20240131_235959.dat (4096ch. 00:02:00.00)]");
  header.SetFrameSize(1024);
  header.SetFrameCount(0);
  EXPECT_EQ(RecordingCaption("show.dat", &header, recorder),
            "HDR [show.dat (1024ch. 00:00:00.00)]");
  EXPECT_EQ(RecordingCaption("/rec/ライブ.dat", nullptr, recorder), "HDR [ライブ.dat]");
  EXPECT_EQ(FileNamePart("/a/b/c.dat"), "c.dat");
  EXPECT_EQ(FileNamePart("c.dat"), "c.dat");
}

}  // namespace
}  // namespace lumaplot
