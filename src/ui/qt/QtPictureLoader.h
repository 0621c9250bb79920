#pragma once
// Picture decoding for the plain layers over QImageReader: every format the Qt
// image plugins read (PNG, JPEG, BMP, GIF, ...). The decoded QtPicture is drawn by
// QtCanvas::DrawPicture. GUI thread only. A missing or undecodable file gives no
// picture and the reader's reason.
#include <QImage>

#include "util/PictureLoader.h"

namespace lumaplot {

class QtPicture : public Picture {
 public:
  explicit QtPicture(QImage image) : image_(std::move(image)) {}
  int Width() const override { return image_.width(); }
  int Height() const override { return image_.height(); }
  const QImage& Image() const { return image_; }

 private:
  QImage image_;
};

class QtPictureLoader : public PictureLoader {
 public:
  std::unique_ptr<Picture> LoadPicture(const std::string& path,
                                       std::string* error = nullptr) override;
};

}  // namespace lumaplot
