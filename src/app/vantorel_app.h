#pragma once

#include "app/settings.h"

namespace vantorel {

// Starts the program and ends it: settings, the welcome dialog when asked for, the main
// window until it closes.
class VantorelApp {
 public:
  void Run();

  SettingsRecord settings;
};

}  // namespace vantorel
