#pragma once
// Picture decoding reached from the plain layers. The Qt layer implements
// PictureLoader over QImageReader and its Picture keeps the decoded image; the
// model only holds the Picture and asks for its size, and the Qt canvas draws it.
// Loaders are called on the GUI thread.
#include <cstddef>
#include <memory>
#include <string>

#include "util/FileIo.h"

namespace lumaplot {

class Picture {
 public:
  virtual ~Picture() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
};

class PictureLoader {
 public:
  virtual ~PictureLoader() = default;
  // Decodes the picture file at `path`; nullptr (with the reason in `error`) when
  // the file is missing or not a picture this loader can read.
  virtual std::unique_ptr<Picture> LoadPicture(const std::string& path,
                                               std::string* error = nullptr) = 0;
};

// A loader in front of another that hands it regular files of at most `maxBytes`
// only: a decoder given a FIFO waits for ever, one given a device or a huge file
// reads it all. It also keeps the reason of the last refusal for the caller who
// needs to tell the user (the loader's callers may drop the error text).
class CheckedPictureLoader : public PictureLoader {
 public:
  explicit CheckedPictureLoader(PictureLoader& decoder, std::size_t maxBytes = kDefaultReadLimit)
      : decoder_(decoder), maxBytes_(maxBytes) {}
  std::unique_ptr<Picture> LoadPicture(const std::string& path,
                                       std::string* error = nullptr) override;
  // Why the last picture asked for was not loaded; empty after a success.
  const std::string& LastError() const { return lastError_; }

 private:
  PictureLoader& decoder_;
  std::size_t maxBytes_;
  std::string lastError_;
};

}  // namespace lumaplot
