#include "platform/qt/start_preparation.h"

#include <fontconfig/fontconfig.h>

#include <future>
#include <map>

#include "platform/linux/embedded_pictures.h"

namespace {

using TPictures = std::map<std::string, QImage>;

std::shared_future<TPictures> Preparation;

// Kept in the decoder's format: Qt scales a picture of another format with
// other arithmetic, and the artwork would change.
QImage DecodedPicture(const std::string& name) {
  TBitmap bitmap;
  if (!LoadEmbeddedPicture(name, bitmap) || bitmap.BitsPerPixel != 24) return QImage();
  return QImage(bitmap.Bits.data(), bitmap.Width, bitmap.Height, bitmap.Width * 3, QImage::Format_RGB888).copy();
}

TPictures Prepare() {
  // Qt's font database starts from the configuration that FcInit reads once
  // per process; read here, the window's first text need not wait for it.
  FcInit();
  TPictures pictures;
  for (const std::string& name : EmbeddedPictureNames()) pictures[name] = DecodedPicture(name);
  return pictures;
}

}  // namespace

void StartWindowPreparation() {
  if (!Preparation.valid()) Preparation = std::async(std::launch::async, Prepare).share();
}

QImage EmbeddedPictureImage(const std::string& name) {
  StartWindowPreparation();
  const TPictures& pictures = Preparation.get();
  const auto picture = pictures.find(name);
  return picture != pictures.end() ? picture->second : QImage();
}
