#pragma once

#include <QImage>

#include "res/skin_catalog.h"

class QAbstractScrollArea;
class QWidget;

namespace vantorel {

// A key colour of the skin catalogue as the pictures carry it.
constexpr QRgb KeyOf(int32_t key) {
  return 0xFF000000u | static_cast<QRgb>(key & 0xFFFFFF);
}
inline constexpr QRgb kRedKey = KeyOf(res::kKeyRed);

// The picture with every pixel of the key colour made transparent, once, at load time.
QImage KeyedImage(const QImage& picture, QRgb key);

// A skin picture by id, keyed; null when it cannot be loaded.
QImage LoadKeyedSkin(int id, QRgb key);

// A skin picture may hold more pixels than it covers (drawn for a scaled screen): its size in
// the window's units, and a rectangle named in those units in the picture's own pixels.
QSize LogicalSize(const QImage& picture);
QRect ToPixels(const QImage& picture, const QRect& logical);

// Scroll bars of the skin: a dark trough with the accent colour for the handle, and no arrow
// buttons; the vertical one of that list is given them.
inline constexpr int kSkinScrollBarWidth = 8;
void SkinScrollBars(QAbstractScrollArea* list);

// Sizes a frameless window to its picture and cuts it to a rectangle whose corners are
// ellipses of that size: its shape where the window system cuts shapes, and at least the
// place it takes clicks where it does not (Wayland).
void CutRoundedShape(QWidget* window, QSize size, int cornerEllipse);

// A skinned window whose corners are transparent where its pixels are composited (always on
// Wayland, under a compositing manager on X11), so the desktop shows through them smoothly;
// where nothing composites, the shape alone cuts them. Before the window's native window is
// made.
void MakeTranslucent(QWidget* window);
// The picture with its corners, ellipses of that size, made transparent with smooth edges.
QImage WithRoundCorners(const QImage& picture, int cornerEllipse);

}  // namespace vantorel
