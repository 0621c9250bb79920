#include "util/PictureLoader.h"

namespace lumaplot {

std::unique_ptr<Picture> CheckedPictureLoader::LoadPicture(const std::string& path,
                                                           std::string* error) {
  lastError_.clear();
  std::unique_ptr<Picture> picture;
  if (CheckReadableFile(path, maxBytes_, &lastError_)) {
    picture = decoder_.LoadPicture(path, &lastError_);
    if (!picture && lastError_.empty()) lastError_ = "not a picture: " + path;
  }
  if (picture) lastError_.clear();
  if (error) *error = lastError_;
  return picture;
}

}  // namespace lumaplot
