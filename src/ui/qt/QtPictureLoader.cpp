#include "ui/qt/QtPictureLoader.h"

#include <QImageReader>

namespace lumaplot {

std::unique_ptr<Picture> QtPictureLoader::LoadPicture(const std::string& path, std::string* error) {
  QImageReader reader(QString::fromStdString(path));
  QImage image = reader.read();
  if (image.isNull()) {
    if (error != nullptr) *error = path + ": " + reader.errorString().toStdString();
    return nullptr;
  }
  // Drawing from these two formats needs no conversion on the page surface.
  image.convertTo(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                          : QImage::Format_RGB32);
  return std::make_unique<QtPicture>(std::move(image));
}

}  // namespace lumaplot
