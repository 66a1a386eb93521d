#pragma once

#include <QImage>

namespace vantorel {

// The skin picture with that id, or a null image when there is none.
QImage LoadSkin(int id);

}  // namespace vantorel
