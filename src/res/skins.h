#pragma once

#include <QImage>

namespace vantorel {

// The skin picture with that id, or a null image when there is none: drawn at twice the size on
// a scaled screen, and carrying its scale as its device pixel ratio.
QImage LoadSkin(int id);

}  // namespace vantorel
