#include "res/skins.h"

#include <QGuiApplication>
#include <QString>
#include <mutex>

// The pictures live in a static library: their resource must be registered by hand.
static void RegisterSkinResources() {
  Q_INIT_RESOURCE(skins);
}

namespace vantorel {

QImage LoadSkin(int id) {
  static std::once_flag registered;
  std::call_once(registered, RegisterSkinResources);
  // A screen scaled by more than 1 gets the pictures drawn at twice the size: Qt shrinks them
  // sharply at 1.5 where it would blur the small ones up.
  const int scale = qApp != nullptr && qApp->devicePixelRatio() > 1.0 ? 2 : 1;
  QImage picture(scale == 2 ? QStringLiteral(":/res/%1@2x.png").arg(id)
                            : QStringLiteral(":/res/%1.png").arg(id));
  picture.setDevicePixelRatio(scale);
  return picture;
}

}  // namespace vantorel
