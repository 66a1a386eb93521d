#include "app/vantorel_app.h"

#include "controls/wnd_shadow.h"
#include "dialogs/welcome_dlg.h"
#include "mainwnd/vantorel_dlg.h"

namespace vantorel {

void VantorelApp::Run() {
  WndShadow::Initialize();
  LoadSettings(&settings);
  if (settings.bWelcomeScreen != 0) {
    WelcomeDlg welcome(&settings);
    if (welcome.exec() == QDialog::Accepted) SaveSettings(&settings, false);
  }
  settings.strServers.reset();
  VantorelDlg window;
  window.exec();
}

}  // namespace vantorel
