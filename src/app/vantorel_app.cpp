#include "app/vantorel_app.h"

#include <QApplication>

#include "app/accessibility.h"
#include "app/termination.h"
#include "controls/screen_fit.h"
#include "controls/wnd_shadow.h"
#include "dialogs/welcome_dlg.h"
#include "mainwnd/vantorel_dlg.h"

namespace vantorel {

void VantorelApp::Run() {
  OnTermination(qApp, [this] { Quit(); });
  WndShadow::Initialize();
  ScreenFit::Install();
  InstallAccessibility();
  LoadSettings(&settings);
  if (settings.bWelcomeScreen != 0) {
    WelcomeDlg welcome(&settings);
    m_welcome = &welcome;
    const bool accepted = welcome.exec() == QDialog::Accepted;
    m_welcome = nullptr;
    if (m_quitting) return;
    if (accepted) SaveSettings(&settings, false);
  }
  settings.strServers.reset();
  VantorelDlg window;
  m_window = &window;
  window.exec();
  m_window = nullptr;
}

void VantorelApp::Quit() {
  m_quitting = true;
  if (m_welcome) m_welcome->reject();
  if (m_window) m_window->reject();
}

}  // namespace vantorel
