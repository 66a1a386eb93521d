#include "app/vantorel_app.h"

#include "controls/wnd_shadow.h"
#include "mainwnd/vantorel_dlg.h"

namespace vantorel {

void VantorelApp::Run() {
  WndShadow::Initialize();
  LoadSettings(&settings);
  // The welcome dialog, shown while bWelcomeScreen is set, comes with the settings dialogs.
  settings.strServers.reset();
  VantorelDlg window;
  window.exec();
}

}  // namespace vantorel
