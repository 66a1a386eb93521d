#pragma once

#include <QImage>

class QAbstractScrollArea;
class QWidget;

namespace vantorel {

// The picture with every pixel of the key colour made transparent, once, at load time.
QImage KeyedImage(const QImage& picture, QRgb key);

// A skin picture by id, keyed; null when it cannot be loaded.
QImage LoadKeyedSkin(int id, QRgb key);

// A skin picture may hold more pixels than it covers (drawn for a scaled screen): these give
// its size in the window's units, and a part of it named in those units.
QSize LogicalSize(const QImage& picture);
QRect ToPixels(const QImage& picture, const QRect& logical);
QImage Part(const QImage& picture, const QRect& logical);

// Scroll bars of the skin: a dark trough with the accent colour for the handle, and no arrow
// buttons; the vertical one of that list is given them.
inline constexpr int kSkinScrollBarWidth = 8;
void SkinScrollBars(QAbstractScrollArea* list);

// Sizes a frameless window to its picture and cuts it to a rectangle whose corners are
// ellipses of that size.
void CutRoundedShape(QWidget* window, QSize size, int cornerEllipse);

}  // namespace vantorel
