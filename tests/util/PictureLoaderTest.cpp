#include "util/PictureLoader.h"

#include <sys/stat.h>

#include <filesystem>
#include <vector>

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace lumaplot {
namespace {

class SizedPicture : public Picture {
 public:
  int Width() const override { return 2; }
  int Height() const override { return 1; }
};

// Stands for the decoder: a file holding "PIC" is a picture; records every path
// it was handed.
class FakeDecoder : public PictureLoader {
 public:
  std::unique_ptr<Picture> LoadPicture(const std::string& path, std::string* error) override {
    opened.push_back(path);
    if (test::TempDir::Read(path) == "PIC") return std::make_unique<SizedPicture>();
    if (error) *error = path + ": unsupported image format";
    return nullptr;
  }
  std::vector<std::string> opened;
};

// The decoder is never handed what it would block on or read without end, and the
// reason of a refusal stays for the caller.
TEST(CheckedPictureLoader, HandsTheDecoderRegularFilesWithinTheLimitOnly) {
  test::TempDir dir;
  const std::string fifo = dir.File("fifo.png");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
  const std::string huge = dir.Write("huge.bmp", "");
  std::filesystem::resize_file(huge, 2000);
  FakeDecoder decoder;
  CheckedPictureLoader pictures(decoder, 1000);
  const struct {
    std::string path;
    const char* reason;
  } refused[] = {{fifo, "a FIFO"},
                 {dir.Path(), "a folder"},
                 {huge, "larger than 1000 bytes"},
                 {dir.File("missing.png"), "No such file"}};
  for (const auto& c : refused) {
    std::string error;
    EXPECT_EQ(pictures.LoadPicture(c.path, &error), nullptr);
    EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    EXPECT_EQ(pictures.LastError(), error);
  }
  EXPECT_TRUE(decoder.opened.empty());

  const std::string text = dir.Write("text.png", "not one");
  EXPECT_EQ(pictures.LoadPicture(text), nullptr);
  EXPECT_NE(pictures.LastError().find("unsupported image format"), std::string::npos);
  const auto picture = pictures.LoadPicture(dir.Write("ok.png", "PIC"));
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->Width(), 2);
  EXPECT_TRUE(pictures.LastError().empty());
  EXPECT_EQ(decoder.opened.size(), 2u);
}

}  // namespace
}  // namespace lumaplot
