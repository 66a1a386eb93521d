#pragma once

#include <QImage>

namespace vantorel {

// 2 on a scaled screen, else 1: which drawing of the pictures the program shows.
int SkinScale();

// The skin picture with that id, or a null image when there is none, drawn for that scale (0:
// the screen's) and carrying it as its device pixel ratio.
QImage LoadSkin(int id, int scale = 0);

}  // namespace vantorel
