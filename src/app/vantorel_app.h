#pragma once

#include <QPointer>

#include "settings/settings.h"

namespace vantorel {

class VantorelDlg;
class WelcomeDlg;

// Starts the program and ends it: settings, the welcome dialog when asked for, the main
// window until it closes.
class VantorelApp {
 public:
  void Run();
  // Ends the program as closing its windows would; from a termination signal.
  void Quit();

  SettingsRecord settings;

 private:
  bool m_quitting = false;
  QPointer<WelcomeDlg> m_welcome;
  QPointer<VantorelDlg> m_window;
};

}  // namespace vantorel
