#pragma once

#include <QImage>

namespace vantorel {

// The picture with every pixel of the key colour made transparent, once, at load time.
QImage KeyedImage(const QImage& picture, QRgb key);

// A skin picture by id, keyed; null when it cannot be loaded.
QImage LoadKeyedSkin(int id, QRgb key);

}  // namespace vantorel
