#include "res/skins.h"

#include <QGuiApplication>
#include <QString>
#include <mutex>

// The pictures live in a static library: their resource must be registered by hand.
static void RegisterSkinResources() {
  Q_INIT_RESOURCE(skins);
}

namespace vantorel {

int SkinScale() {
  // A screen scaled by more than 1 gets the pictures drawn at twice the size: Qt shrinks them
  // sharply at 1.5 where it would blur the small ones up.
  return qApp != nullptr && qApp->devicePixelRatio() > 1.0 ? 2 : 1;
}

QImage LoadSkin(int id, int scale) {
  static std::once_flag registered;
  std::call_once(registered, RegisterSkinResources);
  if (scale == 0) scale = SkinScale();
  QImage picture(scale == 2 ? QStringLiteral(":/res/%1@2x.png").arg(id)
                            : QStringLiteral(":/res/%1.png").arg(id));
  picture.setDevicePixelRatio(scale);
  return picture;
}

}  // namespace vantorel
