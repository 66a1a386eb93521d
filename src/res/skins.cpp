#include "res/skins.h"

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
  return QImage(QStringLiteral(":/res/%1.png").arg(id));
}

}  // namespace vantorel
