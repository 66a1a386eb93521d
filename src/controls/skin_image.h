#pragma once

#include <QImage>

class QWidget;

namespace vantorel {

// The picture with every pixel of the key colour made transparent, once, at load time.
QImage KeyedImage(const QImage& picture, QRgb key);

// A skin picture by id, keyed; null when it cannot be loaded.
QImage LoadKeyedSkin(int id, QRgb key);

// Sizes a frameless window to its picture and cuts it to a rectangle whose corners are
// ellipses of that size.
void CutRoundedShape(QWidget* window, QSize size, int cornerEllipse);

}  // namespace vantorel
