#pragma once
// Picture decoding reached from the plain layers. The Qt layer implements
// PictureLoader over QImageReader and its Picture keeps the decoded image; the
// model only holds the Picture and asks for its size, and the Qt canvas draws it.
// Loaders are called on the GUI thread.
#include <memory>
#include <string>

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

}  // namespace lumaplot
